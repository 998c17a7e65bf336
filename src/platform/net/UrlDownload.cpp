// URLDownloadToFileW over libcurl.
#include <curl/curl.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/UrlMon.h"
#include "platform/net/CurlOptions.h"
#include "platform/net/CurlTrust.h"

namespace win32 {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kProgressInterval = std::chrono::milliseconds(100);
// Even a stalled transfer asks its callback now and then, so that a caller can still stop it.
constexpr auto kIdleProgressInterval = std::chrono::seconds(1);
constexpr long kConnectTimeoutSeconds = 60;
constexpr long kStallSeconds = 60;

class CurlBinding : public IBinding {
  public:
    HRESULT Abort() override {
        aborted = true;
        return S_OK;
    }
    std::atomic<bool> aborted{false};
};

struct Transfer {
    IBindStatusCallback* callback = nullptr;
    const wchar_t* url = nullptr;
    CurlBinding binding;
    std::FILE* file = nullptr;
    bool stoppedByCallback = false;
    bool began = false;
    curl_off_t lastReported = -1;
    Clock::time_point lastReportTime;
};

ULONG Ulong(curl_off_t value) {
    return value < 0 ? 0 : static_cast<ULONG>(value);
}

bool Notify(Transfer& transfer, curl_off_t now, curl_off_t total, ULONG status) {
    transfer.lastReported = now;
    transfer.lastReportTime = Clock::now();
    if (transfer.callback->OnProgress(Ulong(now), Ulong(total), status, transfer.url) == E_ABORT) {
        transfer.stoppedByCallback = true;
    }
    return !transfer.stoppedByCallback;
}

int OnTransferInfo(void* data, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
    Transfer& transfer = *static_cast<Transfer*>(data);
    if (transfer.binding.aborted) {
        return 1;
    }
    if (transfer.callback == nullptr) {
        return 0;
    }
    if (!transfer.began) {
        if (dlnow == 0) {
            return 0;
        }
        transfer.began = true;
        return Notify(transfer, 0, dltotal, BINDSTATUS_BEGINDOWNLOADDATA) ? 0 : 1;
    }
    const auto elapsed = Clock::now() - transfer.lastReportTime;
    if (elapsed < kProgressInterval ||
        (dlnow == transfer.lastReported && elapsed < kIdleProgressInterval)) {
        return 0;
    }
    return Notify(transfer, dlnow, dltotal, BINDSTATUS_DOWNLOADINGDATA) ? 0 : 1;
}

size_t WriteBlock(char* data, size_t size, size_t count, void* file) {
    return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

// libcurl takes addresses as printable ASCII; a "file:///" path is given as the user wrote it.
std::string RequestText(const wchar_t* url) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, url, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, url, -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size) - 1);
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : utf8) {
        if (c >= 0x21 && c <= 0x7E) {
            text += static_cast<char>(c);
        } else {
            text += '%';
            text += kHex[c >> 4];
            text += kHex[c & 0xF];
        }
    }
    return text;
}

HRESULT FileError(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
        case ENOENT:
        case ENOTDIR:
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        case ENOSPC:
            return HRESULT_FROM_WIN32(ERROR_HANDLE_DISK_FULL);
        default:
            return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
    }
}

HRESULT TransportResult(CURLcode code, long httpStatus, const Transfer& transfer) {
    if (transfer.stoppedByCallback || code == CURLE_ABORTED_BY_CALLBACK) {
        return E_ABORT;
    }
    switch (code) {
        case CURLE_OK:
            return S_OK;
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
            return INET_E_INVALID_URL;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_FILE_COULDNT_READ_FILE:
            return INET_E_RESOURCE_NOT_FOUND;
        case CURLE_COULDNT_CONNECT:
            return INET_E_CANNOT_CONNECT;
        case CURLE_OPERATION_TIMEDOUT:
            return INET_E_CONNECTION_TIMEOUT;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CONNECT_ERROR:
            return INET_E_INVALID_CERTIFICATE;
        case CURLE_WRITE_ERROR:
            return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
        case CURLE_HTTP_RETURNED_ERROR:
            return httpStatus == 404 || httpStatus == 410 ? INET_E_OBJECT_NOT_FOUND
                                                          : INET_E_DOWNLOAD_FAILURE;
        default:
            return INET_E_DOWNLOAD_FAILURE;
    }
}

HRESULT Download(CURL* handle, const std::string& request, Transfer& transfer) {
    CURLcode code = net::CurlOptions(handle)
                        .Set(CURLOPT_NOSIGNAL, 1L)
                        .Set(CURLOPT_URL, request.c_str())
                        .Set(CURLOPT_FOLLOWLOCATION, 1L)
                        .Set(CURLOPT_FAILONERROR, 1L)
                        .Set(CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds)
                        .Set(CURLOPT_LOW_SPEED_LIMIT, 1L)
                        .Set(CURLOPT_LOW_SPEED_TIME, kStallSeconds)
                        .Set(CURLOPT_WRITEFUNCTION, WriteBlock)
                        .Set(CURLOPT_WRITEDATA, transfer.file)
                        .Set(CURLOPT_NOPROGRESS, 0L)
                        .Set(CURLOPT_XFERINFOFUNCTION, OnTransferInfo)
                        .Set(CURLOPT_XFERINFODATA, &transfer)
                        .Result();
    if (code != CURLE_OK) {
        return E_INVALIDARG;
    }
    if (!net::ApplyCurlTrust(handle)) {
        return INET_E_INVALID_CERTIFICATE;
    }
    code = curl_easy_perform(handle);
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    HRESULT result = TransportResult(code, status, transfer);
    if (result == S_OK && transfer.callback != nullptr) {
        curl_off_t size = 0;
        curl_easy_getinfo(handle, CURLINFO_SIZE_DOWNLOAD_T, &size);
        curl_off_t total = -1;
        curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &total);
        if (!Notify(transfer, size, total < 0 ? 0 : total, BINDSTATUS_ENDDOWNLOADDATA)) {
            result = E_ABORT;
        }
    }
    return result;
}

}  // namespace

HRESULT URLDownloadToFileW(void*, const wchar_t* url, const wchar_t* fileName, DWORD,
                           IBindStatusCallback* callback) {
    if (url == nullptr || fileName == nullptr || *fileName == L'\0') {
        return E_INVALIDARG;
    }
    Transfer transfer;
    transfer.callback = callback;
    transfer.url = url;
    if (callback != nullptr) {
        DWORD bindFlags = 0;
        BINDINFO info{};
        info.cbSize = sizeof info;
        callback->GetBindInfo(&bindFlags, &info);
        callback->OnStartBinding(0, &transfer.binding);
    }
    // The destination only ever holds a whole resource: the bytes gather beside it first.
    const std::wstring receiving = std::wstring(fileName) + L".urlmon~";
    HRESULT result = S_OK;
    transfer.file = _wfopen(receiving.c_str(), L"wb");
    if (transfer.file == nullptr) {
        result = FileError(errno);
    } else if (CURL* handle = curl_easy_init()) {
        result = Download(handle, RequestText(url), transfer);
        curl_easy_cleanup(handle);
    } else {
        result = E_OUTOFMEMORY;
    }
    if (transfer.file != nullptr && std::fclose(transfer.file) != 0 && result == S_OK) {
        result = FileError(errno);
    }
    if (result == S_OK && !MoveFileExW(receiving.c_str(), fileName,
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        const DWORD error = GetLastError();
        result = HRESULT_FROM_WIN32(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
    }
    if (result != S_OK) {
        DeleteFileW(receiving.c_str());
    }
    if (callback != nullptr) {
        callback->OnStopBinding(result, nullptr);
    }
    return result;
}

}  // namespace win32

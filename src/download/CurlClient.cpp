#include "download/CurlClient.h"

#include <ctime>

#include "download/BodyRequest.h"
#include "download/CurlText.h"
#include "download/FailureReasonReport.h"
#include "download/HeaderRequest.h"
#include "platform/Files.h"
#include "utils/DebugTrace.h"
#include "utils/TextConversion.h"

namespace {

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
    return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

// -1.0 when the server declared none.
double DeclaredLength(CURL* handle, CURLcode* result) {
    curl_off_t length = -1;
    *result = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return *result == CURLE_OK ? static_cast<double>(length) : -1.0;
}

}  // namespace

CurlClient::CurlClient(const std::wstring& url, const std::wstring& filePath, void* owner,
                       ProgressHook hook)
    : url_(url), filePath_(filePath), partPath_(filePath + L".part"), owner_(owner), hook_(hook) {}

CurlClient::~CurlClient() {
    Cancel();
    win32::DeleteFileW(partPath_.c_str());
}

int CurlClient::Start() {
    UTILS_TRACE_LINE(L"start download");
    int result = 0;
    std::FILE* part = nullptr;
    Resolve();
    if (fileLength_ < kMinimumPackageLength) {
        result = TRANSFER_NO_LENGTH;
    } else if ((handle_ = curl_easy_init()) == nullptr) {
        result = TRANSFER_NO_HANDLE;
    } else if ((part = win32::OpenFileA(AnsiPath(partPath_).c_str(), "ab+")) == nullptr) {
        result = TRANSFER_PART_FILE_FAILED;
    } else {
        result = Transfer(part);
    }
    UTILS_TRACE_LINE(L"error:%d:%s", result, CurlErrorText(result).c_str());
    if (handle_ != nullptr) {
        curl_easy_cleanup(handle_);
        handle_ = nullptr;
    }
    if (part != nullptr) {
        std::fclose(part);
    }
    if (result == 0) {
        result = MoveIntoPlace();
    }
    UTILS_TRACE_LINE(L"end download");
    return result;
}

void CurlClient::Resolve() {
    if (!realUrl_.empty() && fileLength_ >= kMinimumPackageLength) {
        return;
    }
    const std::string url = CurlUrlText(url_);
    realUrl_.clear();
    fileLength_ = -1.0;
    if (CURL* head = Head(url)) {
        realUrl_ = EffectiveUrl(head);
        fileLength_ = GetDownloadFileLength(head);
        curl_easy_cleanup(head);
    }
    if (realUrl_.empty() || fileLength_ < kMinimumPackageLength) {
        realUrl_ = GetRealUrl_Str(url);
        if (!realUrl_.empty()) {
            fileLength_ = GetDownloadFileLength_Str(realUrl_);
        }
    }
}

int CurlClient::Transfer(std::FILE* part) {
    curl_slist* headers = curl_slist_append(nullptr, "Connection: keep-alive");
    headers = curl_slist_append(headers, "Accept-Encoding: gzip, deflate");
    curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(handle_, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(handle_, CURLOPT_TCP_KEEPIDLE, 10L);
    curl_easy_setopt(handle_, CURLOPT_TCP_KEEPINTVL, 10L);
    curl_easy_setopt(handle_, CURLOPT_TIMEOUT, 0L);
    CURLcode result =
        SetBodyRequestOptions(handle_, realUrl_, WriteToFile, part, ProgressCallback, this);
    resumeOffset_ = win32::GetFileSizeByPath(partPath_.c_str());
    // Every byte is there already when only the move into place failed last time; a request
    // past the end would only be refused.
    if (result == CURLE_OK && resumeOffset_ >= static_cast<std::int64_t>(fileLength_)) {
        curl_slist_free_all(headers);
        return CURLE_OK;
    }
    if (result == CURLE_OK && resumeOffset_ > 0) {
        result = curl_easy_setopt(handle_, CURLOPT_RESUME_FROM_LARGE,
                                  static_cast<curl_off_t>(resumeOffset_));
    }
    if (result == CURLE_OK) {
        result = curl_easy_perform(handle_);
    }
    curl_slist_free_all(headers);
    return result;
}

int CurlClient::MoveIntoPlace() {
    win32::DeleteFileW(filePath_.c_str());
    // A package that never reaches its place must not pass for a finished download.
    if (!win32::MoveFileExW(partPath_.c_str(), filePath_.c_str(),
                            win32::MOVEFILE_REPLACE_EXISTING | win32::MOVEFILE_COPY_ALLOWED)) {
        return TRANSFER_NOT_PLACED;
    }
    return 0;
}

CURL* CurlClient::Head(const std::string& url) {
    CURL* handle = curl_easy_init();
    if (handle == nullptr) {
        return nullptr;
    }
    CURLcode result = CURLE_FAILED_INIT;
    if (SetHeaderRequestOptions(handle, url)) {
        result = curl_easy_perform(handle);
        if (result != CURLE_OK) {
            UTILS_TRACE(L"error:%d:%s", static_cast<int>(result), CurlErrorText(result).c_str());
        }
    }
    UTILS_TRACE_LINE(L"error:%d:%s", static_cast<int>(result), CurlErrorText(result).c_str());
    return handle;
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
    CURLcode result = CURLE_OK;
    const double length = DeclaredLength(handle, &result);
    UTILS_TRACE_LINE(L"error:%d:%s", static_cast<int>(result), CurlErrorText(result).c_str());
    long responseCode = 0;
    if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &responseCode) == CURLE_OK &&
        responseCode >= 200 && responseCode <= 399) {
        return length;
    }
    ReportLengthStatusFailure(responseCode);
    return -1.0;
}

std::string CurlClient::GetRealUrl_Str(const std::string& url) {
    std::string effective;
    if (CURL* handle = curl_easy_init()) {
        CURLcode result = CURLE_FAILED_INIT;
        if (SetHeaderRequestOptions(handle, url)) {
            result = curl_easy_perform(handle);
        }
        if (result != CURLE_OK) {
            UTILS_TRACE(L"error:%d:%s", static_cast<int>(result), CurlErrorText(result).c_str());
        } else {
            effective = EffectiveUrl(handle);
        }
        curl_easy_cleanup(handle);
    }
    return effective.empty() ? url : effective;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& url) {
    CURL* handle = curl_easy_init();
    if (handle == nullptr) {
        return -1.0;
    }
    double length = -1.0;
    CURLcode result = CURLE_FAILED_INIT;
    if (SetHeaderRequestOptions(handle, url) &&
        curl_easy_setopt(handle, CURLOPT_HEADER, 1L) == CURLE_OK) {
        curl_easy_perform(handle);
        length = DeclaredLength(handle, &result);
        long responseCode = 0;
        if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &responseCode) != CURLE_OK ||
            responseCode < 200 || responseCode > 400) {
            ReportLengthStatusFailure(responseCode);
        }
    }
    UTILS_TRACE_LINE(L"error:%d:%s", static_cast<int>(result), CurlErrorText(result).c_str());
    curl_easy_cleanup(handle);
    return length;
}

int CurlClient::ProgressCallback(void* client, curl_off_t dltotal, curl_off_t dlnow, curl_off_t,
                                 curl_off_t) {
    CurlClient* self = static_cast<CurlClient*>(client);
    if (self->cancel_) {
        return 1;
    }
    const std::int64_t now = std::time(nullptr);
    if (now - self->lastProgressTime_ < 1) {
        return 0;
    }
    self->lastProgressTime_ = now;
    curl_off_t speed = 0;
    if (curl_easy_getinfo(self->handle_, CURLINFO_SPEED_DOWNLOAD_T, &speed) != CURLE_OK) {
        speed = 0;
    }
    double percent = 0.0;
    if (self->fileLength_ > kMinimumPackageLength) {
        percent = static_cast<double>(dlnow + self->resumeOffset_) / self->fileLength_ * 100.0;
    } else {
        if (dlnow <= 0 || dltotal <= 0) {
            return 0;
        }
        percent = static_cast<double>(dlnow) * 100.0 / static_cast<double>(dltotal);
    }
    if (percent != 0.0) {
        self->hook_(self->owner_, static_cast<double>(speed), 0.0, percent);
    }
    if (dltotal != 0) {
        UTILS_TRACE(L" %dM %dM   progress:%f%%  speed:%f \n", static_cast<int>(dlnow / 1048576),
                    static_cast<int>(dltotal / 1048576),
                    static_cast<double>(static_cast<float>(percent)),
                    static_cast<double>(static_cast<float>(speed * 0.0009765625)));
    }
    return 0;
}

#include "download/WinDownloader.h"

#include "download/DownloadStatus.h"
#include "platform/Thread.h"
#include "utils/TextConversion.h"

namespace {
constexpr int kAttempts = 3;
constexpr win32::DWORD kAttemptPauseMs = 1000;
constexpr win32::DWORD kUtf8CodePage = 65001;
}  // namespace

CWinDownloader::CWinDownloader(StatusCallback callback, const wchar_t* url,
                               const wchar_t* destinationPath)
    : callback_(std::move(callback)),
      url_(url),
      destinationPath_(destinationPath),
      worker_(std::make_unique<Utils::Thread>([this](void*) { Run(); }, nullptr, L"ABDEF")) {}

CWinDownloader::~CWinDownloader() {
    bindCallback_.Abort();
    if (!resumed_) {
        // The setup ended before its download: let the thread go without running the transfer.
        discarded_ = true;
        worker_->Resume();
    }
    worker_.reset();
}

void CWinDownloader::Start() {
    if (resumed_) {
        return;
    }
    resumed_ = true;
    bindCallback_.SetCallback(callback_);
    worker_->Resume();
}

void CWinDownloader::Run() {
    if (discarded_) {
        return;
    }
    win32::CoInitializeEx(nullptr, win32::COINIT_APARTMENTTHREADED);
    callback_(DL_CODE_START, 1.0, L"");
    const std::wstring request = url_.rfind(L"file:///", 0) == 0 ? url_ : Utils::UrlEncode(url_);
    win32::HRESULT result = win32::S_OK;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        result = win32::URLDownloadToFileW(nullptr, request.c_str(), destinationPath_.c_str(), 0,
                                           &bindCallback_);
        if (result == win32::S_OK) {
            callback_(DL_CODE_SUCCESS, 0.0, kUrlDownloadToFileText);
            break;
        }
        win32::Sleep(kAttemptPauseMs);
    }
    if (result != win32::S_OK) {
        callback_(DL_CODE_FAIL, static_cast<double>(result), kUrlDownloadToFileText);
    }
    win32::CoUninitialize();
}

CWinDownloader::CBindCallback::~CBindCallback() {
    Abort();
    callback_ = nullptr;
}

win32::HRESULT CWinDownloader::CBindCallback::QueryInterface(const win32::IID&, void**) {
    return win32::E_NOTIMPL;
}

// The object lives exactly as long as its downloader.
win32::ULONG CWinDownloader::CBindCallback::AddRef() {
    return 0;
}
win32::ULONG CWinDownloader::CBindCallback::Release() {
    return 0;
}

win32::HRESULT CWinDownloader::CBindCallback::OnStartBinding(win32::DWORD,
                                                             win32::IBinding* binding) {
    binding_ = binding;
    return win32::E_NOTIMPL;
}

win32::HRESULT CWinDownloader::CBindCallback::GetPriority(win32::LONG*) {
    return win32::E_NOTIMPL;
}

win32::HRESULT CWinDownloader::CBindCallback::OnLowResource(win32::DWORD) {
    return win32::E_NOTIMPL;
}

win32::HRESULT CWinDownloader::CBindCallback::OnProgress(win32::ULONG progress,
                                                         win32::ULONG progressMax, win32::ULONG,
                                                         const wchar_t*) {
    if (abort_) {
        return win32::E_ABORT;
    }
    if (progressMax == 0) {
        return win32::S_OK;
    }
    callback_(DL_CODE_PROGRESS, static_cast<double>(progress) / static_cast<double>(progressMax),
              L"");
    return win32::S_OK;
}

win32::HRESULT CWinDownloader::CBindCallback::OnStopBinding(win32::HRESULT, const wchar_t*) {
    return win32::E_NOTIMPL;
}

win32::HRESULT CWinDownloader::CBindCallback::GetBindInfo(win32::DWORD*,
                                                          win32::BINDINFO* bindInfo) {
    if (bindInfo != nullptr) {
        bindInfo->dwCodePage = kUtf8CodePage;
    }
    return win32::E_NOTIMPL;
}

win32::HRESULT CWinDownloader::CBindCallback::OnDataAvailable(win32::DWORD, win32::DWORD,
                                                              win32::FORMATETC*,
                                                              win32::STGMEDIUM*) {
    return win32::E_NOTIMPL;
}

win32::HRESULT CWinDownloader::CBindCallback::OnObjectAvailable(const win32::IID&, void*) {
    return win32::E_NOTIMPL;
}

win32::HRESULT CWinDownloader::CBindCallback::GetBindInfoEx(win32::DWORD*, win32::BINDINFO*,
                                                            win32::DWORD*, win32::DWORD*) {
    return win32::E_NOTIMPL;
}

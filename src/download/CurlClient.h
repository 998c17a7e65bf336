// One package transfer over libcurl: resolve the final address and the length with header
// requests, download into "<destination>.part" with resume, then move it into place.
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "download/TransferResult.h"

// A resolved length below this counts as not obtained.
constexpr double kMinimumPackageLength = 1048576.0;

class CurlClient {
  public:
    // Called at most once a second while bytes arrive; zero is always 0.0.
    using ProgressHook = void (*)(void* owner, double speed, double zero, double percent);

    CurlClient(const std::wstring& url, const std::wstring& filePath, void* owner,
               ProgressHook hook);
    ~CurlClient();  // cancels a running transfer and removes the ".part" file
    CurlClient(const CurlClient&) = delete;
    CurlClient& operator=(const CurlClient&) = delete;

    // The whole transfer: 0, a libcurl result code, or a TRANSFER_* code.
    int Start();

    // A finished header-only request; the caller reads from it and releases it. Null when no
    // handle can be made.
    CURL* Head(const std::string& url);
    double GetDownloadFileLength(CURL* handle);
    std::string GetRealUrl_Str(const std::string& url);
    double GetDownloadFileLength_Str(const std::string& url);

    // The transfer aborts at its next progress callback; only ever goes from false to true.
    void Cancel() { cancel_ = true; }
    bool Cancelled() const { return cancel_; }

    // Worker thread only.
    const std::string& RealUrl() const { return realUrl_; }
    double FileLength() const { return fileLength_; }

  private:
    static int ProgressCallback(void* client, curl_off_t dltotal, curl_off_t dlnow,
                                curl_off_t ultotal, curl_off_t ulnow);
    void Resolve();
    int Transfer(std::FILE* part);
    int MoveIntoPlace();

    const std::wstring url_;
    const std::wstring filePath_;
    const std::wstring partPath_;
    void* const owner_;
    const ProgressHook hook_;

    // Worker thread only: the transfer and its callbacks run there.
    CURL* handle_ = nullptr;
    double fileLength_ = -1.0;
    std::int64_t resumeOffset_ = -1;
    std::int64_t lastProgressTime_ = 0;
    std::string realUrl_;

    std::atomic<bool> cancel_{false};  // written by the destroying thread
};

// The two-range downloader: one header request, then up to two byte ranges fetched in parallel
// into part files that survive between attempts, joined into the destination and checked
// against the checksum of the resolved address.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "download/DownloadPartNode.h"
#include "download/Downloader.h"
#include "download/WorkerSlot.h"

class CMTCurlDownloader : public CDownloader {
  public:
    CMTCurlDownloader(StatusCallback callback, const wchar_t* url, const wchar_t* destinationPath);
    ~CMTCurlDownloader() override;

    void Start() override;

  private:
    static constexpr int kMaxRanges = 2;

    bool getRealDownloadUrl();
    void Start_Down();
    void downloadThreadFun(DownloadPartNode* node);
    int downloadExe(DownloadPartNode* node);
    void waitForFinishThreadFun();

    static size_t WriteRange(char* data, size_t size, size_t count, void* node);
    static int ProgressFunction(void* self, curl_off_t dltotal, curl_off_t dlnow,
                                curl_off_t ultotal, curl_off_t ulnow);
    void FinishJoined();
    void FinishFailed(int failed);
    int JoinParts();
    void ReleaseParts();
    void DeletePartFiles();
    std::wstring PartPath(int index) const;
    void RunDetached(std::function<void()> body);

    const StatusCallback callback_;
    const std::wstring url_;
    const std::wstring destinationPath_;

    // Written by the Start_Down worker before the range threads start and by the completion
    // thread after they have all ended; read by the range threads and the progress function.
    std::vector<std::unique_ptr<DownloadPartNode>> parts_;
    std::string realUrl_;
    std::string expectedChecksum_;
    std::int64_t length_ = -1;

    std::mutex progressLock_;            // serialises progress evaluation
    double lastPercent_ = 0.0;           // progressLock_
    std::int64_t lastProgressTime_ = 0;  // progressLock_

    std::atomic<int> runningRanges_{0};
    bool retried_ = false;  // the thread that ends an attempt; attempts never overlap

    std::atomic<bool> destroying_{false};  // only ever goes from false to true
    std::mutex detachedLock_;              // guards detachedThreads_
    std::condition_variable detachedDone_;
    int detachedThreads_ = 0;  // range and completion threads still using this object

    WorkerSlot worker_;  // last member: its threads go before everything they use
};

// The default downloader: one libcurl connection with resume between attempts, a bounded
// retry, and the checksum carried by the resolved address.
#pragma once

#include <string>

#include "download/CurlClient.h"
#include "download/Downloader.h"
#include "download/WorkerSlot.h"

class CCurlDownloader : public CDownloader {
  public:
    CCurlDownloader(StatusCallback callback, const wchar_t* url, const wchar_t* destinationPath);
    ~CCurlDownloader() override;

    void Start() override;

  private:
    static void OnProgress(void* owner, double speed, double zero, double percent);
    void dlThreadFun();

    const StatusCallback callback_;
    const std::wstring url_;
    const std::wstring destinationPath_;
    CurlClient client_;     // used by the current worker only
    bool retried_ = false;  // current worker only; DL_CODE_RETRY already sent
    WorkerSlot worker_;     // last member: its threads go before everything they use
};

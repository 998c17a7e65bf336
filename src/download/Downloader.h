// The downloader contract: one URL into one local file, on worker threads, reported through a
// StatusCallback. Three implementations, chosen by the launch setting DownloadType.
#pragma once

#include <memory>

#include "download/StatusCallback.h"

class CDownloader {
  public:
    virtual ~CDownloader() = default;

    // Begins an attempt on a worker thread (or the next one after DL_CODE_RETRY); returns at once.
    virtual void Start() = 0;
};

// 2: the system URL downloader; 3: the two-range libcurl downloader; anything else: the
// single-connection libcurl downloader.
std::unique_ptr<CDownloader> CreateDownloader(int downloadType, StatusCallback callback,
                                              const wchar_t* url, const wchar_t* destinationPath);

// One byte range of the two-range downloader and the part file it fills.
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

struct DownloadPartNode {
    // Range states besides libcurl's result codes.
    static constexpr int kComplete = 0;
    static constexpr int kToFetch = -1;
    static constexpr int kPartFileFailed = -2;

    ~DownloadPartNode();  // releases the handle and closes the file

    // Written only by the node's range thread while it runs.
    std::FILE* file = nullptr;
    std::int64_t next = 0;  // absolute offset of the next byte to fetch
    std::int64_t last = 0;  // absolute offset of the range's last byte
    CURL* handle = nullptr;
    std::string realUrl;
    std::string partPath;  // ANSI code page
    std::wstring widePartPath;
    int state = kToFetch;
    bool answerChecked = false;  // the current transfer's status line and range were examined
    bool rangeRefused = false;   // the server answered with other bytes than those asked for

    std::atomic<std::int64_t> bytes{0};  // on disk; also read by the progress function
};

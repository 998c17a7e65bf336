#include "download/MTCurlDownloader.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <thread>

#include "download/BodyRequest.h"
#include "download/CurlText.h"
#include "download/DownloadStatus.h"
#include "download/HeaderRequest.h"
#include "download/PackageChecksum.h"
#include "download/RetryOnce.h"
#include "download/TransferResult.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Thread.h"
#include "platform/net/CurlOptions.h"
#include "shell/LaunchConfig.h"
#include "utils/DebugTrace.h"
#include "utils/TextConversion.h"

namespace {

constexpr std::int64_t kRangeUnit = 10485760;  // files under two of these use one range
constexpr std::int64_t kShortestPackage = 256;
constexpr int kRangeRetryBudget = 12;
constexpr win32::DWORD kRangeRetryPauseMs = 400;
constexpr win32::DWORD kRangeStartSpacingMs = 100;
constexpr win32::DWORD kCompletionPollMs = 200;
constexpr std::size_t kJoinBlock = 1024;

// A ranged request counts only when the server sent exactly the bytes asked for; a server
// that ignores Range would otherwise fill a range with the start of the file.
bool AnsweredWithRange(DownloadPartNode& node) {
    long status = 0;
    if (curl_easy_getinfo(node.handle, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK ||
        status != 206) {
        return false;
    }
    curl_header* header = nullptr;
    if (curl_easy_header(node.handle, "Content-Range", 0, CURLH_HEADER, -1, &header) != CURLHE_OK) {
        return false;
    }
    char expected[64];
    std::snprintf(expected, sizeof expected, "bytes %" PRId64 "-%" PRId64 "/", node.next,
                  node.last);
    return std::string(header->value).rfind(expected, 0) == 0;
}

bool AppendFile(std::FILE* target, std::FILE* source) {
    char block[kJoinBlock];
    size_t read = 0;
    while ((read = std::fread(block, 1, sizeof block, source)) > 0) {
        if (std::fwrite(block, 1, read, target) != read) {
            return false;
        }
    }
    return std::ferror(source) == 0;
}

}  // namespace

CMTCurlDownloader::CMTCurlDownloader(StatusCallback callback, const wchar_t* url,
                                     const wchar_t* destinationPath)
    : callback_(std::move(callback)), url_(url), destinationPath_(destinationPath) {
    win32::DeleteFileW(destinationPath_.c_str());
    DeletePartFiles();
}

CMTCurlDownloader::~CMTCurlDownloader() {
    destroying_ = true;
    worker_.JoinAll();
    std::unique_lock<std::mutex> guard(detachedLock_);
    detachedDone_.wait(guard, [this] { return detachedThreads_ == 0; });
}

void CMTCurlDownloader::Start() {
    if (destroying_) {
        return;
    }
    worker_.Replace([this] { Start_Down(); });
}

std::wstring CMTCurlDownloader::PartPath(int index) const {
    return Utils::MultiByteToWide(AnsiPath(destinationPath_) + "_" + std::to_string(index),
                                  win32::CP_ACP);
}

void CMTCurlDownloader::DeletePartFiles() {
    for (int i = 0; i < kMaxRanges; ++i) {
        win32::DeleteFileW(PartPath(i).c_str());
    }
}

void CMTCurlDownloader::RunDetached(std::function<void()> body) {
    {
        std::lock_guard<std::mutex> guard(detachedLock_);
        ++detachedThreads_;
    }
    std::thread([this, body = std::move(body)] {
        body();
        // The notification stays under the lock so that the destructor cannot finish between
        // the count reaching zero and the notification.
        std::lock_guard<std::mutex> guard(detachedLock_);
        --detachedThreads_;
        detachedDone_.notify_all();
    }).detach();
}

bool CMTCurlDownloader::getRealDownloadUrl() {
    realUrl_.clear();
    expectedChecksum_.clear();
    length_ = 0;
    if (!Shell::GetLaunchConfig().HttpLibraryReady) {
        return false;
    }
    CURL* handle = curl_easy_init();
    if (handle == nullptr) {
        return false;
    }
    const std::string url = CurlUrlText(url_);
    curl_slist* headers = curl_slist_append(nullptr, "Connection: keep-alive");
    // Peer and host verification stay on: the package is run with administrator rights.
    const bool accepted = curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers) == CURLE_OK &&
                          SetHeaderRequestOptions(handle, url);
    if (!accepted || curl_easy_perform(handle) != CURLE_OK) {
        curl_easy_cleanup(handle);
        curl_slist_free_all(headers);
        return false;
    }
    realUrl_ = EffectiveUrl(handle);
    if (!realUrl_.empty()) {
        UTILS_TRACE_LINE(L"Download File real url %s",
                         Utils::MultiByteToWide(realUrl_, win32::CP_ACP).c_str());
        expectedChecksum_ = ExpectedChecksum(realUrl_);
    }
    curl_off_t length = -1;
    long status = 0;
    if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status >= 200 &&
        status <= 399) {
        length_ = length;
        UTILS_TRACE_LINE(L"Download File Length %lld", static_cast<long long>(length_));
    }
    curl_easy_cleanup(handle);
    curl_slist_free_all(headers);
    return !realUrl_.empty() && length_ > kShortestPackage - 1;
}

void CMTCurlDownloader::Start_Down() {
    callback_(DL_CODE_START, 1.0, L"");
    UTILS_TRACE_LINE(L"start download");
    win32::DeleteFileW(destinationPath_.c_str());
    bool madeProgress = false;
    {
        std::lock_guard<std::mutex> guard(progressLock_);
        madeProgress = lastPercent_ != 0.0;
    }
    if (!madeProgress) {
        DeletePartFiles();
    }
    if ((realUrl_.empty() || length_ < kShortestPackage) && !getRealDownloadUrl()) {
        callback_(DL_CODE_FAIL, 0.0, kLibCurlText);
        return;
    }
    std::int64_t count = length_ / kRangeUnit;
    count = count < 1 ? 1 : (count > kMaxRanges ? kMaxRanges : count);
    const std::int64_t size = length_ / count;
    for (int i = 0; i < count; ++i) {
        auto node = std::make_unique<DownloadPartNode>();
        const std::int64_t offset = size * i;
        node->widePartPath = PartPath(i);
        node->partPath = AnsiPath(node->widePartPath);
        const std::int64_t existing =
            std::max<std::int64_t>(0, win32::GetFileSizeByPath(node->widePartPath.c_str()));
        node->bytes = existing;
        node->next = offset + existing;
        node->last = i == count - 1 ? length_ - 1 : offset + size - 1;
        node->handle = curl_easy_init();
        node->realUrl = realUrl_;
        if (node->next > node->last) {
            node->state = DownloadPartNode::kComplete;
        } else {
            node->state = DownloadPartNode::kToFetch;
            node->file = win32::OpenFileA(node->partPath.c_str(), "ab+");
            if (node->file == nullptr) {
                node->state = DownloadPartNode::kPartFileFailed;
            }
        }
        parts_.push_back(std::move(node));
    }
    for (const auto& node : parts_) {
        if (node->state == DownloadPartNode::kToFetch) {
            ++runningRanges_;
            RunDetached([this, part = node.get()] { downloadThreadFun(part); });
            win32::Sleep(kRangeStartSpacingMs);
        }
    }
    RunDetached([this] { waitForFinishThreadFun(); });
}

void CMTCurlDownloader::downloadThreadFun(DownloadPartNode* node) {
    int budget = kRangeRetryBudget;
    int code = downloadExe(node);
    // A downloader being destroyed aborts every transfer; trying again is pointless.
    while (code != 0 && budget > 0 && !destroying_) {
        UTILS_TRACE_LINE(L"CurlDownLoader Code=%d", code);
        win32::Sleep(kRangeRetryPauseMs);
        budget -= code == CURLE_PARTIAL_FILE ? 1 : 2;
        code = downloadExe(node);
    }
    if (node->file != nullptr) {
        std::fclose(node->file);
        node->file = nullptr;
    }
    --runningRanges_;
}

int CMTCurlDownloader::downloadExe(DownloadPartNode* node) {
    if (node->handle == nullptr) {
        node->state = TRANSFER_NO_HANDLE;
        return node->state;
    }
    char range[64];
    std::snprintf(range, sizeof range, "%" PRId64 "-%" PRId64, node->next, node->last);
    node->answerChecked = false;
    node->rangeRefused = false;
    CURL* handle = node->handle;
    CURLcode result = net::CurlOptions(handle)
                          .Set(CURLOPT_NOSIGNAL, 1L)
                          .Set(CURLOPT_TIMEOUT, 0L)
                          .Set(CURLOPT_LOW_SPEED_LIMIT, 1L)
                          .Set(CURLOPT_LOW_SPEED_TIME, 5L)
                          .Set(CURLOPT_RANGE, range)
                          .Result();
    if (result == CURLE_OK) {
        result =
            SetBodyRequestOptions(handle, node->realUrl, WriteRange, node, ProgressFunction, this);
    }
    if (result != CURLE_OK) {
        curl_easy_reset(handle);
        node->state = result;
        return result;
    }
    result = curl_easy_perform(handle);
    if (result == CURLE_OK && !node->answerChecked && !AnsweredWithRange(*node)) {
        node->rangeRefused = true;
    }
    if (node->rangeRefused) {
        result = CURLE_RANGE_ERROR;
    }
    if (result != CURLE_OK) {
        UTILS_TRACE_LINE(L"error:%d:%s", static_cast<int>(result), CurlErrorText(result).c_str());
    } else {
        UTILS_TRACE_LINE(L"curl_easy_cleanup");
    }
    curl_easy_reset(handle);
    if (result == CURLE_OK && node->file != nullptr) {
        std::fclose(node->file);
        node->file = nullptr;
    }
    node->state = result;
    return result;
}

size_t CMTCurlDownloader::WriteRange(char* data, size_t size, size_t count, void* part) {
    DownloadPartNode* node = static_cast<DownloadPartNode*>(part);
    if (!node->answerChecked) {
        node->answerChecked = true;
        node->rangeRefused = !AnsweredWithRange(*node);
    }
    size_t written = 0;
    if (!node->rangeRefused && node->file != nullptr && node->next <= node->last) {
        const std::int64_t room = node->last - node->next + 1;
        const size_t wanted = size * count;
        const size_t take =
            static_cast<std::int64_t>(wanted) < room ? wanted : static_cast<size_t>(room);
        written = std::fwrite(data, 1, take, node->file);
        node->next += static_cast<std::int64_t>(written);
    }
    node->bytes += static_cast<std::int64_t>(written);
    return written;
}

int CMTCurlDownloader::ProgressFunction(void* downloader, curl_off_t, curl_off_t, curl_off_t,
                                        curl_off_t) {
    CMTCurlDownloader* self = static_cast<CMTCurlDownloader*>(downloader);
    if (self->destroying_) {
        return 1;
    }
    std::lock_guard<std::mutex> guard(self->progressLock_);
    const std::int64_t now = std::time(nullptr);
    if (now - self->lastProgressTime_ < 1) {
        return 0;
    }
    self->lastProgressTime_ = now;
    double percent = 0.0;
    if (self->length_ >= kShortestPackage) {
        for (const auto& node : self->parts_) {
            percent +=
                static_cast<double>(node->bytes) * 100.0 / static_cast<double>(self->length_);
        }
        if (percent > 100.0) {
            return 0;
        }
    }
    if (percent - self->lastPercent_ < 1.0) {
        return 0;
    }
    self->lastPercent_ = percent;
    self->callback_(DL_CODE_PROGRESS, percent / 100.0, L"");
    return 0;
}

void CMTCurlDownloader::waitForFinishThreadFun() {
    while (runningRanges_ > 0) {
        win32::Sleep(kCompletionPollMs);
    }
    int failed = DownloadPartNode::kComplete;
    for (const auto& node : parts_) {
        if (node->state != DownloadPartNode::kComplete) {
            failed = node->state;
            break;
        }
    }
    if (failed == DownloadPartNode::kComplete) {
        FinishJoined();
    } else {
        FinishFailed(failed);
    }
}

int CMTCurlDownloader::JoinParts() {
    std::FILE* joined = win32::OpenFileA(parts_.front()->partPath.c_str(), "ab+");
    if (joined == nullptr) {
        return TRANSFER_NOT_PLACED;
    }
    bool whole = true;
    for (std::size_t i = 1; i < parts_.size() && whole; ++i) {
        std::FILE* part = win32::OpenFileA(parts_[i]->partPath.c_str(), "rb+");
        whole = part != nullptr && AppendFile(joined, part);
        if (part != nullptr) {
            std::fclose(part);
        }
        UTILS_TRACE_LINE(L"partPath::%s",
                         Utils::MultiByteToWide(parts_[i]->partPath, win32::CP_ACP).c_str());
    }
    whole = std::fclose(joined) == 0 && whole;
    // Joined bytes that never reach the destination are a failed download, not a finished one.
    if (!whole ||
        !win32::MoveFileExW(parts_.front()->widePartPath.c_str(), destinationPath_.c_str(),
                            win32::MOVEFILE_REPLACE_EXISTING | win32::MOVEFILE_COPY_ALLOWED)) {
        return TRANSFER_NOT_PLACED;
    }
    DeletePartFiles();
    return 0;
}

void CMTCurlDownloader::FinishJoined() {
    {
        std::lock_guard<std::mutex> guard(progressLock_);
        lastPercent_ = 0.0;
    }
    const int joined = JoinParts();
    if (joined != 0) {
        FinishFailed(joined);
        return;
    }
    switch (VerifyPackageChecksum(realUrl_, destinationPath_)) {
        case ChecksumVerdict::Differs:
            callback_(DL_CODE_REASON, 0.0, kMTCurlChecksumMismatchReason);
            win32::DeleteFileW(destinationPath_.c_str());
            ReleaseParts();
            if (retried_) {
                UTILS_TRACE_LINE(L"finish recv, md5 chaek failed and retry failed.");
            } else {
                UTILS_TRACE_LINE(L"finish recv, md5 chaek failed retry once.");
            }
            ReportRetryOrFail(callback_, &retried_, 0.0);
            return;
        case ChecksumVerdict::Unavailable:
            callback_(DL_CODE_REASON, 0.0, kMTCurlChecksumMissingReason);
            break;
        case ChecksumVerdict::Matches:
            break;
    }
    UTILS_TRACE_LINE(L"finish recv");
    ReleaseParts();
    callback_(DL_CODE_SUCCESS, 0.0, kLibCurlText);
}

void CMTCurlDownloader::FinishFailed(int failed) {
    ReleaseParts();
    bool madeProgress = false;
    {
        std::lock_guard<std::mutex> guard(progressLock_);
        madeProgress = lastPercent_ != 0.0;
        if (retried_) {
            lastPercent_ = 0.0;
        }
    }
    if (!madeProgress) {
        DeletePartFiles();
    }
    ReportRetryOrFail(callback_, &retried_, failed);
}

void CMTCurlDownloader::ReleaseParts() {
    std::lock_guard<std::mutex> guard(progressLock_);
    parts_.clear();
}

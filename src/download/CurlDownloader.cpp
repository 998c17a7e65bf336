#include "download/CurlDownloader.h"

#include "download/DownloadStatus.h"
#include "download/PackageChecksum.h"
#include "download/RetryOnce.h"
#include "platform/Files.h"
#include "platform/Thread.h"
#include "utils/DebugTrace.h"

namespace {
constexpr int kRetryBudget = 12;
constexpr win32::DWORD kRetryPauseMs = 500;
}  // namespace

CCurlDownloader::CCurlDownloader(StatusCallback callback, const wchar_t* url,
                                 const wchar_t* destinationPath)
    : callback_(std::move(callback)),
      url_(url),
      destinationPath_(destinationPath),
      client_(url_, destinationPath_, this, &CCurlDownloader::OnProgress) {
    // An interrupted earlier run is never resumed: its bytes may belong to another package.
    win32::DeleteFileW((destinationPath_ + L".part").c_str());
}

CCurlDownloader::~CCurlDownloader() {
    client_.Cancel();
    worker_.JoinAll();
}

void CCurlDownloader::Start() {
    worker_.Replace([this] { dlThreadFun(); });
}

void CCurlDownloader::OnProgress(void* owner, double speed, double, double percent) {
    CCurlDownloader* self = static_cast<CCurlDownloader*>(owner);
    if (speed > 0 && percent <= 100.0) {
        self->callback_(DL_CODE_PROGRESS, percent / 100.0, L"");
    }
}

void CCurlDownloader::dlThreadFun() {
    callback_(DL_CODE_START, 1.0, L"");
    int code = client_.Start();
    int budget = kRetryBudget;
    while (code != 0) {
        budget -= code == CURLE_PARTIAL_FILE ? 1 : 2;
        // A cancelled client aborts every further transfer at once; trying again is pointless.
        if (budget <= 0 || client_.Cancelled()) {
            callback_(DL_CODE_FAIL, code, kLibCurlText);
            return;
        }
        UTILS_TRACE_LINE(L"CurlDownLoader Code=%d", code);
        win32::Sleep(kRetryPauseMs);
        code = client_.Start();
    }
    switch (VerifyPackageChecksum(client_.RealUrl(), destinationPath_)) {
        case ChecksumVerdict::Differs:
            callback_(DL_CODE_REASON, 0.0, kCurlChecksumMismatchReason);
            ReportRetryOrFail(callback_, &retried_, 0.0);
            return;
        case ChecksumVerdict::Unavailable:
            callback_(DL_CODE_REASON, 0.0, kCurlChecksumMissingReason);
            break;
        case ChecksumVerdict::Matches:
            break;
    }
    callback_(DL_CODE_SUCCESS, 0.0, kLibCurlText);
}

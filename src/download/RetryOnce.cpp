#include "download/RetryOnce.h"

#include "download/DownloadStatus.h"

void ReportRetryOrFail(const StatusCallback& callback, bool* retried, double value) {
    if (*retried) {
        callback(DL_CODE_FAIL, value, kLibCurlText);
        return;
    }
    *retried = true;
    callback(DL_CODE_RETRY, value, kLibCurlText);
}

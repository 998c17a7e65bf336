// A download that fails after its one retry fails for good.
#pragma once

#include "download/StatusCallback.h"

// Reports DL_CODE_FAIL when *retried is already set; otherwise sets it and reports
// DL_CODE_RETRY, so that the owner starts one more attempt. Both carry value and kLibCurlText.
void ReportRetryOrFail(const StatusCallback& callback, bool* retried, double value);

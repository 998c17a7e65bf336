// The "下载失败原因" installer event of the length requests: a header request for the package
// length answered with a bad status.
#pragma once

// Reports the HTTP status of the failed length request.
void ReportLengthStatusFailure(long responseCode);

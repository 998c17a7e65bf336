#include "download/FailureReasonReport.h"

#include <string>

#include "platform/Types.h"
#include "utils/DebugTrace.h"

void ReportLengthStatusFailure(long responseCode) {
    const std::wstring detail = Utils::WideFormat(L"1.获取文件大小的状态码为=%ld；",
                                                  static_cast<win32::LONG>(responseCode));
    // The single hand-over point to the installer's analytics events; until those are linked
    // into this layer the event goes to the trace channel only.
    UTILS_TRACE_LINE(L"%s %s", L"下载失败原因", detail.c_str());
}

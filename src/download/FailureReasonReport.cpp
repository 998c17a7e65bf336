#include "download/FailureReasonReport.h"

#include <string>

#include "analytics/tracker/InstallerReporting.h"
#include "platform/Types.h"
#include "shell/LaunchConfig.h"
#include "utils/DebugTrace.h"

void ReportLengthStatusFailure(long responseCode) {
    const std::wstring detail = Utils::WideFormat(L"1.获取文件大小的状态码为=%ld；",
                                                  static_cast<win32::LONG>(responseCode));
    zoren::usage::ReportInstallerEvent(L"下载失败原因", detail, 0.0f,
                                       {{L"AB", Shell::GetLaunchConfig().AbGroup}});
}

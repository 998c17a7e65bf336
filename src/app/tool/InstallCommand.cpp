// quillon-tool install: one whole setup without the window, driven the way the main window
// drives it, with every status the window would receive printed as "CODE VALUE TEXT".
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

#include "analytics/tracker/InstallerReporting.h"
#include "analytics/tracker/UsageTracker.h"
#include "platform/Console.h"
#include "platform/Time.h"
#include "setup/DownloadInstaller.h"
#include "setup/InstallationRecord.h"
#include "setup/RunningProcess.h"
#include "setup/SetupStatus.h"
#include "setup/StatusMessage.h"
#include "shell/LaunchConfig.h"
#include "tool/ToolCommand.h"
#include "tool/Utf8Args.h"
#include "utils/DebugTrace.h"
#include "utils/MachineFacts.h"
#include "utils/TextConversion.h"

namespace {

constexpr wchar_t kRunningProductText[] = L"安装程序检测到奎隆\r\n正在运行，请退出程序后再安装";

struct InstallOptions {
    std::optional<std::wstring> url;
    std::optional<std::wstring> dir;
    bool desktopShortcut = true;
    bool quickLaunchShortcut = true;
};

bool ParseFlag(const std::string& text, bool* flag) {
    if (text != "true" && text != "false") {
        return false;
    }
    *flag = text == "true";
    return true;
}

bool ParseOptions(const std::vector<std::string>& args, InstallOptions* options) {
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) {
            return false;
        }
        const std::string& name = args[i];
        const std::string& value = args[i + 1];
        if (name == "--url") {
            options->url = Tool::Wide(value);
        } else if (name == "--dir") {
            options->dir = Tool::Wide(value);
        } else if (name == "--desktop") {
            if (!ParseFlag(value, &options->desktopShortcut)) {
                return false;
            }
        } else if (name == "--quicklaunch") {
            if (!ParseFlag(value, &options->quickLaunchShortcut)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

// The milestones the window reports to analytics, with the window's A/B group.
void ReportMilestone(const std::wstring& event, const std::wstring& detail, float elapsedSeconds) {
    zoren::usage::ReportInstallerEvent(event, detail, elapsedSeconds,
                                       {{L"AB", Shell::GetLaunchConfig().AbGroup}});
}

// The failure-reason milestones carry the status's code and text.
void ReportFailureReason(const wchar_t* event, const StatusMessage& message) {
    ReportMilestone(
        event,
        Utils::WideFormat(L":1.code=%ld；2.msg=%s", static_cast<win32::LONG>(message.value),
                          message.text.c_str()),
        0.0f);
}

// Stands in for the window's message queue: the setup's threads post, the tool's thread
// handles the records in posting order.
class StatusQueue {
  public:
    StatusCallback Poster() {
        return [this](int code, double value, const wchar_t* text) {
            {
                std::lock_guard<std::mutex> lock(lock_);
                messages_.push_back(
                    std::make_unique<StatusMessage>(StatusMessage{code, value, text}));
            }
            posted_.notify_one();
        };
    }

    std::unique_ptr<StatusMessage> Next() {
        std::unique_lock<std::mutex> lock(lock_);
        posted_.wait(lock, [this] { return !messages_.empty(); });
        std::unique_ptr<StatusMessage> message = std::move(messages_.front());
        messages_.pop_front();
        return message;
    }

  private:
    std::mutex lock_;  // guards messages_
    std::condition_variable posted_;
    std::deque<std::unique_ptr<StatusMessage>> messages_;
};

// The window's progress bar, drawn on standard error when that is a terminal.
class ProgressBar {
  public:
    ProgressBar() : visible_(win32::IsConsoleHandle(win32::STD_ERROR_HANDLE)) {}
    ~ProgressBar() {
        if (visible_ && drawn_) {
            std::fputs("\n", stderr);
        }
    }

    void Show(int percent, const std::wstring& text) {
        if (!visible_) {
            return;
        }
        constexpr int kWidth = 30;
        const int filled = std::clamp(percent, 0, 100) * kWidth / 100;
        std::fprintf(stderr, "\r\033[K[%s%s] %3d%% %s", std::string(filled, '#').c_str(),
                     std::string(kWidth - filled, '-').c_str(), std::clamp(percent, 0, 100),
                     Utils::ToUtf8(text).c_str());
        std::fflush(stderr);
        drawn_ = true;
    }

    // Status lines go to standard output; the bar is moved out of their way first.
    void Clear() {
        if (visible_ && drawn_) {
            std::fputs("\r\033[K", stderr);
        }
    }

  private:
    const bool visible_;
    bool drawn_ = false;
};

std::string Printable(const std::wstring& text) {
    std::wstring escaped;
    for (wchar_t c : text) {
        escaped += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
    }
    return Utils::ToUtf8(escaped);
}

// One setup as the main window runs it: the same checks before the start, the same reactions
// to each status, the same record at the end.
class HeadlessSetup {
  public:
    int Run(const InstallOptions& options);

  private:
    std::optional<int> Handle(const StatusMessage& message);
    void ShowProgress(int percent);
    bool CheckBeforeStart();
    float SecondsOnDownloadClock() const;

    Shell::LaunchConfig& config_ = Shell::GetLaunchConfig();
    StatusQueue queue_;
    ProgressBar bar_;
    ExistingInstallation existing_;
    std::wstring installDir_;
    std::wstring uninstallEp_;
    double installFraction_ = 0.0;
    bool launchReported_ = false;
    std::optional<win32::DWORD> downloadStartTick_;
};

int HeadlessSetup::Run(const InstallOptions& options) {
    if (options.url) {
        config_.SetDownloadUrl(*options.url);
    }
    existing_ = FindExistingInstallation();
    if (!existing_.installPath.empty()) {
        Tool::PrintLine(L"existing " + existing_.installPath + L" " + existing_.uninstallEp);
    }
    AccountFacts facts{};
    const std::wstring defaultDir = GetDefaultInstallDir(existing_, &facts);
    installDir_ = options.dir ? GetCustomInstallDir(defaultDir, *options.dir) : defaultDir;
    if (!CheckBeforeStart()) {
        return 1;
    }
    const std::wstring oldUninstaller =
        IsOverrideDisabled(existing_.installPath, installDir_) ? L"" : existing_.uninstallEp;
    Tool::PrintLine(L"target " + installDir_);
    Tool::PrintLine(L"remove " + (oldUninstaller.empty() ? L"-" : oldUninstaller));
    std::fflush(stdout);

    CDownloadInstaller installer(queue_.Poster(), L"", L"", L"", true, true, true);
    installer.SetParams(config_.DownloadUrl, existing_.installPath, oldUninstaller, installDir_,
                        options.desktopShortcut, options.quickLaunchShortcut, facts.adminAct,
                        facts.authorizationAct);
    installer.Start();
    for (;;) {
        const std::unique_ptr<StatusMessage> message = queue_.Next();
        if (const std::optional<int> exitStatus = Handle(*message)) {
            return *exitStatus;
        }
    }
}

bool HeadlessSetup::CheckBeforeStart() {
    if (FindProcessByName(L"Quillon_un_asa.exe") != 0 || FindProcessByName(L"Quillon.exe") != 0) {
        Tool::PrintLine(L"refused " + std::wstring(kRunningProductText));
        return false;
    }
    if (!Utils::CreateFolderWithParents(installDir_)) {
        Tool::PrintLine(L"refused 无效路径");
        return false;
    }
    Utils::HardDiskManager disk;
    if (disk.CheckFreeSpace(installDir_.c_str()) &&
        static_cast<double>(disk.FreeBytesAvailableToCaller()) / (1 << 30) < 1.0) {
        Tool::PrintLine(L"refused 当前磁盘剩余空间低于1GB，请修改安装路径");
        return false;
    }
    return true;
}

float HeadlessSetup::SecondsOnDownloadClock() const {
    if (!downloadStartTick_) {
        return 0.0f;
    }
    return static_cast<float>(win32::GetTickCount() - *downloadStartTick_) / 1000.0f;
}

void HeadlessSetup::ShowProgress(int percent) {
    const wchar_t* format = SecondsOnDownloadClock() > 60.0f ? L"正在安装中:%d%%，请耐心等待..."
                                                             : L"正在安装中:%d%%，请稍候...";
    bar_.Show(percent, Utils::WideFormat(format, percent));
}

std::optional<int> HeadlessSetup::Handle(const StatusMessage& message) {
    bar_.Clear();
    std::printf("%d %.10g%s%s\n", message.code, message.value, message.text.empty() ? "" : " ",
                Printable(message.text).c_str());
    std::fflush(stdout);
    const double scale = config_.DownloadScale;
    switch (message.code) {
        case DL_CODE_START:
            if (!launchReported_) {
                launchReported_ = true;
                ReportMilestone(L"下载器启动", L"", 0.0f);
            }
            downloadStartTick_ = win32::GetTickCount();
            ReportMilestone(L"开始下载大包", L"", 0.0f);
            break;
        case DL_CODE_PROGRESS:
            ShowProgress(static_cast<int>(message.value * scale * 100));
            break;
        case DL_CODE_SUCCESS:
            ReportMilestone(L"大包下载完毕", L"", SecondsOnDownloadClock());
            break;
        case DL_CODE_FAIL:
        case DL_CODE_REASON:
            ReportFailureReason(L"下载失败原因", message);
            if (message.code == DL_CODE_FAIL) {
                return 1;
            }
            break;
        case IST_CODE_START:
            WriteSetIni(installDir_);
            break;
        case IST_CODE_PROGRESS:
            installFraction_ = std::max(std::min(installFraction_ + 0.15, 0.95), message.value);
            ShowProgress(static_cast<int>(((1 - scale) * installFraction_ + scale) * 100));
            break;
        case IST_CODE_SUCCESS:
            ShowProgress(100);
            ReportMilestone(L"安装成功", L"", SecondsOnDownloadClock());
            SaveInstallInfo(installDir_, &uninstallEp_);
            WriteSetIni(installDir_);
            bar_.Clear();
            Tool::PrintLine(L"installed " + installDir_);
            return 0;
        case IST_CODE_FAIL:
            ReportFailureReason(L"安装失败原因", message);
            return 1;
        case IST_INFO_INSTPATH:
            installDir_ = message.text;
            break;
        case IST_INFO_UNINSTEP:
            uninstallEp_ = message.text;
            break;
        case UNIST_CODE_FAIL:
        case UNIST_CODE_ERROR:
            return 1;
        default:
            break;
    }
    return std::nullopt;
}

int RunInstall(const std::vector<std::string>& args) {
    InstallOptions options;
    if (!ParseOptions(args, &options)) {
        return Tool::UsageError("install");
    }
    // The tracker lives as long as the setup, as in the installer: started from the launch
    // configuration, and released (which delivers what was queued) when the setup ends.
    const bool analytics = Shell::GetLaunchConfig().IsEnableAppAnalytics;
    if (analytics) {
        zoren::usage::StartTracker();
    }
    const int status = HeadlessSetup().Run(options);
    if (analytics) {
        zoren::usage::releaseTracker();
    }
    return status;
}

}  // namespace

QUILLON_TOOL_COMMAND("install",
                     "  install [--url URL] [--dir DIR] [--desktop true|false] "
                     "[--quicklaunch true|false]\n",
                     RunInstall);

#include "setup/PackageRunner.h"

#include "platform/Files.h"
#include "platform/Thread.h"
#include "setup/ChildSession.h"
#include "setup/ExecutableFile.h"
#include "setup/PackageLineParser.h"
#include "setup/SetupStatus.h"
#include "shell/LaunchConfig.h"
#include "utils/DebugTrace.h"
#include "utils/Exception.h"
#include "utils/TextConversion.h"

namespace {

constexpr win32::DWORD kReadPauseMs = 100;

std::wstring Unquoted(const std::wstring& command) {
    if (command.size() >= 2 && command.front() == L'"' && command.back() == L'"') {
        return command.substr(1, command.size() - 2);
    }
    return command;
}

}  // namespace

CPackageRunner::CPackageRunner(StatusCallback callback, const std::wstring& packageCommand,
                               const std::wstring& installDir, bool desktopShortcut,
                               bool quickLaunchShortcut, bool adminAct)
    : callback_(std::move(callback)),
      packageCommand_(packageCommand),
      choices_{installDir, desktopShortcut, quickLaunchShortcut, adminAct, true} {}

CPackageRunner::~CPackageRunner() {
    worker_.reset();
}

void CPackageRunner::SetChoices(const PackageChoices& choices) {
    std::lock_guard<std::mutex> lock(choicesLock_);
    choices_ = choices;
}

void CPackageRunner::Start() {
    std::wstring commandLine;
    {
        std::lock_guard<std::mutex> lock(choicesLock_);
        commandLine =
            PackageCommandLine(packageCommand_, choices_, Shell::GetLaunchConfig().InstCmd);
    }
    worker_.reset();
    commandLine_ = commandLine;
    worker_ = std::make_unique<Utils::Thread>([this](void*) { Run(); }, nullptr, L"ABDEF");
    worker_->Resume();
}

void CPackageRunner::Run() {
    callback_(IST_CODE_START, 0.0, L"");
    callback_(IST_CODE_PROGRESS, 0.0, L"");
    // The download leaves the package without execute permission.
    MarkExecutable(Unquoted(packageCommand_));
    std::unique_ptr<ChildSession> child;
    try {
        child = std::make_unique<ChildSession>(commandLine_);
    } catch (const Utils::Exception& error) {
        UTILS_TRACE_LINE(L"package not started: error %d", static_cast<int>(error.SystemError()));
        callback_(IST_CODE_FAIL, kFailNotStarted, L"");
        return;
    }
    const bool sawFinalState = ReadUntilFinalState(*child);
    if (sawFinalState) {
        child->DiscardOutput();
    }
    child.reset();
    if (!sawFinalState) {
        callback_(IST_CODE_SUCCESS, kEndedWithoutFinalState, L"");
    }
}

// Also reads what an ended child left in the pipe: its last lines are often written just
// before it exits.
bool CPackageRunner::ReadUntilFinalState(ChildSession& child) {
    while (!child.HasEnded() || child.OutputWaiting()) {
        std::string bytes;
        if (child.ReadChunk(&bytes)) {
            const std::wstring text =
                Utils::MultiByteToWide(bytes, static_cast<win32::UINT>(codePage_));
            if (ParsePackageChunk(text, callback_, &codePage_) != FinalState::None) {
                return true;
            }
        }
        win32::Sleep(kReadPauseMs);
    }
    return false;
}

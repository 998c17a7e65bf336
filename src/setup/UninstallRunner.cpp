#include "setup/UninstallRunner.h"

#include "platform/Files.h"
#include "setup/AccountFacts.h"
#include "setup/ChildSession.h"
#include "setup/SetupCommandLines.h"
#include "setup/SetupStatus.h"
#include "setup/UninstallLineParser.h"
#include "utils/DebugTrace.h"
#include "utils/Exception.h"
#include "utils/TextConversion.h"

namespace {
// How long to wait for the end of an uninstaller that closed its output but still runs.
constexpr win32::DWORD kClosedOutputWaitMs = 100;
}  // namespace

CUninstallRunner::CUninstallRunner(StatusCallback callback, const std::wstring& uninstallerCopy,
                                   const std::wstring& oldFolder)
    : callback_(std::move(callback)), uninstallerCopy_(uninstallerCopy), oldFolder_(oldFolder) {}

CUninstallRunner::~CUninstallRunner() {
    worker_.reset();
}

void CUninstallRunner::Start() {
    const AccountFacts facts = CurrentAccountFacts();
    worker_.reset();
    commandLine_ = UninstallerCommandLine(uninstallerCopy_, facts.adminAct, facts.authorizationAct,
                                          oldFolder_);
    worker_ = std::make_unique<Utils::Thread>([this](void*) { Run(); }, nullptr, L"UnInstaller");
    worker_->Resume();
}

void CUninstallRunner::Run() {
    if (!win32::PathFileExistsW(uninstallerCopy_.c_str())) {
        callback_(UNIST_CODE_FAIL, kFailUninstallerMissing, kUninstallerMissingText);
        return;
    }
    callback_(UNIST_CODE_PROGRESS, 0.0, L"");
    std::unique_ptr<ChildSession> child;
    try {
        child = std::make_unique<ChildSession>(commandLine_);
    } catch (const Utils::Exception& error) {
        UTILS_TRACE_LINE(L"uninstaller not started: error %d",
                         static_cast<int>(error.SystemError()));
        callback_(UNIST_CODE_FAIL, kFailNotStarted, L"");
        return;
    }
    // A final state is remembered, but the uninstaller is read to its end.
    bool sawFinalState = false;
    while (!child->HasEnded() || child->OutputWaiting()) {
        std::string bytes;
        if (!child->ReadChunk(&bytes)) {
            child->WaitForEnd(kClosedOutputWaitMs);
            continue;
        }
        const std::wstring text =
            Utils::MultiByteToWide(bytes, static_cast<win32::UINT>(codePage_));
        if (ParseUninstallChunk(text, callback_, &codePage_) != FinalState::None) {
            sawFinalState = true;
        }
    }
    child.reset();
    if (!sawFinalState) {
        callback_(UNIST_CODE_SUCCESS, kEndedWithoutFinalState, L"");
    }
}

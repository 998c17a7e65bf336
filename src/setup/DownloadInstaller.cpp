#include "setup/DownloadInstaller.h"

#include "platform/Files.h"
#include "setup/SetupStatus.h"
#include "shell/LaunchConfig.h"
#include "utils/DebugTrace.h"
#include "utils/TextConversion.h"

namespace {

constexpr wchar_t kUninstallerCopyName[] = L"Quillon_un_asa.exe";

// The package path of the most recent package cleanup, process-wide: a package left in a
// folder the user has since changed is removed by the next cleanup.
std::mutex lastCleanedPackageLock;  // guards lastCleanedPackage
std::wstring lastCleanedPackage;

std::wstring PackagePathIn(const std::wstring& installDir) {
    return installDir + L"\\__Package_Quillon.exe";
}

std::wstring WithoutLastComponent(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

// Empty when the private temporary folder cannot be made; the uninstall runner then reports
// the copy as missing.
std::wstring UninstallerCopyPath() {
    const std::wstring folder = Utils::PrivateTempFolder();
    return folder.empty() ? std::wstring() : folder + kUninstallerCopyName;
}

}  // namespace

CDownloadInstaller::CDownloadInstaller(StatusCallback owner, const std::wstring& url,
                                       const std::wstring& oldUninstaller,
                                       const std::wstring& installDir, bool desktopShortcut,
                                       bool quickLaunchShortcut, bool adminAct)
    : owner_(std::move(owner)),
      url_(url),
      oldUninstaller_(oldUninstaller),
      installDir_(installDir),
      desktopShortcut_(desktopShortcut),
      quickLaunchShortcut_(quickLaunchShortcut),
      adminAct_(adminAct) {}

CDownloadInstaller::~CDownloadInstaller() {
    uninstallRunner_.reset();
    downloader_.reset();
    packageRunner_.reset();
}

void CDownloadInstaller::SetParams(const std::wstring& url, const std::wstring& existingInstallPath,
                                   const std::wstring& oldUninstaller,
                                   const std::wstring& installDir, bool desktopShortcut,
                                   bool quickLaunchShortcut, bool adminAct, bool authorizationAct) {
    std::lock_guard<std::mutex> lock(paramsLock_);
    url_ = url;
    existingInstallPath_ = existingInstallPath;
    oldUninstaller_ = oldUninstaller;
    installDir_ = installDir;
    desktopShortcut_ = desktopShortcut;
    quickLaunchShortcut_ = quickLaunchShortcut;
    adminAct_ = adminAct;
    authorizationAct_ = authorizationAct;
}

void CDownloadInstaller::Start() {
    std::wstring oldUninstaller;
    {
        std::lock_guard<std::mutex> lock(paramsLock_);
        packagePath_ = PackagePathIn(installDir_);
        const int downloadType = Shell::GetLaunchConfig().DownloadType;
        UTILS_TRACE_LINE(L"DL_TYPE=%d", downloadType);
        if (downloader_ == nullptr) {
            downloader_ = CreateDownloader(
                downloadType,
                [this](int c, double v, const wchar_t* t) { OnDownloadStatus(c, v, t); },
                url_.c_str(), packagePath_.c_str());
        }
        if (packageRunner_ == nullptr) {
            packageRunner_ = std::make_unique<CPackageRunner>(
                [this](int c, double v, const wchar_t* t) { OnInstallStatus(c, v, t); },
                L"\"" + packagePath_ + L"\"", installDir_, desktopShortcut_, quickLaunchShortcut_,
                adminAct_);
        }
        packageRunner_->SetChoices(
            {installDir_, desktopShortcut_, quickLaunchShortcut_, adminAct_, authorizationAct_});
        oldUninstaller = oldUninstaller_;
    }
    if (!oldUninstaller.empty() && win32::PathFileExistsW(oldUninstaller.c_str())) {
        StartRemovingOldInstallation(oldUninstaller);
    } else {
        downloader_->Start();
    }
}

// The uninstaller runs from a copy so that it does not run from the folder it empties.
void CDownloadInstaller::StartRemovingOldInstallation(const std::wstring& oldUninstaller) {
    const std::wstring copyPath = UninstallerCopyPath();
    win32::CopyFileW(oldUninstaller.c_str(), copyPath.c_str(), win32::FALSE);
    uninstallRunner_.reset();
    uninstallRunner_ = std::make_unique<CUninstallRunner>(
        [this](int c, double v, const wchar_t* t) { OnUninstallStatus(c, v, t); }, copyPath,
        WithoutLastComponent(oldUninstaller));
    uninstallRunner_->Start();
}

std::wstring CDownloadInstaller::GetPackagePath() {
    std::lock_guard<std::mutex> lock(paramsLock_);
    return PackagePathIn(installDir_);
}

void CDownloadInstaller::OnDownloadStatus(int code, double value, const wchar_t* text) {
    owner_(code, value, text);
    switch (code) {
        case DL_CODE_START: {
            std::wstring installDir;
            {
                std::lock_guard<std::mutex> lock(paramsLock_);
                installDir = installDir_;
            }
            Utils::CreateFolderWithParents(installDir);
            UTILS_TRACE_LINE(L"DL_CODE_START");
            break;
        }
        case DL_CODE_PROGRESS:
            UTILS_TRACE_LINE(L"DL_CODE_PROGRESS");
            break;
        case DL_CODE_SUCCESS:
            UTILS_TRACE_LINE(L"DOWNLOAD_SUCCESS");
            packageRunner_->Start();
            UTILS_TRACE_LINE(L"DL_CODE_SUCCESS");
            break;
        case DL_CODE_FAIL:
            CleanPackage();
            UTILS_TRACE_LINE(L"DL_CODE_FAIL");
            break;
        case DL_CODE_RETRY:
            UTILS_TRACE_LINE(L"DL_CODE_RETRY");
            downloader_->Start();
            break;
        default:
            break;
    }
}

void CDownloadInstaller::OnUninstallStatus(int code, double value, const wchar_t* text) {
    owner_(code, value, text);
    switch (code) {
        case UNIST_CODE_PROGRESS:
            UTILS_TRACE_LINE(L"UNIST_CODE_PROGRESS");
            break;
        case UNIST_CODE_SUCCESS:
            UTILS_TRACE_LINE(L"UNIST_CODE_SUCCESS");
            if (packageRunner_ != nullptr) {
                downloader_->Start();
            }
            break;
        case UNIST_CODE_FAIL:
            UTILS_TRACE_LINE(L"UNIST_CODE_FAIL");
            break;
        case UNIST_CODE_ERROR:
            UTILS_TRACE_LINE(L"UNIST_CODE_ERROR");
            break;
        default:
            break;
    }
}

void CDownloadInstaller::OnInstallStatus(int code, double value, const wchar_t* text) {
    owner_(code, value, text);
    switch (code) {
        case IST_CODE_START:
            UTILS_TRACE_LINE(L"IST_CODE_START");
            break;
        case IST_CODE_PROGRESS:
            UTILS_TRACE_LINE(L"IST_CODE_PROGRESS %.1f", value);
            break;
        case IST_CODE_SUCCESS:
            CleanPackage();
            UTILS_TRACE_LINE(L"INSTALL_SUCCESS");
            break;
        case IST_CODE_FAIL:
            CleanPackage();
            UTILS_TRACE_LINE(L"IST_CODE_FAIL");
            break;
        default:
            break;
    }
}

void CDownloadInstaller::CleanPackage() {
    std::wstring packagePath;
    {
        std::lock_guard<std::mutex> lock(paramsLock_);
        packagePath = packagePath_;
    }
    std::lock_guard<std::mutex> lock(lastCleanedPackageLock);
    win32::DeleteFileW(packagePath.c_str());
    if (!lastCleanedPackage.empty()) {
        win32::DeleteFileW(lastCleanedPackage.c_str());
    }
    lastCleanedPackage = packagePath;
}

// One setup for the main window: remove the older installation, download the package, run it.
// Every report of the three stages goes to the owner first; then the stage's hook reacts, so
// the stages chain themselves on the reporting threads.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "download/Downloader.h"
#include "download/StatusCallback.h"
#include "setup/PackageRunner.h"
#include "setup/UninstallRunner.h"

class CDownloadInstaller {
  public:
    CDownloadInstaller(StatusCallback owner, const std::wstring& url,
                       const std::wstring& oldUninstaller, const std::wstring& installDir,
                       bool desktopShortcut, bool quickLaunchShortcut, bool adminAct);
    // The uninstaller may start the download and the download the package, so they are
    // released in that order, each after its worker ended.
    virtual ~CDownloadInstaller();
    CDownloadInstaller(const CDownloadInstaller&) = delete;
    CDownloadInstaller& operator=(const CDownloadInstaller&) = delete;

    // An empty oldUninstaller means nothing is to be removed.
    virtual void SetParams(const std::wstring& url, const std::wstring& existingInstallPath,
                           const std::wstring& oldUninstaller, const std::wstring& installDir,
                           bool desktopShortcut, bool quickLaunchShortcut, bool adminAct,
                           bool authorizationAct);

    // Returns after at most a file copy and the start of a worker thread.
    virtual void Start();

    // The package file in the current target folder.
    virtual std::wstring GetPackagePath();

  private:
    void OnDownloadStatus(int code, double value, const wchar_t* text);
    void OnUninstallStatus(int code, double value, const wchar_t* text);
    void OnInstallStatus(int code, double value, const wchar_t* text);
    void StartRemovingOldInstallation(const std::wstring& oldUninstaller);
    void CleanPackage();

    const StatusCallback owner_;

    std::mutex paramsLock_;  // guards the fields up to packagePath_
    std::wstring url_;
    std::wstring existingInstallPath_;
    std::wstring oldUninstaller_;
    std::wstring installDir_;
    std::wstring packagePath_;
    bool desktopShortcut_;
    bool quickLaunchShortcut_;
    bool adminAct_;
    bool authorizationAct_ = false;

    // Created by the first Start before any worker exists, then only used: hooks on the
    // workers reach them without a lock.
    std::unique_ptr<CPackageRunner> packageRunner_;
    std::unique_ptr<CDownloader> downloader_;
    // Replaced by Start only, on the owner's thread, after the previous runner ended.
    std::unique_ptr<CUninstallRunner> uninstallRunner_;
};

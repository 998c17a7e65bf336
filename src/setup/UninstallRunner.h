// Runs the older installation's uninstaller (a temporary copy of it) silently and turns its
// output lines into statuses.
#pragma once

#include <memory>
#include <string>

#include "download/StatusCallback.h"
#include "utils/Thread.h"

class CUninstallRunner {
  public:
    CUninstallRunner(StatusCallback callback, const std::wstring& uninstallerCopy,
                     const std::wstring& oldFolder);
    virtual ~CUninstallRunner();  // waits for the worker, and so for the uninstaller
    CUninstallRunner(const CUninstallRunner&) = delete;
    CUninstallRunner& operator=(const CUninstallRunner&) = delete;

    // Runs the uninstaller on a worker named "UnInstaller"; returns without waiting for it.
    virtual void Start();

  private:
    void Run();

    const StatusCallback callback_;
    const std::wstring uninstallerCopy_;
    const std::wstring oldFolder_;

    // Written by Start while no worker runs; read by the worker.
    std::wstring commandLine_;
    std::unique_ptr<Utils::Thread> worker_;
    int codePage_ = 0;  // the worker's alone
};

// Runs the downloaded package silently and turns its output lines into statuses.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "download/StatusCallback.h"
#include "setup/SetupCommandLines.h"
#include "utils/Thread.h"

class ChildSession;

class CPackageRunner {
  public:
    // packageCommand is the package path in double quotation marks.
    CPackageRunner(StatusCallback callback, const std::wstring& packageCommand,
                   const std::wstring& installDir, bool desktopShortcut, bool quickLaunchShortcut,
                   bool adminAct);
    virtual ~CPackageRunner();  // waits for the worker, and so for the package
    CPackageRunner(const CPackageRunner&) = delete;
    CPackageRunner& operator=(const CPackageRunner&) = delete;

    // The folder and the four flags of the next Start.
    void SetChoices(const PackageChoices& choices);

    // Waits for the previous run's worker, then runs the package on a new worker; returns
    // without waiting for it.
    virtual void Start();

  private:
    void Run();
    // True when the package wrote a final state; false when it ended without one.
    bool ReadUntilFinalState(ChildSession& child);

    const StatusCallback callback_;
    const std::wstring packageCommand_;

    std::mutex choicesLock_;  // guards choices_
    PackageChoices choices_;

    // Written by Start while no worker runs; read by the worker.
    std::wstring commandLine_;
    std::unique_ptr<Utils::Thread> worker_;
    // The worker's alone; a later run starts with what the previous one left.
    int codePage_ = 0;
};

// Collects what a setup reports to its owner, as the main window receives it.
#pragma once

#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

#include "download/StatusCallback.h"
#include "integration/download/support/StatusRecorder.h"

namespace SetupTest {

class SetupRecorder {
  public:
    StatusCallback Callback();

    // Waits (at most two minutes, so that a broken setup cannot hang the suite) for one of
    // the codes; returns it, or 0.
    int WaitForOneOf(const std::set<int>& codes);

    std::vector<DownloadTest::Report> Reports();
    // The codes without the progress reports 1002 and 2002.
    std::vector<int> Milestones();

  private:
    std::mutex lock_;  // guards reports_
    std::condition_variable changed_;
    std::vector<DownloadTest::Report> reports_;
};

// The codes that end a setup: installed, failed, or stopped before the download.
const std::set<int>& SetupEndCodes();

}  // namespace SetupTest

// Collects a downloader's reports and plays the owner's part: a DL_CODE_RETRY makes it call
// Start again on the reporting thread, as the setup does.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "download/Downloader.h"

namespace DownloadTest {

struct Report {
    int code;
    double value;
    std::wstring text;
};

class StatusRecorder {
  public:
    StatusCallback Callback();
    void RestartOnRetry(CDownloader* downloader);

    // Waits (at most two minutes, so a broken downloader cannot hang the suite) for 1003 or
    // 1004, or for count terminal reports of any kind.
    bool WaitForEnd();
    bool WaitForTerminalCount(int count);
    bool WaitForCode(int code);

    std::vector<Report> Reports();
    // The codes without progress reports, e.g. {1001, 1006, 1003}.
    std::vector<int> Milestones();
    std::vector<double> ProgressValues();

  private:
    void Record(int code, double value, const wchar_t* text);
    bool WaitFor(const std::function<bool()>& done);

    std::mutex lock_;  // guards everything below
    std::condition_variable changed_;
    std::vector<Report> reports_;
    CDownloader* restart_ = nullptr;
};

// Every attempt begins with 1001 and ends with exactly one of 1003, 1004, 1005, its last
// report; 1006 is always followed at once by one of them. Empty when well-formed.
std::string AttemptShapeProblem(const std::vector<Report>& reports);

}  // namespace DownloadTest

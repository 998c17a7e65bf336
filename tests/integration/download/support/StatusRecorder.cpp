#include "integration/download/support/StatusRecorder.h"

#include <chrono>

#include "download/DownloadStatus.h"

namespace DownloadTest {

StatusCallback StatusRecorder::Callback() {
    return [this](int code, double value, const wchar_t* text) { Record(code, value, text); };
}

void StatusRecorder::RestartOnRetry(CDownloader* downloader) {
    std::lock_guard<std::mutex> guard(lock_);
    restart_ = downloader;
}

void StatusRecorder::Record(int code, double value, const wchar_t* text) {
    CDownloader* restart = nullptr;
    {
        std::lock_guard<std::mutex> guard(lock_);
        reports_.push_back({code, value, text});
        if (code == DL_CODE_RETRY) {
            restart = restart_;
        }
    }
    changed_.notify_all();
    if (restart != nullptr) {
        restart->Start();
    }
}

bool StatusRecorder::WaitFor(const std::function<bool()>& done) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::minutes(2), done);
}

bool StatusRecorder::WaitForEnd() {
    return WaitFor([this] {
        for (const Report& report : reports_) {
            if (report.code == DL_CODE_SUCCESS || report.code == DL_CODE_FAIL) {
                return true;
            }
        }
        return false;
    });
}

bool StatusRecorder::WaitForTerminalCount(int count) {
    return WaitFor([this, count] {
        int seen = 0;
        for (const Report& report : reports_) {
            seen += IsTerminalDownloadStatus(report.code) ? 1 : 0;
        }
        return seen >= count;
    });
}

bool StatusRecorder::WaitForCode(int code) {
    return WaitFor([this, code] {
        for (const Report& report : reports_) {
            if (report.code == code) {
                return true;
            }
        }
        return false;
    });
}

std::vector<Report> StatusRecorder::Reports() {
    std::lock_guard<std::mutex> guard(lock_);
    return reports_;
}

std::vector<int> StatusRecorder::Milestones() {
    std::vector<int> codes;
    for (const Report& report : Reports()) {
        if (report.code != DL_CODE_PROGRESS) {
            codes.push_back(report.code);
        }
    }
    return codes;
}

std::vector<double> StatusRecorder::ProgressValues() {
    std::vector<double> values;
    for (const Report& report : Reports()) {
        if (report.code == DL_CODE_PROGRESS) {
            values.push_back(report.value);
        }
    }
    return values;
}

std::string AttemptShapeProblem(const std::vector<Report>& reports) {
    bool inAttempt = false;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const int code = reports[i].code;
        const std::string where = " at report " + std::to_string(i);
        if (code == DL_CODE_START) {
            if (inAttempt) {
                return "1001 inside an attempt" + where;
            }
            inAttempt = true;
        } else if (!inAttempt) {
            return std::to_string(code) + " outside an attempt" + where;
        } else if (IsTerminalDownloadStatus(code)) {
            inAttempt = false;
        } else if (code == DL_CODE_REASON &&
                   (i + 1 == reports.size() || !IsTerminalDownloadStatus(reports[i + 1].code))) {
            return "1006 not followed by a terminal code" + where;
        }
    }
    return inAttempt ? "the last attempt has no terminal code" : "";
}

}  // namespace DownloadTest

#include "integration/setup/SetupRecorder.h"

#include <chrono>

#include "setup/SetupStatus.h"

namespace SetupTest {

StatusCallback SetupRecorder::Callback() {
    return [this](int code, double value, const wchar_t* text) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            reports_.push_back({code, value, text});
        }
        changed_.notify_all();
    };
}

int SetupRecorder::WaitForOneOf(const std::set<int>& codes) {
    std::unique_lock<std::mutex> guard(lock_);
    int found = 0;
    changed_.wait_for(guard, std::chrono::minutes(2), [&] {
        for (const DownloadTest::Report& report : reports_) {
            if (codes.count(report.code) != 0) {
                found = report.code;
                return true;
            }
        }
        return false;
    });
    return found;
}

std::vector<DownloadTest::Report> SetupRecorder::Reports() {
    std::lock_guard<std::mutex> guard(lock_);
    return reports_;
}

std::vector<int> SetupRecorder::Milestones() {
    std::vector<int> codes;
    for (const DownloadTest::Report& report : Reports()) {
        if (report.code != DL_CODE_PROGRESS && report.code != IST_CODE_PROGRESS) {
            codes.push_back(report.code);
        }
    }
    return codes;
}

const std::set<int>& SetupEndCodes() {
    static const std::set<int> codes = {IST_CODE_SUCCESS, IST_CODE_FAIL, DL_CODE_FAIL,
                                        UNIST_CODE_FAIL, UNIST_CODE_ERROR};
    return codes;
}

}  // namespace SetupTest

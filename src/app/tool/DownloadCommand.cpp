// quillon-tool download: one downloader driven the way the setup drives it, with every status
// printed as one line "CODE VALUE TEXT".
#include <curl/curl.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "download/DownloadStatus.h"
#include "download/Downloader.h"
#include "shell/LaunchConfig.h"
#include "tool/ToolCommand.h"
#include "utils/TextConversion.h"

namespace {

class StatusPrinter {
public:
    void Print(int code, double value, const wchar_t* text) {
        std::lock_guard<std::mutex> guard(lock_);
        const std::string utf8 = Utils::ToUtf8(text);
        std::printf(utf8.empty() ? "%d %g\n" : "%d %g %s\n", code, value, utf8.c_str());
        std::fflush(stdout);
        if (code == DL_CODE_SUCCESS || code == DL_CODE_FAIL) {
            outcome_ = code;
            ended_.notify_all();
        }
    }

    int WaitForOutcome() {
        std::unique_lock<std::mutex> guard(lock_);
        ended_.wait(guard, [this] { return outcome_ != 0; });
        return outcome_;
    }

private:
    std::mutex lock_;  // guards outcome_ and keeps lines whole
    std::condition_variable ended_;
    int outcome_ = 0;
};

int RunDownload(const std::vector<std::string>& args) {
    int type = Shell::GetLaunchConfig().DownloadType;
    std::size_t next = 0;
    if (args.size() == 4 && args[0] == "--type") {
        char* end = nullptr;
        type = static_cast<int>(std::strtol(args[1].c_str(), &end, 10));
        if (args[1].empty() || *end != '\0') {
            return Tool::UsageError("download");
        }
        next = 2;
    } else if (args.size() != 2) {
        return Tool::UsageError("download");
    }
    const std::wstring url = Utils::FromUtf8(args[next]);
    const std::wstring destination = Utils::FromUtf8(args[next + 1]);

    curl_global_init(CURL_GLOBAL_DEFAULT);
    StatusPrinter printer;
    std::unique_ptr<CDownloader> downloader;
    // As the setup does: a retry request is answered with a new Start on the reporting thread.
    downloader = CreateDownloader(
        type,
        [&](int code, double value, const wchar_t* text) {
            printer.Print(code, value, text);
            if (code == DL_CODE_RETRY) {
                downloader->Start();
            }
        },
        url.c_str(), destination.c_str());
    downloader->Start();
    const int outcome = printer.WaitForOutcome();
    downloader.reset();
    curl_global_cleanup();
    return outcome == DL_CODE_SUCCESS ? 0 : 1;
}

}  // namespace

QUILLON_TOOL_COMMAND("download", "  download [--type N] URL DEST\n", RunDownload);

// quillon-tool download: the printed lines and the exit status, as scripts read them.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "integration/download/support/DownloadFixture.h"

namespace DownloadTest {
namespace {

struct ToolRun {
    std::vector<std::string> lines;
    int exitStatus = -1;
};

ToolRun RunTool(const std::string& arguments) {
    ToolRun run;
    const std::string command = std::string(QUILLON_BIN) + "/quillon-tool download " + arguments;
    std::FILE* output = popen(command.c_str(), "r");
    char line[4096];
    while (output != nullptr && std::fgets(line, sizeof line, output) != nullptr) {
        std::string text = line;
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        if (text.rfind("1002 ", 0) != 0) {
            run.lines.push_back(text);
        }
    }
    const int status = output != nullptr ? pclose(output) : -1;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

using ToolDownload = DownloadFixture;

TEST_F(ToolDownload, PrintsOneLinePerStatusAndExitsZeroAfterSuccess) {
    const std::string md5 = Publish("pkg.bin", 1048576);

    const ToolRun run =
        RunTool("--type 1 '" + Server().Url("/" + md5 + "/pkg.bin") + "' '" + destination_ + "'");

    EXPECT_EQ(run.lines, (std::vector<std::string>{"1001 1", "1003 0 LibCurl"}));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(Md5Of(destination_), md5);
}

TEST_F(ToolDownload, StartsAgainAfterARetryAndExitsOneAfterFailure) {
    std::string md5 = Publish("pkg.bin", 1048576);
    std::transform(md5.begin(), md5.end(), md5.begin(), ::toupper);

    const ToolRun run =
        RunTool("--type 3 '" + Server().Url("/" + md5 + "/pkg.bin") + "' '" + destination_ + "'");

    EXPECT_EQ(run.lines, (std::vector<std::string>{
                             "1001 1", "1006 0 mtcurl文件md5校验失败", "1005 0 LibCurl", "1001 1",
                             "1006 0 mtcurl文件md5校验失败", "1004 0 LibCurl"}));
    EXPECT_EQ(run.exitStatus, 1);
}

TEST_F(ToolDownload, RefusesAMalformedCommandLine) {
    EXPECT_EQ(RunTool("--type x http://127.0.0.1:9/a/b /tmp/x 2>/dev/null").exitStatus, 2);
    EXPECT_EQ(RunTool("only-one-argument 2>/dev/null").exitStatus, 2);
}

}  // namespace
}  // namespace DownloadTest

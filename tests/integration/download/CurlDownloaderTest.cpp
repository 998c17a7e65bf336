// The single-connection downloader: the 1 MiB length rule, its retry budget, and resume.
#include <gtest/gtest.h>

#include <sstream>

#include "download/DownloadStatus.h"
#include "download/TransferResult.h"
#include "integration/download/support/DownloadFixture.h"

namespace DownloadTest {
namespace {

class CurlDownloader : public DownloadFixture {
  protected:
    std::vector<std::string> LoggedRequests(const std::string& method) {
        std::vector<std::string> lines;
        std::istringstream log(ServerLog());
        for (std::string line; std::getline(log, line);) {
            if (line.rfind(method + " ", 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }
};

struct LengthCase {
    std::int64_t size;
    bool accepted;
};

class LengthThreshold : public CurlDownloader, public ::testing::WithParamInterface<LengthCase> {};

INSTANTIATE_TEST_SUITE_P(OneMebibyte, LengthThreshold,
                         ::testing::Values(LengthCase{1048575, false}, LengthCase{1048576, true}),
                         [](const auto& info) {
                             return "Bytes" + std::to_string(info.param.size);
                         });

TEST_P(LengthThreshold, RefusesPackagesBelowOneMebibyte) {
    const std::string md5 = Publish("pkg.bin", GetParam().size);

    Run(kCurlType, Server().Url("/" + md5 + "/pkg.bin"));

    if (GetParam().accepted) {
        EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_SUCCESS}));
        EXPECT_EQ(Md5Of(destination_), md5);
        return;
    }
    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(recorder_.Reports().back().value, TRANSFER_NO_LENGTH);
    EXPECT_TRUE(LoggedRequests("GET").empty());
    EXPECT_FALSE(FileExists(destination_ + ".part"));
}

TEST_F(CurlDownloader, GivesUpAfterSixAttemptsWhenHeadIsAnswered404) {
    Publish("pkg.bin", 2 * 1048576);

    Run(kCurlType, Server().Url("/0123456789abcdef0123456789abcdef/pkg.bin?status=404"));

    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(recorder_.Reports().back().value, TRANSFER_NO_LENGTH);
    EXPECT_EQ(recorder_.Reports().back().text, kLibCurlText);
    // Each attempt asks three times: the header request, the address and the length.
    EXPECT_EQ(LoggedRequests("HEAD").size(), 6u * 3u);
    EXPECT_TRUE(LoggedRequests("GET").empty());
    // Both length requests of every attempt report the bad status.
    EXPECT_EQ(TraceCount("下载失败原因 1.获取文件大小的状态码为=404；"), 6 * 2);
    EXPECT_EQ(TraceCount("CurlDownLoader Code=-998\r\n"), 5);
}

TEST_F(CurlDownloader, ResumesACutTransferFromThePartFile) {
    const std::int64_t size = 4 * 1048576;
    const std::int64_t cut = size * 3 / 10;
    const std::string md5 = Publish("pkg.bin", size);

    Run(kCurlType,
        Server().Url("/" + md5 + "/pkg.bin?cutonce=" + std::to_string(cut) + "&rate=2000000"));

    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_SUCCESS}));
    EXPECT_EQ(Md5Of(destination_), md5);
    const std::vector<std::string> gets = LoggedRequests("GET");
    ASSERT_EQ(gets.size(), 2u);
    EXPECT_NE(gets[0].find(" -"), std::string::npos) << gets[0];
    EXPECT_NE(gets[1].find("bytes=" + std::to_string(cut) + "-"), std::string::npos) << gets[1];
    EXPECT_EQ(TraceCount("(CCurlDownloader::dlThreadFun)"), 1);
    EXPECT_EQ(TraceCount("CurlDownLoader Code=18\r\n"), 1);
    // Progress counts the bytes kept from the cut transfer.
    const std::vector<double> progress = recorder_.ProgressValues();
    ASSERT_FALSE(progress.empty());
    EXPECT_GT(progress.back(), 0.3);
    EXPECT_LE(progress.back(), 1.0);
}

}  // namespace
}  // namespace DownloadTest

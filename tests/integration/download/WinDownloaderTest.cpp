// The system downloader: three tries, the encoded address, and one transfer per downloader.
#include <gtest/gtest.h>

#include <algorithm>

#include "download/DownloadStatus.h"
#include "integration/download/support/DownloadFixture.h"
#include "platform/UrlMon.h"

namespace DownloadTest {
namespace {

using WinDownloader = DownloadFixture;

TEST_F(WinDownloader, SucceedsOnTheThirdTry) {
    const std::string md5 = Publish("pkg.bin", 1048576);

    Run(kWinType, Server().Url("/" + md5 + "/pkg.bin?failgets=2"));

    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_SUCCESS}));
    EXPECT_EQ(recorder_.Reports().back().text, kUrlDownloadToFileText);
    EXPECT_EQ(Md5Of(destination_), md5);
}

TEST_F(WinDownloader, FailsAfterThreeTriesWithTheServiceResult) {
    Run(kWinType, Server().Url("/x/missing.bin"));

    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(recorder_.Reports().back().value, win32::INET_E_OBJECT_NOT_FOUND);
    const std::string log = ServerLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
}

TEST_F(WinDownloader, EncodesBlanksAndChineseCharacters) {
    // The server takes the name as sent, so the plus sign of the blank stays.
    const std::string md5 = Publish("测试+包.bin", 1048576);

    Run(kWinType, Server().Url("/" + md5 + "/测试 包.bin"));

    EXPECT_EQ(recorder_.Reports().back().code, DL_CODE_SUCCESS);
    EXPECT_NE(ServerLog().find("/%E6%B5%8B%E8%AF%95+%E5%8C%85.bin"), std::string::npos)
        << ServerLog();
}

TEST_F(WinDownloader, StartsOneTransferOnly) {
    const std::string md5 = Publish("pkg.bin", 1048576);
    Create(kWinType, Server().Url("/" + md5 + "/pkg.bin"));
    downloader_->Start();
    ASSERT_TRUE(recorder_.WaitForEnd());

    downloader_->Start();
    downloader_.reset();

    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_SUCCESS}));
}

}  // namespace
}  // namespace DownloadTest

// What every downloader promises, whatever its transport: the file arrives whole, the reports
// are well-formed, TLS is verified, and bad destinations and early destruction are survived.
#include <gtest/gtest.h>

#include <curl/curl.h>
#include <sys/stat.h>

#include <cstdlib>

#include "download/DownloadStatus.h"
#include "download/TransferResult.h"
#include "integration/download/support/DownloadFixture.h"
#include "platform/UrlMon.h"
#include "utils/TextConversion.h"

namespace DownloadTest {
namespace {

class DownloaderContract : public DownloadFixture, public ::testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(AllTypes, DownloaderContract,
                         ::testing::Values(kCurlType, kWinType, kMTCurlType), TypeName);

// A stock server: the published address redirects to one whose second-to-last segment is the
// package's MD5, the way the download service hands out packages.
TEST_P(DownloaderContract, FollowsRedirectToChecksumAddressOnNginx) {
    const std::int64_t size = 21 * 1048576 + 12345;  // two ranges for the two-range downloader
    TempFolder nginxFolder;
    const std::string md5 = Publish("pkg.bin", size);
    mkdir((www_ + "/" + md5).c_str(), 0755);
    ASSERT_EQ(std::rename((www_ + "/pkg.bin").c_str(), (www_ + "/" + md5 + "/pkg.bin").c_str()), 0);
    NginxServer nginx(nginxFolder.Path(), www_,
                      "    location = /latest/pkg.bin { return 302 /" + md5 + "/pkg.bin; }");

    Run(GetParam(), nginx.Url("/latest/pkg.bin"));

    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_SUCCESS}));
    EXPECT_EQ(Md5Of(destination_), md5);
    for (const char* leftover : {".part", "_0", "_1", ".urlmon~"}) {
        EXPECT_FALSE(FileExists(destination_ + leftover)) << leftover;
    }
    for (double value : recorder_.ProgressValues()) {
        EXPECT_GE(value, 0.0);
        EXPECT_LE(value, 1.0);
    }
}

TEST_P(DownloaderContract, VerifiesTheServerCertificate) {
    TempFolder tls;
    ASSERT_TRUE(MakeCertificate(tls.Path()));
    const std::string md5 = Publish("pkg.bin", 3 * 1048576);
    FaultServer server({www_, "", tls.Path() + "/cert.pem", tls.Path() + "/key.pem"});
    const std::string url = server.Url("/" + md5 + "/pkg.bin");

    // Signed by nobody we trust: nothing may be fetched, since the package runs as administrator.
    Run(GetParam(), url);
    EXPECT_EQ(recorder_.Reports().back().code, DL_CODE_FAIL);
    EXPECT_FALSE(FileExists(destination_));

    setenv("QUILLON_CA_BUNDLE", (tls.Path() + "/cert.pem").c_str(), 1);
    StatusRecorder trusted;
    downloader_ = CreateDownloader(GetParam(), trusted.Callback(), Utils::FromUtf8(url).c_str(),
                                   Utils::FromUtf8(destination_).c_str());
    downloader_->Start();
    ASSERT_TRUE(trusted.WaitForEnd());
    downloader_.reset();
    unsetenv("QUILLON_CA_BUNDLE");
    EXPECT_EQ(trusted.Reports().back().code, DL_CODE_SUCCESS);
    EXPECT_EQ(Md5Of(destination_), md5);
}

TEST_P(DownloaderContract, ReportsAFolderThatCannotBeWritten) {
    const std::string md5 = Publish("pkg.bin", 2 * 1048576);
    // Permission bits do not stop root, which CI runs as; a file where the folder should be
    // stops everybody.
    const std::string blocked = Folder() + "/blocked";
    MakePackage(blocked, 1);
    destination_ = blocked + "/__Package_Quillon.exe";

    Run(GetParam(), Server().Url("/" + md5 + "/pkg.bin"));

    const std::vector<Report> reports = recorder_.Reports();
    EXPECT_EQ(reports.back().code, DL_CODE_FAIL);
    EXPECT_FALSE(FileExists(destination_));
}

// A finished transfer that cannot take the destination's place has not delivered a package.
TEST_P(DownloaderContract, FailsWhenTheFinishedFileCannotBePlaced) {
    const std::string md5 = Publish("pkg.bin", 2 * 1048576);
    ASSERT_EQ(mkdir(destination_.c_str(), 0755), 0);
    MakePackage(destination_ + "/occupant", 1);

    Run(GetParam(), Server().Url("/" + md5 + "/pkg.bin"));

    const std::vector<Report> reports = recorder_.Reports();
    EXPECT_EQ(reports.back().code, DL_CODE_FAIL);
    for (const Report& report : reports) {
        EXPECT_NE(report.code, DL_CODE_SUCCESS);
    }
    if (GetParam() != kWinType) {
        EXPECT_EQ(reports.back().value, TRANSFER_NOT_PLACED);
    }
}

TEST_P(DownloaderContract, CanBeDestroyedInMidTransfer) {
    const std::string md5 = Publish("pkg.bin", 64 * 1048576);
    Create(GetParam(), Server().Url("/" + md5 + "/pkg.bin?rate=2000000"));
    downloader_->Start();
    ASSERT_TRUE(recorder_.WaitForCode(DL_CODE_PROGRESS));

    downloader_.reset();

    const std::vector<Report> reports = recorder_.Reports();
    EXPECT_EQ(AttemptShapeProblem(reports), "");
    EXPECT_TRUE(IsTerminalDownloadStatus(reports.back().code));
    // The aborted transfer is the attempt's outcome; nothing is tried again after it.
    if (GetParam() == kCurlType) {
        EXPECT_EQ(reports.back().code, DL_CODE_FAIL);
        EXPECT_EQ(reports.back().value, CURLE_ABORTED_BY_CALLBACK);
    } else if (GetParam() == kWinType) {
        EXPECT_EQ(reports.back().code, DL_CODE_FAIL);
        EXPECT_EQ(reports.back().value, win32::E_ABORT);
    }
    EXPECT_FALSE(FileExists(destination_));
    EXPECT_FALSE(FileExists(destination_ + ".part"));
}

}  // namespace
}  // namespace DownloadTest

// The checksum carried by the resolved address, as both libcurl downloaders apply it, and the
// local "file:///" addresses every downloader accepts or refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <tuple>

#include "download/DownloadStatus.h"
#include "integration/download/support/DownloadFixture.h"

namespace DownloadTest {
namespace {

struct ChecksumCase {
    const char* name;
    std::string (*segment)(const std::string& md5);
    std::vector<int> milestones;
    bool missingReason;  // 1006 says no checksum was found (otherwise: mismatch)
};

const ChecksumCase kChecksumCases[] = {
    {"UpperCase",
     [](const std::string& md5) {
         std::string upper = md5;
         std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
         return upper;
     },
     {DL_CODE_START, DL_CODE_REASON, DL_CODE_RETRY, DL_CODE_START, DL_CODE_REASON, DL_CODE_FAIL},
     false},
    {"ThirtyOneCharacters",
     [](const std::string& md5) { return md5.substr(1); },
     {DL_CODE_START, DL_CODE_REASON, DL_CODE_SUCCESS},
     true},
    {"ThirtyThreeCharacters",
     [](const std::string& md5) { return md5 + "0"; },
     {DL_CODE_START, DL_CODE_REASON, DL_CODE_SUCCESS},
     true},
};

class ChecksumRules : public DownloadFixture,
                      public ::testing::WithParamInterface<std::tuple<int, ChecksumCase>> {};

INSTANTIATE_TEST_SUITE_P(
    CurlDownloaders, ChecksumRules,
    ::testing::Combine(::testing::Values(kCurlType, kMTCurlType),
                       ::testing::ValuesIn(kChecksumCases)),
    [](const auto& info) {
        return TypeName({std::get<0>(info.param), 0}) + std::get<1>(info.param).name;
    });

TEST_P(ChecksumRules, ComparesOnlyAnExactLowerCaseChecksum) {
    const auto& [type, row] = GetParam();
    const std::string md5 = Publish("pkg.bin", 1048576 + 17);

    Run(type, Server().Url("/" + row.segment(md5) + "/pkg.bin"));

    EXPECT_EQ(recorder_.Milestones(), row.milestones);
    const std::wstring expectedReason =
        type == kCurlType
            ? (row.missingReason ? kCurlChecksumMissingReason : kCurlChecksumMismatchReason)
            : (row.missingReason ? kMTCurlChecksumMissingReason : kMTCurlChecksumMismatchReason);
    for (const Report& report : recorder_.Reports()) {
        if (report.code == DL_CODE_REASON) {
            EXPECT_EQ(report.text, expectedReason);
            EXPECT_EQ(report.value, 0.0);
        }
        if (IsTerminalDownloadStatus(report.code)) {
            EXPECT_EQ(report.value, 0.0);
            EXPECT_EQ(report.text, kLibCurlText);
        }
    }
    if (row.missingReason) {
        EXPECT_EQ(Md5Of(destination_), md5);
    }
}

class FileAddresses : public DownloadFixture, public ::testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(AllTypes, FileAddresses,
                         ::testing::Values(kCurlType, kWinType, kMTCurlType), TypeName);

TEST_P(FileAddresses, CopyALocalPackageExceptTheTwoRangeDownloader) {
    const std::string md5 = Publish("pkg.bin", 2 * 1048576 + 5);
    const std::string folder = www_ + "/" + md5;
    ASSERT_EQ(
        std::system(
            ("mkdir '" + folder + "' && mv '" + www_ + "/pkg.bin' '" + folder + "/'").c_str()),
        0);

    Run(GetParam(), "file://" + folder + "/pkg.bin");

    // A local file has no HTTP status, which the two-range downloader requires of its
    // header request.
    if (GetParam() == kMTCurlType) {
        EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_FAIL}));
        EXPECT_EQ(recorder_.Reports().back().value, 0.0);
        return;
    }
    EXPECT_EQ(recorder_.Reports().back().code, DL_CODE_SUCCESS);
    EXPECT_EQ(Md5Of(destination_), md5);
}

}  // namespace
}  // namespace DownloadTest

// The two-range downloader: how a length is split, and the faults of a range.
#include <gtest/gtest.h>

#include <curl/curl.h>

#include <algorithm>
#include <sstream>

#include "download/DownloadStatus.h"
#include "integration/download/support/DownloadFixture.h"

namespace DownloadTest {
namespace {

class MTCurlDownloader : public DownloadFixture {
  protected:
    std::vector<std::string> RequestedRanges() {
        std::vector<std::string> ranges;
        std::istringstream log(ServerLog());
        for (std::string line; std::getline(log, line);) {
            if (line.rfind("GET ", 0) == 0) {
                ranges.push_back(line.substr(line.rfind(' ') + 1));
            }
        }
        std::sort(ranges.begin(), ranges.end());
        return ranges;
    }
};

struct SplitCase {
    std::int64_t size;
    std::vector<std::string> ranges;
};

class RangeSplitting : public MTCurlDownloader, public ::testing::WithParamInterface<SplitCase> {};

INSTANTIATE_TEST_SUITE_P(
    Lengths, RangeSplitting,
    ::testing::Values(SplitCase{20971519, {"bytes=0-20971518"}},
                      SplitCase{20971520, {"bytes=0-10485759", "bytes=10485760-20971519"}},
                      SplitCase{25000001, {"bytes=0-12499999", "bytes=12500000-25000000"}}),
    [](const auto& info) { return "Bytes" + std::to_string(info.param.size); });

TEST_P(RangeSplitting, UsesTwoRangesFromTwentyMebibytes) {
    const std::string md5 = Publish("pkg.bin", GetParam().size);

    Run(kMTCurlType, Server().Url("/" + md5 + "/pkg.bin"));

    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_SUCCESS}));
    EXPECT_EQ(Md5Of(destination_), md5);
    EXPECT_EQ(RequestedRanges(), GetParam().ranges);
    EXPECT_EQ(TraceCount("Download File Length " + std::to_string(GetParam().size) + "\r\n"), 1);
    EXPECT_EQ(TraceCount("partPath::" + destination_ + "_1\r\n"),
              static_cast<int>(GetParam().ranges.size()) - 1);
    EXPECT_EQ(TraceCount("finish recv\r\n"), 1);
    EXPECT_FALSE(FileExists(destination_ + "_0"));
    EXPECT_FALSE(FileExists(destination_ + "_1"));
}

// Without a checksum in the address, wrong bytes in a range would pass for a package.
TEST_F(MTCurlDownloader, RefusesAServerThatIgnoresRanges) {
    Publish("pkg.bin", 20971520);

    Run(kMTCurlType, Server().Url("/no/checksum/pkg.bin?norange=1"));

    EXPECT_EQ(recorder_.Milestones(),
              (std::vector<int>{DL_CODE_START, DL_CODE_RETRY, DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(recorder_.Reports().back().value, CURLE_RANGE_ERROR);
    EXPECT_FALSE(FileExists(destination_));
    EXPECT_FALSE(FileExists(destination_ + "_0"));
    EXPECT_FALSE(FileExists(destination_ + "_1"));
}

TEST_F(MTCurlDownloader, RetriesAStalledRangeWhereItStopped) {
    const std::string md5 = Publish("pkg.bin", 20971520);

    Run(kMTCurlType, Server().Url("/" + md5 + "/pkg.bin?stallonce=10485760"));

    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_SUCCESS}));
    EXPECT_EQ(Md5Of(destination_), md5);
    // The stalled request sent 1 KiB before it went silent.
    EXPECT_EQ(RequestedRanges(),
              (std::vector<std::string>{"bytes=0-10485759", "bytes=10485760-20971519",
                                        "bytes=10486784-20971519"}));
}

// Range 1 is cut short on all thirteen of its tries; the next attempt keeps both part files and
// fetches only what range 1 still lacks.
TEST_F(MTCurlDownloader, ResumesTheRangesOfAFailedAttempt) {
    const std::string md5 = Publish("pkg.bin", 20971520);

    Run(kMTCurlType, Server().Url("/" + md5 + "/pkg.bin?cutranges=10485760:100000:13"));

    EXPECT_EQ(recorder_.Milestones(),
              (std::vector<int>{DL_CODE_START, DL_CODE_RETRY, DL_CODE_START, DL_CODE_SUCCESS}));
    for (const Report& report : recorder_.Reports()) {
        if (report.code == DL_CODE_RETRY) {
            EXPECT_EQ(report.value, CURLE_PARTIAL_FILE);
        }
    }
    EXPECT_EQ(Md5Of(destination_), md5);
    const std::vector<std::string> ranges = RequestedRanges();
    EXPECT_EQ(std::count(ranges.begin(), ranges.end(), "bytes=0-10485759"), 1);
    EXPECT_EQ(ranges.size(), 1u + 13u + 1u);
    // 10485760 + 13 * 100000: where the thirteenth cut left range 1.
    EXPECT_EQ(std::count(ranges.begin(), ranges.end(), "bytes=11785760-20971519"), 1);
}

TEST_F(MTCurlDownloader, FailsAtOnceOnAPackageOf255Bytes) {
    Publish("pkg.bin", 255);

    Run(kMTCurlType, Server().Url("/x/pkg.bin"));

    EXPECT_EQ(recorder_.Milestones(), (std::vector<int>{DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(recorder_.Reports().back().value, 0.0);
}

}  // namespace
}  // namespace DownloadTest

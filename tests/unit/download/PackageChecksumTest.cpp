#include "download/PackageChecksum.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "utils/TextConversion.h"

namespace {

struct SegmentCase {
    const char* url;
    const char* checksum;
};

class ExpectedChecksumOf : public ::testing::TestWithParam<SegmentCase> {};

INSTANTIATE_TEST_SUITE_P(
    Addresses, ExpectedChecksumOf,
    ::testing::Values(SegmentCase{"https://dl.example/d41d8cd98f00b204e9800998ecf8427e/setup.exe",
                                  "d41d8cd98f00b204e9800998ecf8427e"},
                      SegmentCase{"http://host/a/b/c/file", "c"},
                      SegmentCase{"http://host/file", "host"}, SegmentCase{"http:/file", ""},
                      SegmentCase{"host/file", ""}, SegmentCase{"no-slash-at-all", ""},
                      SegmentCase{"http://host/md5/", "md5"}, SegmentCase{"/file", ""}));

TEST_P(ExpectedChecksumOf, IsTheSegmentBeforeTheFileName) {
    EXPECT_EQ(ExpectedChecksum(GetParam().url), GetParam().checksum);
}

TEST(VerifyPackageChecksum, ComparesLowerCaseHexOfTheFile) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "quillon-checksum-test.bin";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fputs("abc", out);
    std::fclose(out);
    const std::wstring path = Utils::FromUtf8(file.string());
    const std::string md5 = "900150983cd24fb0d6963f7d28e17f72";  // of "abc"

    EXPECT_EQ(VerifyPackageChecksum("http://h/" + md5 + "/f", path), ChecksumVerdict::Matches);
    EXPECT_EQ(VerifyPackageChecksum("http://h/900150983CD24FB0D6963F7D28E17F72/f", path),
              ChecksumVerdict::Differs);
    EXPECT_EQ(VerifyPackageChecksum("http://h/" + md5.substr(1) + "/f", path),
              ChecksumVerdict::Unavailable);
    // Nothing to compare with: the download stands.
    EXPECT_EQ(VerifyPackageChecksum("http://h/" + md5 + "/f", path + L".missing"),
              ChecksumVerdict::Matches);
    std::filesystem::remove(file);
}

}  // namespace

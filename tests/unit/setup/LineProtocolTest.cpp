// The two line grammars: keys, values, trimming, final states and code pages, chunk by chunk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/PackageLineParser.h"
#include "setup/SetupStatus.h"
#include "setup/UninstallLineParser.h"

namespace {

struct Report {
    int code;
    double value;
    std::wstring text;
    bool operator==(const Report& other) const {
        return code == other.code && value == other.value && text == other.text;
    }
};

void PrintTo(const Report& report, std::ostream* out) {
    *out << "{" << report.code << ", " << report.value << ", \""
         << std::string(report.text.begin(), report.text.end()) << "\"}";
}

struct ChunkCase {
    const char* name;
    std::wstring chunk;
    std::vector<Report> reports;
    FinalState final = FinalState::None;
    int codePageAfter = 7;  // every case starts at 7, a code page no line names
};

using Parser = FinalState (*)(const std::wstring&, const StatusCallback&, int*);

void ExpectChunk(Parser parse, const ChunkCase& c) {
    std::vector<Report> reports;
    int codePage = 7;
    const FinalState final = parse(
        c.chunk,
        [&](int code, double value, const wchar_t* text) {
            reports.push_back({code, value, text});
        },
        &codePage);
    EXPECT_EQ(reports, c.reports);
    EXPECT_EQ(final, c.final);
    EXPECT_EQ(codePage, c.codePageAfter);
}

const std::wstring kLongValue(800, L'v');

const ChunkCase kPackageCases[] = {
    {"Progress", L"Progress=45.5\n", {{2002, 45.5, L""}}},
    {"ProgressWithoutNumber", L"Progress=\n", {{2002, 0.0, L""}}},
    {"ProgressWithSignAndBlank", L"Progress= +7.25xyz", {{2002, 7.25, L""}}},
    {"KeysAreCaseSensitive", L"progress=45\nstate=Success\n", {}},
    {"KeyOnlyAtLineStart", L" Progress=45\n", {}},
    {"InstPathKeepsCarriageReturn", L"InstPath=/opt/q\r\n", {{3000, 0.0, L"/opt/q\r"}}},
    {"EmptyValue", L"InstPath=\n", {{3000, 0.0, L""}}},
    {"SuccessTrimmed", L"State=  Success \r\n", {{2003, 0.0, L""}}, FinalState::Success},
    {"Fail", L"State=Fail\n", {{2004, 0.0, kPackageFailedText}}, FinalState::Failure},
    {"UnknownStateIgnored", L"State=Done\n", {}},
    {"InstallVersionSilent", L"InstallVersion=1.2.3\n", {}},
    {"ExePathAndStartExe", L"ExePath=/a\nStartExe=/b\n", {{3001, 0.0, L"/a"}, {3001, 0.0, L"/b"}}},
    {"UninstallerPaths",
     L"UninstExePath=/u1\nUninstExe=/u2\nUninstEp=/u3\n",
     {{3002, 0.0, L"/u1"}, {3002, 0.0, L"/u2"}, {3003, 0.0, L"/u3"}}},
    {"Error", L"Error=disk full\n", {{2004, 1000.0, L"disk full"}}, FinalState::Failure},
    {"TopShowNegativeWraps", L"TopShowDetention=-1\n", {{3007, 4294967295.0, L""}}},
    {"FinishCloseSpelledSo",
     L"FinsihCloseDetention=2500\nFinishCloseDetention=1\n",
     {{3008, 2500.0, L""}}},
    {"DelayWithoutNumber", L"TopShowDetention=soon\n", {{3007, 0.0, L""}}},
    {"StartUrl", L"StartUrl=http://127.0.0.1/x\n", {{3004, 0.0, L"http://127.0.0.1/x"}}},
    {"StartupStyles",
     L"StartupStyle=NonStartup\nStartupStyle= AutoStartup\r\nStartupStyle=UserStartup\n"
     L"StartupStyle=autostartup\n",
     {{3005, 0.0, L""}, {3005, 1.0, L""}, {3005, 2.0, L""}, {3005, 0.0, L""}}},
    {"Message", L"Message=hello there\n", {{3009, 0.0, L"hello there"}}},
    {"EncodeUtf8", L"Encode=UTF8\n", {}, FinalState::None, 65001},
    {"EncodeAcp", L"Encode=ACP\n", {}, FinalState::None, 0},
    {"EncodeNumber", L"Encode= 936 trailing\n", {}, FinalState::None, 936},
    {"EncodeNotANumber", L"Encode=abc\n", {}, FinalState::None, 0},
    {"EncodeOutOfRange", L"Encode=99999999999\n", {}, FinalState::None, 0},
    {"SuccessThenErrorBothReported",
     L"State=Success\nError=late\n",
     {{2003, 0.0, L""}, {2004, 1000.0, L"late"}},
     FinalState::Failure},
    {"FailThenSuccessEndsSuccessful",
     L"State=Fail\nState=Success\n",
     {{2004, 0.0, kPackageFailedText}, {2003, 0.0, L""}},
     FinalState::Success},
    {"UnfinishedLastLineIsStillALine", L"Progress=10\nInstPa", {{2002, 10.0, L""}}},
    {"SecondHalfOfASplitLineMatchesNothing", L"th=/opt/q\n", {}},
    {"LongValueCut", L"Message=" + kLongValue + L"\n", {{3009, 0.0, std::wstring(771, L'v')}}},
};

class PackageLines : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(PackageLines, ReportAsTheGrammarSays) {
    ExpectChunk(&ParsePackageChunk, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Grammar, PackageLines, ::testing::ValuesIn(kPackageCases),
                         [](const auto& info) { return std::string(info.param.name); });

const ChunkCase kUninstallCases[] = {
    {"Progress", L"Progress=33\n", {{5002, 33.0, L""}}},
    {"Error", L"Error=locked\r\n", {{5005, 0.0, L"locked\r"}}, FinalState::Failure},
    {"SuccessTrimmed", L"State=\tSuccess\r\n", {{5003, 0.0, L""}}, FinalState::Success},
    {"Fail", L"State=Fail\n", {{5005, 0.0, kUninstallFailedText}}, FinalState::Failure},
    {"SuccessThenError",
     L"State=Success\nError=late\n",
     {{5003, 0.0, L""}, {5005, 0.0, L"late"}},
     FinalState::Failure},
    {"PackageKeysIgnored", L"InstPath=/x\nMessage=hi\n", {}},
    {"EncodeUtf8", L"Encode= UTF8 \n", {}, FinalState::None, 65001},
    {"EncodeAnythingElseIsAnsi", L"Encode=936\n", {}, FinalState::None, 0},
};

class UninstallLines : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(UninstallLines, ReportAsTheGrammarSays) {
    ExpectChunk(&ParseUninstallChunk, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Grammar, UninstallLines, ::testing::ValuesIn(kUninstallCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

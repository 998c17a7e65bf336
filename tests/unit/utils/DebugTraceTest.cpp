#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <thread>

#include "support/TempFolder.h"
#include "utils/DebugTrace.h"

namespace Sample {
struct Downloader {
    static void Report(const wchar_t* text) { UTILS_TRACE_LINE(L"error:%d:%s", 28, text); }
};
}  // namespace Sample

namespace {

// The trace file is chosen before the first line is written, as a user would set it.
const std::string& TraceFile() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() /
             ("quillon-trace-" + std::to_string(std::random_device()()) + ".log"))
                .string();
        ::setenv("QUILLON_TRACE", file.c_str(), 1);
        return file;
    }();
    return path;
}
[[maybe_unused]] const std::string& chosenAtStart = TraceFile();

// The lines written while `body` runs.
template <typename Body>
std::vector<std::string> TracedLines(Body body) {
    const std::size_t before = TestSupport::ReadFile(TraceFile()).size();
    body();
    const std::string text = TestSupport::ReadFile(TraceFile()).substr(before);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

TEST(DebugTrace, WritesThePrefixAndFormatsWideText) {
    const auto lines = TracedLines([] { Sample::Downloader::Report(L"超时 timeout"); });
    ASSERT_EQ(lines.size(), 1u);
    const std::regex prefix(
        R"(<P\d{5,}><T\d{5,}><\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}>\(Sample::Downloader::Report\)<\d{4}>: error:28:超时 timeout\r)");
    EXPECT_TRUE(std::regex_match(lines[0], prefix)) << lines[0];
}

TEST(DebugTrace, FollowsTheWindowsFormatConventions) {
    struct Case {
        std::wstring formatted;
        std::wstring expected;
    };
    const Case cases[] = {
        {Utils::WideFormat(L"progress:%f%%", 12.5), L"progress:12.500000%"},
        {Utils::WideFormat(L"[%s][%5s][%-3s]", L"奎", L"ab", L"c"), L"[奎][   ab][c  ]"},
        {Utils::WideFormat(L"%hs|%S", "narrow", "also"), L"narrow|also"},
        {Utils::WideFormat(L"%ld %lu %lld %I64d", -5, 7u, 1LL << 40, 1LL << 41),
         L"-5 7 1099511627776 2199023255552"},
        {Utils::WideFormat(L"%c%c", L'奎', L'x'), L"奎x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.formatted, c.expected);
    }
}

TEST(DebugTrace, TracesAMessageLongerThanAnyFixedBuffer) {
    const std::wstring longText(200000, L'z');
    const auto lines = TracedLines([&] { UTILS_TRACE(L"partPath::%s", longText.c_str()); });
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("partPath::" + std::string(200000, 'z')), std::string::npos);
}

TEST(DebugTrace, TwoThreadsTracingAtOnceGiveWholeSeparateLines) {
    const auto lines = TracedLines([] {
        auto trace = [](const wchar_t* tag) {
            for (int i = 0; i < 200; ++i) {
                UTILS_TRACE_LINE(L"%s %d %s", tag, i, std::wstring(500, tag[0]).c_str());
            }
        };
        std::thread a(trace, L"a");
        std::thread b(trace, L"b");
        a.join();
        b.join();
    });
    ASSERT_EQ(lines.size(), 400u);
    const std::regex whole(R"(<P.*: ([ab]) \d+ (a{500}|b{500})\r)");
    for (const std::string& line : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, whole)) << line.substr(0, 120);
        EXPECT_EQ(match[1].str()[0], match[2].str()[0]);
    }
}

TEST(QualifiedFunctionName, StripsReturnTypeAndParameters) {
    EXPECT_EQ(Utils::QualifiedFunctionName("void Utils::Thread::CallBack(void*)"),
              L"Utils::Thread::CallBack");
    EXPECT_EQ(Utils::QualifiedFunctionName("static DWORD A::B(int (*)(int))"), L"A::B");
    EXPECT_EQ(Utils::QualifiedFunctionName("std::vector<int> X<std::map<int, int> >::F() const"),
              L"X<std::map<int, int> >::F");
}

}  // namespace

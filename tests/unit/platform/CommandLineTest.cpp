#include <gtest/gtest.h>

#include "platform/Process.h"

namespace {

struct SplitCase {
    const wchar_t* commandLine;
    std::vector<std::wstring> arguments;
};

class CommandLineSplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplitTest, SplitsLikeWindows) {
    EXPECT_EQ(win32::CommandLineToArgvW(GetParam().commandLine), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLineSplitTest,
    testing::Values(
        SplitCase{L"prog a b", {L"prog", L"a", L"b"}},
        SplitCase{L"prog   a\tb  ", {L"prog", L"a", L"b"}},
        SplitCase{L"prog \"a b\" c", {L"prog", L"a b", L"c"}},
        SplitCase{L"prog a\"b c\"d", {L"prog", L"ab cd"}},
        SplitCase{L"prog \"\" x", {L"prog", L"", L"x"}},
        SplitCase{L"prog a\\\\b", {L"prog", L"a\\\\b"}},                // no quote: literal
        SplitCase{L"prog a\\\"b", {L"prog", L"a\"b"}},                  // 1 backslash: quote
        SplitCase{L"prog a\\\\\\\"b", {L"prog", L"a\\\"b"}},            // 3: one and a quote
        SplitCase{L"prog \"a\\\\\\\\\" b", {L"prog", L"a\\\\", L"b"}},  // 4: two, quote ends
        SplitCase{L"prog \"a\"\"b\" c", {L"prog", L"a\"b c"}},          // "" ends the group
        SplitCase{L"\"C:\\Program Files\\x.exe\" -a", {L"C:\\Program Files\\x.exe", L"-a"}},
        SplitCase{L"\"C:\\dir\\\" x", {L"C:\\dir\\", L"x"}},  // program: literal
        SplitCase{L"C:\\a\\b.exe \"-instcmd=a b\"", {L"C:\\a\\b.exe", L"-instcmd=a b"}}));

TEST(QuoteArgument, RoundTripsThroughSplitting) {
    const std::vector<std::wstring> arguments = {
        L"plain",      L"with blank",      L"",         L"quote\"inside",
        L"trailing\\", L"both \\\" x\\\\", L"奎隆 安装"};
    std::wstring commandLine = L"prog";
    for (const std::wstring& argument : arguments) {
        commandLine += L" " + win32::QuoteArgument(argument);
    }
    std::vector<std::wstring> expected = {L"prog"};
    expected.insert(expected.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(win32::CommandLineToArgvW(commandLine), expected);
}

}  // namespace

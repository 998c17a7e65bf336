#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "utils/TextConversion.h"

namespace {

TEST(CodePage, ConvertsBetweenWideTextAndCodePages) {
    const std::wstring chinese = L"奎隆安装";
    EXPECT_EQ(Utils::ToUtf8(chinese), "\xE5\xA5\x8E\xE9\x9A\x86\xE5\xAE\x89\xE8\xA3\x85");
    const std::string gbk = Utils::WideToMultiByte(chinese, 936);
    EXPECT_EQ(gbk.size(), 8u);  // two bytes a character
    EXPECT_EQ(Utils::MultiByteToWide(gbk, 936), chinese);
    EXPECT_EQ(Utils::MultiByteToWide(Utils::ToUtf8(chinese), 65001), chinese);
}

TEST(CodePage, ReplacesWhatTheTargetLacksAndFailsOnUnknownCodePages) {
    EXPECT_EQ(Utils::WideToMultiByte(L"a奎b", 1252), "a?b");
    EXPECT_EQ(Utils::MultiByteToWide("a\xFF"
                                     "b",
                                     65001),
              L"a\xFFFD"
              L"b");
    EXPECT_EQ(Utils::MultiByteToWide("abc", 12345678), L"");
    EXPECT_EQ(Utils::WideToMultiByte(L"abc", 12345678), "");
    EXPECT_EQ(
        win32::MultiByteToWideChar(65001, win32::MB_ERR_INVALID_CHARS, "\xFF", -1, nullptr, 0), 0);
}

TEST(CodePage, ReportsTheLengthNeededAndRefusesShortBuffers) {
    EXPECT_EQ(win32::MultiByteToWideChar(65001, 0,
                                         "\xE5\xA5\x8E"
                                         "x",
                                         -1, nullptr, 0),
              3);
    wchar_t small[2];
    EXPECT_EQ(win32::MultiByteToWideChar(65001, 0, "abc", -1, small, 2), 0);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INSUFFICIENT_BUFFER);
}

}  // namespace

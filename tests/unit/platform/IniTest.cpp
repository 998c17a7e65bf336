#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/Ini.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

namespace {

std::wstring Get(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                 const wchar_t* fallback = L"<default>", win32::DWORD size = 260) {
    std::vector<wchar_t> buffer(size + 1, L'#');
    const win32::DWORD copied =
        win32::GetPrivateProfileStringW(section, key, fallback, buffer.data(), size, file.c_str());
    std::wstring value(buffer.data());
    EXPECT_EQ(copied, value.size());
    return value;
}

struct ReadCase {
    const char* name;
    const char* text;
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* expected;
};

class IniReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsLikeThePrivateProfileFunctions) {
    TestSupport::TempFolder folder;
    const std::wstring file = Utils::FromUtf8(folder.Write("a.ini", GetParam().text));
    EXPECT_EQ(Get(file, GetParam().section, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Semantics, IniReadTest,
    testing::Values(
        ReadCase{"plain", "[Install]\nDownloadType=3\n", L"Install", L"DownloadType", L"3"},
        ReadCase{"caseless", "[iNsTaLl]\ndownloadtype=3\n", L"INSTALL", L"DownloadType", L"3"},
        ReadCase{"blanks", "[Install]\n  Key  =   a b  \n", L"Install", L"Key", L"a b"},
        ReadCase{"quotes", "[S]\nK=\" padded \"\n", L"S", L"K", L" padded "},
        ReadCase{"one quote", "[S]\nK=\"open\n", L"S", L"K", L"\"open"},
        ReadCase{"crlf", "[S]\r\nK=v\r\n", L"S", L"K", L"v"},
        ReadCase{"first wins", "[S]\nK=1\nK=2\n", L"S", L"K", L"1"},
        ReadCase{"equals in value", "[S]\nK=a=b\n", L"S", L"K", L"a=b"},
        ReadCase{"empty value", "[S]\nK=\n", L"S", L"K", L""},
        ReadCase{"other section", "[A]\nK=1\n[B]\nK=2\n", L"B", L"K", L"2"},
        ReadCase{"missing key", "[S]\nX=1\n", L"S", L"K", L"<default>"},
        ReadCase{"missing section", "[T]\nK=1\n", L"S", L"K", L"<default>"},
        ReadCase{"comment", "[S]\n;K=1\n", L"S", L"K", L"<default>"},
        ReadCase{"utf8 bom", "\xEF\xBB\xBF[S]\nK=奎隆\n", L"S", L"K", L"奎隆"}),
    [](const testing::TestParamInfo<ReadCase>& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            c = isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST(Ini, ReadsUtf16FilesWithTheirMark) {
    TestSupport::TempFolder folder;
    const std::string text("\xFF\xFE[\0S\0]\0\n\0K\0=\0v\0", 16);
    const std::wstring file = Utils::FromUtf8(folder.Write("u.ini", text));
    EXPECT_EQ(Get(file, L"S", L"K"), L"v");
}

TEST(Ini, CutsValuesToTheBufferAndTrimsTheDefault) {
    TestSupport::TempFolder folder;
    const std::wstring file =
        Utils::FromUtf8(folder.Write("a.ini", "[S]\nK=" + std::string(300, 'x') + "\n"));
    EXPECT_EQ(Get(file, L"S", L"K", L"", 260), std::wstring(259, L'x'));
    EXPECT_EQ(Get(file, L"S", L"K", L"", 5), L"xxxx");
    EXPECT_EQ(Get(file, L"S", L"Missing", L"def  "), L"def");
    EXPECT_EQ(Get(folder.WideFile("absent.ini"), L"S", L"K", L"d"), L"d");
}

TEST(Ini, ReadsIntegersThePrivateProfileWay) {
    TestSupport::TempFolder folder;
    const std::wstring file =
        Utils::FromUtf8(folder.Write("a.ini", "[S]\nA=42abc\nB=abc\nC=-7\nD=\n"));
    EXPECT_EQ(win32::GetPrivateProfileIntW(L"S", L"A", 1, file.c_str()), 42u);
    EXPECT_EQ(win32::GetPrivateProfileIntW(L"S", L"B", 1, file.c_str()), 0u);
    EXPECT_EQ(static_cast<int>(win32::GetPrivateProfileIntW(L"S", L"C", 1, file.c_str())), -7);
    EXPECT_EQ(win32::GetPrivateProfileIntW(L"S", L"D", 1, file.c_str()), 0u);
    EXPECT_EQ(win32::GetPrivateProfileIntW(L"S", L"Missing", 9, file.c_str()), 9u);
}

TEST(Ini, WritingCreatesFileAndSectionAndKeepsTheRest) {
    TestSupport::TempFolder folder;
    const std::wstring file = folder.WideFile("new.ini");
    ASSERT_TRUE(win32::WritePrivateProfileStringW(L"Install", L"A", L"1", file.c_str()));
    ASSERT_TRUE(win32::WritePrivateProfileStringW(L"Other", L"B", L"2", file.c_str()));
    ASSERT_TRUE(win32::WritePrivateProfileStringW(L"INSTALL", L"a", L"3", file.c_str()));
    ASSERT_TRUE(win32::WritePrivateProfileStringW(L"Install", L"C", L"4", file.c_str()));
    EXPECT_EQ(TestSupport::ReadFile(folder.File("new.ini")), "[Install]\nA=3\nC=4\n[Other]\nB=2\n");

    const std::string commented =
        folder.Write("c.ini", "; keep me\r\n[S]\r\nK=1\r\n\r\n[T]\r\nX=1\r\n");
    ASSERT_TRUE(
        win32::WritePrivateProfileStringW(L"S", L"New", L"v", Utils::FromUtf8(commented).c_str()));
    EXPECT_EQ(TestSupport::ReadFile(commented),
              "; keep me\r\n[S]\r\nK=1\r\nNew=v\r\n\r\n[T]\r\nX=1\r\n");

    ASSERT_TRUE(
        win32::WritePrivateProfileStringW(L"S", L"K", nullptr, Utils::FromUtf8(commented).c_str()));
    ASSERT_TRUE(win32::WritePrivateProfileStringW(L"T", nullptr, nullptr,
                                                  Utils::FromUtf8(commented).c_str()));
    EXPECT_EQ(TestSupport::ReadFile(commented), "; keep me\r\n[S]\r\nNew=v\r\n\r\n");
}

TEST(Ini, WritingFailsWithoutTouchingWhatCannotBeWritten) {
    TestSupport::TempFolder folder;
    EXPECT_FALSE(win32::WritePrivateProfileStringW(L"S", L"K", L"v",
                                                   folder.WideFile("missing/dir/a.ini").c_str()));
    if (getuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    std::filesystem::create_directories(folder.Path() / "ro");
    const std::string file = folder.Write("ro/a.ini", "[S]\nK=1\n");
    std::filesystem::permissions(folder.Path() / "ro", std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
    EXPECT_FALSE(
        win32::WritePrivateProfileStringW(L"S", L"K", L"2", Utils::FromUtf8(file).c_str()));
    EXPECT_EQ(TestSupport::ReadFile(file), "[S]\nK=1\n");
}

TEST(Ini, TwoProcessesWritingAtOnceLoseNothing) {
    TestSupport::TempFolder folder;
    const std::string file = folder.File("shared.ini");
    // Two writer processes, each setting its own 40 keys through the tool.
    std::string script = "for i in $(seq 1 40); do " + std::string(QUILLON_BIN) +
                         "/quillon-tool ini set " + file + " S $0_$i v$i || exit 1; done";
    ASSERT_TRUE(TestSupport::RunTwoShellWritersAtOnce(script));
    for (const char* name : {"a", "b"}) {
        for (int i = 1; i <= 40; ++i) {
            const std::wstring key = Utils::FromUtf8(std::string(name) + "_" + std::to_string(i));
            EXPECT_EQ(Get(Utils::FromUtf8(file), L"S", key.c_str()), L"v" + std::to_wstring(i));
        }
    }
}

}  // namespace

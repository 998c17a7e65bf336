#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Files.h"
#include "support/TempFolder.h"
#include "utils/TextConversion.h"

namespace {

TEST(UrlEncode, KeepsPrintableAsciiAndEncodesTheRest) {
    EXPECT_EQ(Utils::UrlEncode(L"http://h/a?b=c&d=%20"), L"http://h/a?b=c&d=%20");
    EXPECT_EQ(Utils::UrlEncode(L"奎 隆"), L"%E5%A5%8E+%E9%9A%86");
    EXPECT_EQ(Utils::UrlEncode(L"a\tb\x7F"), L"a%09b%7F");
}

TEST(FileMd5, MatchesTheRfc1321TestSuite) {
    const std::pair<std::string, std::wstring> suite[] = {
        {"", L"d41d8cd98f00b204e9800998ecf8427e"},
        {"a", L"0cc175b9c0f1b6a831c399e269772661"},
        {"abc", L"900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", L"f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", L"c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         L"d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         L"57edf4a22be3c955ac49da2e2107b67a"},
    };
    TestSupport::TempFolder folder;
    for (const auto& [text, digest] : suite) {
        EXPECT_EQ(Utils::FileMd5(Utils::FromUtf8(folder.Write("f", text))), digest) << text;
    }
    // Larger than one 1024-byte block, through a path written the Windows way.
    folder.Write("big", std::string(1000000, 'a'));
    EXPECT_EQ(Utils::FileMd5(Utils::FromUtf8(folder.Path().string()) + L"\\big"),
              L"7707d6ae4e027c70eea2a935c2296f21");
    EXPECT_EQ(Utils::FileMd5(folder.WideFile("missing")), L"");
    EXPECT_EQ(Utils::FileMd5(L""), L"");
}

TEST(CreateFolderWithParents, CreatesEachMissingLevel) {
    TestSupport::TempFolder folder;
    const std::wstring root = Utils::FromUtf8(folder.Path().string());
    EXPECT_TRUE(Utils::CreateFolderWithParents(root + L"\\a\\b\\c"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "a/b/c"));
    EXPECT_TRUE(Utils::CreateFolderWithParents(root + L"\\a\\b\\c"));  // already there
    EXPECT_TRUE(Utils::CreateFolderWithParents(root + L"/x/y/"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "x/y"));
    EXPECT_FALSE(Utils::CreateFolderWithParents(root + L"\\" + std::wstring(300, L'n')));
    folder.Write("file", "");
    EXPECT_FALSE(Utils::CreateFolderWithParents(root + L"\\file\\sub"));
}

TEST(PrivateTempFolder, IsCreatedInTheUsersTemporaryFolder) {
    TestSupport::TempFolder folder;
    ::setenv("TMPDIR", folder.Path().c_str(), 1);
    const std::wstring temp = Utils::PrivateTempFolder();
    ::unsetenv("TMPDIR");
    EXPECT_EQ(temp, Utils::FromUtf8(folder.Path().string()) + L"/~ZoRenTemp.92482B06FB471E17\\");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "~ZoRenTemp.92482B06FB471E17"));

    wchar_t path[win32::MAX_PATH];
    ASSERT_GT(win32::GetTempPathW(win32::MAX_PATH, path), 0u);
    const auto status = std::filesystem::status(win32::NativePath(path));
    EXPECT_EQ(status.permissions() & std::filesystem::perms::others_all,
              std::filesystem::perms::none);
}

}  // namespace

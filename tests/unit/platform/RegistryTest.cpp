#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Registry.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"
#include "utils/MachineFacts.h"

namespace {

// Every test gets a store of its own under a fresh XDG_CONFIG_HOME.
class RegistryTest : public testing::Test {
  protected:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", folder_.File("config").c_str(), 1); }
    TestSupport::TempFolder folder_;
};

TEST_F(RegistryTest, ReadingAMissingKeyFailsWithoutCreatingIt) {
    std::wstring value;
    EXPECT_FALSE(Utils::ReadProductRegistryValue(L"InstallPath", &value));
    win32::HKEY key = nullptr;
    EXPECT_EQ(win32::RegOpenKeyExW(win32::HKEY_CURRENT_USER, Utils::kProductRegistryKey, 0,
                                   win32::KEY_READ, &key),
              static_cast<win32::LONG>(win32::ERROR_FILE_NOT_FOUND));
}

TEST_F(RegistryTest, WritingCreatesTheKeyAndValuesSurviveExactly) {
    const std::wstring tricky[] = {L"/home/u/奎隆", L"  padded  ", L"\"quoted\"", L"a=b\\c",
                                   L"two\nlines",   L"",           L"end|"};
    for (const std::wstring& text : tricky) {
        ASSERT_TRUE(Utils::WriteProductRegistryValue(L"Value", text));
        std::wstring read;
        ASSERT_TRUE(Utils::ReadProductRegistryValue(L"Value", &read));
        EXPECT_EQ(read, text);
    }
    std::wstring other;
    EXPECT_FALSE(Utils::ReadProductRegistryValue(L"UnInstallEp", &other));
}

TEST_F(RegistryTest, NamesAreCaselessAndABufferTooSmallIsReported) {
    ASSERT_TRUE(Utils::WriteProductRegistryValue(L"InstallPath", L"/opt/q"));
    win32::HKEY key = nullptr;
    ASSERT_EQ(win32::RegOpenKeyExW(win32::HKEY_CURRENT_USER, L"SOFTWARE\\zorensoft\\QUILLON", 0,
                                   win32::KEY_READ, &key),
              0);
    wchar_t small[3];
    win32::DWORD size = sizeof small;
    EXPECT_EQ(win32::RegQueryValueExW(key, L"installpath", nullptr, nullptr,
                                      reinterpret_cast<win32::BYTE*>(small), &size),
              static_cast<win32::LONG>(win32::ERROR_MORE_DATA));
    EXPECT_EQ(size, 7 * sizeof(wchar_t));
    win32::RegCloseKey(key);
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
    const std::string script = "for i in $(seq 1 30); do " + std::string(QUILLON_BIN) +
                               "/quillon-tool reg set $0_$i v$i || exit 1; done";
    ASSERT_TRUE(TestSupport::RunTwoShellWritersAtOnce(script));
    for (const char* name : {"a", "b"}) {
        for (int i = 1; i <= 30; ++i) {
            std::wstring value;
            EXPECT_TRUE(Utils::ReadProductRegistryValue(
                Utils::FromUtf8(std::string(name) + "_" + std::to_string(i)), &value));
            EXPECT_EQ(value, L"v" + std::to_wstring(i));
        }
    }
}

}  // namespace

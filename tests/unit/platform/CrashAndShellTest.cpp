#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Console.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/Thread.h"
#include "platform/Toolhelp.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

namespace {

TEST(CrashFilter, RunsBeforeTheDefaultActionEndsTheProcess) {
    const std::wstring fixture = TestSupport::BinPath("crash_fixture");
    const auto segv = TestSupport::RunProgram(fixture + L" segv");
    EXPECT_EQ(segv.output, "filter ran for 11\n");
    EXPECT_EQ(segv.exitCode, 128 + 11);
    const auto thrown = TestSupport::RunProgram(fixture + L" throw");
    EXPECT_EQ(thrown.output, "filter ran for 0\n");
    EXPECT_EQ(thrown.exitCode, 128 + 6);  // std::terminate aborts
    EXPECT_EQ(TestSupport::RunProgram(fixture).exitCode, 0);
}

TEST(ProcessSnapshot, FindsRunningProgramsByExecutableName) {
    win32::HANDLE snapshot = win32::CreateToolhelp32Snapshot(win32::TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, win32::INVALID_HANDLE_VALUE);
    bool foundSelf = false;
    win32::PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (bool more = win32::Process32FirstW(snapshot, &entry); more;
         more = win32::Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == win32::GetCurrentProcessId()) {
            foundSelf = std::wstring(entry.szExeFile) == L"platform_system_test";
        }
    }
    win32::CloseHandle(snapshot);
    EXPECT_TRUE(foundSelf);
}

TEST(ShellExecute, StartsAProgramDirectlyWithItsParameters) {
    TestSupport::TempFolder folder;
    const std::string script = folder.Write("product.sh", "#!/bin/sh\necho \"$1\" > \"$2\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const std::wstring marker = folder.WideFile("opened");
    const auto result =
        win32::ShellExecuteW(nullptr, L"open", Utils::FromUtf8(script).c_str(),
                             (L"hello " + marker).c_str(), nullptr, win32::SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<std::uintptr_t>(result), 32u);
    for (int i = 0; i < 200 && TestSupport::ReadFile(folder.File("opened")).empty(); ++i) {
        win32::Sleep(10);
    }
    EXPECT_EQ(TestSupport::ReadFile(folder.File("opened")), "hello\n");
}

TEST(KnownFolders, FollowTheXdgVariables) {
    TestSupport::TempFolder folder;
    ::setenv("XDG_DATA_HOME", folder.File("data").c_str(), 1);
    wchar_t path[win32::MAX_PATH];
    ASSERT_EQ(win32::SHGetFolderPathW(
                  nullptr, win32::CSIDL_LOCAL_APPDATA | win32::CSIDL_FLAG_CREATE, nullptr, 0, path),
              win32::S_OK);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(path, folder.WideFile("data"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("data")));
}

}  // namespace

namespace {

TEST(Console, IsACharacterDeviceOtherThanTheNullDevice) {
    // The child's standard output is our pipe; its standard error is redirected as asked.
    const std::wstring probe = TestSupport::BinPath("crash_fixture") + L" console";
    EXPECT_EQ(TestSupport::RunProgram(L"sh -c \"" + probe + L" 2>/dev/zero\"").output,
              "console 1\n");
    EXPECT_EQ(TestSupport::RunProgram(L"sh -c \"" + probe + L" 2>/dev/null\"").output,
              "console 0\n");
    EXPECT_EQ(TestSupport::RunProgram(L"sh -c \"" + probe + L" 2>&1\"").output, "console 0\n");
    EXPECT_FALSE(win32::IsConsoleHandle(12345));
}

}  // namespace

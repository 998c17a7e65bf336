#include <gtest/gtest.h>

#include "platform/Handle.h"
#include "support/RunProgram.h"
#include "utils/ChildProcess.h"
#include "utils/Exception.h"

namespace {

TEST(ChildProcess, ReadsTheChildsOutputThroughItsPipe) {
    const auto result =
        TestSupport::RunProgram(L"sh -c \"printf 'Progress=10\\nState=Success\\n'; exit 3\"");
    EXPECT_EQ(result.output, "Progress=10\nState=Success\n");
    EXPECT_EQ(result.exitCode, 3);
}

TEST(ChildProcess, ReadsFailAtOnceWhenTheChildClosesItsOutputButKeepsRunning) {
    Utils::ChildProcess child;
    child.Run(L"sh -c \"echo bye; exec >&-; sleep 5\"");
    char buffer[64];
    win32::DWORD read = 0;
    ASSERT_TRUE(win32::ReadFile(child.Output().ReadEnd(), buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "bye\n");
    EXPECT_FALSE(win32::ReadFile(child.Output().ReadEnd(), buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_BROKEN_PIPE);
    win32::DWORD exitCode = 0;
    ASSERT_TRUE(win32::GetExitCodeProcess(child.ProcessHandle(), &exitCode));
    EXPECT_EQ(exitCode, win32::STILL_ACTIVE);
    EXPECT_EQ(win32::WaitForSingleObject(child.ProcessHandle(), 0), win32::WAIT_TIMEOUT);
    win32::TerminateProcess(child.ProcessHandle(), 1);
    EXPECT_EQ(win32::WaitForSingleObject(child.ProcessHandle(), win32::INFINITE),
              win32::WAIT_OBJECT_0);
}

TEST(ChildProcess, PeeksAtWaitingBytesWithoutReadingThem) {
    Utils::ChildProcess child;
    child.Run(L"sh -c \"printf abc\"");
    win32::WaitForSingleObject(child.ProcessHandle(), win32::INFINITE);
    win32::DWORD available = 0;
    ASSERT_TRUE(
        win32::PeekNamedPipe(child.Output().ReadEnd(), nullptr, 0, nullptr, &available, nullptr));
    EXPECT_EQ(available, 3u);
    char buffer[8];
    win32::DWORD read = 0;
    ASSERT_TRUE(win32::ReadFile(child.Output().ReadEnd(), buffer, sizeof buffer, &read, nullptr));
    EXPECT_FALSE(
        win32::PeekNamedPipe(child.Output().ReadEnd(), nullptr, 0, nullptr, &available, nullptr));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_BROKEN_PIPE);
}

TEST(ChildProcess, PassesArgumentsSplitByTheWindowsRules) {
    const auto result =
        TestSupport::RunProgram(L"printf \"[%s]\" \"a b\" c\\\"d \"\" \"/D=/tmp/x y\"");
    EXPECT_EQ(result.output, "[a b][c\"d][][/D=/tmp/x y]");
}

TEST(ChildProcess, ThrowsForAProgramThatCannotStartOrALineTooLong) {
    Utils::ChildProcess missing;
    EXPECT_THROW(missing.Run(L"/nonexistent/program -x"), Utils::Exception);
    Utils::ChildProcess tooLong;
    EXPECT_THROW(tooLong.Run(L"echo " + std::wstring(1019, L'x')), Utils::Exception);
    Utils::ChildProcess fits;
    EXPECT_NO_THROW(fits.Run(L"echo " + std::wstring(1018, L'x')));
}

}  // namespace

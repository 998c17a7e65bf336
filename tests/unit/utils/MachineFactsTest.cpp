#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <cstdlib>

#include "platform/Com.h"
#include "support/RunProgram.h"
#include "utils/MachineFacts.h"

namespace {

TEST(OSName, MapsVersionNumbersToTheVersionWord) {
    struct Case {
        win32::DWORD major, minor, build;
        const wchar_t* word;
    };
    const Case cases[] = {
        {4, 0, 1381, L"XP-"},  {5, 0, 2195, L"2K"},
        {5, 1, 2600, L"XP"},   {5, 2, 3790, L"Server 2003"},
        {5, 3, 0, L"XP+"},     {6, 0, 6000, L"Vista"},
        {6, 1, 7601, L"7"},    {6, 2, 9200, L"8"},
        {6, 3, 9600, L"8.1"},  {6, 4, 0, L"8.1+"},
        {10, 0, 22631, L"10"}, {10, 1, 0, L"10+"},
        {7, 2, 5, L"7.2.5"},   {11, 0, 26100, L"11.0.26100"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utils::OSNameForVersion(c.major, c.minor, c.build), c.word)
            << c.major << "." << c.minor;
    }
}

TEST(OSName, ReadsTheReportedVersionAndKeepsTheLowBuildBits) {
    ::setenv("QUILLON_WINVER", "9.1.70000", 1);
    std::wstring family;
    EXPECT_EQ(Utils::GetOSName(&family), L"9.1.4464");  // 70000 & 0xFFFF
    EXPECT_EQ(family, L"Windows");
    ::setenv("QUILLON_WINVER", "5.1.2600", 1);
    EXPECT_EQ(Utils::GetOSName(), L"XP");
    ::unsetenv("QUILLON_WINVER");
    EXPECT_EQ(Utils::GetOSName(), L"10");
}

TEST(NewIdentifierText, HasThirtyTwoDigitsWithALowerCaseThirdGroup) {
    for (int i = 0; i < 20; ++i) {
        const std::wstring id = Utils::NewIdentifierText();
        ASSERT_EQ(id.size(), 32u);
        for (std::size_t k = 0; k < id.size(); ++k) {
            const bool third = k >= 12 && k < 16;
            EXPECT_TRUE(std::iswxdigit(id[k]));
            if (std::iswalpha(id[k])) {
                EXPECT_EQ(std::iswlower(id[k]) != 0, third) << Utils::ToUtf8(id);
            }
        }
        EXPECT_EQ(id[12], L'4');  // a random identifier
    }
    EXPECT_NE(Utils::NewIdentifierText(), Utils::NewIdentifierText());
}

TEST(CheckNetwork, NeedsComOnTheCallingThread) {
    EXPECT_EQ(Utils::CheckNetwork(), 0u);
    win32::CoInitializeEx(nullptr, win32::COINIT_APARTMENTTHREADED);
    const win32::DWORD result = Utils::CheckNetwork();
    win32::CoUninitialize();
    EXPECT_LE(Utils::NetworkVerdict(result), 2u);
    EXPECT_EQ(Utils::NetworkVerdict(result) == Utils::kNetworkDisconnected, (result & 0xFFFF) == 0);
}

// The verdicts in network namespaces of our own: none, one without a route, one with a route.
TEST(CheckNetwork, GivesTheVerdictOfTheNetworkItRunsIn) {
    if (TestSupport::RunProgram(L"unshare -rn true").exitCode != 0 ||
        TestSupport::RunProgram(L"unshare -rn ip link add v0 type veth peer name v1").exitCode !=
            0) {
        GTEST_SKIP() << "network namespaces are not available here";
    }
    const std::wstring facts = TestSupport::BinPath("quillon-tool") + L" facts";
    const std::wstring setUp =
        L"ip link add v0 type veth peer name v1 && ip addr add 10.9.0.1/24 dev v0 && "
        L"ip link set v1 up && ip link set v0 up";
    struct Case {
        std::wstring script;
        const char* verdict;
    };
    const Case cases[] = {
        {facts, "NetworkVerdict=1\n"},
        {setUp + L" && " + facts, "NetworkVerdict=2\n"},
        {setUp + L" && ip route add default via 10.9.0.2 && " + facts, "NetworkVerdict=0\n"},
    };
    for (const Case& c : cases) {
        const auto result = TestSupport::RunProgram(L"unshare -rn sh -c \"" + c.script + L"\"");
        ASSERT_EQ(result.exitCode, 0) << result.output;
        EXPECT_NE(result.output.find(c.verdict), std::string::npos) << result.output;
    }
}

TEST(HardDiskManager, ReportsTheMountPointOfAFolderNotYetCreated) {
    Utils::HardDiskManager disk;
    ASSERT_TRUE(disk.CheckFreeSpace(L"/tmp/not/yet/created"));
    EXPECT_GT(disk.TotalNumberOfBytes(), 0u);
    EXPECT_LE(disk.FreeBytesAvailableToCaller(), disk.TotalNumberOfFreeBytes());
    EXPECT_FALSE(disk.CheckFreeSpace(L"relative-without-parent"));
}

TEST(AccountFacts, AnswerForTheConsoleUser) {
    const std::wstring user = Utils::GetActiveConsoleUserName();
    EXPECT_FALSE(user.empty());
    EXPECT_TRUE(Utils::IsAdministratorAccount(L"root"));
    EXPECT_FALSE(Utils::IsAdministratorAccount(L"no-such-user-here"));
    EXPECT_EQ(Utils::IsAdministratorToken(), ::geteuid() == 0);
}

}  // namespace

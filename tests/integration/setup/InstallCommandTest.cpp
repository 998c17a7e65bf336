// quillon-tool install with the demo package from the local package server, in a temporary
// home: a first installation, then a second one that removes the first through its uninstaller.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "integration/setup/PackageServer.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"
#include "utils/MachineFacts.h"

namespace {

namespace fs = std::filesystem;

class InstallCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DESKTOP_DIR",
                                     "XDG_DOCUMENTS_DIR", "APPDATA", "TMPDIR"}) {
            unsetenv(variable);
        }
        setenv("HOME", folder_.File("home").c_str(), 1);
        fs::create_directories(folder_.File("home"));
        // The uninstaller's copy is kept apart from any other setup running meanwhile.
        fs::create_directories(folder_.File("tmp"));
        setenv("TMPDIR", folder_.File("tmp").c_str(), 1);
        fs::create_directories(folder_.File("served"));
        server_ = std::make_unique<SetupTest::PackageServer>(QUILLON_DEMO_PACKAGE,
                                                             folder_.File("served"), false);
    }

    // The next test's own temporary folder is made under TMPDIR.
    void TearDown() override { unsetenv("TMPDIR"); }

    TestSupport::ProgramResult Install(const std::string& dir) {
        return TestSupport::RunProgram(TestSupport::BinPath("quillon-tool") + L" install --url " +
                                       Utils::FromUtf8(server_->LatestUrl()) + L" --dir \"" +
                                       Utils::FromUtf8(dir) + L"\" --desktop true");
    }

    // The status codes printed, without the progress reports 1002, 2002 and 5002.
    static std::vector<std::string> Codes(const std::string& output) {
        std::vector<std::string> codes;
        std::istringstream lines(output);
        for (std::string line; std::getline(lines, line);) {
            const std::string code = line.substr(0, line.find(' '));
            if (!code.empty() && std::isdigit(static_cast<unsigned char>(code[0])) &&
                code != "1002" && code != "2002" && code != "5002") {
                codes.push_back(code);
            }
        }
        return codes;
    }

    static std::string Registry(const wchar_t* name) {
        std::wstring value;
        return Utils::ReadProductRegistryValue(name, &value) ? Utils::ToUtf8(value) : "<absent>";
    }

    TestSupport::TempFolder folder_;
    std::unique_ptr<SetupTest::PackageServer> server_;
};

TEST_F(InstallCommand, InstallsThenReplacesTheInstallationThroughItsUninstaller) {
    const std::string first = folder_.File("home/first place/Quillon");
    const TestSupport::ProgramResult installed = Install(folder_.File("home/first place"));
    ASSERT_EQ(installed.exitCode, 0) << installed.output;
    EXPECT_EQ(Codes(installed.output), (std::vector<std::string>{"1001", "1003", "2001", "3000",
                                                                 "3001", "3003", "3005", "2003"}))
        << installed.output;
    EXPECT_NE(installed.output.find("\n3000 0 " + first + "\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(first + "/Quillon.exe"));
    EXPECT_TRUE(fs::exists(folder_.File("home/Desktop/quillon-demo.desktop")));
    EXPECT_FALSE(fs::exists(first + "/__Package_Quillon.exe"));
    EXPECT_EQ(Registry(L"InstallPath"), first);
    EXPECT_EQ(Registry(L"UnInstallEp"), first + "/uninst.ep");

    const std::string second = folder_.File("home/second/Quillon");
    const TestSupport::ProgramResult replaced = Install(folder_.File("home/second"));
    ASSERT_EQ(replaced.exitCode, 0) << replaced.output;
    const std::vector<std::string> codes = Codes(replaced.output);
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(codes.begin(), codes.begin() + 2),
              (std::vector<std::string>{"5003", "1001"}))
        << replaced.output;
    EXPECT_FALSE(fs::exists(first)) << "the first installation is still there";
    EXPECT_TRUE(fs::exists(second + "/Quillon.exe"));
    EXPECT_EQ(Registry(L"InstallPath"), second);
}

TEST_F(InstallCommand, FailsWhenThePackageCannotBeDownloaded) {
    const std::string url = server_->LatestUrl();
    server_.reset();

    const TestSupport::ProgramResult result = TestSupport::RunProgram(
        TestSupport::BinPath("quillon-tool") + L" install --url " + Utils::FromUtf8(url) +
        L" --dir " + Utils::FromUtf8(folder_.File("home/apps")));

    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(Codes(result.output).back(), "1004") << result.output;
    EXPECT_EQ(Registry(L"InstallPath"), "<absent>");
}

TEST_F(InstallCommand, RefusesBadSwitches) {
    for (const wchar_t* switches : {L" --desktop maybe", L" --url", L" --colour blue"}) {
        const TestSupport::ProgramResult result =
            TestSupport::RunProgram(TestSupport::BinPath("quillon-tool") + L" install" + switches);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.output, "");
    }
}

}  // namespace

// The package and uninstall runners with real child programs: what they start, how they read
// the child's output chunk by chunk, and how a run ends.
#include <gtest/gtest.h>

#include <memory>

#include "integration/download/support/StatusRecorder.h"
#include "integration/setup/ChildScript.h"
#include "setup/PackageRunner.h"
#include "setup/SetupStatus.h"
#include "setup/UninstallRunner.h"
#include "support/TempFolder.h"
#include "utils/TextConversion.h"

namespace {

using DownloadTest::Report;
using DownloadTest::StatusRecorder;
using SetupTest::ChildScript;

std::vector<int> Codes(const std::vector<Report>& reports) {
    std::vector<int> codes;
    for (const Report& report : reports) {
        codes.push_back(report.code);
    }
    return codes;
}

std::vector<std::wstring> TextsOf(const std::vector<Report>& reports, int code) {
    std::vector<std::wstring> texts;
    for (const Report& report : reports) {
        if (report.code == code) {
            texts.push_back(report.text);
        }
    }
    return texts;
}

class PackageRunner : public ::testing::Test {
  protected:
    // Runs the package once to its end: destroying the runner waits for its worker.
    std::vector<Report> Run(const std::string& scenario, const std::wstring& installDir = L"") {
        script_ = std::make_unique<ChildScript>(packagePath_, scenario, false);
        return RunExisting(installDir);
    }

    std::vector<Report> RunExisting(const std::wstring& installDir) {
        StatusRecorder recorder;
        auto runner = std::make_unique<CPackageRunner>(
            recorder.Callback(), L"\"" + Utils::FromUtf8(packagePath_) + L"\"", installDir, true,
            false, true);
        runner->Start();
        runner.reset();
        return recorder.Reports();
    }

    TestSupport::TempFolder folder_;
    const std::string packagePath_ = folder_.File("target dir/__Package_Quillon.exe");
    std::unique_ptr<ChildScript> script_;
};

TEST_F(PackageRunner, StartsTheDownloadedPackageWithTheChoicesAndReportsItsLines) {
    const std::wstring installDir = folder_.WideFile("my apps/Quillon");

    const std::vector<Report> reports = Run("lines", installDir);

    EXPECT_EQ(Codes(reports), (std::vector<int>{2001, 2002, 2002, 3000, 3001, 2003}));
    EXPECT_EQ(reports[2].value, 12.5);
    EXPECT_EQ(reports[3].text, L"/opt/q\r");
    EXPECT_EQ(reports.back().value, 0.0);
    const std::string dir = folder_.File("my apps/Quillon");
    EXPECT_EQ(
        script_->Arguments(),
        (std::vector<std::string>{"/S", "-console=show", "-version=1.0.0", "-adminact=true",
                                  "-authorizationact=true", "-dsc=true", "-ssc=false",
                                  "-instdir=" + dir, "/D=" + folder_.File("my"), "apps/Quillon"}));
}

TEST_F(PackageRunner, HandlesEachReadByItselfSoASplitLineMatchesNothing) {
    const std::vector<Report> reports = Run("split");

    EXPECT_EQ(Codes(reports), (std::vector<int>{2001, 2002, 2002, 3009, 2003}));
    EXPECT_EQ(reports[2].value, 40.0);
    EXPECT_EQ(reports[3].text, L"whole");
    EXPECT_EQ(reports.back().value, kEndedWithoutFinalState);
}

TEST_F(PackageRunner, SwitchesCodePageFromTheNextRead) {
    const std::vector<std::wstring> messages = TextsOf(Run("encodings"), IST_INFO_MESSAGE);

    ASSERT_EQ(messages.size(), 3u);
    EXPECT_NE(messages[0], L"你好") << "converted before the switch took effect";
    EXPECT_EQ(messages[1], L"你好");
    EXPECT_EQ(messages[2], L"你好");
}

struct EndCase {
    const char* scenario;
    std::vector<int> codes;
    double lastValue;
    std::wstring lastText;
};

class PackageEnd : public PackageRunner, public ::testing::WithParamInterface<EndCase> {};

INSTANTIATE_TEST_SUITE_P(
    Runs, PackageEnd,
    ::testing::Values(
        EndCase{"silent", {2001, 2002, 2003}, kEndedWithoutFinalState, L""},
        EndCase{"fail", {2001, 2002, 2002, 2004}, kFailPackageState, kPackageFailedText},
        EndCase{"error", {2001, 2002, 2004}, kFailPackageError, L"disk full"},
        EndCase{"success-then-error", {2001, 2002, 2003, 2004}, kFailPackageError, L"late failure"},
        // A final state ends the reading; the child's later flood of output is drained.
        EndCase{"keeps-running", {2001, 2002, 2003}, 0.0, L""},
        EndCase{"stderr-flood", {2001, 2002, 2002, 2003}, kEndedWithoutFinalState, L""}),
    [](const auto& info) {
        std::string name = info.param.scenario;
        std::erase(name, '-');
        return name;
    });

TEST_P(PackageEnd, EndsWithOneOutcomeAfterTheChildEnded) {
    const std::vector<Report> reports = Run(GetParam().scenario);

    EXPECT_EQ(Codes(reports), GetParam().codes);
    EXPECT_EQ(reports.back().value, GetParam().lastValue);
    EXPECT_EQ(reports.back().text, GetParam().lastText);
    EXPECT_TRUE(script_->Ended()) << "the runner ended before its child";
}

TEST_F(PackageRunner, ReportsAPackageThatCannotBeStarted) {
    const std::vector<Report> missing = RunExisting(L"");
    EXPECT_EQ(Codes(missing), (std::vector<int>{2001, 2002, 2004}));
    EXPECT_EQ(missing.back().value, kFailNotStarted);

    // A command line over 1023 characters would be cut; it is refused instead.
    const std::vector<Report> tooLong = Run("lines", std::wstring(960, L'd'));
    EXPECT_EQ(Codes(tooLong), (std::vector<int>{2001, 2002, 2004}));
    EXPECT_EQ(tooLong.back().value, kFailNotStarted);
    EXPECT_TRUE(script_->Arguments().empty());
}

class UninstallRunner : public ::testing::Test {
  protected:
    std::vector<Report> Run(const std::wstring& copy) {
        StatusRecorder recorder;
        auto runner =
            std::make_unique<CUninstallRunner>(recorder.Callback(), copy, L"/opt/old Quillon");
        runner->Start();
        runner.reset();
        return recorder.Reports();
    }

    TestSupport::TempFolder folder_;
    // The copy lives in a temporary folder whose path may hold blanks.
    const std::string copyPath_ = folder_.File("temp dir/Quillon_un_asa.exe");
};

TEST_F(UninstallRunner, ReadsTheUninstallerToItsEndAndKeepsReportingAfterAFinalState) {
    ChildScript script(copyPath_, "uninstall", true);

    const std::vector<Report> reports = Run(Utils::FromUtf8(copyPath_));

    EXPECT_EQ(Codes(reports), (std::vector<int>{5002, 5002, 5003, 5005}));
    EXPECT_EQ(reports[1].value, 50.0);
    EXPECT_EQ(reports[2].value, 0.0);
    EXPECT_EQ(reports[3].text, L"late");
    const std::vector<std::string> arguments = script.Arguments();
    ASSERT_GE(arguments.size(), 5u);
    EXPECT_EQ(arguments[0], "/S");
    EXPECT_EQ(arguments[1].rfind("-adminact=", 0), 0u);
    EXPECT_EQ(arguments[2].rfind("-authorizationact=", 0), 0u);
    EXPECT_EQ(arguments[3], "-console=show");
    EXPECT_EQ(std::vector<std::string>(arguments.begin() + 4, arguments.end()),
              (std::vector<std::string>{"_?=/opt/old", "Quillon"}));
}

TEST_F(UninstallRunner, EndsAsTheUninstallerDid) {
    struct Case {
        const char* scenario;
        std::vector<int> codes;
        double lastValue;
    };
    const Case cases[] = {
        {"silent", {5002, 5003}, kEndedWithoutFinalState},
        {"uninstall-fail", {5002, 5005, 5002}, 70.0},
        {"stderr-flood", {5002, 5002, 5003}, kEndedWithoutFinalState},
    };
    for (const Case& c : cases) {
        ChildScript script(copyPath_, c.scenario, true);
        const std::vector<Report> reports = Run(Utils::FromUtf8(copyPath_));
        EXPECT_EQ(Codes(reports), c.codes) << c.scenario;
        EXPECT_EQ(reports.back().value, c.lastValue) << c.scenario;
        EXPECT_TRUE(script.Ended()) << c.scenario;
    }
}

TEST_F(UninstallRunner, ReportsAMissingCopyAndOneThatCannotBeStarted) {
    const std::vector<Report> missing = Run(Utils::FromUtf8(copyPath_));
    ASSERT_EQ(Codes(missing), (std::vector<int>{5004}));
    EXPECT_EQ(missing[0].value, kFailUninstallerMissing);
    EXPECT_EQ(missing[0].text, kUninstallerMissingText);

    const std::string junk = folder_.Write("junk.exe", std::string(64, '\x7f'));
    std::filesystem::permissions(junk, std::filesystem::perms::owner_all);
    const std::vector<Report> refused = Run(Utils::FromUtf8(junk));
    ASSERT_EQ(Codes(refused), (std::vector<int>{5002, 5004}));
    EXPECT_EQ(refused[1].value, kFailNotStarted);
    EXPECT_EQ(refused[1].text, L"");
}

}  // namespace

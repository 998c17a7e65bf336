#include <gtest/gtest.h>

#include "shell/Installer.h"
#include "shell/LaunchConfig.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"
#include "utils/SingleInstance.h"

namespace {

// The installer's exit status as the shell sees it: -1 arrives as 255.
int RunInstaller(const std::wstring& arguments = L"") {
    return TestSupport::RunProgram(TestSupport::BinPath("QuillonSetup") + arguments).exitCode;
}

TEST(SingleInstance, ASecondInstallerExitsWithMinusOneWhileTheFirstHoldsTheName) {
    {
        Utils::SingleInstance first(Shell::kInstanceName);
        first.Acquire();
        ASSERT_NE(first.Handle(), nullptr);

        Utils::SingleInstance inSameProcess(Shell::kInstanceName);
        inSameProcess.Acquire();
        EXPECT_EQ(inSameProcess.Handle(), nullptr);

        EXPECT_EQ(RunInstaller(), 255);
        EXPECT_EQ(RunInstaller(L" -isenableappanalytics=false"), 255);
    }
    // Released and closed: the next installer runs its whole sequence.
    EXPECT_EQ(RunInstaller(), 0);
}

TEST(InstallerSequence, RunsTheStepsInOrderAndSkipsTrackingWhenAnalyticsIsOff) {
    std::vector<std::string> steps;
    Shell::InstallerParts parts;
    parts.startTracker = [&] { steps.push_back("startTracker"); };
    parts.prepareFramework = [&] { steps.push_back("prepareFramework"); };
    parts.runMainWindow = [&] {
        steps.push_back("runMainWindow");
        return std::shared_ptr<void>(nullptr, [&](void*) { steps.push_back("destroyWindow"); });
    };
    parts.releaseTracker = [&] { steps.push_back("releaseTracker"); };
    EXPECT_EQ(Shell::RunInstaller(parts), 0);
    EXPECT_EQ(steps, (std::vector<std::string>{"startTracker", "prepareFramework", "runMainWindow",
                                               "releaseTracker", "destroyWindow"}));

    steps.clear();
    Shell::GetLaunchConfig().IsEnableAppAnalytics = false;
    EXPECT_EQ(Shell::RunInstaller(parts), 0);
    Shell::GetLaunchConfig().IsEnableAppAnalytics = true;
    EXPECT_EQ(steps,
              (std::vector<std::string>{"prepareFramework", "runMainWindow", "destroyWindow"}));
}

}  // namespace

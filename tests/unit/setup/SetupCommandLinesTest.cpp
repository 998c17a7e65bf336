// The two command lines, character for character, and how the platform splits them.
#include <gtest/gtest.h>

#include "platform/Process.h"
#include "setup/SetupCommandLines.h"

namespace {

TEST(PackageCommandLine, CarriesEveryChoiceInOrderWithTheFolderTwiceAtTheEnd) {
    const PackageChoices choices{L"/opt/my apps/Quillon", true, false, false, true};
    EXPECT_EQ(PackageCommandLine(L"\"/t/__Package_Quillon.exe\"", choices, L"-channel=7 -x"),
              L"\"/t/__Package_Quillon.exe\" /S -console=show -version=1.0.0 -adminact=false "
              L"-authorizationact=true -dsc=true -ssc=false -channel=7 -x "
              L"-instdir=\"/opt/my apps/Quillon\" /D=/opt/my apps/Quillon");
}

TEST(PackageCommandLine, EndsWithTheQuickLaunchPartWithoutFolderOrExtraArguments) {
    const PackageChoices choices{L"", false, true, true, false};
    EXPECT_EQ(PackageCommandLine(L"\"p\"", choices, L""),
              L"\"p\" /S -console=show -version=1.0.0 -adminact=true -authorizationact=false "
              L"-dsc=false -ssc=true");
}

TEST(UninstallerCommandLine, QuotesTheCopySoABlankInItStillStartsTheCopy) {
    const std::wstring line =
        UninstallerCommandLine(L"/tmp/with blank/Quillon_un_asa.exe", true, false, L"/opt/Quillon");
    EXPECT_EQ(line,
              L"\"/tmp/with blank/Quillon_un_asa.exe\" /S -adminact=true "
              L"-authorizationact=false -console=show _?=/opt/Quillon");
    const std::vector<std::wstring> words = win32::CommandLineToArgvW(line);
    ASSERT_EQ(words.size(), 6u);
    EXPECT_EQ(words[0], L"/tmp/with blank/Quillon_un_asa.exe");
    EXPECT_EQ(words[5], L"_?=/opt/Quillon");
}

}  // namespace

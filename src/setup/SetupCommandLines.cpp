#include "setup/SetupCommandLines.h"

namespace {

const wchar_t* Flag(bool value) {
    return value ? L"true" : L"false";
}

}  // namespace

std::wstring PackageCommandLine(const std::wstring& packageCommand, const PackageChoices& choices,
                                const std::wstring& extraArguments) {
    std::wstring line = packageCommand + L" /S -console=show -version=1.0.0";
    line += std::wstring(L" -adminact=") + Flag(choices.adminAct);
    line += std::wstring(L" -authorizationact=") + Flag(choices.authorizationAct);
    line += std::wstring(L" -dsc=") + Flag(choices.desktopShortcut);
    line += std::wstring(L" -ssc=") + Flag(choices.quickLaunchShortcut);
    if (!extraArguments.empty()) {
        line += L" " + extraArguments;
    }
    if (!choices.installDir.empty()) {
        line += L" -instdir=\"" + choices.installDir + L"\"";
        line += L" /D=" + choices.installDir;
    }
    return line;
}

std::wstring UninstallerCommandLine(const std::wstring& uninstallerCopy, bool adminAct,
                                    bool authorizationAct, const std::wstring& oldFolder) {
    return L"\"" + uninstallerCopy + L"\" /S -adminact=" + Flag(adminAct) + L" -authorizationact=" +
           Flag(authorizationAct) + L" -console=show _?=" + oldFolder;
}

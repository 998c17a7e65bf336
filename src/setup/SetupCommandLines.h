// The command lines the package and the older installation's uninstaller are started with.
#pragma once

#include <string>

struct PackageChoices {
    std::wstring installDir;
    bool desktopShortcut;
    bool quickLaunchShortcut;
    bool adminAct;
    bool authorizationAct;
};

// packageCommand is the quoted package path; extraArguments the launch setting InstCmd. The
// folder goes last after "/D=" unquoted, the way silent packages of this kind read it.
std::wstring PackageCommandLine(const std::wstring& packageCommand, const PackageChoices& choices,
                                const std::wstring& extraArguments);

// The copy's path is quoted so that a blank in it cannot start another program; the old folder
// after "_?=" stays unquoted and last, as uninstallers of this kind expect.
std::wstring UninstallerCommandLine(const std::wstring& uninstallerCopy, bool adminAct,
                                    bool authorizationAct, const std::wstring& oldFolder);

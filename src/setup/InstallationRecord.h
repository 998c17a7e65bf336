// What decides and records an installation, for the main window: the earlier installation in
// the registry store, the default and custom target folders, whether the earlier installation
// is kept, and what a successful setup leaves behind (the record and the product's INI files).
#pragma once

#include <string>

#include "setup/AccountFacts.h"

struct ExistingInstallation {
    std::wstring installPath;  // "InstallPath"; empty when there is none
    std::wstring uninstallEp;  // "UnInstallEp", or "uninst.ep" in installPath
};

ExistingInstallation FindExistingInstallation();

// The earlier installation's folder while its uninstaller exists; otherwise "Quillon" in the
// per-user data folder (APPDATA) for an administrator, else in the program folder. Stores the
// two account facts it decides by in facts.
std::wstring GetDefaultInstallDir(const ExistingInstallation& existing, AccountFacts* facts);

// The default unchanged when the user left it so, otherwise "Quillon" in the folder typed.
std::wstring GetCustomInstallDir(const std::wstring& defaultDir, const std::wstring& typedDir);

// True when folder is the earlier installation's and its "set.ini" forbids removing it.
bool IsOverrideDisabled(const std::wstring& existingInstallPath, const std::wstring& folder);

// Whether the two paths name the same folder, compared by their text after normalising
// separators and "." and ".." components.
bool IsSameFolder(const std::wstring& a, const std::wstring& b);

// Writes "InstallPath" and, when that file exists, "UnInstallEp" (uninstallEp, or "uninst.ep"
// in installDir when the package named none; uninstallEp takes that default).
void SaveInstallInfo(const std::wstring& installDir, std::wstring* uninstallEp);

// "set.ini" in installDir, and the analytics INI in the product's data folder.
void WriteSetIni(const std::wstring& installDir);

// APPDATA (or the common documents folder) + "\\ZoRenData\\Quillon".
std::wstring ProductDataFolder();

// The installer's entry point.
#include <clocale>

#include "shell/Installer.h"

int main() {
    // Text conversions follow the user's character set; numbers keep the C locale.
    std::setlocale(LC_CTYPE, "");
    Shell::InstallerParts parts;
    return Shell::RunInstaller(parts);
}

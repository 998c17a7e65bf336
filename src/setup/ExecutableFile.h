// Files that are run as programs.
#pragma once

#include <string>

// Lets everyone who may read the file also execute it. A downloaded file arrives without any
// execute permission, and a package that cannot be executed cannot be started.
bool MarkExecutable(const std::wstring& path);

// The uninstaller's output lines, turned into the statuses 5002, 5003 and 5005.
#pragma once

#include <string>

#include "download/StatusCallback.h"
#include "setup/LineProtocol.h"

// Reports every line of one converted chunk in order. An "Encode=" line sets codePage for the
// chunks read after this one.
FinalState ParseUninstallChunk(const std::wstring& chunk, const StatusCallback& report,
                               int* codePage);

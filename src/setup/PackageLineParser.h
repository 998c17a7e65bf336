// The package's output lines, turned into the statuses 2002-2004 and 3000-3009.
#pragma once

#include <string>

#include "download/StatusCallback.h"
#include "setup/LineProtocol.h"

// Reports every line of one converted chunk in order, also after a final state in it. An
// "Encode=" line sets codePage for the chunks read after this one.
FinalState ParsePackageChunk(const std::wstring& chunk, const StatusCallback& report,
                             int* codePage);

// The code page an "Encode=" value names: "UTF8", "ACP" or a decimal number.
int PackageCodePage(const std::wstring& value);

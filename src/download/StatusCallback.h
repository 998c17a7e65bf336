// The report channel of every downloader and runner: (code, value, text). It is called on the
// reporter's worker threads; text lives only for the duration of the call.
#pragma once

#include <functional>

using StatusCallback = std::function<void(int code, double value, const wchar_t* text)>;

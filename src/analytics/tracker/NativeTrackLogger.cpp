#include "analytics/tracker/NativeTrackLogger.h"

#include <cstdio>

#include "platform/Files.h"

namespace zoren::usage {

NativeTrackLogger::NativeTrackLogger(std::wstring path) : path_(std::move(path)) {
    if (!win32::PathFileExistsW(path_.c_str())) {
        if (FILE* file = win32::_wfopen(path_.c_str(), L"ab")) {
            std::fclose(file);
        }
    }
}

}  // namespace zoren::usage

#include "platform/Console.h"

#include <sys/stat.h>

namespace win32 {

namespace {

// -1 for a value that names no standard stream.
int StreamDescriptor(DWORD standardStream) {
    switch (standardStream) {
        case STD_INPUT_HANDLE:
            return 0;
        case STD_OUTPUT_HANDLE:
            return 1;
        case STD_ERROR_HANDLE:
            return 2;
        default:
            return -1;
    }
}

}  // namespace

bool IsConsoleHandle(DWORD standardStream) {
    const int descriptor = StreamDescriptor(standardStream);
    struct stat stream;
    if (descriptor < 0 || ::fstat(descriptor, &stream) != 0 || !S_ISCHR(stream.st_mode)) {
        return false;
    }
    // The null device is a character device too, but nobody reads what goes there.
    struct stat null;
    return ::stat("/dev/null", &null) != 0 || stream.st_rdev != null.st_rdev;
}

}  // namespace win32

#include "platform/Handle.h"

#include <cerrno>

#include "system/KernelObject.h"

namespace win32 {

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD GetLastError() {
    return lastError;
}
void SetLastError(DWORD error) {
    lastError = error;
}

namespace detail {

DWORD KernelObject::Wait(DWORD) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
}

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case ENOSPC:
        case EDQUOT:
            return ERROR_HANDLE_DISK_FULL;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EPIPE:
            return ERROR_BROKEN_PIPE;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case EIO:
            return ERROR_WRITE_FAULT;
        default:
            return ERROR_INVALID_FUNCTION;
    }
}

BOOL FailWithErrno() {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
}

}  // namespace detail

BOOL CloseHandle(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete static_cast<detail::KernelObject*>(handle);
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto* object = detail::HandleAs<detail::KernelObject>(handle);
    return object == nullptr ? WAIT_FAILED : object->Wait(milliseconds);
}

BOOL SetHandleInformation(HANDLE handle, DWORD, DWORD) {
    // Only the three standard handles ever reach a child, so inheritance needs no bookkeeping.
    return detail::HandleAs<detail::KernelObject>(handle) != nullptr ? TRUE : FALSE;
}

}  // namespace win32

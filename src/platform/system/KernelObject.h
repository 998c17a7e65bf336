// What a HANDLE points at inside the stand-in: one object per kind, deleted by CloseHandle.
#pragma once

#include "platform/Types.h"

namespace win32::detail {

class KernelObject {
  public:
    virtual ~KernelObject() = default;
    // Waits until the object is signalled; false on timeout or when it cannot be waited for.
    virtual DWORD Wait(DWORD milliseconds);
};

// The handle's object when it is of type T, else null (last error ERROR_INVALID_HANDLE).
template <typename T>
T* HandleAs(HANDLE handle) {
    auto* object = dynamic_cast<T*>(static_cast<KernelObject*>(handle));
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return object;
}

inline HANDLE ToHandle(KernelObject* object) {
    return static_cast<HANDLE>(object);
}

// Sets the last error from errno and returns FALSE.
BOOL FailWithErrno();
DWORD ErrorFromErrno(int error);

}  // namespace win32::detail

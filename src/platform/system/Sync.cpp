#include "platform/Sync.h"

#include <cerrno>
#include <memory>

#include "system/FileLock.h"
#include "system/KernelObject.h"
#include "system/Utf8.h"

namespace win32 {

namespace detail {

class NamedMutex : public KernelObject {
  public:
    explicit NamedMutex(std::unique_ptr<FileLock> lock) : lock_(std::move(lock)) {}
    bool Owned() const { return lock_ != nullptr && lock_->Held(); }
    void Release() { lock_.reset(); }

  private:
    std::unique_ptr<FileLock> lock_;
};

}  // namespace detail

HANDLE CreateMutexW(SECURITY_ATTRIBUTES*, BOOL, const wchar_t* name) {
    if (name == nullptr || *name == L'\0') {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    auto lock = std::make_unique<detail::FileLock>("mutex-" + detail::WideToUtf8(name),
                                                   detail::FileLock::Mode::TryOnce);
    if (lock->Held()) {
        SetLastError(ERROR_SUCCESS);
        return detail::ToHandle(new detail::NamedMutex(std::move(lock)));
    }
    if (lock->Error() == EWOULDBLOCK) {
        // Another holder has the name: a handle that owns nothing, as Windows returns.
        SetLastError(ERROR_ALREADY_EXISTS);
        return detail::ToHandle(new detail::NamedMutex(nullptr));
    }
    SetLastError(detail::ErrorFromErrno(lock->Error()));
    return nullptr;
}

BOOL ReleaseMutex(HANDLE mutex) {
    auto* object = detail::HandleAs<detail::NamedMutex>(mutex);
    if (object == nullptr || !object->Owned()) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    object->Release();
    return TRUE;
}

}  // namespace win32

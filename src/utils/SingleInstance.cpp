#include "utils/SingleInstance.h"

#include "platform/Handle.h"
#include "platform/Sync.h"

namespace Utils {

namespace {
const wchar_t kMutexPrefix[] = L"D1A547DB89C0BC61_";
}

void SingleInstance::Acquire() {
    if (mutex_ != nullptr) {
        return;
    }
    const std::wstring name = kMutexPrefix + instanceName_;
    mutex_ = win32::CreateMutexW(nullptr, win32::TRUE, name.c_str());
    if (mutex_ != nullptr && win32::GetLastError() == win32::ERROR_ALREADY_EXISTS) {
        win32::CloseHandle(mutex_);
        mutex_ = nullptr;
    }
}

SingleInstance::~SingleInstance() {
    if (mutex_ != nullptr) {
        win32::ReleaseMutex(mutex_);
        win32::CloseHandle(mutex_);
    }
}

}  // namespace Utils

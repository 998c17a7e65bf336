#include "utils/Thread.h"

#include "platform/Handle.h"
#include "platform/Thread.h"
#include "utils/DebugTrace.h"
#include "utils/TextConversion.h"

namespace Utils {

Thread::Thread(Body body, void* argument, const std::wstring& name)
    : body_(std::move(body)), argument_(argument), name_(name) {
    win32::DWORD id = 0;
    handle_ =
        win32::CreateThread(nullptr, 0, &Thread::CallBack, this, win32::CREATE_SUSPENDED, &id);
    if (handle_ == nullptr) {
        return;
    }
    threadId_ = id;
    if (name_.empty()) {
        name_ = L"t" + std::to_wstring(id);
    }
    win32::SetThreadName(handle_, WideToMultiByte(name_, 0).c_str());
}

Thread::~Thread() {
    Join();
    body_ = nullptr;
}

bool Thread::Resume() {
    if (handle_ == nullptr || win32::ResumeThread(handle_) == static_cast<win32::DWORD>(-1)) {
        return false;
    }
    resumed_ = true;
    return true;
}

void Thread::Join() {
    if (handle_ == nullptr) {
        return;
    }
    if (resumed_) {
        win32::WaitForSingleObject(handle_, win32::INFINITE);
    }
    win32::CloseHandle(handle_);
    handle_ = nullptr;
    threadId_ = static_cast<win32::DWORD>(-1);
}

win32::DWORD Thread::CallBack(void* self) {
    auto* thread = static_cast<Thread*>(self);
    UTILS_TRACE_LINE(L"THREAD BEGIN");
    thread->body_(thread->argument_);
    UTILS_TRACE_LINE(L"THREAD END");
    return 0;
}

}  // namespace Utils

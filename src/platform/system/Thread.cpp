#include "platform/Thread.h"

#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>

#include "system/KernelObject.h"

namespace win32 {

namespace detail {

class ThreadObject : public KernelObject {
  public:
    // Shared by the handle and the running thread.
    struct State {
        std::mutex mutex;  // guards every field below
        std::condition_variable changed;
        pid_t threadId = 0;
        bool started = false;    // resumed by its creator
        bool abandoned = false;  // the handle was closed before the thread was resumed
        bool finished = false;
        DWORD exitCode = 259;  // STILL_ACTIVE until the routine returns
    };

    ThreadObject(LPTHREAD_START_ROUTINE routine, void* argument, bool suspended)
        : state_(std::make_shared<State>()) {
        state_->started = !suspended;
        thread_ = std::thread([state = state_, routine, argument] {
            {
                std::unique_lock<std::mutex> lock(state->mutex);
                state->threadId = ::gettid();
                state->changed.notify_all();
                state->changed.wait(lock, [&] { return state->started || state->abandoned; });
                if (!state->started) {
                    return;  // never resumed: the routine never runs
                }
            }
            const DWORD exitCode = routine(argument);
            std::lock_guard<std::mutex> lock(state->mutex);
            state->exitCode = exitCode;
            state->finished = true;
            state->changed.notify_all();
        });
        std::unique_lock<std::mutex> lock(state_->mutex);
        state_->changed.wait(lock, [&] { return state_->threadId != 0; });
    }

    ~ThreadObject() override {
        {
            std::lock_guard<std::mutex> lock(state_->mutex);
            state_->abandoned = true;
            state_->changed.notify_all();
        }
        // Closing a handle does not end its thread.
        thread_.detach();
    }

    DWORD Wait(DWORD milliseconds) override {
        std::unique_lock<std::mutex> lock(state_->mutex);
        auto done = [&] { return state_->finished; };
        if (milliseconds == INFINITE) {
            state_->changed.wait(lock, done);
            return WAIT_OBJECT_0;
        }
        return state_->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), done)
                   ? WAIT_OBJECT_0
                   : WAIT_TIMEOUT;
    }

    DWORD Resume() {
        std::lock_guard<std::mutex> lock(state_->mutex);
        const DWORD previous = state_->started ? 0 : 1;
        state_->started = true;
        state_->changed.notify_all();
        return previous;
    }

    DWORD Id() const {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return static_cast<DWORD>(state_->threadId);
    }

    bool ExitCode(DWORD* exitCode) const {
        std::lock_guard<std::mutex> lock(state_->mutex);
        *exitCode = state_->exitCode;
        return true;
    }

    std::thread::native_handle_type Native() { return thread_.native_handle(); }

  private:
    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace detail

HANDLE CreateThread(SECURITY_ATTRIBUTES*, std::size_t, LPTHREAD_START_ROUTINE routine,
                    void* argument, DWORD flags, DWORD* threadId) {
    if (routine == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    try {
        auto* thread = new detail::ThreadObject(routine, argument, (flags & CREATE_SUSPENDED) != 0);
        if (threadId != nullptr) {
            *threadId = thread->Id();
        }
        return detail::ToHandle(thread);
    } catch (const std::system_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

DWORD ResumeThread(HANDLE thread) {
    auto* object = detail::HandleAs<detail::ThreadObject>(thread);
    return object == nullptr ? static_cast<DWORD>(-1) : object->Resume();
}

BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode) {
    auto* object = detail::HandleAs<detail::ThreadObject>(thread);
    return object != nullptr && exitCode != nullptr && object->ExitCode(exitCode) ? TRUE : FALSE;
}

void SetThreadName(HANDLE thread, const char* name) {
    auto* object = detail::HandleAs<detail::ThreadObject>(thread);
    if (object == nullptr || name == nullptr) {
        return;
    }
    char shortName[16] = {};  // the kernel keeps 15 bytes of a thread's name
    std::snprintf(shortName, sizeof shortName, "%s", name);
    ::pthread_setname_np(object->Native(), shortName);
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace win32

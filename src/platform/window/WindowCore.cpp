#include "platform/window/WindowCore.h"

#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace win32::core {

ThreadQueue::ThreadQueue(DWORD id)
    : threadId(id), wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ThreadQueue::~ThreadQueue() {
    if (wakeFd_ >= 0) {
        close(wakeFd_);
    }
}

void ThreadQueue::Wake() {
    std::uint64_t one = 1;
    while (write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void ThreadQueue::ClearWake() {
    std::uint64_t count;
    while (read(wakeFd_, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

Core& Core::Get() {
    // Never destroyed: threads may still post while the process exits.
    static Core* core = new Core;
    return *core;
}

DWORD CurrentThreadId() {
    thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
    return id;
}

DWORD TickCount() {
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
            .count());
}

namespace {

void DestroyWindowsOfExitingThread(const std::shared_ptr<ThreadQueue>& queue) {
    for (HWND window : WindowsOfCurrentThread()) {
        if (Find(window) != nullptr) {
            DestroyWindow(window);
        }
    }
    Core& core = Core::Get();
    std::lock_guard lock(core.mutex);
    queue->alive = false;
    for (auto& sent : queue->sent) {
        sent->done = true;
        sent->sender->Wake();
    }
    queue->sent.clear();
    core.queues.erase(queue->threadId);
}

// Ends the thread's windows and answers what was still sent to it when the thread exits.
struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder() {
        if (queue) {
            DestroyWindowsOfExitingThread(queue);
        }
    }
};

thread_local QueueHolder holder;

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueueShared() {
    if (!holder.queue) {
        auto queue = std::make_shared<ThreadQueue>(CurrentThreadId());
        Core& core = Core::Get();
        std::lock_guard lock(core.mutex);
        core.queues[queue->threadId] = queue;
        holder.queue = queue;
    }
    return holder.queue;
}

ThreadQueue& CurrentQueue() {
    return *CurrentQueueShared();
}

Window* Find(HWND window) {
    Core& core = Core::Get();
    std::lock_guard lock(core.mutex);
    auto it = core.windows.find(reinterpret_cast<std::uintptr_t>(window));
    return it == core.windows.end() ? nullptr : it->second.get();
}

Window* FindOwn(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr || window->threadId != CurrentThreadId()) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return window;
}

Window* TopLevelOf(Window* window) {
    while (window != nullptr && !window->IsTopLevel()) {
        window = Find(window->parent);
    }
    return window;
}

std::vector<HWND> WindowsOfCurrentThread() {
    Core& core = Core::Get();
    DWORD thread = CurrentThreadId();
    std::vector<HWND> result;
    std::lock_guard lock(core.mutex);
    // Handles grow with creation, and a parent exists before its children.
    for (auto& [handle, window] : core.windows) {
        if (window->threadId == thread) {
            result.push_back(window->handle);
        }
    }
    return result;
}

LRESULT Deliver(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Find(handle);
    if (window == nullptr || window->procedure == nullptr) {
        return 0;
    }
    return window->procedure(handle, message, wParam, lParam);
}

bool Post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, DWORD character) {
    Core& core = Core::Get();
    std::shared_ptr<ThreadQueue> queue;
    {
        std::lock_guard lock(core.mutex);
        auto it = core.windows.find(reinterpret_cast<std::uintptr_t>(handle));
        if (it == core.windows.end()) {
            return false;
        }
        auto queueIt = core.queues.find(it->second->threadId);
        if (queueIt == core.queues.end() || !queueIt->second->alive) {
            return false;
        }
        queue = queueIt->second;
        MSG msg{handle, message, wParam, lParam, TickCount(), {}, character};
        queue->posted.push_back(msg);
    }
    queue->Wake();
    return true;
}

POINT WindowOriginOnScreen(Window* window) {
    POINT origin{window->rect.left, window->rect.top};
    if (!window->IsTopLevel()) {
        if (Window* parent = Find(window->parent)) {
            POINT parentClient = ClientOriginOnScreen(parent);
            origin.x += parentClient.x;
            origin.y += parentClient.y;
        }
    }
    return origin;
}

POINT ClientOriginOnScreen(Window* window) {
    POINT origin = WindowOriginOnScreen(window);
    return {origin.x + window->client.left, origin.y + window->client.top};
}

POINT OriginInTopLevel(Window* window) {
    Window* top = TopLevelOf(window);
    POINT origin = WindowOriginOnScreen(window);
    return {origin.x - top->rect.left, origin.y - top->rect.top};
}

void SetLastErrorCode(DWORD error) {
    win32::SetLastError(error);
}

}  // namespace win32::core

// Posting, sending, the message loop functions and timers.
#include <poll.h>

#include <algorithm>
#include <optional>

#include "platform/Input.h"
#include "platform/window/DisplayBackend.h"
#include "platform/window/InputRouter.h"
#include "platform/window/Painting.h"
#include "platform/window/WindowCore.h"

namespace win32 {

using core::Clock;
using core::Core;
using core::ThreadQueue;

namespace {

bool MessageInRange(UINT message, UINT filterMin, UINT filterMax) {
    return (filterMin == 0 && filterMax == 0) || (message >= filterMin && message <= filterMax);
}

bool WindowMatches(HWND messageWindow, HWND filter) {
    if (filter == nullptr) {
        return true;
    }
    if (filter == reinterpret_cast<HWND>(-1)) {
        return messageWindow == nullptr;
    }
    return messageWindow == filter || IsChild(filter, messageWindow);
}

// Answers every message other threads have sent to this one.
void ProcessSentMessages(ThreadQueue& queue) {
    Core& core = Core::Get();
    for (;;) {
        std::shared_ptr<core::SentMessage> sent;
        {
            std::lock_guard lock(core.mutex);
            if (queue.sent.empty()) {
                return;
            }
            sent = queue.sent.front();
            queue.sent.pop_front();
        }
        ++queue.receivingSend;
        LRESULT result = core::Deliver(sent->window, sent->message, sent->wParam, sent->lParam);
        --queue.receivingSend;
        {
            std::lock_guard lock(core.mutex);
            sent->result = result;
            sent->done = true;
        }
        sent->sender->Wake();
    }
}

bool TakePosted(ThreadQueue& queue, MSG* out, HWND filter, UINT filterMin, UINT filterMax,
                bool remove) {
    Core& core = Core::Get();
    std::lock_guard lock(core.mutex);
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (MessageInRange(it->message, filterMin, filterMax) && WindowMatches(it->hwnd, filter)) {
            *out = *it;
            if (remove) {
                queue.posted.erase(it);
            }
            return true;
        }
    }
    if (queue.quitPosted && MessageInRange(WM_QUIT, filterMin, filterMax)) {
        *out =
            MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, core::TickCount(), {}, 0};
        if (remove) {
            queue.quitPosted = false;
        }
        return true;
    }
    return false;
}

bool PostedIsEmpty(ThreadQueue& queue) {
    std::lock_guard lock(Core::Get().mutex);
    return queue.posted.empty();
}

bool TakeTimer(ThreadQueue& queue, MSG* out, HWND filter, UINT filterMin, UINT filterMax,
               bool remove, Clock::time_point now) {
    if (!MessageInRange(WM_TIMER, filterMin, filterMax)) {
        return false;
    }
    core::Timer* earliest = nullptr;
    for (core::Timer& timer : queue.timers) {
        if (timer.due <= now && WindowMatches(timer.window, filter) &&
            (earliest == nullptr || timer.due < earliest->due)) {
            earliest = &timer;
        }
    }
    if (earliest == nullptr) {
        return false;
    }
    *out = MSG{earliest->window,
               WM_TIMER,
               earliest->id,
               reinterpret_cast<LPARAM>(earliest->procedure),
               core::TickCount(),
               {},
               0};
    if (remove) {
        earliest->due = now + std::chrono::milliseconds(earliest->period);
    }
    return true;
}

std::optional<Clock::time_point> NextDeadline(ThreadQueue& queue) {
    std::optional<Clock::time_point> next = core::input::HoverDeadline(queue);
    for (const core::Timer& timer : queue.timers) {
        if (!next || timer.due < *next) {
            next = timer.due;
        }
    }
    return next;
}

bool Retrieve(MSG* out, HWND filter, UINT filterMin, UINT filterMax, UINT flags, bool wait) {
    ThreadQueue& queue = core::CurrentQueue();
    bool remove = (flags & PM_REMOVE) != 0;
    for (;;) {
        queue.ClearWake();
        ProcessSentMessages(queue);
        core::Display().Pump();
        ProcessSentMessages(queue);
        Clock::time_point now = Clock::now();
        core::input::FireHover(queue, now);
        if (PostedIsEmpty(queue) && core::input::RouteNextInput()) {
            continue;
        }
        if (TakePosted(queue, out, filter, filterMin, filterMax, remove) ||
            (MessageInRange(WM_PAINT, filterMin, filterMax) &&
             core::painting::TakePaint(out, filter)) ||
            TakeTimer(queue, out, filter, filterMin, filterMax, remove, now)) {
            if (remove) {
                core::input::MessageRead(*out);
                if (!core::input::ActivateForClick(*out)) {
                    continue;
                }
            }
            out->lPrivate =
                out->message == WM_KEYDOWN || out->message == WM_SYSKEYDOWN ? out->lPrivate : 0;
            queue.messageTime = out->time;
            if (out->pt.x == 0 && out->pt.y == 0) {
                GetCursorPos(&out->pt);
            }
            queue.messagePos = out->pt;
            return true;
        }
        if (!wait) {
            return false;
        }
        int timeoutMs = -1;
        if (auto deadline = NextDeadline(queue)) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
            timeoutMs = static_cast<int>(std::clamp<long long>(left.count(), 0, 1 << 30));
        }
        core::Display().Wait(queue, timeoutMs);
    }
}

}  // namespace

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr) {
        ThreadQueue& queue = core::CurrentQueue();
        {
            std::lock_guard lock(Core::Get().mutex);
            queue.posted.push_back(MSG{nullptr, message, wParam, lParam, core::TickCount(), {}, 0});
        }
        queue.Wake();
        return TRUE;
    }
    if (!core::Post(window, message, wParam, lParam)) {
        core::SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    Core& core = Core::Get();
    std::shared_ptr<ThreadQueue> queue;
    {
        std::lock_guard lock(core.mutex);
        auto it = core.queues.find(threadId);
        if (it == core.queues.end() || !it->second->alive) {
            core::SetLastErrorCode(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        queue = it->second;
        queue->posted.push_back(MSG{nullptr, message, wParam, lParam, core::TickCount(), {}, 0});
    }
    queue->Wake();
    return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Core& core = Core::Get();
    std::shared_ptr<ThreadQueue> self = core::CurrentQueueShared();
    auto sent = std::make_shared<core::SentMessage>(
        core::SentMessage{window, message, wParam, lParam, 0, false, self});
    std::shared_ptr<ThreadQueue> target;
    {
        std::lock_guard lock(core.mutex);
        auto it = core.windows.find(reinterpret_cast<std::uintptr_t>(window));
        if (it == core.windows.end()) {
            core::SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        if (it->second->threadId != self->threadId) {
            auto queueIt = core.queues.find(it->second->threadId);
            if (queueIt == core.queues.end() || !queueIt->second->alive) {
                return 0;
            }
            target = queueIt->second;
            target->sent.push_back(sent);
        }
    }
    if (!target) {
        return core::Deliver(window, message, wParam, lParam);
    }
    target->Wake();
    for (;;) {
        self->ClearWake();
        {
            std::lock_guard lock(core.mutex);
            if (sent->done) {
                return sent->result;
            }
        }
        // Another thread may be sending to this one while it waits: answer it, or both wait
        // for ever.
        ProcessSentMessages(*self);
        {
            std::lock_guard lock(core.mutex);
            if (sent->done) {
                return sent->result;
            }
            if (!self->sent.empty()) {
                continue;
            }
        }
        pollfd wake{self->WakeDescriptor(), POLLIN, 0};
        poll(&wake, 1, -1);
    }
}

void PostQuitMessage(int exitCode) {
    ThreadQueue& queue = core::CurrentQueue();
    {
        std::lock_guard lock(Core::Get().mutex);
        queue.quitPosted = true;
        queue.quitCode = exitCode;
    }
    queue.Wake();
}

BOOL GetMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax) {
    if (window != nullptr && window != reinterpret_cast<HWND>(-1) &&
        core::FindOwn(window) == nullptr) {
        return -1;
    }
    Retrieve(message, window, filterMin, filterMax, PM_REMOVE, true);
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT flags) {
    return Retrieve(message, window, filterMin, filterMax, flags, false) ? TRUE : FALSE;
}

BOOL WaitMessage() {
    MSG message;
    Retrieve(&message, nullptr, 0, 0, PM_NOREMOVE, true);
    return TRUE;
}

BOOL TranslateMessage(const MSG* message) {
    if ((message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) ||
        message->lPrivate == 0) {
        return FALSE;
    }
    UINT character = message->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    ThreadQueue& queue = core::CurrentQueue();
    {
        std::lock_guard lock(Core::Get().mutex);
        // Before anything else posted, so that the character follows its key at once.
        queue.posted.push_front(MSG{message->hwnd, character, message->lPrivate, message->lParam,
                                    message->time, message->pt, 0});
    }
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* message) {
    if (message->message == WM_TIMER && message->lParam != 0) {
        auto procedure = reinterpret_cast<TIMERPROC>(message->lParam);
        procedure(message->hwnd, WM_TIMER, message->wParam, message->time);
        return 0;
    }
    if (message->hwnd == nullptr || core::FindOwn(message->hwnd) == nullptr) {
        return 0;
    }
    return core::Deliver(message->hwnd, message->message, message->wParam, message->lParam);
}

DWORD GetMessageTime() {
    return core::CurrentQueue().messageTime;
}

DWORD GetMessagePos() {
    POINT pt = core::CurrentQueue().messagePos;
    return static_cast<DWORD>(MAKELPARAM(pt.x, pt.y));
}

BOOL InSendMessage() {
    return core::CurrentQueue().receivingSend > 0 ? TRUE : FALSE;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    if (window != nullptr && core::FindOwn(window) == nullptr) {
        return 0;
    }
    ThreadQueue& queue = core::CurrentQueue();
    UINT period = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    Clock::time_point due = Clock::now() + std::chrono::milliseconds(period);
    if (window != nullptr || id != 0) {
        for (core::Timer& timer : queue.timers) {
            if (timer.window == window && timer.id == id) {
                timer.period = period;
                timer.procedure = procedure;
                timer.due = due;
                return id == 0 ? 1 : id;
            }
        }
    }
    if (window == nullptr) {
        id = queue.nextThreadTimerId++;
    }
    queue.timers.push_back(core::Timer{window, id, period, procedure, due});
    return id == 0 ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& timers = core::CurrentQueue().timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const core::Timer& timer) {
        return timer.window == window && timer.id == id;
    });
    if (it == timers.end()) {
        return FALSE;
    }
    timers.erase(it);
    return TRUE;
}

}  // namespace win32

#include "download/WorkerSlot.h"

#include "platform/SystemInfo.h"

WorkerSlot::~WorkerSlot() {
    JoinAll();
}

void WorkerSlot::Replace(std::function<void()> body) {
    std::unique_ptr<Utils::Thread> previous;
    std::unique_ptr<Utils::Thread> older;
    {
        std::lock_guard<std::mutex> guard(lock_);
        previous = std::move(current_);
        if (previous && previous->Id() == win32::GetCurrentThreadId()) {
            older = std::move(retired_);
            retired_ = std::move(previous);
        }
    }
    previous.reset();
    older.reset();
    auto worker = std::make_unique<Utils::Thread>([body = std::move(body)](void*) { body(); },
                                                  nullptr, L"ABDEF");
    std::lock_guard<std::mutex> guard(lock_);
    current_ = std::move(worker);
    current_->Resume();
}

void WorkerSlot::JoinAll() {
    std::unique_ptr<Utils::Thread> current;
    std::unique_ptr<Utils::Thread> retired;
    {
        std::lock_guard<std::mutex> guard(lock_);
        current = std::move(current_);
        retired = std::move(retired_);
    }
}

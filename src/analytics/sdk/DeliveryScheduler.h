// When queued records leave the machine. Each tracking call asks for a delivery: one that may
// wait only marks records as pending, one that may not flushes while records are pending.
// While the last batch failed, deliveries run on short-lived threads of their own so that a
// dead service never blocks the caller.
#pragma once

#include <atomic>
#include <memory>

namespace usage_analytics {

class DeliveryScheduler {
  public:
    DeliveryScheduler();
    ~DeliveryScheduler();

    DeliveryScheduler(const DeliveryScheduler&) = delete;
    DeliveryScheduler& operator=(const DeliveryScheduler&) = delete;

    void RaisePending(int count);
    int Pending() const;

    // flushNow: up to 3 FlushAll attempts while records are pending, in the calling thread
    // when the last delivery succeeded; otherwise the records only become pending.
    void RequestDelivery(bool flushNow);

    // A flush-now delivery in the calling thread whatever the last delivery did: the crash
    // report must leave while the process still exists.
    void DeliverNow();

    // Waits for the delivery in progress, refuses every later one, and makes up to 3
    // FlushAll attempts while records are pending. The SDK may be shut down afterwards.
    void Shutdown();

  private:
    struct State;
    const std::shared_ptr<State> state_;
};

}  // namespace usage_analytics

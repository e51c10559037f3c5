#pragma once
#include "platform/MainScheduler.h"

#include <functional>
#include <memory>

namespace CarvexPlatform {

// Delayed work where a newer request supersedes the older one: each `schedule` cancels the work
// still waiting and schedules the new work `delay` later. Destroying the debouncer cancels what
// waits. Main thread only.
class Debouncer {
public:
    using Duration = MainScheduler::Duration;

    explicit Debouncer(Duration delay,
                       std::shared_ptr<MainScheduler> scheduler = MainScheduler::shared());
    ~Debouncer();
    Debouncer(const Debouncer&) = delete;
    Debouncer& operator=(const Debouncer&) = delete;

    void schedule(std::function<void()> work);
    // Schedules with a delay of its own for this one request.
    void schedule(Duration delay, std::function<void()> work);
    void cancel();
    bool isPending() const { return pending_.isPending(); }
    Duration delay() const { return delay_; }

private:
    Duration delay_;
    std::shared_ptr<MainScheduler> scheduler_;
    WorkItem pending_;
};

}  // namespace CarvexPlatform

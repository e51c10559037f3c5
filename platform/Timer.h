#pragma once
#include "platform/MainScheduler.h"

#include <functional>
#include <memory>

namespace CarvexPlatform {

// A one-shot or repeating timer on the main scheduler. Destroying the timer stops it; the handler
// may stop, restart or destroy its own timer while it runs. Main thread only.
class Timer {
public:
    using Duration = MainScheduler::Duration;

    explicit Timer(std::shared_ptr<MainScheduler> scheduler = MainScheduler::shared());
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Starts (or restarts) the timer: `handler` runs after `interval`, and then every `interval`
    // when `repeats` is set. A repeating timer's interval is at least 1 ms.
    void start(Duration interval, bool repeats, std::function<void()> handler);
    void stop();
    bool isActive() const;

private:
    struct State;
    static void arm(const std::shared_ptr<State>& state);

    std::shared_ptr<MainScheduler> scheduler_;
    std::shared_ptr<State> state_;
};

}  // namespace CarvexPlatform

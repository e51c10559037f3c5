#pragma once

#include "platform/MainScheduler.h"
#include "platform/Timer.h"

#include <functional>
#include <memory>

namespace Carvex {

// A short animation of the completion popup on the main scheduler's clock: `step` gets the
// progress from 0 to 1 about every frame and once more with 1 at the end, then `finished` runs.
// Starting again or stopping ends the running one without its `finished`. Destroying the
// animation stops it. Main thread only.
class CompletionAnimation {
public:
    using Duration = CarvexPlatform::MainScheduler::Duration;
    static constexpr Duration frameInterval{16};

    explicit CompletionAnimation(std::shared_ptr<CarvexPlatform::MainScheduler> scheduler =
                                     CarvexPlatform::MainScheduler::shared());

    void start(Duration duration, std::function<void(double progress)> step, std::function<void()> finished = {});
    void stop();
    bool isRunning() const { return timer_.isActive(); }

private:
    void tick();

    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    CarvexPlatform::Timer timer_;
    CarvexPlatform::MainScheduler::Clock::time_point startedAt_;
    Duration duration_{0};
    std::function<void(double)> step_;
    std::function<void()> finished_;
};

}  // namespace Carvex

#include "Carvex/Completion/CompletionAnimation.h"

#include <algorithm>
#include <chrono>

namespace Carvex {

CompletionAnimation::CompletionAnimation(std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : scheduler_(scheduler), timer_(std::move(scheduler)) {}

void CompletionAnimation::start(Duration duration, std::function<void(double)> step, std::function<void()> finished) {
    timer_.stop();
    startedAt_ = scheduler_->now();
    duration_ = duration;
    step_ = std::move(step);
    finished_ = std::move(finished);
    if (step_) {
        step_(0.0);
    }
    timer_.start(frameInterval, true, [this] { tick(); });
}

void CompletionAnimation::stop() {
    timer_.stop();
    step_ = nullptr;
    finished_ = nullptr;
}

void CompletionAnimation::tick() {
    const auto elapsed = std::chrono::duration_cast<Duration>(scheduler_->now() - startedAt_);
    const double progress =
        duration_.count() <= 0 ? 1.0 : std::clamp(double(elapsed.count()) / double(duration_.count()), 0.0, 1.0);
    if (progress < 1.0) {
        if (step_) {
            step_(progress);
        }
        return;
    }
    timer_.stop();
    // The handlers may start this animation again.
    std::function<void(double)> step = std::move(step_);
    std::function<void()> finished = std::move(finished_);
    step_ = nullptr;
    finished_ = nullptr;
    if (step) {
        step(1.0);
    }
    if (finished) {
        finished();
    }
}

}  // namespace Carvex

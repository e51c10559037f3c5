#include "platform/Timer.h"

namespace CarvexPlatform {

struct Timer::State {
    std::shared_ptr<MainScheduler> scheduler;
    Duration interval{0};
    bool repeats = false;
    bool active = false;
    std::function<void()> handler;
    WorkItem pending;
};

Timer::Timer(std::shared_ptr<MainScheduler> scheduler) : scheduler_(std::move(scheduler)) {}

Timer::~Timer() { stop(); }

void Timer::arm(const std::shared_ptr<State>& state) {
    std::weak_ptr<State> weak = state;
    state->pending = state->scheduler->schedule(state->interval, [weak] {
        auto state = weak.lock();
        if (!state || !state->active) {
            return;
        }
        if (state->repeats) {
            arm(state);
        } else {
            state->active = false;
        }
        // Keep the handler alive while it runs: it may stop or destroy this timer.
        auto handler = state->handler;
        handler();
    });
}

void Timer::start(Duration interval, bool repeats, std::function<void()> handler) {
    stop();
    state_ = std::make_shared<State>();
    state_->scheduler = scheduler_;
    state_->interval = repeats ? std::max(interval, Duration(1)) : std::max(interval, Duration(0));
    state_->repeats = repeats;
    state_->active = true;
    state_->handler = std::move(handler);
    arm(state_);
}

void Timer::stop() {
    if (state_) {
        state_->active = false;
        state_->pending.cancel();
        state_.reset();
    }
}

bool Timer::isActive() const { return state_ && state_->active; }

}  // namespace CarvexPlatform

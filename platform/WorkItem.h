#pragma once
#include <atomic>
#include <memory>

namespace CarvexPlatform {

// A handle to scheduled work: cancelling it keeps the work from starting (work already running
// finishes). Copies share one state. A default-constructed handle refers to nothing and reads as
// cancelled.
class WorkItem {
public:
    WorkItem() = default;
    static WorkItem make() { return WorkItem(std::make_shared<State>()); }

    void cancel() const {
        if (state_) {
            state_->cancelled.store(true);
        }
    }
    bool isCancelled() const { return !state_ || state_->cancelled.load(); }
    // True once the work has run (not merely been cancelled).
    bool hasRun() const { return state_ && state_->ran.load(); }
    bool isPending() const { return state_ && !state_->cancelled.load() && !state_->ran.load(); }

    // For schedulers: marks the start of the work; false when it must not run.
    bool begin() const {
        if (!state_ || state_->cancelled.load()) {
            return false;
        }
        state_->ran.store(true);
        return true;
    }

    bool operator==(const WorkItem& other) const { return state_ == other.state_; }

private:
    struct State {
        std::atomic<bool> cancelled{false};
        std::atomic<bool> ran{false};
    };
    explicit WorkItem(std::shared_ptr<State> state) : state_(std::move(state)) {}
    std::shared_ptr<State> state_;
};

}  // namespace CarvexPlatform

#pragma once
#include "platform/MainScheduler.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace CarvexPlatform {

// A main scheduler for tests with a clock that only moves when the test says so. Nothing runs by
// itself: `runPending` runs what is due now, `advance` moves the clock and runs what falls due on
// the way, in order of due time (then of scheduling). Work that schedules more work within the
// window runs in the same call. `post` may be called from any thread; everything else from the
// test's thread.
class FakeMainScheduler : public MainScheduler {
public:
    FakeMainScheduler();

    void post(std::function<void()> work) override;
    WorkItem schedule(Duration delay, std::function<void()> work) override;
    Clock::time_point now() const override;

    // Runs every item due at the current time, including those they add; returns how many ran.
    std::size_t runPending();
    // Runs only the earliest item due at the current time; false when none is due.
    bool runOne();
    // Runs the earliest waiting item, moving the clock to its time when that lies ahead; false when
    // none waits.
    bool runNext();
    // Moves the clock forward by `by`, running every item that falls due; returns how many ran.
    std::size_t advance(Duration by);
    // The number of items waiting (cancelled items included until their time comes).
    std::size_t pendingCount() const;
    // The time from now until the earliest waiting item, or nothing when none waits.
    std::optional<Duration> nextDueIn() const;

private:
    struct Item {
        Clock::time_point due;
        std::uint64_t sequence;
        std::function<void()> work;
    };
    bool runNextDueBy(Clock::time_point limit);

    mutable std::mutex mutex_;
    Clock::time_point now_;
    std::uint64_t nextSequence_ = 0;
    std::vector<Item> items_;
};

}  // namespace CarvexPlatform

#pragma once
#include "platform/WorkItem.h"

#include <chrono>
#include <functional>
#include <memory>

namespace CarvexPlatform {

// Runs work on the main thread: on the next turn of the event loop, or after a delay. The
// application uses the Qt event loop (`QtMainScheduler`); tests install a `FakeMainScheduler`
// whose clock they advance by hand, so no test sleeps through a real delay.
class MainScheduler {
public:
    using Clock = std::chrono::steady_clock;
    using Duration = std::chrono::milliseconds;

    virtual ~MainScheduler() = default;

    // The scheduler the application's components use; the Qt one unless a test installed another.
    static std::shared_ptr<MainScheduler> shared();
    // Installs `scheduler` as the shared one (null restores the Qt scheduler); returns the old one.
    static std::shared_ptr<MainScheduler> setShared(std::shared_ptr<MainScheduler> scheduler);

    // Runs `work` on the main thread on a later turn. Callable from any thread; items posted from
    // one thread run in the order posted.
    virtual void post(std::function<void()> work) = 0;

    // Runs `work` on the main thread once `delay` has passed, unless the returned item is cancelled
    // first. Main thread only.
    virtual WorkItem schedule(Duration delay, std::function<void()> work) = 0;

    // The scheduler's current time.
    virtual Clock::time_point now() const = 0;

    // Like `post`, but cancellable.
    WorkItem postCancellable(std::function<void()> work);
};

}  // namespace CarvexPlatform

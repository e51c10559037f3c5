#pragma once
#include "platform/MainScheduler.h"
#include "platform/WorkItem.h"

#include <functional>
#include <memory>
#include <type_traits>

namespace CarvexPlatform {

// Runs work on a background thread and hands its result to the main thread. Cancelling the
// returned item before the result arrives drops the result (the work itself, once started, runs to
// its end).
class BackgroundTask {
public:
    // Runs `work()` in the thread pool, then `completion(result)` on the main scheduler.
    template <class Work, class Completion>
    static WorkItem run(Work work, Completion completion,
                        std::shared_ptr<MainScheduler> scheduler = MainScheduler::shared()) {
        using Result = std::invoke_result_t<Work>;
        WorkItem item = WorkItem::make();
        start([item, scheduler, work = std::move(work),
               completion = std::move(completion)]() mutable {
            if (item.isCancelled()) {
                return;
            }
            auto result = std::make_shared<Result>(work());
            scheduler->post([item, result, completion = std::move(completion)]() mutable {
                if (item.begin()) {
                    completion(std::move(*result));
                }
            });
        });
        return item;
    }

    // Blocks until every background job started so far has finished (tests and shutdown).
    static void waitForIdle();

private:
    static void start(std::function<void()> job);
};

}  // namespace CarvexPlatform

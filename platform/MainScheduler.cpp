#include "platform/MainScheduler.h"

#include "platform/QtMainScheduler.h"

#include <mutex>

namespace CarvexPlatform {

namespace {

std::mutex& sharedMutex() {
    static std::mutex m;
    return m;
}

std::shared_ptr<MainScheduler>& sharedSlot() {
    static std::shared_ptr<MainScheduler> slot;
    return slot;
}

std::shared_ptr<MainScheduler> qtScheduler() {
    static const std::shared_ptr<MainScheduler> scheduler = std::make_shared<QtMainScheduler>();
    return scheduler;
}

}  // namespace

std::shared_ptr<MainScheduler> MainScheduler::shared() {
    std::lock_guard lock(sharedMutex());
    auto& slot = sharedSlot();
    return slot ? slot : qtScheduler();
}

std::shared_ptr<MainScheduler> MainScheduler::setShared(std::shared_ptr<MainScheduler> scheduler) {
    std::lock_guard lock(sharedMutex());
    auto& slot = sharedSlot();
    auto previous = slot ? slot : qtScheduler();
    slot = std::move(scheduler);
    return previous;
}

WorkItem MainScheduler::postCancellable(std::function<void()> work) {
    WorkItem item = WorkItem::make();
    post([item, work = std::move(work)] {
        if (item.begin()) {
            work();
        }
    });
    return item;
}

}  // namespace CarvexPlatform

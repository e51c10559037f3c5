#include "platform/FakeMainScheduler.h"

#include <algorithm>

namespace CarvexPlatform {

FakeMainScheduler::FakeMainScheduler() : now_(Clock::time_point{} + std::chrono::hours(1)) {}

void FakeMainScheduler::post(std::function<void()> work) {
    std::lock_guard lock(mutex_);
    items_.push_back(Item{now_, nextSequence_++, std::move(work)});
}

WorkItem FakeMainScheduler::schedule(Duration delay, std::function<void()> work) {
    WorkItem item = WorkItem::make();
    std::lock_guard lock(mutex_);
    const auto due = now_ + std::max(delay, Duration::zero());
    items_.push_back(Item{due, nextSequence_++, [item, work = std::move(work)] {
                              if (item.begin()) {
                                  work();
                              }
                          }});
    return item;
}

MainScheduler::Clock::time_point FakeMainScheduler::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

bool FakeMainScheduler::runNextDueBy(Clock::time_point limit) {
    std::function<void()> work;
    {
        std::lock_guard lock(mutex_);
        auto earliest = items_.end();
        for (auto it = items_.begin(); it != items_.end(); ++it) {
            if (it->due > limit) {
                continue;
            }
            if (earliest == items_.end() || it->due < earliest->due ||
                (it->due == earliest->due && it->sequence < earliest->sequence)) {
                earliest = it;
            }
        }
        if (earliest == items_.end()) {
            return false;
        }
        now_ = std::max(now_, earliest->due);
        work = std::move(earliest->work);
        items_.erase(earliest);
    }
    work();
    return true;
}

std::size_t FakeMainScheduler::runPending() {
    std::size_t count = 0;
    while (runNextDueBy(now())) {
        ++count;
    }
    return count;
}

bool FakeMainScheduler::runOne() { return runNextDueBy(now()); }

bool FakeMainScheduler::runNext() { return runNextDueBy(Clock::time_point::max()); }

std::size_t FakeMainScheduler::advance(Duration by) {
    const auto target = now() + std::max(by, Duration::zero());
    std::size_t count = 0;
    while (runNextDueBy(target)) {
        ++count;
    }
    std::lock_guard lock(mutex_);
    now_ = std::max(now_, target);
    return count;
}

std::size_t FakeMainScheduler::pendingCount() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

std::optional<MainScheduler::Duration> FakeMainScheduler::nextDueIn() const {
    std::lock_guard lock(mutex_);
    if (items_.empty()) {
        return std::nullopt;
    }
    auto earliest = std::min_element(items_.begin(), items_.end(),
                                     [](const Item& a, const Item& b) { return a.due < b.due; });
    return std::chrono::duration_cast<Duration>(earliest->due - now_);
}

}  // namespace CarvexPlatform

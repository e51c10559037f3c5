#include "platform/QtMainScheduler.h"

#include <QCoreApplication>
#include <QTimer>
#include <mutex>
#include <vector>

namespace CarvexPlatform {

struct QtMainScheduler::Waiting {
    std::mutex mutex;
    std::vector<std::function<void()>> items;
};

QtMainScheduler::QtMainScheduler() : waiting_(std::make_unique<Waiting>()) {}

QtMainScheduler::~QtMainScheduler() = default;

void QtMainScheduler::post(std::function<void()> work) {
    QCoreApplication* app = QCoreApplication::instance();
    std::vector<std::function<void()>> earlier;
    {
        std::lock_guard lock(waiting_->mutex);
        if (app == nullptr) {
            waiting_->items.push_back(std::move(work));
            return;
        }
        earlier.swap(waiting_->items);
    }
    for (auto& item : earlier) {
        QMetaObject::invokeMethod(app, std::move(item), Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

WorkItem QtMainScheduler::schedule(Duration delay, std::function<void()> work) {
    WorkItem item = WorkItem::make();
    auto run = [item, work = std::move(work)] {
        if (item.begin()) {
            work();
        }
    };
    if (delay.count() <= 0) {
        post(std::move(run));
        return item;
    }
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        post(std::move(run));
        return item;
    }
    const auto ms = static_cast<int>(std::min<long long>(delay.count(), 0x7fffffff));
    // Short debounce delays need precise timers; coarse ones may fire 5 % early.
    QTimer::singleShot(ms, ms < 2000 ? Qt::PreciseTimer : Qt::CoarseTimer, app, std::move(run));
    return item;
}

MainScheduler::Clock::time_point QtMainScheduler::now() const { return Clock::now(); }

}  // namespace CarvexPlatform

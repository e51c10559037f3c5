#pragma once
#include "platform/MainScheduler.h"

namespace CarvexPlatform {

// The main scheduler over the Qt event loop of the application object. Work posted before the
// application object exists waits until it does and a later `post` or `schedule` call flushes it.
class QtMainScheduler : public MainScheduler {
public:
    QtMainScheduler();
    ~QtMainScheduler() override;

    void post(std::function<void()> work) override;
    WorkItem schedule(Duration delay, std::function<void()> work) override;
    Clock::time_point now() const override;

private:
    struct Waiting;
    std::unique_ptr<Waiting> waiting_;
};

}  // namespace CarvexPlatform

#pragma once
#include "platform/MainScheduler.h"

#include <memory>

namespace CarvexPlatform {

// Test support: installs a scheduler as the shared one for the life of this object, then puts the
// previous one back.
class ScopedMainScheduler {
public:
    explicit ScopedMainScheduler(std::shared_ptr<MainScheduler> scheduler)
        : previous_(MainScheduler::setShared(std::move(scheduler))) {}
    ~ScopedMainScheduler() { MainScheduler::setShared(previous_); }
    ScopedMainScheduler(const ScopedMainScheduler&) = delete;
    ScopedMainScheduler& operator=(const ScopedMainScheduler&) = delete;

private:
    std::shared_ptr<MainScheduler> previous_;
};

}  // namespace CarvexPlatform

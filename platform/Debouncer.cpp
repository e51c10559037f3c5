#include "platform/Debouncer.h"

namespace CarvexPlatform {

Debouncer::Debouncer(Duration delay, std::shared_ptr<MainScheduler> scheduler)
    : delay_(delay), scheduler_(std::move(scheduler)) {}

Debouncer::~Debouncer() { cancel(); }

void Debouncer::schedule(std::function<void()> work) { schedule(delay_, std::move(work)); }

void Debouncer::schedule(Duration delay, std::function<void()> work) {
    pending_.cancel();
    pending_ = scheduler_->schedule(delay, std::move(work));
}

void Debouncer::cancel() { pending_.cancel(); }

}  // namespace CarvexPlatform

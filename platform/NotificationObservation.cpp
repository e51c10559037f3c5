#include "platform/NotificationObservation.h"

#include <utility>

namespace CarvexPlatform {

NotificationObservation::NotificationObservation(NotificationObservation&& other) noexcept
    : remove_(std::exchange(other.remove_, nullptr)) {}

NotificationObservation& NotificationObservation::operator=(NotificationObservation&& other) noexcept {
    if (this != &other) {
        reset();
        remove_ = std::exchange(other.remove_, nullptr);
    }
    return *this;
}

NotificationObservation::~NotificationObservation() { reset(); }

void NotificationObservation::reset() {
    if (auto remove = std::exchange(remove_, nullptr)) {
        remove();
    }
}

}  // namespace CarvexPlatform

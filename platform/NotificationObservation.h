#pragma once
#include <functional>

namespace CarvexPlatform {

// Keeps one observer registered with a notification centre; destroying (or resetting) it removes
// the observer. Move-only. Outliving the centre is harmless.
class NotificationObservation {
public:
    NotificationObservation() = default;
    // `remove` unregisters the observer; it must tolerate the centre being gone.
    explicit NotificationObservation(std::function<void()> remove) : remove_(std::move(remove)) {}
    NotificationObservation(NotificationObservation&& other) noexcept;
    NotificationObservation& operator=(NotificationObservation&& other) noexcept;
    NotificationObservation(const NotificationObservation&) = delete;
    NotificationObservation& operator=(const NotificationObservation&) = delete;
    ~NotificationObservation();

    // Removes the observer now.
    void reset();
    bool isActive() const { return static_cast<bool>(remove_); }

private:
    std::function<void()> remove_;
};

}  // namespace CarvexPlatform

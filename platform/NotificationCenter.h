#pragma once
#include "platform/Notification.h"
#include "platform/NotificationObservation.h"

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>

namespace CarvexPlatform {

// Delivers notifications by name to observers, synchronously and in the order the observers were
// added. An empty name observes every name; a null sender observes every sender. Observers tied to
// an object are removed when that object is destroyed; observers kept by a
// `NotificationObservation` are removed with it. Observers may add or remove observers (including
// themselves) while a notification is delivered: one removed during delivery is not called
// afterwards, one added during delivery first hears the next notification.
//
// Posting belongs to the main thread; a post from another thread is carried over to the main thread
// (`MainScheduler::shared().post`) and delivered there.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // The application's centre.
    static NotificationCenter& defaultCenter();

    // Registers `handler` for as long as `observer` lives (or until `removeObserver`).
    void addObserver(QObject* observer, const QString& name, const void* sender, Handler handler);
    // Registers `handler` for as long as the returned observation is kept.
    [[nodiscard]] NotificationObservation observe(const QString& name, const void* sender,
                                                  Handler handler);

    // Removes every registration of `observer`, or only those for `name` (and `sender`, when given).
    void removeObserver(QObject* observer);
    void removeObserver(QObject* observer, const QString& name, const void* sender = nullptr);

    void post(const QString& name, const void* sender = nullptr, const QVariantMap& userInfo = {});
    void post(const Notification& notification);

    // The number of live registrations.
    std::size_t observerCount() const;

private:
    struct Registry;
    std::shared_ptr<Registry> registry_;
};

}  // namespace CarvexPlatform

#include "platform/NotificationCenter.h"

#include "platform/MainScheduler.h"
#include "platform/MainThread.h"

#include <QPointer>
#include <algorithm>
#include <vector>

namespace CarvexPlatform {

struct NotificationCenter::Registry {
    struct Entry {
        std::uint64_t id = 0;
        QString name;
        const void* sender = nullptr;
        NotificationCenter::Handler handler;
        bool tiedToObject = false;
        QPointer<QObject> owner;
        QMetaObject::Connection ownerConnection;
        bool removed = false;
    };

    std::vector<std::shared_ptr<Entry>> entries;
    std::uint64_t nextId = 1;

    void removeIf(const std::function<bool(const Entry&)>& predicate) {
        auto it = std::remove_if(entries.begin(), entries.end(), [&](const std::shared_ptr<Entry>& e) {
            if (!predicate(*e)) {
                return false;
            }
            e->removed = true;
            if (e->ownerConnection) {
                QObject::disconnect(e->ownerConnection);
            }
            return true;
        });
        entries.erase(it, entries.end());
    }

    void remove(std::uint64_t id) {
        removeIf([id](const Entry& e) { return e.id == id; });
    }
};

NotificationCenter::NotificationCenter() : registry_(std::make_shared<Registry>()) {}

NotificationCenter::~NotificationCenter() {
    // Tied observers keep connections to their owners' destruction; drop them with the centre.
    registry_->removeIf([](const Registry::Entry&) { return true; });
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter* const center = new NotificationCenter();
    return *center;
}

void NotificationCenter::addObserver(QObject* observer, const QString& name, const void* sender,
                                     Handler handler) {
    if (observer == nullptr || !handler) {
        return;
    }
    auto entry = std::make_shared<Registry::Entry>();
    entry->id = registry_->nextId++;
    entry->name = name;
    entry->sender = sender;
    entry->handler = std::move(handler);
    entry->tiedToObject = true;
    entry->owner = observer;
    std::weak_ptr<Registry> weakRegistry = registry_;
    const std::uint64_t id = entry->id;
    entry->ownerConnection = QObject::connect(observer, &QObject::destroyed, [weakRegistry, id] {
        if (auto registry = weakRegistry.lock()) {
            registry->remove(id);
        }
    });
    registry_->entries.push_back(std::move(entry));
}

NotificationObservation NotificationCenter::observe(const QString& name, const void* sender,
                                                    Handler handler) {
    if (!handler) {
        return {};
    }
    auto entry = std::make_shared<Registry::Entry>();
    entry->id = registry_->nextId++;
    entry->name = name;
    entry->sender = sender;
    entry->handler = std::move(handler);
    const std::uint64_t id = entry->id;
    registry_->entries.push_back(std::move(entry));
    std::weak_ptr<Registry> weakRegistry = registry_;
    return NotificationObservation([weakRegistry, id] {
        if (auto registry = weakRegistry.lock()) {
            registry->remove(id);
        }
    });
}

void NotificationCenter::removeObserver(QObject* observer) {
    if (observer == nullptr) {
        return;
    }
    registry_->removeIf([observer](const Registry::Entry& e) {
        return e.tiedToObject && e.owner.data() == observer;
    });
}

void NotificationCenter::removeObserver(QObject* observer, const QString& name, const void* sender) {
    if (observer == nullptr) {
        return;
    }
    registry_->removeIf([&](const Registry::Entry& e) {
        return e.tiedToObject && e.owner.data() == observer && e.name == name &&
               (sender == nullptr || e.sender == sender);
    });
}

void NotificationCenter::post(const QString& name, const void* sender, const QVariantMap& userInfo) {
    post(Notification{name, sender, userInfo});
}

void NotificationCenter::post(const Notification& notification) {
    if (!MainThread::isCurrent()) {
        std::weak_ptr<Registry> weakRegistry = registry_;
        MainScheduler::shared()->post([this, weakRegistry, notification] {
            if (weakRegistry.lock()) {
                post(notification);
            }
        });
        return;
    }
    // Deliver to a snapshot, so that changes made by observers do not disturb this delivery.
    const auto snapshot = registry_->entries;
    for (const auto& entry : snapshot) {
        if (entry->removed) {
            continue;
        }
        if (entry->tiedToObject && entry->owner.isNull()) {
            continue;
        }
        if (!entry->name.isEmpty() && entry->name != notification.name) {
            continue;
        }
        if (entry->sender != nullptr && entry->sender != notification.sender) {
            continue;
        }
        // Keep the handler alive even if the observer removes itself while it runs.
        const auto keep = entry;
        keep->handler(notification);
    }
}

std::size_t NotificationCenter::observerCount() const {
    return static_cast<std::size_t>(std::count_if(
        registry_->entries.begin(), registry_->entries.end(),
        [](const auto& e) { return !e->tiedToObject || !e->owner.isNull(); }));
}

}  // namespace CarvexPlatform

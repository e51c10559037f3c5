#pragma once
#include <QString>
#include <QVariantMap>

namespace CarvexPlatform {

// One posted notification: its name, the object that posted it (optional; compared by identity
// only, never dereferenced) and its user-info map.
struct Notification {
    QString name;
    const void* sender = nullptr;
    QVariantMap userInfo;
};

}  // namespace CarvexPlatform

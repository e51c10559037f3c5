#pragma once
#include <QObject>
#include <QString>

namespace CarvexPlatform {

// The software updater. No update framework exists on this system: Carvex is updated through the
// system's package manager, so the updater schedules no checks, and a check asked for by the user
// says so in an informational alert. Main thread only.
class StandardUpdaterController : public QObject {
    Q_OBJECT

public:
    static inline const QString messageText = QStringLiteral("Carvex is updated through the system's package manager.");
    static inline const QString informativeText =
        QStringLiteral("Use the system's package manager to install newer versions of Carvex.");

    explicit StandardUpdaterController(bool startingUpdater);

    bool updaterStarted() const { return started_; }
    // A check the user asked for: tells how Carvex is updated here.
    void checkForUpdates(QObject* sender);

private:
    bool started_ = false;
};

}  // namespace CarvexPlatform

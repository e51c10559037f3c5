#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLocalServer;
class QProcessEnvironment;

namespace CarvexPlatform {

// One running instance per user and display: a later launch hands its files to the running one (an
// empty list asks it to show itself) and ends. Instances meet at a local socket named by the key;
// what a launch hands over reaches the handler on a later turn of the event loop, never inside the
// socket's own handlers. Main thread only.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const QStringList& paths)>;

    explicit SingleInstance(QString key);
    ~SingleInstance() override;

    // The key of the user's instance on the display the application shows on.
    static QString defaultKey();
    // The key of a user's instance on the display that the platform plugin and environment name.
    static QString keyFor(qulonglong userId, const QString& platformName, const QProcessEnvironment& environment);
    // The display (or session) a platform plugin shows on, as one text.
    static QString displayOf(const QString& platformName, const QProcessEnvironment& environment);
    // What a launch was given as files: absolute paths (file URLs read as their paths).
    static QStringList pathsFromArguments(const QStringList& arguments);

    const QString& key() const { return key_; }
    // Hands `paths` to a running instance; false when none runs (or it did not take them).
    bool handOver(const QStringList& paths, int timeoutMilliseconds = 3000) const;
    // Becomes the running instance: what later launches hand over goes to `handler`. False when the
    // socket cannot be made.
    bool listen(Handler handler);
    bool isListening() const;

private:
    void acceptConnections();

    QString key_;
    Handler handler_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace CarvexPlatform

#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLocalServer;

namespace CarvexPlatform {

// One running instance per user: a later launch hands its files to the running one (an empty
// list asks it to show itself) and ends. Instances meet at a local socket named by the key.
// Main thread only.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const QStringList& paths)>;

    explicit SingleInstance(QString key);
    ~SingleInstance() override;

    // The key of the user's instance.
    static QString defaultKey();
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

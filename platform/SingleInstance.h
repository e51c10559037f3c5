#pragma once
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QLocalServer;

namespace CarvexPlatform {

// One running instance per user and display: a later launch hands its files to the running one (an
// empty list asks it to show itself) and ends. Instances meet at a local socket named by the key,
// kept in a folder only the user can enter: the session's runtime folder ($XDG_RUNTIME_DIR) when it
// is the user's own with mode 0700, else "carvex-<uid>" in the temporary folder, made with mode 0700
// and checked (a folder, not a link, the user's, closed to others) before every use. A launch hands
// over only to a peer that runs as the user (SO_PEERCRED). What a launch hands over reaches the
// handler on a later turn of the event loop, never inside the socket's own handlers. Main thread only.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(const QStringList& paths)>;

    // The instance of the user running this process, in this process's environment.
    explicit SingleInstance(QString key);
    // The instance of `userId`, whose folders and peers must be that user's, placed by `environment`
    // ($XDG_RUNTIME_DIR, $TMPDIR).
    SingleInstance(QString key, qulonglong userId, const QProcessEnvironment& environment);
    ~SingleInstance() override;

    // The socket's folder for `userId`: the runtime folder when it passes `isPrivateFolder`, else the
    // user's folder in the temporary folder (made when missing). Nothing when neither is fit to use.
    static std::optional<QString> socketFolder(qulonglong userId, const QProcessEnvironment& environment);
    // Whether `folder` is a folder itself (not a link to one), owned by `userId`, that no one else
    // may read, write or enter.
    static bool isPrivateFolder(const QString& folder, qulonglong userId);
    // The user that runs the process at the other end of a connected local socket, or nothing.
    static std::optional<qulonglong> peerUserId(qintptr socketDescriptor);

    // The key of the user's instance on the display the application shows on.
    static QString defaultKey();
    // The key of a user's instance on the display that the platform plugin and environment name.
    static QString keyFor(qulonglong userId, const QString& platformName, const QProcessEnvironment& environment);
    // The display (or session) a platform plugin shows on, as one text.
    static QString displayOf(const QString& platformName, const QProcessEnvironment& environment);
    // What a launch was given as files: absolute paths (file URLs read as their paths).
    static QStringList pathsFromArguments(const QStringList& arguments);

    const QString& key() const { return key_; }
    // Where the socket is (or would be) when its folder is fit to use, as checked now.
    std::optional<QString> socketPath() const;
    // Hands `paths` to a running instance; false when none runs (or it did not take them).
    bool handOver(const QStringList& paths, int timeoutMilliseconds = 3000) const;
    // Becomes the running instance: what later launches hand over goes to `handler`. False when the
    // socket cannot be made.
    bool listen(Handler handler);
    bool isListening() const;

private:
    void acceptConnections();

    QString key_;
    qulonglong userId_;
    QProcessEnvironment environment_;
    Handler handler_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace CarvexPlatform

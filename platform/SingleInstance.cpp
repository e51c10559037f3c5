#include "platform/SingleInstance.h"

#include "platform/MainScheduler.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QProcessEnvironment>
#include <QUrl>

#include <cerrno>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace CarvexPlatform {

namespace {
// The message: the paths, each ended by a NUL (no path holds one); nothing at all means "reopen".
// The whole message is at most this long, so a stray client cannot make the instance hoard memory.
constexpr qint64 maximumMessageSize = 16 * 1024 * 1024;

QByteArray encode(const QStringList& paths) {
    QByteArray message;
    for (const QString& path : paths) {
        message += path.toUtf8();
        message += '\0';
    }
    return message;
}

QStringList decode(const QByteArray& message) {
    QStringList paths;
    qsizetype start = 0;
    while (start < message.size()) {
        qsizetype end = message.indexOf('\0', start);
        if (end < 0) {
            break;  // a message cut short: its last path is incomplete
        }
        if (end > start) {
            paths.append(QString::fromUtf8(message.constData() + start, end - start));
        }
        start = end + 1;
    }
    return paths;
}

// Whether a socket at `path` can be made: its address holds the path and the closing NUL.
bool fitsSocketAddress(const QString& path) {
    return static_cast<std::size_t>(QFile::encodeName(path).size()) < sizeof(sockaddr_un::sun_path);
}
}  // namespace

SingleInstance::SingleInstance(QString key)
    : SingleInstance(std::move(key), static_cast<qulonglong>(::getuid()), QProcessEnvironment::systemEnvironment()) {}

SingleInstance::SingleInstance(QString key, qulonglong userId, const QProcessEnvironment& environment)
    : key_(std::move(key)), userId_(userId), environment_(environment) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultKey() {
    return keyFor(static_cast<qulonglong>(::getuid()), QGuiApplication::platformName(),
                  QProcessEnvironment::systemEnvironment());
}

QString SingleInstance::displayOf(const QString& platformName, const QProcessEnvironment& environment) {
    if (platformName.startsWith(QLatin1String("wayland"))) {
        const QString display = environment.value(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-0"));
        // A relative name lives in the session's runtime folder.
        return QStringLiteral("wayland:") +
               (display.startsWith(QLatin1Char('/'))
                    ? display
                    : environment.value(QStringLiteral("XDG_RUNTIME_DIR")) + QLatin1Char('/') + display);
    }
    if (platformName == QLatin1String("xcb")) {
        // ":1" and ":1.0" are one display; the screen number does not make another.
        QString display = environment.value(QStringLiteral("DISPLAY"));
        const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
        const qsizetype dot = display.indexOf(QLatin1Char('.'), colon + 1);
        if (colon >= 0 && dot > colon) {
            display.truncate(dot);
        }
        return QStringLiteral("x11:") + display;
    }
    // Another platform (offscreen, a virtual frame buffer): the login session, when there is one.
    return platformName + QLatin1Char(':') + environment.value(QStringLiteral("XDG_SESSION_ID"));
}

QString SingleInstance::keyFor(qulonglong userId, const QString& platformName,
                               const QProcessEnvironment& environment) {
    // A display name may hold slashes and be long; the socket's name holds a digest of it.
    const QByteArray digest = QCryptographicHash::hash(displayOf(platformName, environment).toUtf8(),
                                                       QCryptographicHash::Sha256)
                                  .toHex()
                                  .left(16);
    return QStringLiteral("carvex-%1-%2").arg(userId).arg(QString::fromLatin1(digest));
}

QStringList SingleInstance::pathsFromArguments(const QStringList& arguments) {
    QStringList paths;
    for (const QString& argument : arguments) {
        if (argument.isEmpty()) {
            continue;
        }
        QString path = argument;
        const QUrl url(argument);
        if (url.isLocalFile()) {
            path = url.toLocalFile();
        } else if (url.scheme().size() > 1 && argument.contains(QStringLiteral("://"))) {
            continue;  // not a file of this machine
        }
        paths.append(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    }
    return paths;
}

bool SingleInstance::isPrivateFolder(const QString& folder, qulonglong userId) {
    struct stat status {};
    if (folder.isEmpty() || ::lstat(QFile::encodeName(folder).constData(), &status) != 0) {
        return false;
    }
    return S_ISDIR(status.st_mode) && static_cast<qulonglong>(status.st_uid) == userId && (status.st_mode & 077) == 0;
}

std::optional<QString> SingleInstance::socketFolder(qulonglong userId, const QProcessEnvironment& environment) {
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (runtime.startsWith(QLatin1Char('/')) && isPrivateFolder(runtime, userId)) {
        return QDir::cleanPath(runtime);
    }
    QString temporary = environment.value(QStringLiteral("TMPDIR"));
    if (!temporary.startsWith(QLatin1Char('/'))) {
        temporary = QStringLiteral("/tmp");
    }
    const QString own = QDir::cleanPath(temporary + QStringLiteral("/carvex-%1").arg(userId));
    // Made closed to others; one found there is used only when it is the user's and closed too,
    // since anyone may have made it first.
    if (::mkdir(QFile::encodeName(own).constData(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    if (!isPrivateFolder(own, userId)) {
        return std::nullopt;
    }
    return own;
}

std::optional<qulonglong> SingleInstance::peerUserId(qintptr socketDescriptor) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (socketDescriptor < 0 ||
        ::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 ||
        length != sizeof credentials) {
        return std::nullopt;
    }
    return static_cast<qulonglong>(credentials.uid);
}

std::optional<QString> SingleInstance::socketPath() const {
    const std::optional<QString> folder = socketFolder(userId_, environment_);
    if (!folder) {
        return std::nullopt;
    }
    const QString path = *folder + QLatin1Char('/') + key_;
    if (!fitsSocketAddress(path)) {
        return std::nullopt;
    }
    return path;
}

bool SingleInstance::handOver(const QStringList& paths, int timeoutMilliseconds) const {
    const std::optional<QString> path = socketPath();
    if (!path) {
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(*path);
    if (!socket.waitForConnected(timeoutMilliseconds)) {
        return false;
    }
    // Only to an instance of the user's own: anyone else gets nothing, and this launch runs on.
    const std::optional<qulonglong> peer = peerUserId(socket.socketDescriptor());
    if (!peer || *peer != userId_) {
        socket.abort();
        return false;
    }
    const QByteArray message = encode(paths);
    if (!message.isEmpty()) {
        socket.write(message);
        while (socket.bytesToWrite() > 0) {
            if (!socket.waitForBytesWritten(timeoutMilliseconds)) {
                return false;
            }
        }
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(timeoutMilliseconds);
    }
    return true;
}

bool SingleInstance::listen(Handler handler) {
    handler_ = std::move(handler);
    const std::optional<QString> path = socketPath();
    if (!path) {
        return false;
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(*path)) {
        // A socket left behind by an instance that ended without cleaning up (in a folder only
        // the user can write to).
        QLocalServer::removeServer(*path);
        if (!server_->listen(*path)) {
            server_.reset();
            return false;
        }
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

bool SingleInstance::isListening() const { return server_ && server_->isListening(); }

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        auto finished = std::make_shared<bool>(false);
        auto tooLong = std::make_shared<bool>(false);
        QPointer<SingleInstance> self(this);
        auto read = [socket, buffer, tooLong] {
            const QByteArray data = socket->readAll();
            if (*tooLong || buffer->size() + data.size() > maximumMessageSize) {
                *tooLong = true;
                buffer->clear();
                return;
            }
            buffer->append(data);
        };
        auto finish = [self, socket, buffer, finished, tooLong, read] {
            if (*finished) {
                return;
            }
            *finished = true;
            read();
            socket->deleteLater();
            if (!self || *tooLong) {
                return;
            }
            // Never inside the socket's handlers: whatever the files bring (windows, alerts) comes
            // on a later turn, with the socket done.
            MainScheduler::shared()->post([self, paths = decode(*buffer)] {
                if (self && self->handler_) {
                    self->handler_(paths);
                }
            });
        };
        connect(socket, &QLocalSocket::readyRead, socket, read);
        connect(socket, &QLocalSocket::disconnected, socket, finish);
        if (socket->state() != QLocalSocket::ConnectedState) {
            finish();
        }
    }
}

}  // namespace CarvexPlatform

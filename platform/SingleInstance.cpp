#include "platform/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QUrl>

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
}  // namespace

SingleInstance::SingleInstance(QString key) : key_(std::move(key)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultKey() { return QStringLiteral("carvex-%1").arg(static_cast<qulonglong>(::getuid())); }

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

bool SingleInstance::handOver(const QStringList& paths, int timeoutMilliseconds) const {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(timeoutMilliseconds)) {
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
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(key_)) {
        // A socket left behind by an instance that ended without cleaning up.
        QLocalServer::removeServer(key_);
        if (!server_->listen(key_)) {
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
            if (self && self->handler_ && !*tooLong) {
                self->handler_(decode(*buffer));
            }
        };
        connect(socket, &QLocalSocket::readyRead, socket, read);
        connect(socket, &QLocalSocket::disconnected, socket, finish);
        if (socket->state() != QLocalSocket::ConnectedState) {
            finish();
        }
    }
}

}  // namespace CarvexPlatform

// Where the single-instance socket lives and to whom a launch hands its files: only into a folder
// closed to others and only to a peer of the same user. The tests run as root as well, so each
// refusal is shown by the folder's mode, by a link, or by asking for another user than the owner.

#include "platform/SingleInstance.h"
#include "platform/TestApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using CarvexPlatform::SingleInstance;

namespace {

// A listener that takes every connection and everything sent on it.
struct Listener {
    QLocalServer server;
    int connections = 0;
    QByteArray received;
    std::vector<std::unique_ptr<QLocalSocket>> sockets;

    explicit Listener(const QString& name) {
        QObject::connect(&server, &QLocalServer::newConnection, [this] {
            while (QLocalSocket* socket = server.nextPendingConnection()) {
                ++connections;
                sockets.emplace_back(socket);
                QObject::connect(socket, &QLocalSocket::readyRead, [this, socket] { received += socket->readAll(); });
            }
        });
        EXPECT_TRUE(server.listen(name)) << name.toStdString() << ": " << server.errorString().toStdString();
    }
    void settle() {
        for (int turn = 0; turn < 20; ++turn) {
            QCoreApplication::processEvents();
            for (auto& socket : sockets) {
                socket->waitForReadyRead(5);
            }
        }
    }
};

QString uniqueKey() { return QStringLiteral("carvex-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12); }

qulonglong me() { return static_cast<qulonglong>(::getuid()); }

QProcessEnvironment environment(const QString& runtime, const QString& temporary) {
    QProcessEnvironment env;
    if (!runtime.isEmpty()) {
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    }
    env.insert(QStringLiteral("TMPDIR"), temporary);
    return env;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        ASSERT_TRUE(runtime.isValid() && temporary.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(runtime.path()).constData(), 0700), 0);
    }
    QTemporaryDir runtime;
    QTemporaryDir temporary;
    const QString key = uniqueKey();
};

// Another user could make the socket at the shared, predictable place first: a launch no longer
// goes there, and finds its own instance in its runtime folder.
TEST_F(SingleInstanceTest, AListenerAtTheSharedPlaceReceivesNothing) {
    Listener squatter(key);  // a plain name: the shared temporary folder
    ASSERT_TRUE(squatter.server.fullServerName().startsWith(QDir::tempPath()));
    const QProcessEnvironment env = environment(runtime.path(), temporary.path());

    SingleInstance launch(key, me(), env);
    EXPECT_FALSE(launch.handOver({QStringLiteral("/tmp/pets.yaml")}, 300));

    SingleInstance running(key, me(), env);
    QStringList handedOver;
    ASSERT_TRUE(running.listen([&](const QStringList& paths) { handedOver = paths; }));
    EXPECT_EQ(running.socketPath(), runtime.path() + QLatin1Char('/') + key);
    EXPECT_TRUE(launch.handOver({QStringLiteral("/tmp/pets.yaml")}, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !handedOver.isEmpty(); }, 30'000));
    EXPECT_EQ(handedOver, QStringList{QStringLiteral("/tmp/pets.yaml")});

    squatter.settle();
    EXPECT_EQ(squatter.connections, 0);
    EXPECT_TRUE(squatter.received.isEmpty());
}

// A listener reached through a folder that is not the user's own and closed is never handed
// anything, and no instance listens there.
TEST_F(SingleInstanceTest, AFolderOfTheWrongModeOwnerOrKindIsRefused) {
    const QString own = temporary.filePath(QStringLiteral("carvex-%1").arg(me()));
    const QString elsewhere = temporary.filePath(QStringLiteral("elsewhere"));
    const struct {
        const char* name;
        QString runtime;          // empty: none
        qulonglong user;          // whose instance the launch looks for
        QString listenerFolder;   // where the hostile listener sits
        int mode;                 // of that folder
        bool link;                // the user's folder is a link to it
    } rows[] = {
        {"runtime folder open to others", runtime.path(), me(), runtime.path(), 0755, false},
        {"runtime folder of another user", runtime.path(), me() + 1, runtime.path(), 0700, false},
        {"own folder open to others", QString(), me(), own, 0711, false},
        {"own folder of another user", QString(), me() + 1, temporary.filePath(QStringLiteral("carvex-%1").arg(me() + 1)),
         0700, false},
        {"own folder a link", QString(), me(), elsewhere, 0700, true},
    };
    const auto removeOwn = [&own] {
        if (QFileInfo(own).isSymLink()) {
            QFile::remove(own);
        } else {
            QDir(own).removeRecursively();
        }
    };
    for (const auto& row : rows) {
        removeOwn();
        QDir(row.listenerFolder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(row.listenerFolder)) << row.name;
        ASSERT_EQ(::chmod(QFile::encodeName(row.listenerFolder).constData(), row.mode), 0) << row.name;
        if (row.link) {
            ASSERT_TRUE(QFile::link(row.listenerFolder, own)) << row.name;
        }
        auto hostile = std::make_unique<Listener>(row.listenerFolder + QLatin1Char('/') + key);
        const QProcessEnvironment env = environment(row.runtime, temporary.path());

        SingleInstance launch(key, row.user, env);
        EXPECT_FALSE(launch.handOver({QStringLiteral("/tmp/pets.yaml")}, 300)) << row.name;
        const std::optional<QString> path = launch.socketPath();
        EXPECT_FALSE(path && path->startsWith(row.listenerFolder + QLatin1Char('/'))) << row.name;
        hostile->settle();
        EXPECT_EQ(hostile->connections, 0) << row.name;
        EXPECT_TRUE(hostile->received.isEmpty()) << row.name;
        hostile.reset();
        removeOwn();
        ::chmod(QFile::encodeName(row.listenerFolder).constData(), 0700);
    }
    // Where the runtime folder is unfit, the instance keeps to a folder of its own, made closed.
    removeOwn();
    ASSERT_EQ(::chmod(QFile::encodeName(runtime.path()).constData(), 0755), 0);
    EXPECT_EQ(SingleInstance::socketFolder(me(), environment(runtime.path(), temporary.path())), own);
    EXPECT_TRUE(SingleInstance::isPrivateFolder(own, me()));
    ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0750), 0);
    EXPECT_EQ(SingleInstance::socketFolder(me(), environment(runtime.path(), temporary.path())), std::nullopt);
    SingleInstance refused(key, me(), environment(runtime.path(), temporary.path()));
    EXPECT_FALSE(refused.listen([](const QStringList&) {}));
}

// A peer of another user in a folder that passes is still handed nothing. Giving the folder to
// another user needs root, as the suite runs.
TEST_F(SingleInstanceTest, APeerOfAnotherUserIsHandedNothing) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a folder to another user needs root";
    }
    const qulonglong other = 4242;
    const QString folder = temporary.filePath(QStringLiteral("carvex-%1").arg(other));
    ASSERT_TRUE(QDir().mkpath(folder));
    Listener stranger(folder + QLatin1Char('/') + key);  // runs as root, not as `other`
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), static_cast<uid_t>(other), static_cast<gid_t>(other)), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0700), 0);
    const QProcessEnvironment env = environment(QString(), temporary.path());
    ASSERT_EQ(SingleInstance::socketFolder(other, env), folder);

    SingleInstance launch(key, other, env);
    EXPECT_FALSE(launch.handOver({QStringLiteral("/tmp/pets.yaml")}, 300));
    EXPECT_TRUE(QTest::qWaitFor([&] { return stranger.connections > 0; }, 30'000));
    stranger.settle();
    EXPECT_EQ(stranger.connections, 1);
    EXPECT_TRUE(stranger.received.isEmpty());

    // The peer's user as the launch read it.
    QLocalSocket probe;
    probe.connectToServer(folder + QLatin1Char('/') + key);
    ASSERT_TRUE(probe.waitForConnected(30'000));
    EXPECT_EQ(SingleInstance::peerUserId(probe.socketDescriptor()), me());
}

}  // namespace

// Files handed to the running application by later launches, through the real start-up code, the
// local socket, the event loop and real alerts (no script answers them).

#include "tests/Carvex/App/ScopedApplicationSetup.h"
#include "Carvex/App/AppDelegate.h"
#include "Carvex/App/Application.h"
#include "Carvex/Windows/DocumentController.h"
#include "platform/AlertPresenter.h"
#include "platform/BackgroundTask.h"
#include "platform/Document.h"
#include "platform/SingleInstance.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "platform/WindowController.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUuid>
#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace Carvex {
namespace {

QList<QMessageBox*> alertsOnScreen() {
    QList<QMessageBox*> shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
            shown.append(box);
        }
    }
    return shown;
}

// Runs the event loop from the test's own code until `done` holds. An alert that ran an event loop
// of its own would keep this code from running at all: a guard closes such an alert blind once this
// code has had no turn for a while, as the user had to, and notes it.
struct Loop {
    bool closedBlind = false;
    int mostAlertsAtOnce = 0;
    QElapsedTimer sinceTurn;  // since this code last had a turn

    bool until(const std::function<bool()>& done, int milliseconds = 20000) {
        const QDeadlineTimer deadline(milliseconds);
        while (!done()) {
            if (deadline.hasExpired()) {
                return false;
            }
            note();
            CarvexPlatform::BackgroundTask::waitForIdle();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        note();
        return true;
    }
    void note() {
        sinceTurn.start();
        mostAlertsAtOnce = std::max(mostAlertsAtOnce, static_cast<int>(alertsOnScreen().size()));
    }
    bool heldUp() const { return sinceTurn.isValid() && sinceTurn.elapsed() > 10'000; }
};

struct WelcomeProbe {
    int shown = 0;
    bool onScreen = false;
    AppDelegate::SharedWindows windows() {
        AppDelegate::SharedWindows shared;
        shared.showWelcome = [this] {
            ++shown;
            onScreen = true;
        };
        shared.closeWelcome = [this] { onScreen = false; };
        shared.welcomeWindow = []() -> QWidget* { return nullptr; };
        shared.showPreferences = [] {};
        shared.preferencesWindow = []() -> QWidget* { return nullptr; };
        shared.showUserManual = [] {};
        shared.helpWindow = []() -> QWidget* { return nullptr; };
        return shared;
    }
};

class HandOverTest : public ::testing::Test {
protected:
    // First, so that it goes last: after the application and its windows.
    CarvexTest::ScopedApplicationSetup applicationSetup;


protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        CarvexPlatform::AlertPresenter::shared().setScript(nullptr);
        Application::registerScenes();
        key = QStringLiteral("carvex-hand-over-") + QUuid::createUuid().toString(QUuid::Id128);
        application = std::make_unique<Application>(key, welcome.windows(), CarvexPlatform::Settings::isolated());
        ASSERT_TRUE(application->start({}));
        application->delegate()->setLog([](const QString&) {});
        ASSERT_TRUE(loop.until([&] { return welcome.shown == 1; }));
        // The guard: an alert nobody can reach from the test's code is closed blind after a while
        // (a while without a turn of the test's code: a loaded machine only makes the steps slow).
        guard.setInterval(500);
        QObject::connect(&guard, &QTimer::timeout, [this] {
            if (!loop.heldUp()) {
                return;
            }
            for (QMessageBox* box : alertsOnScreen()) {
                loop.closedBlind = true;
                box->reject();
            }
        });
    }
    void TearDown() override {
        guard.stop();
        for (QMessageBox* box : alertsOnScreen()) {
            box->reject();
        }
        if (application && application->delegate()) {
            for (CarvexPlatform::Document* document : documents()) {
                for (CarvexPlatform::WindowController* controller : document->windowControllers()) {
                    controller->closeWithoutAsking();
                }
            }
        }
        loop.until([] { return false; }, 200);
        application.reset();
    }

    std::vector<CarvexPlatform::Document*> documents() const {
        return application->delegate()->documentController()->documents();
    }
    QString writeFile(const QString& name, const QByteArray& data = "openapi: 3.0.3\ninfo:\n  title: T\n  version: '1'\npaths: {}\n") {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return path;
    }
    // Whether the running instance has taken `count` hand-overs and opened (or failed to open) each
    // of their files.
    bool handledAll(qsizetype count) const {
        return application->delegate()->handOversReceived() == count &&
               application->delegate()->handedOverFilesWaiting() == 0;
    }
    // What a second launch with these files does.
    void launchWith(const QStringList& paths) {
        Application second(key, welcome.windows(), CarvexPlatform::Settings::isolated());
        EXPECT_FALSE(second.start(paths)) << "the running instance takes the files";
    }
    // Answers the one alert on screen with a key, as a user would.
    void answerAlert(Qt::Key key) {
        const QList<QMessageBox*> shown = alertsOnScreen();
        ASSERT_EQ(shown.size(), 1);
        QTest::keyClick(shown.front(), key);
    }

    QTemporaryDir folder;
    WelcomeProbe welcome;
    Loop loop;
    QTimer guard;
    QString key;
    std::unique_ptr<Application> application;
};

// The alert of a failed hand-over ran its own event loop inside the socket's disconnect handler:
// the application froze behind it until a blind key press.
TEST_F(HandOverTest, TheSequenceFromTheFieldLeavesTheApplicationResponsive) {
    const QString first = writeFile(QStringLiteral("first.yaml"));
    const QString second = writeFile(QStringLiteral("second.yaml"));
    const QString missing = folder.filePath(QStringLiteral("missing.yaml"));
    guard.start();

    launchWith({first});
    ASSERT_TRUE(loop.until([&] { return documents().size() == 1; }));
    EXPECT_FALSE(welcome.onScreen) << "no welcome window left behind the document";
    launchWith({first});
    ASSERT_TRUE(loop.until([&] { return handledAll(2); })) << "the second hand-over is taken and done";
    EXPECT_EQ(documents().size(), 1u) << "an open file is brought forward, not opened again";
    EXPECT_EQ(welcome.shown, 1);
    EXPECT_FALSE(welcome.onScreen) << "no welcome window behind the documents";

    launchWith({second, missing});
    ASSERT_TRUE(loop.until([&] { return !alertsOnScreen().isEmpty(); })) << "the test's own code sees the alert";
    EXPECT_FALSE(loop.closedBlind);
    EXPECT_EQ(documents().size(), 2u);
    QMessageBox* alert = alertsOnScreen().front();
    EXPECT_TRUE(alert->text().contains(QStringLiteral("missing.yaml"))) << alert->text().toStdString();
    EXPECT_TRUE(alert->text().contains(QStringLiteral("could not be opened")));
    // Timers keep running and other windows keep working while the alert waits.
    bool timerRan = false;
    QTimer::singleShot(10, [&] { timerRan = true; });
    ASSERT_TRUE(loop.until([&] { return timerRan; }));
    answerAlert(Qt::Key_Return);
    ASSERT_TRUE(loop.until([] { return alertsOnScreen().isEmpty(); }));
    EXPECT_EQ(loop.mostAlertsAtOnce, 1);
    EXPECT_FALSE(loop.closedBlind);
    EXPECT_EQ(welcome.shown, 1);
    EXPECT_FALSE(welcome.onScreen);
}

TEST_F(HandOverTest, BadHandOversBringOneAlertAtATimeAndNoFreeze) {
    const QString good = writeFile(QStringLiteral("good.yaml"));
    const QString unreadable = writeFile(QStringLiteral("unreadable.yaml"));
    ::chmod(QFile::encodeName(unreadable).constData(), 0);
    const QString pipe = folder.filePath(QStringLiteral("pipe.yaml"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString directory = folder.filePath(QStringLiteral("folder.yaml"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.yaml")));
    QStringList many;
    for (int index = 0; index < 1000; ++index) {
        many.append(folder.filePath(QStringLiteral("none-%1.yaml").arg(index)));
    }
    const QString longPath = folder.filePath(QString(300, QLatin1Char('d')) + QLatin1Char('/') +
                                             QString(4200, QLatin1Char('n')) + QStringLiteral(".yaml"));
    guard.start();

    // Several launches in a row, each with its failures; the good file opens among them.
    launchWith(many);
    launchWith({directory, pipe, unreadable, good});
    launchWith({longPath});
    int alertsAnswered = 0;
    // All three taken, their files tried and their alerts answered: no alert can come after.
    auto allHandled = [&] {
        return handledAll(3) && CarvexPlatform::AlertPresenter::shared().alertsWaiting() == 0;
    };
    ASSERT_TRUE(loop.until([] { return !alertsOnScreen().isEmpty(); }));
    while (!alertsOnScreen().isEmpty()) {
        ASSERT_EQ(alertsOnScreen().size(), 1);
        if (alertsAnswered == 0) {
            QMessageBox* alert = alertsOnScreen().front();
            EXPECT_TRUE(alert->text().startsWith(QStringLiteral("1000 documents"))) << alert->text().toStdString();
            EXPECT_LT(alert->informativeText().count(QLatin1Char('\n')), 10) << "a short list";
        }
        answerAlert(alertsAnswered % 2 == 0 ? Qt::Key_Return : Qt::Key_Escape);
        ++alertsAnswered;
        ASSERT_TRUE(loop.until([] { return alertsOnScreen().isEmpty(); }));
        ASSERT_LT(alertsAnswered, 10) << "one alert per hand-over, not one per file";
        ASSERT_TRUE(loop.until([&] { return !alertsOnScreen().isEmpty() || allHandled(); }));
    }
    ASSERT_TRUE(allHandled());
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    EXPECT_EQ(alertsAnswered, 3);
    EXPECT_EQ(loop.mostAlertsAtOnce, 1);
    EXPECT_FALSE(loop.closedBlind);
    EXPECT_EQ(application->delegate()->handedOverFilesWaiting(), 0);
    // The good file, and the unreadable one where the tests run with every right.
    bool goodOpen = false;
    for (CarvexPlatform::Document* document : documents()) {
        goodOpen = goodOpen || document->filePath().endsWith(QStringLiteral("good.yaml"));
        EXPECT_FALSE(document->filePath().endsWith(QStringLiteral("pipe.yaml")));
        EXPECT_FALSE(document->filePath().endsWith(QStringLiteral("folder.yaml")));
    }
    EXPECT_TRUE(goodOpen);
    ::chmod(QFile::encodeName(unreadable).constData(), 0600);
}

// The instance is the user's on one display: a launch on another display starts its own.
TEST(SingleInstanceKeyTest, OneInstancePerUserAndDisplay) {
    auto environment = [](std::initializer_list<std::pair<const char*, const char*>> values) {
        QProcessEnvironment made;
        for (const auto& [name, value] : values) {
            made.insert(QString::fromLatin1(name), QString::fromLatin1(value));
        }
        return made;
    };
    using CarvexPlatform::SingleInstance;
    struct Row {
        const char* name;
        QString a;
        QString b;
        bool same;
    };
    const Row rows[] = {
        {"two X displays", SingleInstance::keyFor(1000, "xcb", environment({{"DISPLAY", ":0"}})),
         SingleInstance::keyFor(1000, "xcb", environment({{"DISPLAY", ":1"}})), false},
        {"a screen of one display", SingleInstance::keyFor(1000, "xcb", environment({{"DISPLAY", ":1"}})),
         SingleInstance::keyFor(1000, "xcb", environment({{"DISPLAY", ":1.0"}})), true},
        {"a remote display's screen", SingleInstance::keyFor(1000, "xcb", environment({{"DISPLAY", "host.example:10.0"}})),
         SingleInstance::keyFor(1000, "xcb", environment({{"DISPLAY", "host.example:10"}})), true},
        {"two users", SingleInstance::keyFor(1000, "xcb", environment({{"DISPLAY", ":0"}})),
         SingleInstance::keyFor(1001, "xcb", environment({{"DISPLAY", ":0"}})), false},
        {"two Wayland sessions",
         SingleInstance::keyFor(1000, "wayland", environment({{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}})),
         SingleInstance::keyFor(1000, "wayland", environment({{"WAYLAND_DISPLAY", "wayland-1"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}})),
         false},
        {"a Wayland socket named in full",
         SingleInstance::keyFor(1000, "wayland", environment({{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}})),
         SingleInstance::keyFor(1000, "wayland", environment({{"WAYLAND_DISPLAY", "/run/user/1000/wayland-0"}})), true},
        {"X and Wayland", SingleInstance::keyFor(1000, "xcb", environment({{"DISPLAY", ":0"}})),
         SingleInstance::keyFor(1000, "wayland", environment({{"DISPLAY", ":0"}})), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.a == row.b, row.same) << row.a.toStdString() << " " << row.b.toStdString();
        // A socket's name: short, one path component.
        EXPECT_LT(row.a.size(), 64);
        EXPECT_FALSE(row.a.contains(QLatin1Char('/')));
    }
}

}  // namespace
}  // namespace Carvex

// Quitting the real application from the keyboard, in a process of its own: the test runs this very
// binary again with a scenario in its environment, and that run goes through the application's own
// entry (`Application::main`) from the application object to the end of the process, where a quit
// used to crash while the application object was torn down.

#include "tests/Carvex/App/TypeKeys.h"
#include "Carvex/App/Application.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "platform/WindowTabHost.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace Carvex {
namespace {

constexpr const char* scenarioVariable = "CARVEX_QUIT_SCENARIO";
constexpr const char* filesVariable = "CARVEX_QUIT_FILES";
const QByteArray typed = "# typed before quitting ";

#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr qsizetype largeSave = 5 * 1024 * 1024;
#else
constexpr qsizetype largeSave = 50 * 1024 * 1024;
#endif

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray description(qsizetype size) {
    QByteArray text = "openapi: 3.0.3\ninfo:\n  title: Quit\n  version: '1'\npaths:\n";
    text.reserve(size + 256);
    for (int path = 0; text.size() < size; ++path) {
        const QByteArray number = QByteArray::number(path);
        text += "  /items/" + number + ":\n    get:\n      summary: Item " + number +
                "\n      responses:\n        '200':\n          description: OK\n";
    }
    return text;
}

// MARK: The child: the application with a script of keys

std::vector<Document*> openDocuments() {
    std::vector<Document*> documents;
    if (DocumentController* controller = DocumentController::instance()) {
        for (CarvexPlatform::Document* document : controller->documents()) {
            documents.push_back(dynamic_cast<Document*>(document));
        }
    }
    return documents;
}

EditorTextView* editorTextViewOf(const Document* document) {
    if (document == nullptr || document->windowControllers().empty()) {
        return nullptr;
    }
    auto* window = dynamic_cast<DocumentWindowController*>(document->windowControllers().front());
    auto* split = window ? dynamic_cast<SplitViewController*>(window->contentViewController()) : nullptr;
    EditorSplitViewController* editorSplit = split ? split->editorSplitViewController() : nullptr;
    auto* editor = editorSplit ? dynamic_cast<EditorViewController*>(editorSplit->editorViewController()) : nullptr;
    return editor ? editor->editorTextView() : nullptr;
}

// The first document's editor, shown, focused and in the active window; null until it is.
EditorTextView* focusFirstEditor(std::size_t documentCount) {
    const std::vector<Document*> documents = openDocuments();
    if (documents.size() != documentCount) {
        return nullptr;
    }
    EditorTextView* view = editorTextViewOf(documents.front());
    if (view == nullptr || view->textLength() == 0) {
        return nullptr;
    }
    QWidget* window = documents.front()->windowControllers().front()->window();
    CarvexPlatform::WindowTabHost::makeKeyAndOrderFront(window);
    QWidget* host = CarvexPlatform::WindowTabHost::hostOf(window);
    QApplication::setActiveWindow(host ? host : window);
    view->setFocus();
    return view->isVisible() ? view : nullptr;
}

void pressQuit() {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
}

// Steps run in turn on the application's loop, each polled until it answers true.
struct Script {
    std::vector<std::function<bool()>> steps;
    std::size_t next = 0;
    QDeadlineTimer deadline{200000};
    EditorTextView* view = nullptr;
};

Script& script() {
    static Script* const running = new Script();
    return *running;
}

void runScript() {
    Script& running = script();
    if (running.deadline.hasExpired()) {
        // Stuck, or the quit never came: the parent sees the status.
        qWarning("step %d of %d still waiting, %d documents open", int(running.next), int(running.steps.size()),
                 int(openDocuments().size()));
        for (const Document* document : openDocuments()) {
            qWarning() << document->displayName() << "edited" << document->isDocumentEdited() << "saving"
                       << document->isSaving();
        }
        QCoreApplication::exit(3);
        return;
    }
    if (running.next < running.steps.size() && running.steps[running.next]()) {
        ++running.next;
    }
    QTimer::singleShot(20, &runScript);
}

void scriptFor(const QByteArray& scenario) {
    Script& running = script();
    EditorTextView*& view = running.view;
    if (scenario == "tabs") {
        running.steps = {
            [&view] { return (view = focusFirstEditor(2)) != nullptr; },
            [&view] {
                QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
                CarvexTest::type(view, QString::fromUtf8(typed));
                return true;
            },
            [] {
                pressQuit();
                return true;
            },
        };
    } else if (scenario == "loading") {
        // The second file is long: Ctrl+Q comes while its text still loads.
        running.steps = {
            [&view] {
                const std::vector<Document*> documents = openDocuments();
                view = documents.size() == 2 ? editorTextViewOf(documents.back()) : nullptr;
                if (view == nullptr || !view->isLoading()) {
                    return false;
                }
                QApplication::setActiveWindow(view->window());
                view->setFocus();
                return true;
            },
            [&view] {
                if (!view->isLoading()) {
                    QCoreApplication::exit(4);  // too late for this case
                }
                pressQuit();
                return true;
            },
        };
    } else if (scenario == "saving") {
        // Ctrl+S on a long file, and Ctrl+Q while its bytes are written.
        running.steps = {
            [&view] { return (view = focusFirstEditor(1)) != nullptr && !view->isLoading(); },
            [&view] {
                QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
                CarvexTest::type(view, QString::fromUtf8(typed));
                return true;
            },
            [&view] {
                QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
                if (!openDocuments().front()->isSaving()) {
                    QCoreApplication::exit(4);  // the save must still be running for this case
                }
                pressQuit();
                return true;
            },
        };
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), &runScript, Qt::QueuedConnection);
}

void startScript() { scriptFor(qgetenv(scenarioVariable)); }

// Runs the application as its own entry does, with the files of the environment, and ends the
// process with its status.
[[noreturn]] void runChild() {
    std::vector<QByteArray> arguments{"carvex"};
    for (const QByteArray& path : qgetenv(filesVariable).split('\n')) {
        arguments.push_back(path);
    }
    std::vector<char*> argv;
    for (QByteArray& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(arguments.size());
    qAddPreRoutine(&startScript);
    std::exit(Application::main(argc, argv.data()));
}

// MARK: The parent

struct Outcome {
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    int exitCode = -1;
    QByteArray output;
};

Outcome runApplication(const QByteArray& scenario, const QStringList& files, const QTemporaryDir& folder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"home", "config", "data", "cache", "runtime", "tmp"}) {
        QDir(folder.path()).mkpath(QString::fromLatin1(name));
    }
    QFile::setPermissions(folder.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("HOME"), folder.filePath("home"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath("config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath("data"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), folder.filePath("cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.filePath("runtime"));
    environment.insert(QStringLiteral("TMPDIR"), folder.filePath("tmp"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QString::fromLatin1(scenarioVariable), QString::fromLatin1(scenario));
    environment.insert(QString::fromLatin1(filesVariable), files.join(QLatin1Char('\n')));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const QString test = QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
                         QLatin1Char('.') +
                         QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
    child.start(self, {QStringLiteral("--gtest_filter=") + test});
    Outcome outcome;
    if (!child.waitForFinished(280000)) {
        child.kill();
        child.waitForFinished();
        outcome.output = child.readAll();
        return outcome;
    }
    outcome.exitStatus = child.exitStatus();
    outcome.exitCode = child.exitCode();
    outcome.output = child.readAll();
    return outcome;
}

class QuitTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsSet(scenarioVariable)) {
            runChild();
        }
        ASSERT_TRUE(folder.isValid());
    }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    QTemporaryDir folder;
};

// Two documents in tabs of one window, one edited: Ctrl+Q saves the edit and ends the process
// normally.
TEST_F(QuitTest, CtrlQWithTwoTabsSavesTheEditAndExitsNormally) {
    const QByteArray original = description(2000);
    ASSERT_TRUE(writeFile(path("first.yaml"), original));
    ASSERT_TRUE(writeFile(path("second.yaml"), original));
    const Outcome outcome = runApplication("tabs", {path("first.yaml"), path("second.yaml")}, folder);
    EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << outcome.output.toStdString();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    EXPECT_EQ(readFile(path("first.yaml")), typed + original);
    EXPECT_EQ(readFile(path("second.yaml")), original);
}

// Ctrl+Q while a long file still loads into its window: a normal end, and the file as it was.
TEST_F(QuitTest, CtrlQWhileALongFileLoadsExitsNormally) {
    const QByteArray shortOne = description(2000);
    const QByteArray longOne = description(10 * 1024 * 1024);
    ASSERT_TRUE(writeFile(path("short.yaml"), shortOne));
    ASSERT_TRUE(writeFile(path("long.yaml"), longOne));
    const Outcome outcome = runApplication("loading", {path("short.yaml"), path("long.yaml")}, folder);
    EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << outcome.output.toStdString();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    EXPECT_TRUE(readFile(path("long.yaml")) == longOne) << "the long file was written over";
    EXPECT_EQ(readFile(path("short.yaml")), shortOne);
}

// Ctrl+Q while a long file's save is still writing: the process waits for it, and the file holds
// the whole edited text.
TEST_F(QuitTest, CtrlQWhileALongSaveWritesKeepsTheWholeFile) {
    const QByteArray original = description(largeSave);
    ASSERT_TRUE(writeFile(path("long.yaml"), original));
    const Outcome outcome = runApplication("saving", {path("long.yaml")}, folder);
    EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << outcome.output.toStdString();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    const QByteArray saved = readFile(path("long.yaml"));
    EXPECT_EQ(saved.size(), typed.size() + original.size());
    EXPECT_TRUE(saved == typed + original) << "the saved file is not the edited text";
}

}  // namespace
}  // namespace Carvex

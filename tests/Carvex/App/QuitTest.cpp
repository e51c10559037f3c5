// Quitting the real application from the keyboard, in a process of its own: the test runs this very
// binary again with a scenario in its environment, and that run goes through the application's own
// entry (`Application::main`) from the application object to the end of the process, where a quit
// used to crash while the application object was torn down.

#include "tests/Carvex/App/ApplicationWindows.h"
#include "tests/Carvex/App/TypeKeys.h"
#include "Carvex/App/Application.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Manual/HelpWindowController.h"
#include "Carvex/Preferences/PreferencesWindowController.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "platform/DocumentController.h"
#include "platform/WindowTabHost.h"

#include <QApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {
namespace {

using CarvexTest::editorTextViewOf;

constexpr const char* scenarioVariable = "CARVEX_QUIT_SCENARIO";
constexpr const char* filesVariable = "CARVEX_QUIT_FILES";
constexpr const char* signalVariable = "CARVEX_QUIT_SIGNAL";
const QByteArray typed = "# typed before quitting ";
const QByteArray replaced = "openapi: 3.0.3\ninfo:\n  title: Put back by another program\n  version: '1'\npaths: {}\n";
const QByteArray untitledText = "openapi: 3.0.3\ninfo:\n  title: Never saved\n  version: '1'\npaths: {}\n";

#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr qsizetype largeSave = 5 * 1024 * 1024;
#else
constexpr qsizetype largeSave = 16 * 1024 * 1024;
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

// The document's editor, shown, focused and in the active window; null until it is.
EditorTextView* focusEditorOf(Document* document) {
    EditorTextView* view = editorTextViewOf(document);
    if (view == nullptr || view->textLength() == 0) {
        return nullptr;
    }
    QWidget* window = document->windowControllers().front()->window();
    CarvexPlatform::WindowTabHost::makeKeyAndOrderFront(window);
    QWidget* host = CarvexPlatform::WindowTabHost::hostOf(window);
    QApplication::setActiveWindow(host ? host : window);
    view->setFocus();
    return view->isVisible() ? view : nullptr;
}

// The first document's editor, once `documentCount` documents are open; see `focusEditorOf`.
EditorTextView* focusFirstEditor(std::size_t documentCount) {
    const std::vector<Document*> documents = openDocuments();
    return documents.size() == documentCount ? focusEditorOf(documents.front()) : nullptr;
}

void pressQuit() {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
}

// The modal window on screen (a sheet, an alert), or null.
QWidget* modalWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowModality() != Qt::NonModal) {
            return window;
        }
    }
    return nullptr;
}

// The window made key, and a key pressed where its keyboard focus is.
void pressIn(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QApplication::setActiveWindow(window);
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key, modifiers);
}

// Presses the button of the alert on screen titled `title`; false while there is none.
bool pressAlertButton(const QString& title) {
    auto* alert = qobject_cast<QMessageBox*>(modalWindow());
    for (QAbstractButton* button : alert ? alert->buttons() : QList<QAbstractButton*>()) {
        if (button->text() == title) {
            button->click();
            return true;
        }
    }
    return false;
}

// A step: Ctrl+Q in the modal window on screen, kept in `asked`; false while there is none.
std::function<bool()> quitFromTheModalWindow(std::shared_ptr<QPointer<QWidget>> asked) {
    return [asked] {
        *asked = modalWindow();
        if (*asked == nullptr) {
            return false;
        }
        pressIn(*asked, Qt::Key_Q);
        return true;
    };
}

// A step: `asked` must have given way to the quit's own question, whose button `title` is pressed.
std::function<bool()> answerTheQuitInstead(std::shared_ptr<QPointer<QWidget>> asked, QString title) {
    return [asked, title] {
        if (*asked != nullptr && modalWindow() == *asked) {
            QCoreApplication::exit(6);
        }
        return pressAlertButton(title);
    };
}

// The open document without a file (made from the new-document sheet), or null.
Document* untitledDocument() {
    for (Document* document : openDocuments()) {
        if (!document->hasFile()) {
            return document;
        }
    }
    return nullptr;
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
    } else if (scenario == "sheet") {
        // The first document edited, then File > New: Ctrl+Q from the sheet.
        running.steps = {
            [&view] { return (view = focusFirstEditor(1)) != nullptr && !view->isLoading(); },
            [&view] {
                QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
                CarvexTest::type(view, QString::fromUtf8(typed));
                QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
                return true;
            },
            [] {
                QWidget* sheet = modalWindow();
                if (sheet == nullptr) {
                    return false;
                }
                pressIn(sheet, Qt::Key_Q);
                return true;
            },
        };
    } else if (scenario == "question") {
        // A new untitled document, edited, asks on Ctrl+W; Ctrl+Q from that question asks again, and
        // Cancel keeps the application running; the next Ctrl+Q ends it with Don't Save.
        auto untitledView = std::make_shared<EditorTextView*>(nullptr);
        auto asked = std::make_shared<QPointer<QWidget>>();
        running.steps = {
            [&view] { return (view = focusFirstEditor(1)) != nullptr && !view->isLoading(); },
            [&view] {
                QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
                return true;
            },
            [] {
                QWidget* sheet = modalWindow();
                if (sheet == nullptr) {
                    return false;
                }
                pressIn(sheet, Qt::Key_Return, Qt::NoModifier);
                return true;
            },
            [untitledView] {
                EditorTextView* untitled = editorTextViewOf(untitledDocument());
                if (untitled == nullptr || !untitled->isVisible() || modalWindow() != nullptr) {
                    return false;
                }
                QApplication::setActiveWindow(untitled->window());
                untitled->setFocus();
                QTest::keyClick(untitled, Qt::Key_End, Qt::ControlModifier);
                CarvexTest::type(untitled, QStringLiteral("\n# kept in memory only\n"));
                QTest::keyClick(untitled, Qt::Key_W, Qt::ControlModifier);
                *untitledView = untitled;
                return true;
            },
            quitFromTheModalWindow(asked),
            answerTheQuitInstead(asked, QStringLiteral("Cancel")),  // the question of Ctrl+W gives way
            [untitledView] {
                if (modalWindow() != nullptr || untitledDocument() == nullptr) {
                    QCoreApplication::exit(5);  // Cancel must keep the document open
                }
                pressIn((*untitledView)->window(), Qt::Key_Q);
                return true;
            },
            [] { return pressAlertButton(QStringLiteral("Don\u2019t Save")); },
        };
    } else if (scenario == "conflict") {
        // The first document edited, and its file replaced meanwhile: Ctrl+Q from the conflict alert
        // leaves the question to the quit's own save, and Reload there keeps the file as replaced.
        auto asked = std::make_shared<QPointer<QWidget>>();
        running.steps = {
            [&view] { return (view = focusFirstEditor(1)) != nullptr && !view->isLoading(); },
            [&view] {
                QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
                CarvexTest::type(view, QString::fromUtf8(typed));
                Document* document = openDocuments().front();
                QFile file(document->filePath());
                if (!file.open(QIODevice::WriteOnly) || file.write(replaced) != replaced.size() ||
                    !file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-1), QFileDevice::FileModificationTime)) {
                    QCoreApplication::exit(7);
                }
                file.close();
                document->checkForExternalChange();
                return true;
            },
            quitFromTheModalWindow(asked),
            answerTheQuitInstead(asked, QStringLiteral("Reload")),  // the alert gives way
            [&view] {
                const std::vector<Document*> documents = openDocuments();
                if (documents.size() != 1 || documents.front()->isDocumentEdited() || modalWindow() != nullptr) {
                    return false;
                }
                pressIn(view->window(), Qt::Key_Q);
                return true;
            },
        };
    } else if (scenario == "manual closed") {
        // The first document edited, the manual shown and closed again: Ctrl+Q from the document.
        running.steps = {
            [&view] { return (view = focusFirstEditor(1)) != nullptr && !view->isLoading(); },
            [&view] {
                QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
                CarvexTest::type(view, QString::fromUtf8(typed));
                QTest::keyClick(view, Qt::Key_F1);
                return true;
            },
            [] {
                QWidget* window = HelpWindowController::shared().window();
                if (!window->isVisible()) {
                    return false;
                }
                pressIn(window, Qt::Key_W);
                return true;
            },
            [&view] {
                if (HelpWindowController::shared().window()->isVisible()) {
                    return false;
                }
                pressIn(view->window(), Qt::Key_Q);
                return true;
            },
        };
    } else if (scenario.startsWith("signal")) {
        // Keys typed into every open document, and the signal sent to the process at once, long
        // before autosave would come. Twice: the signal comes again while the save it started
        // writes. While saving: Ctrl+S first, and the signal while that save writes. Conflict:
        // another program replaced the first file meanwhile, and no one is there to say whether to
        // write over it; with the alert: its question is on screen. Untitled: a new document too,
        // which has no file to go to.
        const int number = qEnvironmentVariableIntValue(signalVariable);
        const bool twice = scenario == "signalTwice";
        const bool whileSaving = scenario == "signalWhileSaving";
        const bool conflict = scenario.startsWith("signalConflict");
        const bool conflictAlert = scenario == "signalConflictAlert";
        const bool untitled = scenario == "signalUntitled";
        const bool folderGone = scenario == "signalFolderGone";
        const std::size_t files = qgetenv(filesVariable).split('\n').size();
        running.steps = {
            [&view, files] { return (view = focusFirstEditor(files)) != nullptr && !view->isLoading(); },
            [untitled] {
                if (untitled) {
                    DocumentController::instance()->openGeneratedDocument(QString::fromUtf8(untitledText),
                                                                         DocumentFormat::yaml);
                }
                return true;
            },
            [typedInto = std::make_shared<std::size_t>(0)] {
                // Each document in front in turn, the keys typed at its start.
                const std::vector<Document*> documents = openDocuments();
                if (*typedInto < documents.size()) {
                    EditorTextView* each = focusEditorOf(documents[*typedInto]);
                    if (each == nullptr || each->isLoading()) {
                        return false;
                    }
                    QTest::keyClick(each, Qt::Key_Home, Qt::ControlModifier);
                    CarvexTest::type(each, QString::fromUtf8(typed));
                    ++*typedInto;
                }
                return *typedInto == documents.size();
            },
            [conflict, conflictAlert, folderGone] {
                if (folderGone) {
                    // The file's folder becomes a regular file: no save can go there, root's neither.
                    const QString documents = QFileInfo(openDocuments().front()->filePath()).absolutePath();
                    if (!QDir(documents).removeRecursively() || !writeFile(documents, "not a folder")) {
                        QCoreApplication::exit(7);
                    }
                }
                if (conflict) {
                    Document* document = openDocuments().front();
                    QFile file(document->filePath());
                    if (!file.open(QIODevice::WriteOnly) || file.write(replaced) != replaced.size() ||
                        !file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-1),
                                          QFileDevice::FileModificationTime)) {
                        QCoreApplication::exit(7);
                    }
                    file.close();
                    if (conflictAlert) {
                        document->checkForExternalChange();
                    }
                }
                return true;
            },
            [conflictAlert] { return !conflictAlert || modalWindow() != nullptr; },
            [number, twice, whileSaving] {
                if (whileSaving) {
                    QTest::keyClick(focusEditorOf(openDocuments().front()), Qt::Key_S, Qt::ControlModifier);
                    if (!openDocuments().front()->isSaving()) {
                        QCoreApplication::exit(4);  // the save must still be running for this case
                    }
                }
                ::kill(::getpid(), number);
                if (twice) {
                    const QDeadlineTimer deadline(60000);
                    while (!openDocuments().front()->isSaving() && !deadline.hasExpired()) {
                        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                    }
                    if (!openDocuments().front()->isSaving()) {
                        QCoreApplication::exit(4);  // the save must still be running for this case
                    }
                    ::kill(::getpid(), number);
                }
                return true;
            },
        };
    } else if (scenario == "unopenable") {
        // The file given at launch is refused: one Ctrl+Q from its alert ends the application.
        running.steps = {
            [] {
                auto* alert = qobject_cast<QMessageBox*>(modalWindow());
                if (alert == nullptr || !alert->text().contains(QStringLiteral("could not be opened"))) {
                    return false;
                }
                pressIn(alert, Qt::Key_Q);
                script().deadline = QDeadlineTimer(60000);  // the quit, not a second key, ends it
                return true;
            },
        };
    } else if (scenario == "preferences" || scenario == "manual") {
        // The first document edited, then the preferences or the manual shown: Ctrl+Q from there.
        const bool preferences = scenario == "preferences";
        running.steps = {
            [&view] { return (view = focusFirstEditor(1)) != nullptr && !view->isLoading(); },
            [&view, preferences] {
                QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
                CarvexTest::type(view, QString::fromUtf8(typed));
                if (preferences) {
                    QTest::keyClick(view, Qt::Key_Comma, Qt::ControlModifier);
                } else {
                    QTest::keyClick(view, Qt::Key_F1);
                }
                return true;
            },
            [preferences] {
                // Both made by the key before.
                QWidget* window = preferences ? PreferencesWindowController::shared().window()
                                              : HelpWindowController::shared().window();
                if (!window->isVisible()) {
                    return false;
                }
                pressIn(window, Qt::Key_Q);
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
    // How often a file was renamed into the folder under each name while the application ran: each
    // save renames its temporary file over the document's.
    std::map<QString, int> renamesOnto;
};

// Watches a folder for files renamed into it (a save's last step), from outside the application.
class RenameCount {
public:
    explicit RenameCount(const QString& folder) : descriptor_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (descriptor_ >= 0) {
            // Both halves of a rename: the queue folds an event into the one before when they are
            // alike, which two renames onto one name in a row would be.
            ::inotify_add_watch(descriptor_, QFile::encodeName(folder).constData(), IN_MOVED_FROM | IN_MOVED_TO);
        }
    }
    ~RenameCount() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    RenameCount(const RenameCount&) = delete;
    RenameCount& operator=(const RenameCount&) = delete;

    std::map<QString, int> read() const {
        std::map<QString, int> counts;
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t length; descriptor_ >= 0 && (length = ::read(descriptor_, buffer, sizeof buffer)) > 0;) {
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                if ((event->mask & IN_MOVED_TO) != 0 && event->len > 0) {
                    ++counts[QFile::decodeName(event->name)];
                }
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return counts;
    }

private:
    int descriptor_;
};

// Runs the application on `files` in a process of its own, with its own folders in `folder`; those
// named in `blocked` ("data", "tmp") lie under a regular file, so that nothing can be written there.
// A `fileSizeLimit` limits the files the process may write (`ulimit -f`).
Outcome runApplication(const QByteArray& scenario, const QStringList& files, const QTemporaryDir& folder,
                       int signal = 0, const QStringList& blocked = {}, rlim_t fileSizeLimit = RLIM_INFINITY) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The child runs its one case whichever shard ran the parent.
    for (const char* sharding : {"GTEST_TOTAL_SHARDS", "GTEST_SHARD_INDEX", "GTEST_SHARD_STATUS_FILE"}) {
        environment.remove(QString::fromLatin1(sharding));
    }
    for (const char* name : {"home", "config", "data", "cache", "runtime", "tmp"}) {
        QDir(folder.path()).mkpath(QString::fromLatin1(name));
    }
    if (!blocked.isEmpty()) {
        writeFile(folder.filePath(QStringLiteral("blocked")), "not a folder");
    }
    const auto place = [&folder, &blocked](const QString& name) {
        return folder.filePath(blocked.contains(name) ? QStringLiteral("blocked/") + name : name);
    };
    QFile::setPermissions(folder.filePath("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("HOME"), folder.filePath("home"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath("config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), place(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), folder.filePath("cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.filePath("runtime"));
    environment.insert(QStringLiteral("TMPDIR"), place(QStringLiteral("tmp")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QString::fromLatin1(scenarioVariable), QString::fromLatin1(scenario));
    environment.insert(QString::fromLatin1(filesVariable), files.join(QLatin1Char('\n')));
    environment.insert(QString::fromLatin1(signalVariable), QString::number(signal));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const QString test = QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
                         QLatin1Char('.') +
                         QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
    if (fileSizeLimit != RLIM_INFINITY) {
        child.setChildProcessModifier([fileSizeLimit] {
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = fileSizeLimit;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    const RenameCount renames(folder.path());
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
    outcome.renamesOnto = renames.read();
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
    Outcome outcome = runApplication("saving", {path("long.yaml")}, folder);
    EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << outcome.output.toStdString();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    const QByteArray saved = readFile(path("long.yaml"));
    EXPECT_EQ(saved.size(), typed.size() + original.size());
    EXPECT_TRUE(saved == typed + original) << "the saved file is not the edited text";
    EXPECT_EQ(outcome.renamesOnto[QStringLiteral("long.yaml")], 1) << "the same text was written again";
}

// What is left in the folder besides the files the test wrote: nothing may be saved from a cancelled
// sheet or a document the user chose not to save.
QStringList filesBesides(const QTemporaryDir& folder, const QStringList& written) {
    QStringList others = QDir(folder.path()).entryList(QDir::Files);
    for (const QString& name : written) {
        others.removeAll(name);
    }
    return others;
}

// Ctrl+Q from the open windows besides the documents: each ends the process normally, and the edit
// made before is saved (the document autosaves in place). The manual's page goes before its
// profile, whether the manual is still open or was closed: the web engine says so when it ends
// with a page left.
TEST_F(QuitTest, CtrlQFromASheetOrAnotherWindowSavesTheEditAndExitsNormally) {
    std::vector<QByteArray> scenarios = {"sheet", "preferences"};
#if !defined(__SANITIZE_ADDRESS__)
    // The manual's web engine trips the address sanitizer in its own code: checked in the plain build.
    scenarios.push_back("manual");
    scenarios.push_back("manual closed");
#endif
    const QByteArray original = description(2000);
    for (const QByteArray& scenario : scenarios) {
        SCOPED_TRACE(scenario.toStdString());
        QTemporaryDir each;
        ASSERT_TRUE(each.isValid());
        const QString file = each.filePath(QStringLiteral("doc.yaml"));
        ASSERT_TRUE(writeFile(file, original));
        const Outcome outcome = runApplication(scenario, {file}, each);
        EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << outcome.output.toStdString();
        EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
        EXPECT_EQ(readFile(file), typed + original);
        EXPECT_EQ(filesBesides(each, {QStringLiteral("doc.yaml")}), QStringList());
        EXPECT_FALSE(outcome.output.contains("Release of profile")) << outcome.output.toStdString();
    }
}

// Ctrl+Q while a close question is open: the quit asks again for the edited untitled document, Cancel
// keeps it open, and Don't Save on the next Ctrl+Q ends the process with nothing written.
TEST_F(QuitTest, CtrlQFromACloseQuestionAsksAgainAndCancelKeepsTheApplication) {
    const QByteArray original = description(2000);
    ASSERT_TRUE(writeFile(path("doc.yaml"), original));
    const Outcome outcome = runApplication("question", {path("doc.yaml")}, folder);
    EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << outcome.output.toStdString();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    EXPECT_EQ(readFile(path("doc.yaml")), original);
    EXPECT_EQ(filesBesides(folder, {QStringLiteral("doc.yaml")}), QStringList());
}

// Ctrl+Q while the alert about a file replaced under an edited document is open: the alert decides
// nothing (it would keep the edit to be saved over the file); the quit's save asks again, and Reload
// there keeps the file as the other program left it.
TEST_F(QuitTest, CtrlQFromTheConflictAlertAsksAgainAndWritesNothingUnasked) {
    ASSERT_TRUE(writeFile(path("doc.yaml"), description(2000)));
    const Outcome outcome = runApplication("conflict", {path("doc.yaml")}, folder);
    EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << outcome.output.toStdString();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    EXPECT_EQ(readFile(path("doc.yaml")), replaced);
}

// The recovery files the application left in the data folder of a run (`runApplication`).
QStringList recoveryFiles(const QTemporaryDir& folder) {
    return QDir(folder.filePath(QStringLiteral("data/Carvex/Recovered"))).entryList(QDir::Files | QDir::Hidden);
}

// The recovery file of a document in `folder`: "<document> (recovered <time>).<extension>".
std::optional<QString> recoveryFileOf(const QString& folder, const QString& document, const QString& extension) {
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(document) +
        QStringLiteral(R"( \(recovered \d{4}-\d\d-\d\d \d\d-\d\d-\d\d\)\.)") +
        QRegularExpression::escape(extension)));
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (pattern.match(name).hasMatch()) {
            return QDir(folder).filePath(name);
        }
    }
    return std::nullopt;
}

// The permission bits of a file.
unsigned modeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// The recent documents a run left in its settings, newest first.
QStringList recentDocuments(const QTemporaryDir& folder) {
    const QSettings settings(folder.filePath(QStringLiteral("config/Carvex/Carvex.conf")), QSettings::IniFormat);
    return settings.value(CarvexPlatform::DocumentController::recentDocumentsKey).toStringList();
}

// A signal that asks the process to end (a logout, a shutdown, a closed terminal) ends it as Quit
// would, without asking: the keys typed just before are on disk, each file written once, and the
// status is 0. Sent again while the save of a long file writes, it does not cut the save short: the
// file is whole. A file another program replaced meanwhile is not written over unasked, whether its
// alert is on screen or the save finds it, and nothing waits for an answer: the edits go to a
// recovery file of their own in the data folder, as do those of a document that has no file. Such a
// file is the user's alone, named on standard error and among the recent documents.
TEST_F(QuitTest, ASignalSavesTheLastKeysAndExitsNormally) {
    struct Case {
        const char* name;
        int signal;
        QByteArray scenario;
        qsizetype size;
        int files;
        // What the first file holds at the end: the edits, or what another program put there (its
        // edits recovered).
        enum class First { edited, replaced } first;
        // Where the edits of a document were recovered: its name, and the text.
        std::vector<std::pair<QString, QByteArray>> recovered;
        // The files' extension, which the recovery files keep.
        QString extension = QStringLiteral("yaml");
    };
    const QByteArray original = description(2000);
    const std::vector<Case> cases = {
        {"SIGTERM", SIGTERM, "signal", 2000, 1, Case::First::edited, {}},
        {"SIGHUP", SIGHUP, "signal", 2000, 1, Case::First::edited, {}},
        {"SIGINT", SIGINT, "signal", 2000, 1, Case::First::edited, {}},
        {"SIGTERM with two edited documents", SIGTERM, "signal", 2000, 2, Case::First::edited, {}},
        {"SIGTERM twice during a long save", SIGTERM, "signalTwice", largeSave, 1, Case::First::edited, {}},
        {"SIGTERM during a long save", SIGTERM, "signalWhileSaving", largeSave, 1, Case::First::edited, {}},
        {"SIGTERM over a file replaced on disk", SIGTERM, "signalConflict", 2000, 1, Case::First::replaced,
         {{QStringLiteral("doc"), typed + original}}},
        {"SIGTERM while the conflict alert is up", SIGTERM, "signalConflictAlert", 2000, 1, Case::First::replaced,
         {{QStringLiteral("doc"), typed + original}}},
        {"SIGTERM over a .yml file replaced on disk", SIGTERM, "signalConflict", 2000, 1, Case::First::replaced,
         {{QStringLiteral("doc"), typed + original}}, QStringLiteral("yml")},
        {"SIGTERM with an edited untitled document", SIGTERM, "signalUntitled", 2000, 1, Case::First::edited,
         {{QStringLiteral("Untitled"), typed + untitledText}}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        QTemporaryDir own;
        ASSERT_TRUE(own.isValid());
        const QByteArray text = description(each.size);
        QStringList files;
        QStringList names;
        for (int index = 0; index < each.files; ++index) {
            names.append((index == 0 ? QStringLiteral("doc.") : QStringLiteral("doc %1.").arg(index + 1)) +
                         each.extension);
            files.append(own.filePath(names.back()));
            ASSERT_TRUE(writeFile(files.back(), text));
        }
        Outcome outcome = runApplication(each.scenario, files, own, each.signal);
        EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << outcome.output.toStdString();
        EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
        for (int index = 0; index < each.files; ++index) {
            SCOPED_TRACE(names[index].toStdString());
            const Case::First holds = index == 0 ? each.first : Case::First::edited;
            const QByteArray saved = readFile(files[index]);
            const QByteArray expected = holds == Case::First::replaced ? replaced : typed + text;
            EXPECT_EQ(saved.size(), expected.size());
            EXPECT_TRUE(saved == expected) << "the file is not what it should be";
            EXPECT_EQ(outcome.renamesOnto[names[index]], holds == Case::First::edited ? 1 : 0)
                << "times the file was written";
        }
        EXPECT_EQ(filesBesides(own, names), QStringList());

        const QString recoveryFolder = own.filePath(QStringLiteral("data/Carvex/Recovered"));
        const QStringList recovery = recoveryFiles(own);
        EXPECT_EQ(recovery.size(), static_cast<qsizetype>(each.recovered.size())) << recovery.join(", ").toStdString();
        for (const auto& [document, expected] : each.recovered) {
            SCOPED_TRACE(document.toStdString());
            const std::optional<QString> found = recoveryFileOf(recoveryFolder, document, each.extension);
            if (!found) {
                ADD_FAILURE() << "no recovery file among " << recovery.join(", ").toStdString();
                continue;
            }
            const QString& path = *found;
            EXPECT_TRUE(readFile(path) == expected) << "the recovery file does not hold the edits";
            EXPECT_EQ(modeOf(path), 0600);
            EXPECT_EQ(modeOf(recoveryFolder), 0700);
            EXPECT_TRUE(outcome.output.contains(QFile::encodeName(path))) << outcome.output.toStdString();
            EXPECT_TRUE(recentDocuments(own).contains(path)) << recentDocuments(own).join(", ").toStdString();
        }
    }
}

// A signal with nowhere to keep the edits: not their file (whose folder has become a regular file),
// not the data folder. The temporary folder keeps them, as the data folder would have, and the status
// is 0; with `$TMPDIR` blocked too, `/tmp` does. Where no file can take them (the process may write
// no file that large), they are lost, standard error says so, and so does the status.
TEST_F(QuitTest, ASignalWithNowhereToKeepTheEditsTriesTheTemporaryFolderThenFails) {
    const struct {
        const char* name;
        QStringList blocked;
        rlim_t fileSizeLimit;
        // The folder that keeps the edits, none when they are lost.
        std::optional<QString> keptIn;
    } cases[] = {
        {"the temporary folder keeps them", {QStringLiteral("data")}, RLIM_INFINITY, QStringLiteral("tmp")},
        {"/tmp keeps them", {QStringLiteral("data"), QStringLiteral("tmp")}, RLIM_INFINITY, QStringLiteral("/tmp")},
        {"nowhere at all", {QStringLiteral("data"), QStringLiteral("tmp")}, 1024, std::nullopt},
    };
    const QByteArray text = description(2000);
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        QTemporaryDir own;
        ASSERT_TRUE(own.isValid());
        ASSERT_TRUE(QDir(own.path()).mkdir(QStringLiteral("documents")));
        // A name of its own: /tmp is shared.
        const QString name = QStringLiteral("doc-") + QFileInfo(own.path()).fileName();
        const QString file = own.filePath(QStringLiteral("documents/") + name + QStringLiteral(".yaml"));
        ASSERT_TRUE(writeFile(file, text));
        const QString temporary = each.keptIn ? QDir(own.path()).filePath(*each.keptIn) : own.filePath("tmp");
        // Others' files of the shared folder are theirs.
        const auto halfWritten = [&temporary] {
            return QDir(temporary).entryList({QStringLiteral(".recovering*")}, QDir::Files | QDir::Hidden);
        };
        const QStringList before = halfWritten();
        const Outcome outcome =
            runApplication("signalFolderGone", {file}, own, SIGTERM, each.blocked, each.fileSizeLimit);
        const std::string output = outcome.output.toStdString();
        EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << output;
        EXPECT_EQ(outcome.exitCode, each.keptIn ? 0 : AppDelegate::editsLostExitStatus) << output;
        const std::optional<QString> kept = recoveryFileOf(temporary, name, QStringLiteral("yaml"));
        ASSERT_EQ(kept.has_value(), each.keptIn.has_value()) << output;
        if (kept) {
            EXPECT_TRUE(readFile(*kept) == typed + text) << "the kept file does not hold the edits";
            EXPECT_EQ(modeOf(*kept), 0600);
            EXPECT_TRUE(outcome.output.contains(QFile::encodeName(*kept))) << output;
            EXPECT_TRUE(recentDocuments(own).contains(*kept)) << recentDocuments(own).join(", ").toStdString();
            if (!kept->startsWith(own.path())) {
                QFile::remove(*kept);
            }
        } else {
            EXPECT_TRUE(outcome.output.contains(QFile::encodeName(QStringLiteral("The edits to %1.yaml are lost").arg(name))))
                << output;
        }
        EXPECT_EQ(halfWritten(), before);
    }
}

// A file that is not text given at launch: its alert is on screen over the welcome window, and one
// Ctrl+Q there ends the application normally.
TEST_F(QuitTest, CtrlQFromTheAlertOfAFileThatCouldNotBeOpenedExitsNormally) {
    QByteArray bytes;
    for (int index = 0; index < 4096; ++index) {
        bytes.append(static_cast<char>(index * 37 % 256));
    }
    ASSERT_TRUE(writeFile(path("random.bin"), bytes));
    const Outcome outcome = runApplication("unopenable", {path("random.bin")}, folder);
    EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit) << outcome.output.toStdString();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    EXPECT_EQ(readFile(path("random.bin")), bytes);
}

}  // namespace
}  // namespace Carvex

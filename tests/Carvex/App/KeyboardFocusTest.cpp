// The document just shown takes the keys, however it was opened: through the real start-up code,
// the local socket of a second launch, the document controller, the windows and their tabs, and
// key events sent where the application sends them.

#include "tests/Carvex/App/ApplicationWindows.h"
#include "tests/Carvex/App/ScopedApplicationSetup.h"
#include "tests/Carvex/App/TypeKeys.h"
#include "tests/Carvex/App/WaitUntil.h"
#include "Carvex/App/AppDelegate.h"
#include "Carvex/App/Application.h"
#include "Carvex/Windows/DocumentController.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertScript.h"
#include "platform/Document.h"
#include "platform/FilePanel.h"
#include "platform/MainMenu.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMetaObject>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace Carvex {
namespace {

using CarvexTest::editorTextViewOf;
using CarvexTest::noSharedWindows;
using CarvexTest::waitUntil;

const QByteArray description = "openapi: 3.0.3\ninfo:\n  title: T\n  version: '1'\npaths: {}\n";

// What a row works with: the running application, a second launch, and two files.
struct Launch {
    QString key;
    QString first;
    QString second;
    AppDelegate::SharedWindows windows = noSharedWindows();
    std::shared_ptr<CarvexPlatform::FilePanelScript> panels = std::make_shared<CarvexPlatform::FilePanelScript>();
    std::unique_ptr<Application> application;

    DocumentController& documents() const { return *application->delegate()->documentController(); }
    void start(const QStringList& paths) {
        application = std::make_unique<Application>(key, windows, CarvexPlatform::Settings::isolated());
        EXPECT_TRUE(application->start(paths));
    }
    // What a second launch with these files does.
    void handOver(const QStringList& paths) const {
        Application later(key, noSharedWindows(), CarvexPlatform::Settings::isolated());
        EXPECT_FALSE(later.start(paths)) << "the running instance takes the files";
    }
    // The document of `path` once its text is on screen (its tab the current one), or null.
    CarvexPlatform::Document* shown(const QString& path) const {
        CarvexPlatform::Document* found = nullptr;
        waitUntil([&] {
            found = documents().documentForFile(path);
            return editorTextViewOf(found) != nullptr && editorTextViewOf(found)->isVisible();
        });
        return found;
    }
};

// One way of bringing a document to the front. `before`, when there is one, starts the application;
// then another window takes the keys, then `open` gives the document it showed last, which should
// take them.
struct Opening {
    const char* name;
    std::function<void(Launch&)> before;
    std::function<CarvexPlatform::Document*(Launch&)> open;
};

const Opening openings[] = {
    {"one_file_on_the_command_line", nullptr,
     [](Launch& launch) {
         launch.start({launch.first});
         return launch.shown(launch.first);
     }},
    {"two_files_on_the_command_line", nullptr,
     [](Launch& launch) {
         launch.start({launch.first, launch.second});
         return launch.shown(launch.second);
     }},
    // A new tab beside the window in front.
    {"handed_over_by_a_second_launch", [](Launch& launch) { launch.start({launch.first}); },
     [](Launch& launch) {
         launch.handOver({launch.second});
         return launch.shown(launch.second);
     }},
    // An existing tab, behind the current one.
    {"an_open_file_handed_over_again",
     [](Launch& launch) {
         launch.start({launch.first, launch.second});
         launch.shown(launch.second);
     },
     [](Launch& launch) {
         launch.handOver({launch.first});
         return launch.shown(launch.first);
     }},
    {"the_file_in_front_handed_over_again", [](Launch& launch) { launch.start({launch.first}); },
     [](Launch& launch) {
         launch.handOver({launch.first});
         return launch.shown(launch.first);
     }},
    // File > Open, its item chosen on a turn of the event loop as a click chooses it.
    {"opened_with_file_open", [](Launch& launch) { launch.start({launch.first}); },
     [](Launch& launch) {
         QAction* open = nullptr;
         for (QMenu* menu : launch.application->mainMenu().menus()) {
             for (QAction* item : menu->findChildren<QAction*>()) {
                 if (CarvexPlatform::MainMenu::actionOf(item) == QLatin1String("openDocument:")) {
                     open = item;
                 }
             }
         }
         EXPECT_NE(open, nullptr);
         launch.panels->respond(launch.second);
         QMetaObject::invokeMethod(open, &QAction::trigger, Qt::QueuedConnection);
         return launch.shown(launch.second);
     }},
    // As Open Recent and the welcome window's list open a file.
    {"opened_from_a_recent_list", [](Launch& launch) { launch.start({launch.first}); },
     [](Launch& launch) {
         launch.documents().openDocumentWithContentsOfFile(launch.second, true);
         return launch.shown(launch.second);
     }},
    {"a_new_document", [](Launch& launch) { launch.start({launch.first}); },
     [](Launch& launch) {
         CarvexPlatform::Document* made =
             launch.documents().openGeneratedDocument(QString::fromUtf8(description), DocumentFormat::yaml);
         waitUntil([&] { return editorTextViewOf(made) != nullptr && editorTextViewOf(made)->isVisible(); });
         return made;
     }},
};

// The window that has the keys when the document comes: the application's own document window,
// another program's (a window of its own), or the application's preferences window.
enum class Elsewhere { nowhere, anotherProgram, preferences };

struct Row {
    const Opening* opening;
    Elsewhere elsewhere;
    std::string name() const {
        static const char* const suffixes[] = {"", "_while_another_program_has_the_keys",
                                               "_while_the_preferences_have_the_keys"};
        return std::string(opening->name) + suffixes[static_cast<int>(elsewhere)];
    }
};
void PrintTo(const Row& row, std::ostream* out) { *out << row.name(); }

std::vector<Row> rows() {
    std::vector<Row> all;
    for (const Opening& opening : openings) {
        for (const Elsewhere elsewhere : {Elsewhere::nowhere, Elsewhere::anotherProgram, Elsewhere::preferences}) {
            // The preferences window comes with the running application.
            if (opening.before || elsewhere != Elsewhere::preferences) {
                all.push_back({&opening, elsewhere});
            }
        }
    }
    return all;
}

class KeyboardFocusTest : public ::testing::TestWithParam<Row> {
protected:
    // First, so that it goes last: after the application and its windows.
    CarvexTest::ScopedApplicationSetup applicationSetup;

    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        CarvexPlatform::AlertPresenter::shared().setScript(alerts);
        CarvexPlatform::FilePanel::shared().setScript(launch.panels);
        Application::registerScenes();
        launch.key = QStringLiteral("carvex-focus-") + QUuid::createUuid().toString(QUuid::Id128);
        launch.first = write(QStringLiteral("first.yaml"));
        launch.second = write(QStringLiteral("second.yaml"));
        // The real preferences window, shown as its menu item shows it.
        const AppDelegate::SharedWindows standard = AppDelegate::standardWindows();
        launch.windows.showPreferences = standard.showPreferences;
        launch.windows.preferencesWindow = standard.preferencesWindow;
    }
    void TearDown() override {
        if (launch.application && launch.application->delegate()) {
            const std::vector<CarvexPlatform::Document*> open = launch.documents().documents();
            for (CarvexPlatform::Document* document : open) {
                document->close();
            }
            waitUntil([&] { return launch.documents().documents().empty(); });
        }
        if (QWidget* preferences = launch.windows.preferencesWindow()) {
            preferences->close();
        }
        otherProgram.reset();
        launch.application.reset();
        CarvexPlatform::AlertPresenter::shared().setScript(nullptr);
        CarvexPlatform::FilePanel::shared().setScript(nullptr);
    }
    QString write(const QString& name) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(description);
        return path;
    }
    // Another window takes the keys, as a click into it would.
    void activateElsewhere(Elsewhere elsewhere) {
        QWidget* active = nullptr;
        switch (elsewhere) {
            case Elsewhere::nowhere:
                return;
            case Elsewhere::anotherProgram:
                otherProgram = std::make_unique<QWidget>();
                otherProgram->setWindowTitle(QStringLiteral("another program"));
                otherProgram->resize(300, 200);
                otherProgram->show();
                otherProgram->activateWindow();
                active = otherProgram.get();
                break;
            case Elsewhere::preferences:
                ASSERT_NE(launch.application, nullptr);
                launch.application->delegate()->showPreferences();
                active = launch.windows.preferencesWindow();
                ASSERT_NE(active, nullptr);
                break;
        }
        ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == active; })) << "the other window is active";
    }

    std::shared_ptr<CarvexPlatform::AlertScript> alerts = std::make_shared<CarvexPlatform::AlertScript>();
    QTemporaryDir folder;
    Launch launch;
    std::unique_ptr<QWidget> otherProgram;
};

TEST_P(KeyboardFocusTest, TheDocumentJustShownTakesTheKeys) {
    // A tab that joined a window took that window's focus into its page while the page was still
    // empty, and a host that the window manager activated before its new page was shown gave the
    // keys to its tab bar: the keys went nowhere until a click in the text.
    const Row row = GetParam();
    if (row.opening->before) {
        row.opening->before(launch);
        // What was there before is in front and has the keys.
        ASSERT_TRUE(waitUntil([] { return QApplication::focusWidget() != nullptr; }));
    }
    activateElsewhere(row.elsewhere);
    if (HasFatalFailure()) {
        return;
    }

    CarvexPlatform::Document* shown = row.opening->open(launch);
    ASSERT_NE(shown, nullptr);
    EditorTextView* view = editorTextViewOf(shown);
    ASSERT_TRUE(view != nullptr && view->isVisible());
    // The window manager activates the window that came to the front; the keys go where the
    // application sends them.
    QWidget* window = view->window();
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == window; })) << "the window comes to the front";
    ASSERT_NE(QApplication::focusWidget(), nullptr) << "the keys go nowhere";
    EXPECT_EQ(QApplication::focusWidget(), view) << QApplication::focusWidget()->metaObject()->className();
    CarvexTest::type(QApplication::focusWidget(), QStringLiteral("# typed\n"));
    EXPECT_EQ(view->text().toStdString(), "# typed\n" + description.toStdString());
    for (CarvexPlatform::Document* other : launch.documents().documents()) {
        if (other != shown) {
            EXPECT_EQ(editorTextViewOf(other)->text().toStdString(), description.toStdString())
                << "the other text as it was";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Openings, KeyboardFocusTest, ::testing::ValuesIn(rows()),
                         [](const auto& info) { return info.param.name(); });

}  // namespace
}  // namespace Carvex

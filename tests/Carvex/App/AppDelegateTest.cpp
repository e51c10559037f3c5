#include "tests/Carvex/App/ScopedApplicationSetup.h"
#include "Carvex/App/AppDelegate.h"
#include "Carvex/App/Application.h"
#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Windows/DocumentController.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertScript.h"
#include "platform/Document.h"
#include "platform/FakeMainScheduler.h"
#include "platform/MainMenu.h"
#include "platform/NotificationCenter.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/SingleInstance.h"
#include "platform/StandardUpdaterController.h"
#include "platform/TestApplication.h"
#include "platform/WindowController.h"
#include "platform/WindowTabHost.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

namespace Carvex {
namespace {

using CarvexPlatform::MainMenu;

QStringList titlesOf(const QMenu* menu) {
    QStringList titles;
    for (const QAction* item : menu->actions()) {
        titles.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    return titles;
}

// Fills a menu from "Title=selector" rows ("-" a separator, "Title" an item without action).
void fill(QMenu* menu, const QStringList& rows) {
    for (const QString& row : rows) {
        if (row == QStringLiteral("-")) {
            MainMenu::insertSeparator(menu, -1);
        } else {
            const QStringList parts = row.split(QLatin1Char('='));
            MainMenu::addItem(menu, parts.at(0), parts.value(1));
        }
    }
}

QString uniqueKey() { return QStringLiteral("carvex-test-") + QUuid::createUuid().toString(QUuid::Id128); }

// Keeps the test's windows and counts the welcome window being shown.
struct WindowsProbe {
    struct ApplicationFirst {
        ApplicationFirst() { CarvexPlatform::TestApplication::ensure(); }
    } applicationFirst;
    int welcomeShown = 0;
    QMainWindow welcome;
    QMainWindow help;
    QMainWindow preferences;

    AppDelegate::SharedWindows windows() {
        AppDelegate::SharedWindows shared;
        shared.showWelcome = [this] { ++welcomeShown; };
        shared.welcomeWindow = [this] { return &welcome; };
        shared.helpWindow = [this] { return &help; };
        shared.preferencesWindow = [this] { return &preferences; };
        return shared;
    }
};

class AppDelegateTest : public ::testing::Test {
protected:
    // First, so that it goes last: after the application and its windows.
    CarvexTest::ScopedApplicationSetup applicationSetup;


protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        delegate = std::make_unique<AppDelegate>(menu, probe.windows(), CarvexPlatform::Settings::isolated());
        delegate->setLog([this](const QString& line) { logged.append(line); });
    }

    // A document with one window, as the document controller keeps it.
    CarvexPlatform::WindowController* addDocumentWindow() {
        auto document = std::make_unique<Document>();
        auto controller = std::make_unique<CarvexPlatform::WindowController>();
        CarvexPlatform::WindowController* windowController = controller.get();
        document->addWindowController(std::move(controller));
        delegate->documentController()->addDocument(std::move(document));
        return windowController;
    }

    // A real editor on isolated settings as the central view of `window`, shown and active, its text
    // view focused.
    std::unique_ptr<EditorViewController> focusedEditorIn(QMainWindow& window) {
        editorSettings = CarvexPlatform::Settings::isolated();
        editorStore = std::make_unique<EditorPreferencesStore>(editorSettings);
        themeStore = std::make_unique<SyntaxThemePreferencesStore>(editorSettings);
        completionStore = std::make_unique<CompletionPreferencesStore>(editorSettings);
        auto editor = std::make_unique<EditorViewController>(
            EditorViewController::Stores{editorStore.get(), themeStore.get(), completionStore.get(), editorSettings},
            clock);
        window.setCentralWidget(editor->view());
        window.show();
        QApplication::setActiveWindow(&window);
        editor->editorTextView()->setFocus();
        return editor;
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> clock = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scoped{clock};
    MainMenu menu;
    WindowsProbe probe;
    std::unique_ptr<AppDelegate> delegate;
    QStringList logged;
    std::shared_ptr<CarvexPlatform::Settings> editorSettings;
    std::unique_ptr<EditorPreferencesStore> editorStore;
    std::unique_ptr<SyntaxThemePreferencesStore> themeStore;
    std::unique_ptr<CompletionPreferencesStore> completionStore;
};

TEST_F(AppDelegateTest, EditMenuCleaningRemovesUnservedItemsAndTrailingSeparators) {
    struct Row {
        const char* name;
        QStringList items;
        QStringList expected;
    };
    const std::vector<Row> rows = {
        {"removed actions and titles",
         {"Undo=undo:", "-", "Emoji=orderFrontCharacterPalette:", "Dictation=startDictation:", "Copy=copy:",
          "Writing Tools", "AutoFill", "Tools=showWritingTools:", "Fill=performAutoFill:"},
         {"Undo", "-", "Copy"}},
        {"trailing separators after the removals", {"Copy=copy:", "-", "Dictation=startDictation:", "-", "-"},
         {"Copy"}},
        {"only removed items and separators ends empty",
         {"-", "Dictation=startDictation:", "-", "AutoFill=other:", "Writing Tools"}, {}},
        {"titles compare exactly", {"AutoFill Forms=x:", "writing tools=y:"}, {"AutoFill Forms", "writing tools"}},
        {"inner separators stay", {"Cut=cut:", "-", "-", "Paste=paste:"}, {"Cut", "-", "-", "Paste"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMenu rowMenu;
        rowMenu.addMenu(QStringLiteral("Carvex"));
        QMenu* edit = rowMenu.addMenu(QStringLiteral("Edit"));
        fill(edit, row.items);
        AppDelegate::cleanEditMenu(rowMenu);
        EXPECT_EQ(titlesOf(edit), row.expected);
    }
}

// The Edit menu's standard items showed no keys; with them, the keys still reach the widget that
// handles them itself, and a widget without the item's action gets the key as before.
TEST_F(AppDelegateTest, EditItemsShowTheirKeysAndTheKeysStillReachTheWidgets) {
    delegate->buildMainMenu();
    QMenu* edit = menu.submenuTitled(QStringLiteral("Edit"));
    ASSERT_NE(edit, nullptr);
    const std::vector<std::pair<const char*, QString>> keys = {
        {"undo:", "Ctrl+Z"}, {"redo:", "Ctrl+Shift+Z"}, {"cut:", "Ctrl+X"},         {"copy:", "Ctrl+C"},
        {"paste:", "Ctrl+V"}, {"selectAll:", "Ctrl+A"}, {"performFindPanelAction:", "Ctrl+F"},
    };
    for (const auto& [selector, shortcut] : keys) {
        SCOPED_TRACE(selector);
        const QAction* found = nullptr;
        for (QAction* item : edit->findChildren<QAction*>()) {
            if (MainMenu::actionOf(item) == QLatin1String(selector)) {
                found = item;
            }
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->shortcut().toString(QKeySequence::PortableText), shortcut);
    }

    QMainWindow window;
    menu.installInto(&window);
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    auto* field = new QLineEdit(central);
    auto* readOnly = new QPlainTextEdit(QStringLiteral("kept"), central);
    readOnly->setReadOnly(true);
    auto* list = new QListWidget(central);
    list->addItem(QStringLiteral("row text"));
    layout->addWidget(field);
    layout->addWidget(readOnly);
    layout->addWidget(list);
    window.setCentralWidget(central);
    window.show();
    QApplication::setActiveWindow(&window);

    // A text field undoes its own typing.
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("abc"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QString());
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(field->text(), QStringLiteral("abc"));

    // A list has no copy action of its own name: the key copies its current row.
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("row text"));

    // A text that may not be edited stays as it is, by key or by menu.
    readOnly->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(readOnly, Qt::Key_V, Qt::ControlModifier);
    for (QAction* item : edit->actions()) {
        if (MainMenu::actionOf(item) == QLatin1String("paste:") || MainMenu::actionOf(item) == QLatin1String("cut:")) {
            item->trigger();
        }
    }
    EXPECT_EQ(readOnly->toPlainText(), QStringLiteral("kept"));
}

// The menu item (clicked, so no key falls through to the view) finds the editor behind the focused
// text view: the view has no such action, the controller whose view holds it has.
TEST_F(AppDelegateTest, ShowCompletionsReachesTheEditorOfTheFocusedTextView) {
    struct Recording : CompletionController {
        explicit Recording(int& count) : count(count) {}
        void triggerCompletion() override { ++count; }
        int& count;
    };
    int requests = 0;
    const CompletionController::Factory saved = std::exchange(
        CompletionController::factory(),
        [&requests](EditorTextView*, CompletionPreferencesStore&) { return std::make_unique<Recording>(requests); });
    delegate->buildMainMenu();
    QMenu* edit = menu.submenuTitled(QStringLiteral("Edit"));
    ASSERT_NE(edit, nullptr);
    QAction* showCompletions = nullptr;
    for (QAction* item : edit->findChildren<QAction*>()) {
        if (MainMenu::actionOf(item) == QLatin1String("triggerCompletion:")) {
            showCompletions = item;
        }
    }
    ASSERT_NE(showCompletions, nullptr);
    EXPECT_EQ(showCompletions->shortcut().toString(QKeySequence::PortableText), QStringLiteral("Ctrl+Space"));

    QMainWindow window;
    menu.installInto(&window);
    auto editor = focusedEditorIn(window);
    ASSERT_EQ(QApplication::focusWidget(), editor->editorTextView());
    showCompletions->trigger();
    EXPECT_EQ(requests, 1);
    editor.reset();
    CompletionController::factory() = saved;
}

// The snippet suggestion's item has no key of its own and reaches the focused editor the same way.
TEST_F(AppDelegateTest, ShowSnippetSuggestionReachesTheEditorOfTheFocusedTextView) {
    struct Recording : SnippetSuggestionController {
        explicit Recording(int& count) : count(count) {}
        void updateSuggestion() override { ++count; }
        int& count;
    };
    int requests = 0;
    const SnippetSuggestionController::Factory saved = std::exchange(
        SnippetSuggestionController::factory(), [&requests](EditorTextView*, std::shared_ptr<TemplateCatalog>) {
            return std::make_unique<Recording>(requests);
        });
    struct EmptyCatalog : TemplateCatalog {
        EmptyCatalog(QString version, FileFormat format) : TemplateCatalog({}, std::move(version), format) {}
        void loadTemplates() override {}
    };
    const TemplateCatalog::Factory savedCatalog = std::exchange(
        TemplateCatalog::factory(), [](std::vector<SnippetTemplate>, QString version, FileFormat format) {
            return std::make_unique<EmptyCatalog>(std::move(version), format);
        });
    delegate->buildMainMenu();
    QMenu* edit = menu.submenuTitled(QStringLiteral("Edit"));
    ASSERT_NE(edit, nullptr);
    QAction* item = edit->actions().value(MainMenu::indexOfItemWithAction(edit, QStringLiteral("triggerSnippetSuggestion:")));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Show Snippet Suggestion"));
    EXPECT_TRUE(item->shortcut().isEmpty());

    QMainWindow window;
    menu.installInto(&window);
    auto editor = focusedEditorIn(window);
    ASSERT_EQ(QApplication::focusWidget(), editor->editorTextView());
    item->trigger();
    EXPECT_EQ(requests, 1);
    editor.reset();
    SnippetSuggestionController::factory() = saved;
    TemplateCatalog::factory() = savedCatalog;
}

// The File menu shows Save, Save As and Close unavailable where they would do nothing, and gives
// their keys back once it closes.
TEST_F(AppDelegateTest, FileMenuShowsWhatTheKeyWindowCanDo) {
    delegate->applicationWillFinishLaunching();
    delegate->buildMainMenu();
    QMenu* file = menu.submenuTitled(QStringLiteral("File"));
    ASSERT_NE(file, nullptr);
    auto enabled = [file](const QString& selector) {
        const int index = MainMenu::indexOfItemWithAction(file, selector);
        return index >= 0 && file->actions().at(index)->isEnabled();
    };
    struct Row {
        const char* name;
        QMainWindow* active;
        bool save;
        bool close;
    };
    CarvexPlatform::WindowController* document = addDocumentWindow();
    QMainWindow* documentWindow = document->window();
    const Row rows[] = {
        {"welcome window", &probe.welcome, false, true},
        {"document window", documentWindow, true, true},
        {"help window", &probe.help, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.active->show();
        QApplication::setActiveWindow(row.active);
        ASSERT_EQ(CarvexPlatform::WindowTabHost::keyWindow(), row.active);
        emit file->aboutToShow();
        EXPECT_EQ(enabled(QStringLiteral("saveDocument:")), row.save);
        EXPECT_EQ(enabled(QStringLiteral("saveDocumentAs:")), row.save);
        EXPECT_EQ(enabled(QStringLiteral("performClose:")), row.close);
        EXPECT_TRUE(enabled(QStringLiteral("newDocument:")));
        EXPECT_TRUE(enabled(QStringLiteral("openDocument:")));
        emit file->aboutToHide();
        for (const QString selector : {"saveDocument:", "saveDocumentAs:", "performClose:"}) {
            EXPECT_TRUE(enabled(selector)) << selector.toStdString() << " stays off after the menu closed";
        }
        row.active->hide();
    }
    document->closeWithoutAsking();
}

// File > Open Recent lists the recent files that still exist, newest first, opens the one chosen
// and empties on Clear Menu.
TEST_F(AppDelegateTest, OpenRecentListsOpensAndClears) {
    Application::registerScenes();
    delegate->applicationWillFinishLaunching();
    delegate->buildMainMenu();
    QMenu* file = menu.submenuTitled(QStringLiteral("File"));
    ASSERT_NE(file, nullptr);
    QMenu* recent = nullptr;
    for (QAction* item : file->actions()) {
        if (item->menu() && item->text() == QStringLiteral("Open Recent")) {
            recent = item->menu();
        }
    }
    ASSERT_NE(recent, nullptr);
    auto shown = [recent] {
        emit recent->aboutToShow();
        return titlesOf(recent);
    };
    EXPECT_EQ(shown(), QStringList{"Clear Menu"});
    EXPECT_FALSE(recent->actions().back()->isEnabled()) << "nothing to clear";

    QTemporaryDir temporary;
    const QDir folder(temporary.path());
    ASSERT_TRUE(folder.mkpath("a") && folder.mkpath("b"));
    auto make = [&folder](const QString& name) {
        QFile out(folder.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("openapi: 3.0.3\ninfo:\n  title: T\n  version: '1'\npaths: {}\n");
        return folder.filePath(name);
    };
    const QString older = make("a/api.yaml");
    const QString gone = make("gone.yaml");
    const QString newer = make("b/api.yaml");
    const QString newest = make("pets.yaml");
    DocumentController* documents = delegate->documentController();
    for (const QString& path : {older, gone, newer, newest}) {
        documents->noteNewRecentDocumentPath(path);
    }
    QFile::remove(gone);
    EXPECT_EQ(shown(), (QStringList{"pets.yaml", "api.yaml \u2014 b", "api.yaml \u2014 a", "-", "Clear Menu"}));
    EXPECT_TRUE(recent->actions().back()->isEnabled());

    recent->actions().at(1)->trigger();
    ASSERT_EQ(documents->documents().size(), 1u);
    EXPECT_EQ(QFileInfo(documents->documents().front()->filePath()).canonicalFilePath(),
              QFileInfo(newer).canonicalFilePath());

    shown();
    recent->actions().back()->trigger();
    EXPECT_TRUE(documents->recentDocumentPaths().isEmpty());
    EXPECT_EQ(shown(), QStringList{"Clear Menu"});
    for (CarvexPlatform::Document* document : documents->documents()) {
        for (CarvexPlatform::WindowController* window : document->windowControllers()) {
            window->closeWithoutAsking();
        }
    }
    clock->runPending();
}

TEST_F(AppDelegateTest, ItemsAddedToTheEditMenuAfterLaunchAreCleanedAgain) {
    delegate->buildMainMenu();
    delegate->applicationWillFinishLaunching();
    delegate->applicationDidFinishLaunching();
    QMenu* edit = menu.submenuTitled(QStringLiteral("Edit"));
    ASSERT_NE(edit, nullptr);
    const QStringList before = titlesOf(edit);
    EXPECT_TRUE(before.contains(QStringLiteral("Find")));
    EXPECT_GE(MainMenu::indexOfItemWithAction(edit, QStringLiteral("triggerCompletion:")), 0);

    MainMenu::insertSeparator(edit, -1);
    MainMenu::addItem(edit, QStringLiteral("Start Dictation..."), QStringLiteral("startDictation:"));
    EXPECT_EQ(titlesOf(edit), before);

    // Another menu keeps what is added to it.
    QMenu* window = menu.submenuTitled(QStringLiteral("Window"));
    MainMenu::addItem(window, QStringLiteral("AutoFill"), QStringLiteral("performAutoFill:"));
    EXPECT_EQ(titlesOf(window).last(), QStringLiteral("AutoFill"));
}

TEST_F(AppDelegateTest, UpdateItemGoesAboveQuitOrAtTheEnd) {
    struct Row {
        const char* name;
        QStringList items;
        QStringList expected;
    };
    const std::vector<Row> rows = {
        {"with Quit", {"Preferences...=showPreferences:", "-", "Quit Carvex=terminate:"},
         {"Preferences...", "-", "Check for Updates...", "-", "Quit Carvex"}},
        {"without Quit", {"Preferences...=showPreferences:"}, {"Preferences...", "Check for Updates...", "-"}},
        {"empty", {}, {"Check for Updates...", "-"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MainMenu rowMenu;
        fill(rowMenu.addMenu(QStringLiteral("Carvex")), row.items);
        AppDelegate rowDelegate(rowMenu, {}, CarvexPlatform::Settings::isolated());
        rowDelegate.insertUpdateItem();
        rowDelegate.insertUpdateItem();  // once per launch
        EXPECT_EQ(titlesOf(rowMenu.applicationMenu()), row.expected);
        const int index = MainMenu::indexOfItemWithAction(rowMenu.applicationMenu(), QStringLiteral("checkForUpdates:"));
        ASSERT_GE(index, 0);
        EXPECT_TRUE(rowMenu.applicationMenu()->actions().at(index)->shortcut().isEmpty());
    }
}

TEST_F(AppDelegateTest, UpdaterIsMadeOnceAtLaunchAndAManualCheckSaysHowCarvexIsUpdated) {
    delegate->buildMainMenu();
    EXPECT_FALSE(delegate->hasUpdaterController());
    delegate->applicationWillFinishLaunching();
    delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(delegate->hasUpdaterController());
    EXPECT_TRUE(delegate->updaterController().updaterStarted());
    EXPECT_EQ(logged, QStringList{AppDelegate::creatingUpdaterMessage});

    auto script = std::make_shared<CarvexPlatform::AlertScript>();
    CarvexPlatform::AlertPresenter::shared().setScript(script);
    QMenu* application = menu.applicationMenu();
    application->actions()
        .at(MainMenu::indexOfItemWithAction(application, QStringLiteral("checkForUpdates:")))
        ->trigger();
    CarvexPlatform::AlertPresenter::shared().setScript(nullptr);
    EXPECT_EQ(logged, (QStringList{AppDelegate::creatingUpdaterMessage, AppDelegate::checkForUpdatesMessage}));
    ASSERT_EQ(script->presented().size(), 1u);
    EXPECT_EQ(script->presented().front().alert.style, CarvexPlatform::AlertStyle::informational);
    EXPECT_TRUE(script->presented().front().alert.messageText.contains(QStringLiteral("package manager")));
}

TEST_F(AppDelegateTest, WelcomeShowsOnALaterTurnOnlyWithoutDocuments) {
    delegate->applicationWillFinishLaunching();
    EXPECT_FALSE(delegate->applicationShouldOpenUntitledFile());
    delegate->applicationDidFinishLaunching();
    EXPECT_EQ(probe.welcomeShown, 0);
    addDocumentWindow();  // a file opened before the queued policy runs
    clock->runPending();
    EXPECT_EQ(probe.welcomeShown, 0);
    EXPECT_TRUE(delegate->documentController()->documents().size() == 1);

    AppDelegate empty(menu, probe.windows(), CarvexPlatform::Settings::isolated());
    empty.setLog([](const QString&) {});
    empty.applicationWillFinishLaunching();
    empty.applicationDidFinishLaunching();
    clock->runPending();
    EXPECT_EQ(probe.welcomeShown, 1);
}

TEST_F(AppDelegateTest, ReopenShowsWelcomeOnlyWithoutVisibleWindowsAndDocuments) {
    struct Row {
        const char* name;
        bool visibleWindows;
        bool document;
        int welcomeShown;
    };
    const std::vector<Row> rows = {
        {"visible windows", true, false, 0},
        {"visible windows and a document", true, true, 0},
        {"hidden document", false, true, 0},
        {"nothing open", false, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WindowsProbe rowProbe;
        AppDelegate rowDelegate(menu, rowProbe.windows(), CarvexPlatform::Settings::isolated());
        rowDelegate.applicationWillFinishLaunching();
        if (row.document) {
            rowDelegate.documentController()->addDocument(std::make_unique<Document>());
        }
        EXPECT_TRUE(rowDelegate.applicationShouldHandleReopen(row.visibleWindows));
        EXPECT_EQ(rowProbe.welcomeShown, row.welcomeShown);
    }
}

TEST_F(AppDelegateTest, ClosingTheLastDocumentWindowBringsWelcomeBackAfterATenthOfASecond) {
    delegate->applicationWillFinishLaunching();
    delegate->applicationDidFinishLaunching();
    CarvexPlatform::WindowController* first = addDocumentWindow();
    CarvexPlatform::WindowController* second = addDocumentWindow();
    clock->runPending();
    ASSERT_EQ(probe.welcomeShown, 0);

    first->window();
    first->closeWithoutAsking();
    clock->advance(std::chrono::milliseconds(200));
    EXPECT_EQ(probe.welcomeShown, 0) << "another document is still open";

    second->window();
    second->closeWithoutAsking();
    clock->runPending();
    clock->advance(std::chrono::milliseconds(99));
    EXPECT_EQ(probe.welcomeShown, 0);
    clock->advance(std::chrono::milliseconds(1));
    EXPECT_EQ(probe.welcomeShown, 1);
}

TEST_F(AppDelegateTest, ClosingTheWelcomeHelpOrPreferencesWindowNeverBringsWelcome) {
    delegate->applicationWillFinishLaunching();
    delegate->applicationDidFinishLaunching();
    clock->runPending();
    const int shownAtLaunch = probe.welcomeShown;
    QMainWindow stray;
    for (QMainWindow* window : {&probe.welcome, &probe.help, &probe.preferences, &stray}) {
        CarvexPlatform::NotificationCenter::defaultCenter().post(
            CarvexPlatform::WindowController::windowWillCloseNotification, window);
    }
    EXPECT_EQ(clock->pendingCount(), 0u);
    clock->advance(std::chrono::milliseconds(500));
    EXPECT_EQ(probe.welcomeShown, shownAtLaunch);
}

TEST(SingleInstanceTest, PathsFromArgumentsAreAbsoluteAndFileURLsReadAsPaths) {
    struct Row {
        const char* name;
        QString argument;
        QStringList expected;
    };
    const QString cwd = QDir::currentPath();
    const std::vector<Row> rows = {
        {"relative", QStringLiteral("a/../pet.yaml"), {cwd + QStringLiteral("/pet.yaml")}},
        {"absolute", QStringLiteral("/tmp/x.json"), {QStringLiteral("/tmp/x.json")}},
        {"file URL with an escaped space", QStringLiteral("file:///tmp/my%20api.yaml"), {QStringLiteral("/tmp/my api.yaml")}},
        {"web URL", QStringLiteral("https://example.com/api.yaml"), {}},
        {"empty", QString(), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CarvexPlatform::SingleInstance::pathsFromArguments({row.argument}), row.expected);
    }
}

// Runs the event loop until `done` holds (or a generous limit passes on a stuck machine).
template <class Predicate>
bool spinUntil(Predicate done, int limitMilliseconds = 10000) {
    QDeadlineTimer limit(limitMilliseconds);
    while (!done() && !limit.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return done();
}

TEST(ApplicationTest, ASecondLaunchHandsItsFilesToTheRunningInstance) {
    CarvexPlatform::TestApplication::ensure();
    CarvexTest::ScopedApplicationSetup applicationSetup;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("handed over.yaml"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("openapi: 3.0.3\ninfo:\n  title: T\n  version: '1'\npaths: {}\n");
    file.close();

    const QString key = uniqueKey();
    WindowsProbe probe;
    Application running(key, probe.windows(), CarvexPlatform::Settings::isolated());
    ASSERT_TRUE(running.start({}));
    running.delegate()->setLog([](const QString&) {});
    ASSERT_TRUE(running.instance().isListening());
    ASSERT_TRUE(spinUntil([&] { return probe.welcomeShown == 1; }));

    // A stranger's key is not the running instance.
    EXPECT_FALSE(CarvexPlatform::SingleInstance(uniqueKey()).handOver({path}, 200));

    Application second(key, probe.windows(), CarvexPlatform::Settings::isolated());
    EXPECT_FALSE(second.start({path}));
    EXPECT_EQ(second.delegate(), nullptr);
    ASSERT_TRUE(spinUntil([&] { return running.delegate()->documentController()->documents().size() == 1; }));
    EXPECT_EQ(running.delegate()->documentController()->documents().front()->filePath(),
              QFileInfo(path).canonicalFilePath());

    // A launch without files makes the running instance show itself; with a document open that
    // brings no welcome window.
    Application third(key, probe.windows(), CarvexPlatform::Settings::isolated());
    EXPECT_FALSE(third.start({}));
    CarvexPlatform::TestApplication::processEvents();
    spinUntil([] { return false; }, 300);
    EXPECT_EQ(probe.welcomeShown, 1);
    EXPECT_EQ(running.delegate()->documentController()->documents().size(), 1u);

    // Every main window shows the application's menus.
    CarvexPlatform::Document* document = running.delegate()->documentController()->documents().front();
    ASSERT_FALSE(document->windowControllers().empty());
    QMainWindow* window = document->windowControllers().front()->window();
    QStringList titles;
    for (QAction* item : window->menuBar()->actions()) {
        titles.append(item->text());
    }
    EXPECT_EQ(titles, (QStringList{"Carvex", "File", "Edit", "Window", "Help"}));
    for (CarvexPlatform::WindowController* controller : document->windowControllers()) {
        controller->closeWithoutAsking();
    }
    CarvexPlatform::TestApplication::processEvents();
}

}  // namespace
}  // namespace Carvex

#include "Carvex/Examples/ExampleGeneratorViewController.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Windows/WindowPanes.h"
#include "platform/Appearance.h"
#include "platform/MainMenu.h"
#include "platform/NotificationCenter.h"
#include "platform/WindowController.h"
#include "platform/WindowTabHost.h"
#include "tests/Carvex/Windows/WindowTestSupport.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QMenuBar>

using namespace Carvex;
using CarvexPlatform::WindowTabHost;
using CarvexWindowTests::WindowTest;

namespace {

const QByteArray smallYAML = "openapi: 3.0.3\ninfo:\n  title: Small\n  version: 1.0.0\npaths: {}\n";

}  // namespace

TEST_F(WindowTest, PanesOpenAtTheirSharesAndKeepTheirLimits) {
    Document* document = openText("api.yaml", smallYAML);
    SplitViewController* split = splitOf(document);
    ASSERT_NE(split, nullptr);
    EditorSplitViewController* editorArea = split->editorSplitViewController();
    ASSERT_NE(editorArea, nullptr);
    CarvexPlatform::SplitView* sides = split->splitView();
    CarvexPlatform::SplitView* stack = editorArea->editorSplitView();
    ASSERT_TRUE(sides && stack);
    ASSERT_TRUE(sides->isVisible());
    EXPECT_EQ(sides->orientation(), Qt::Horizontal);
    EXPECT_EQ(stack->orientation(), Qt::Vertical);

    // First show: the editor area takes 70 % of the width, the bottom panel 150.
    // (On a narrow screen the pane's 200 wins over the share.)
    const double share = std::min(sides->length() * 0.7, sides->length() - 200.0 - sides->handleWidth());
    EXPECT_NEAR(sides->positionOfDivider(0), share, 2);
    EXPECT_NEAR(stack->sizes().back(), EditorSplitViewController::defaultConsoleHeight, 2);
    EXPECT_FALSE(editorArea->isConsoleCollapsed());
    // The console's first entries take the place of its empty state: the panel keeps its height.
    for (int i = 0; i < 3; ++i) {
        document->logger().info("entry");
        settle();
        EXPECT_NEAR(stack->sizes().back(), EditorSplitViewController::defaultConsoleHeight, 2) << i;
    }

    // The properties pane: at least 200, and it may collapse.
    EXPECT_EQ(sides->widget(1)->minimumWidth(), SplitViewController::propertiesMinimumThickness);
    EXPECT_TRUE(sides->isCollapsible(1));
    EXPECT_FALSE(sides->isCollapsible(0));

    // Dragging the bottom divider stays 80 from either end.
    const int length = stack->length();
    struct Row {
        const char* name;
        double proposed;
        double expected;
    };
    const Row rows[] = {
        {"above the top limit", 10, 80},
        {"inside", length / 2.0, length / 2.0},
        {"below the bottom limit", length - 10.0, length - 80.0},
    };
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(stack->constrainedPosition(row.proposed, 0), row.expected) << row.name;
    }
    // Only the bottom panel collapses, by a double click, and comes back the same way.
    EXPECT_TRUE(editorArea->splitViewCanCollapseSubview(*stack, stack->widget(1)));
    EXPECT_FALSE(editorArea->splitViewCanCollapseSubview(*stack, stack->widget(0)));
    stack->doubleClickDivider(0);
    EXPECT_EQ(stack->sizes().back(), 0);
    EXPECT_TRUE(editorArea->isConsoleCollapsed());
    stack->doubleClickDivider(0);
    EXPECT_NEAR(stack->sizes().back(), EditorSplitViewController::defaultConsoleHeight, 2);
    EXPECT_FALSE(editorArea->isConsoleCollapsed());
}

TEST_F(WindowTest, TheBottomPanelKeepsItsHeightWhenTheLogFills) {
    // The first log entry swaps the console's placeholder for its list; the panel must not grow
    // under the editor then (a jump to a $ref target would end up hidden behind it).
    Document* document = openText("api.json", "{\"openapi\": \"3.0.3\"}\n");
    SplitViewController* split = splitOf(document);
    ASSERT_NE(split, nullptr);
    CarvexPlatform::SplitView* stack = split->editorSplitViewController()->editorSplitView();
    ASSERT_TRUE(stack && stack->isVisible());
    EXPECT_NEAR(stack->sizes().back(), EditorSplitViewController::defaultConsoleHeight, 2);
    // Dragged down to its least, below what the console's list would ask for.
    stack->setPosition(stack->length() - 80.0, 0);
    QCoreApplication::processEvents();
    const QList<int> before = stack->sizes();
    ASSERT_NEAR(before.back(), 80, 2);
    for (int i = 0; i < 3; ++i) {
        document->logger().info(QStringLiteral("Navigated to byte offset ") + QString::number(i));
        QCoreApplication::processEvents();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
    EXPECT_EQ(stack->sizes(), before);
}

TEST_F(WindowTest, TabButtonsChooseTheBottomTabsInTheThemesColours) {
    Document* document = openText("api.yaml", smallYAML);
    SplitViewController* split = splitOf(document);
    ASSERT_NE(split, nullptr);
    EditorSplitViewController* area = split->editorSplitViewController();
    ASSERT_NE(area, nullptr);
    QTabWidget* tabs = area->tabView();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->widget(2)->objectName(), "ExampleGenerator");
    EXPECT_EQ(tabs->tabText(2), "Examples");
    ASSERT_NE(area->exampleGeneratorViewController(), nullptr);
    EXPECT_EQ(area->exampleGeneratorViewController()->view(), tabs->widget(2));
    EXPECT_NE(area->consoleViewController(), nullptr);
    EXPECT_NE(area->validationResultsViewController(), nullptr);
    EXPECT_EQ(area->boundDocument(), document);
    EXPECT_EQ(area->consoleViewController()->navigationDelegate(), area);

    QPushButton* examples = area->exampleGeneratorButton();
    QPushButton* results = area->validationResultsButton();
    ASSERT_TRUE(examples && results && area->consoleButton());
    EXPECT_EQ(examples->text(), "Examples");
    EXPECT_EQ(examples->width(), 82);
    EXPECT_EQ(examples->height(), results->height());
    EXPECT_EQ(examples->y(), results->y());
    EXPECT_EQ(examples->x(), results->geometry().right() + 1);

    const auto& theme = SyntaxThemePreferencesStore::shared();
    struct Row {
        const char* name;
        QPushButton* button;
        int tab;
    };
    const Row rows[] = {
        {"validation results", results, 1},
        {"examples", examples, 2},
        {"console", area->consoleButton(), 0},
    };
    QPushButton* const buttons[] = {area->consoleButton(), results, examples};
    for (const bool dark : {false, true}) {
        CarvexPlatform::Appearance::shared().setOverride(dark);
        for (const Row& row : rows) {
            row.button->click();
            EXPECT_EQ(tabs->currentIndex(), row.tab) << row.name;
            for (int index = 0; index < 3; ++index) {
                const bool selected = index == row.tab;
                EXPECT_EQ(buttons[index]->isChecked(), selected) << row.name << " button " << index;
                const QColor text = theme.color(selected ? SyntaxThemePreferenceKey::tabButtonActiveText
                                                         : SyntaxThemePreferenceKey::tabButtonInactiveText,
                                                dark);
                EXPECT_EQ(buttons[index]->palette().color(QPalette::ButtonText).rgba(), text.rgba()) << row.name << " " << index;
                const QColor background =
                    selected ? theme.color(SyntaxThemePreferenceKey::tabButtonActiveBackground, dark) : QColor(Qt::transparent);
                EXPECT_EQ(buttons[index]->palette().color(QPalette::Button).rgba(), background.rgba()) << row.name << " " << index;
            }
        }
    }
    CarvexPlatform::Appearance::shared().setOverride(std::nullopt);
}

TEST_F(WindowTest, NavigationRequestsWithoutAnIntegerLineAreIgnored) {
    Document* document = openText("api.yaml", smallYAML);
    SplitViewController* split = splitOf(document);
    ASSERT_NE(split, nullptr);
    EditorSplitViewController* area = split->editorSplitViewController();
    ASSERT_NE(area, nullptr);
    auto* editor = dynamic_cast<EditorViewController*>(area->editorViewController());
    ASSERT_NE(editor, nullptr);
    EditorTextView& text = *editor->editorTextView();
    const auto caretLine = [&text] { return text.textCursor().blockNumber() + 1; };
    const auto post = [](const QVariant& line) {
        CarvexPlatform::NotificationCenter::defaultCenter().post(EditorSplitViewController::navigationNotification,
                                                                 nullptr, {{"line", line}});
    };
    text.moveCursor(QTextCursor::Start);
    // A missing line, a text, a fraction: the caret stays where it is.
    for (const QVariant& line : {QVariant(), QVariant(QStringLiteral("5")), QVariant(2.5)}) {
        post(line);
        EXPECT_EQ(caretLine(), 1) << line.toString().toStdString();
    }
    // An integer line moves it, from a notification and from the properties pane alike.
    post(QVariant(3));
    EXPECT_EQ(caretLine(), 3);
    split->propertiesViewControllerDidRequestNavigation(5);
    EXPECT_EQ(caretLine(), 5);
}

TEST_F(WindowTest, TwoDocumentsShareOneWindowAsTabs) {
    Document* first = openText("first.yaml", smallYAML);
    Document* second = openText("second.yaml", smallYAML);
    ASSERT_TRUE(first && second);
    QMainWindow* firstWindow = windowOf(first)->window();
    QMainWindow* secondWindow = windowOf(second)->window();
    WindowTabHost* host = WindowTabHost::hostOf(secondWindow);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(WindowTabHost::hostOf(firstWindow), host);
    EXPECT_EQ(host->tabCount(), 2);
    EXPECT_EQ(host->currentWindow(), secondWindow);
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(host->windowTitle(), "second.yaml");
    EXPECT_EQ(host->tabWidget()->tabText(0), "first.yaml");
    EXPECT_TRUE(host->tabWidget()->tabBar()->isVisible());

    // Closing a tab closes that document's window, announced like any window's close.
    int announced = 0;
    auto observation = CarvexPlatform::NotificationCenter::defaultCenter().observe(
        CarvexPlatform::WindowController::windowWillCloseNotification, secondWindow,
        [&](const CarvexPlatform::Notification&) { ++announced; });
    host->closeTab(1);
    settle();
    EXPECT_EQ(announced, 1);
    ASSERT_EQ(controller.documents().size(), 1u);
    EXPECT_EQ(controller.documents().front(), first);
    EXPECT_EQ(host->tabCount(), 1);
    EXPECT_EQ(host->windowTitle(), "first.yaml");
    EXPECT_FALSE(host->tabWidget()->tabBar()->isVisible()) << "a lone tab still shows the tab bar";

    // A third document joins the same host again.
    Document* third = openText("third.yaml", smallYAML);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(WindowTabHost::hostOf(windowOf(third)->window()), host);
    EXPECT_EQ(host->tabCount(), 2);
    EXPECT_TRUE(host->tabWidget()->tabBar()->isVisible());
}

// A window of tabs reads top to bottom: the menu bar, the current document's toolbar, the tab bar,
// then the document; choosing another tab brings its own toolbar, and the other goes back to its window.
TEST_F(WindowTest, TabsLieBelowTheMenuBarAndTheToolbar) {
    CarvexPlatform::MainMenu menu;
    menu.addMenu(QStringLiteral("File"));
    menu.attachToWindows();
    Document* first = openText("first.yaml", smallYAML);
    Document* second = openText("second.yaml", smallYAML);
    ASSERT_TRUE(first && second);
    WindowTabHost* host = WindowTabHost::hostOf(windowOf(second)->window());
    ASSERT_NE(host, nullptr);
    // Children shown into a window that is on screen are shown on a later turn of the loop.
    const auto lay = [this] {
        settle();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    };
    host->show();
    lay();
    const auto top = [host](const QWidget* widget) { return widget->mapTo(host, QPoint(0, 0)).y(); };
    const auto bottom = [host, &top](const QWidget* widget) { return top(widget) + widget->height(); };
    for (Document* current : {second, first}) {
        SCOPED_TRACE(current->displayName().toStdString());
        DocumentWindowController* window = windowOf(current);
        host->tabWidget()->setCurrentWidget(window->window());
        lay();
        QWidget* menuBar = host->menuWidget();
        QToolBar* toolbar = window->toolbar();
        QWidget* tabBar = host->tabWidget()->tabBar();
        auto* editorController =
            dynamic_cast<EditorViewController*>(splitOf(current)->editorSplitViewController()->editorViewController());
        ASSERT_NE(editorController, nullptr);
        QWidget* editor = editorController->editorTextView();
        ASSERT_TRUE(menuBar && toolbar && editor);
        for (const QWidget* part : {menuBar, static_cast<QWidget*>(toolbar), tabBar, editor}) {
            EXPECT_TRUE(part->isVisible()) << part->metaObject()->className();
            EXPECT_EQ(part->window(), host) << part->metaObject()->className();
        }
        EXPECT_LE(bottom(menuBar), top(toolbar));
        EXPECT_LE(bottom(toolbar), top(tabBar));
        EXPECT_LE(bottom(tabBar), top(editor));
        EXPECT_GT(toolbar->height(), 0);
        // The other tab's toolbar waits in its own window, and no tab shows a menu bar of its own.
        Document* other = current == first ? second : first;
        EXPECT_FALSE(windowOf(other)->toolbar()->isVisible());
        EXPECT_EQ(windowOf(other)->toolbar()->parentWidget(), windowOf(other)->window());
        for (Document* tab : {first, second}) {
            QWidget* own = windowOf(tab)->window()->menuWidget();
            EXPECT_TRUE(own == nullptr || !own->isVisible());
        }
    }

    // The last tab left keeps its toolbar above it.
    host->closeTab(host->tabWidget()->indexOf(windowOf(first)->window()));
    lay();
    ASSERT_EQ(controller.documents().size(), 1u);
    EXPECT_EQ(windowOf(second)->toolbar()->window(), host);
    EXPECT_TRUE(windowOf(second)->toolbar()->isVisible());
}

TEST_F(WindowTest, AnEditedTabThatIsKeptOpenStaysATab) {
    Document* first = openText("first.yaml", smallYAML);
    ASSERT_NE(first, nullptr);
    // An untitled document with edits asks first; Cancel keeps it.
    auto made = controller.openUntitledDocumentAndDisplay("YAML Document");
    ASSERT_TRUE(std::holds_alternative<CarvexPlatform::Document*>(made));
    auto* untitled = dynamic_cast<Document*>(std::get<CarvexPlatform::Document*>(made));
    ASSERT_NE(untitled, nullptr);
    untitled->setContent("openapi: 3.0.3\n");
    untitled->updateChangeCount(CarvexPlatform::ChangeType::done);
    WindowTabHost* host = WindowTabHost::hostOf(windowOf(untitled)->window());
    ASSERT_NE(host, nullptr);
    alerts->respond(2);  // Cancel
    host->closeTab(1);
    settle();
    EXPECT_EQ(host->tabCount(), 2);
    EXPECT_EQ(controller.documents().size(), 2u);
    untitled->updateChangeCount(CarvexPlatform::ChangeType::cleared);
}

namespace {

TEST_F(WindowTest, APaneRevealMovesOnlyItsOwnWindowsEditor) {
    const QByteArray lines = "openapi: 3.0.3\ninfo:\n  title: Lines\n  version: 1.0.0\npaths: {}\n# 6\n# 7\n# 8\n# 9\n";
    Document* first = openText("first.yaml", lines);
    Document* second = openText("second.yaml", lines);
    ASSERT_TRUE(first && second);
    SplitViewController* firstSplit = splitOf(first);
    SplitViewController* secondSplit = splitOf(second);
    ASSERT_TRUE(firstSplit && secondSplit);
    EditorTextView* firstText = WindowPanes::editorTextView(firstSplit->editorSplitViewController()->editorViewController());
    EditorTextView* secondText = WindowPanes::editorTextView(secondSplit->editorSplitViewController()->editorViewController());
    ASSERT_TRUE(firstText && secondText);
    const auto lineOf = [](EditorTextView* text) { return text->textCursor().blockNumber() + 1; };
    const int secondBefore = lineOf(secondText);

    const void* firstPane = dynamic_cast<PropertiesViewController*>(firstSplit->propertiesViewController());
    ASSERT_NE(firstPane, nullptr);
    const struct {
        const void* sender;
        int line;
        int firstLine;
        int secondLine;
    } cases[] = {
        {firstPane, 7, 7, secondBefore},   // the first window's pane: its editor only
        {&lines, 8, 7, secondBefore},      // a stranger: nobody
        {nullptr, 9, 9, 9},                // no sender: every window, as before
    };
    for (const auto& c : cases) {
        CarvexPlatform::NotificationCenter::defaultCenter().post(EditorSplitViewController::navigationNotification,
                                                                 c.sender, {{"line", c.line}});
        EXPECT_EQ(lineOf(firstText), c.firstLine) << c.line;
        EXPECT_EQ(lineOf(secondText), c.secondLine) << c.line;
    }
    EXPECT_TRUE(WindowPanes::isPaneOfWindow(firstSplit, firstPane));
    EXPECT_FALSE(WindowPanes::isPaneOfWindow(secondSplit, firstPane));
}

}  // namespace

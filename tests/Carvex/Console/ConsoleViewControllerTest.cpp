// The console bound to a document, offscreen on the fake clock: rows per entry shape, the empty state,
// clearing, selection and double-click navigation, the hover panel and when it goes away.

#include "Carvex/Console/ConsoleRowDelegate.h"
#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QScrollBar>
#include <QTest>

#include <chrono>

using namespace Carvex;
using namespace std::chrono_literals;

namespace {

struct RecordingDelegate : ConsoleNavigationDelegate {
    void consoleViewControllerDidRequestNavigation(ConsoleViewController&, const SourceLocation& location) override {
        requests.push_back(location);
    }
    std::vector<SourceLocation> requests;
};

class ConsoleTest : public testing::Test {
protected:
    ConsoleTest() {
        window.resize(700, 320);
        window.setCentralWidget(console.view());
        console.bind(document);
        console.setNavigationDelegate(&delegate);
        window.show();
        QApplication::processEvents();
    }

    ConsoleOutlineView& outline() { return *console.outlineView(); }
    // Lets the turn end: the console's gathered refresh runs.
    void settle() {
        fake->runPending();
        QApplication::processEvents();
    }
    QPoint centreOfRow(int row) { return outline().rowRect(row).center(); }
    int visiblePanels() {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<ConsoleTooltipPanel*>(widget) && widget->isVisible()) ++count;
        return count;
    }

    bool application = (CarvexPlatform::TestApplication::ensure(), true);
    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    Document document{&preferences};
    RecordingDelegate delegate;
    QMainWindow window;
    ConsoleViewController console;
};

TEST_F(ConsoleTest, RowsKindsAndHeightsFollowTheEntryShape) {
    const struct {
        const char* name;
        std::optional<QString> description;
        std::optional<SourceLocation> location;
        std::optional<QString> pointer;
        const char* kind;
        int height;
        bool child;
    } rows[] = {
        {"plain", std::nullopt, std::nullopt, std::nullopt, "LogEntryRow1L", 24, false},
        {"location", std::nullopt, SourceLocation{"", 3, 7, std::nullopt}, std::nullopt, "LogEntryRow2L", 38, false},
        {"pointer only", std::nullopt, std::nullopt, QString("/paths"), "LogEntryRow2L", 38, false},
        {"empty pointer", std::nullopt, std::nullopt, QString(""), "LogEntryRow2L", 38, false},
        {"description", QString("why"), std::nullopt, std::nullopt, "LogEntryRow1L", 24, true},
        {"empty description", QString(""), std::nullopt, std::nullopt, "LogEntryRow1L", 24, false},
    };
    for (const auto& row : rows) document.logger().error(row.name, row.description, row.location, row.pointer);
    settle();
    ConsoleOutlineModel& model = console.outlineModel();
    ASSERT_EQ(model.rowCount(), 6);
    ASSERT_EQ(outline().rowCount(), 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(rows[i].name);
        const QModelIndex index = model.index(i, 0);
        EXPECT_EQ(model.data(index, ConsoleOutlineModel::KindRole).toString(), rows[i].kind);
        EXPECT_EQ(outline().rowHeight(outline().rowOf(index)), rows[i].height);
        EXPECT_EQ(model.rowCount(index), rows[i].child ? 1 : 0);
        EXPECT_EQ(outline().disclosureRect(outline().rowOf(index)).isEmpty(), !rows[i].child);
        outline().expand(index);
        EXPECT_EQ(outline().isExpanded(index), rows[i].child);
    }
    // The one description row, under its entry, 40 high, not selectable.
    ASSERT_EQ(outline().rowCount(), 7);
    const QModelIndex description = outline().indexOfRow(5);
    EXPECT_EQ(description.parent().row(), 4);
    EXPECT_EQ(model.data(description, ConsoleOutlineModel::KindRole).toString(), "LogDescriptionRow");
    EXPECT_EQ(model.data(description).toString(), "why");
    EXPECT_EQ(outline().rowHeight(5), 40);
    EXPECT_FALSE(model.flags(description) & Qt::ItemIsSelectable);
    EXPECT_EQ(console.expandedEntryIDs(), QSet<QUuid>{document.logStore()->entries()[4].id()});
    // Rows lie one under the other.
    EXPECT_EQ(outline().rowRect(1).top(), outline().rowRect(0).bottom() + 1);
    EXPECT_EQ(outline().rowRect(6).top() - outline().rowRect(0).top(), 24 + 38 + 38 + 38 + 24 + 40);
}

TEST_F(ConsoleTest, EmptyStateTurnsWithTheFirstEntryAndBackWithClearing) {
    EXPECT_TRUE(console.emptyPlaceholderView()->isVisible());
    EXPECT_EQ(console.emptyPlaceholderLabel()->text(), "No log entries");
    EXPECT_EQ(console.emptyPlaceholderLabel()->palette().color(QPalette::WindowText),
              CarvexPlatform::systemColor(CarvexPlatform::SystemColor::secondaryLabel));
    EXPECT_FALSE(outline().isVisible());
    EXPECT_FALSE(console.clearButton()->isEnabled());
    EXPECT_EQ(console.clearButton()->accessibleName(), "Clear logs");

    document.logger().info("first");
    settle();
    EXPECT_FALSE(console.emptyPlaceholderView()->isVisible());
    EXPECT_TRUE(outline().isVisible());
    EXPECT_TRUE(console.clearButton()->isEnabled());

    // Many more: the newest is in view.
    for (int i = 0; i < 60; ++i) document.logger().warning(QString("entry %1").arg(i), QString("details"));
    settle();
    const int last = outline().rowCount() - 1;
    EXPECT_EQ(last, 60);
    EXPECT_GT(outline().verticalScrollBar()->value(), 0);
    EXPECT_LE(outline().rowRect(last).bottom(), outline().viewport()->height());
    EXPECT_GE(outline().rowRect(last).top(), 0);

    QTest::mouseClick(console.clearButton(), Qt::LeftButton);
    EXPECT_TRUE(document.logStore()->entries().empty());
    EXPECT_EQ(outline().rowCount(), 0);
    EXPECT_TRUE(console.emptyPlaceholderView()->isVisible());
    EXPECT_FALSE(outline().isVisible());
    EXPECT_FALSE(console.clearButton()->isEnabled());
}

// Entries added in one turn become one insertion of rows; the outline is never rebuilt for them.
TEST_F(ConsoleTest, AppendsInsertRowsWithoutResetting) {
    int resets = 0;
    int insertions = 0;
    QObject::connect(&console.outlineModel(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(&console.outlineModel(), &QAbstractItemModel::rowsInserted, [&] { ++insertions; });
    for (int turn = 0; turn < 3; ++turn) {
        for (int i = 0; i < 100; ++i) document.logger().info("x");
        EXPECT_EQ(outline().rowCount(), 100 * turn);  // not yet: gathered to the end of the turn
        settle();
        EXPECT_EQ(outline().rowCount(), 100 * (turn + 1));
    }
    EXPECT_EQ(resets, 0);
    EXPECT_EQ(insertions, 3);
    // The console took the store's hook over: the view model no longer announces the log's changes.
    int announced = 0;
    QObject::connect(console.viewModel().get(), &ConsoleViewModel::objectWillChange, [&] { ++announced; });
    document.logger().info("y");
    EXPECT_EQ(announced, 0);
}

TEST(ConsoleViewModelTest, AnnouncesChangesOfAnInMemoryStoreOnly) {
    CarvexPlatform::TestApplication::ensure();
    auto store = std::make_shared<InMemoryLogStore>();
    ConsoleViewModel model(store);
    int announced = 0;
    QObject::connect(&model, &ConsoleViewModel::objectWillChange, [&] { ++announced; });
    EXPECT_TRUE(model.isEmpty());
    model.append(LogLevel::warning, "w", QString("d"), SourceLocation{"f", 1, 2, 3}, QString("/p"));
    ASSERT_EQ(model.entries().size(), 1u);
    EXPECT_EQ(model.entries()[0].level, LogLevel::warning);
    EXPECT_EQ(model.entries()[0].sourceLocation, (SourceLocation{"f", 1, 2, 3}));
    model.clear();
    EXPECT_EQ(announced, 2);
    EXPECT_TRUE(model.isEmpty());
}

TEST_F(ConsoleTest, SelectionNavigatesAndLeavesNoFocus) {
    document.logger().info("no location");
    document.logger().error("located", QString("why"), SourceLocation{"", 12, 5, 300});
    settle();
    outline().expand(console.outlineModel().index(1, 0));
    ASSERT_EQ(outline().rowCount(), 3);

    // An entry without a location: no navigation, but the focus still goes.
    outline().setFocus();
    QApplication::processEvents();
    QTest::mouseClick(outline().viewport(), Qt::LeftButton, {}, centreOfRow(0));
    EXPECT_TRUE(delegate.requests.empty());
    EXPECT_EQ(window.focusWidget(), nullptr);
    EXPECT_EQ(outline().selectionModel()->selectedIndexes().size(), 1);

    // An entry with one: navigation to its line and column.
    QTest::mouseClick(outline().viewport(), Qt::LeftButton, {}, centreOfRow(1));
    ASSERT_EQ(delegate.requests.size(), 1u);
    EXPECT_EQ(delegate.requests[0], (SourceLocation{"", 12, 5, 300}));
    EXPECT_EQ(window.focusWidget(), nullptr);

    // The description row: nothing selected, nothing asked.
    QTest::mouseClick(outline().viewport(), Qt::LeftButton, {}, centreOfRow(2));
    EXPECT_EQ(delegate.requests.size(), 1u);
    const QModelIndexList selected = outline().selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0], console.outlineModel().index(1, 0));
}

TEST_F(ConsoleTest, DoubleClickNavigatesFromEntriesOnly) {
    document.logger().warning("w", QString("described"), SourceLocation{"api.yaml", 40, 2, std::nullopt});
    settle();
    outline().expand(console.outlineModel().index(0, 0));
    QTest::mouseDClick(outline().viewport(), Qt::LeftButton, {}, centreOfRow(1));
    EXPECT_TRUE(delegate.requests.empty());
    delegate.requests.clear();
    console.setNavigationDelegate(nullptr);
    QTest::mouseDClick(outline().viewport(), Qt::LeftButton, {}, centreOfRow(0));  // no delegate: nothing
    console.setNavigationDelegate(&delegate);
    delegate.requests.clear();
    QTest::mouseDClick(outline().viewport(), Qt::LeftButton, {}, centreOfRow(0));
    ASSERT_FALSE(delegate.requests.empty());
    EXPECT_EQ(delegate.requests.back().line, 40);
    EXPECT_EQ(delegate.requests.back().column, 2);
    EXPECT_TRUE(outline().isExpanded(console.outlineModel().index(0, 0)));  // a double-click does not fold
}

TEST_F(ConsoleTest, HoverPanelAppearsAfterTheWaitOncePerRow) {
    document.logger().info("one");
    document.logger().error("two", QString("because"), SourceLocation{"", 2, 3, std::nullopt}, QString("/a"));
    settle();
    const QPoint p0 = centreOfRow(0);
    console.mouseMoved(p0);
    EXPECT_TRUE(console.isTooltipPending());
    fake->advance(799ms);
    EXPECT_EQ(console.tooltipPanel(), nullptr);
    fake->advance(1ms);
    ASSERT_NE(console.tooltipPanel(), nullptr);
    EXPECT_EQ(visiblePanels(), 1);
    EXPECT_EQ(console.tooltipTrackingRow(), 0);
    EXPECT_EQ(console.tooltipPanel()->pos(), outline().viewport()->mapToGlobal(p0) + QPoint(4, 8));
    EXPECT_TRUE(console.tooltipPanel()->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(console.tooltipPanel()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(console.tooltipPanel()->windowFlags() & Qt::WindowDoesNotAcceptFocus);

    // Moving within the row keeps it; leaving the console keeps it.
    console.mouseMoved(p0 + QPoint(30, 1));
    console.mouseExited();
    fake->advance(2s);
    EXPECT_EQ(visiblePanels(), 1);
    EXPECT_EQ(console.tooltipTrackingRow(), 0);

    // Another row: the panel goes and a new wait starts.
    console.mouseMoved(centreOfRow(1));
    EXPECT_EQ(visiblePanels(), 0);
    EXPECT_EQ(console.tooltipTrackingRow(), -1);
    fake->advance(500ms);
    EXPECT_EQ(visiblePanels(), 0);
    fake->advance(300ms);
    ASSERT_EQ(visiblePanels(), 1);
    EXPECT_EQ(console.tooltipTrackingRow(), 1);
    const QString text = console.tooltipPanel()->label()->text();
    EXPECT_TRUE(text.contains("two") && text.contains("because") && text.contains("2:3 \u2022 /a")) << text.toStdString();

    // Over no row with a panel shown: the panel is kept.
    const QPoint noRow(5, outline().viewport()->height() - 2);
    ASSERT_LT(outline().rowAt(noRow), 0);
    console.mouseMoved(noRow);
    EXPECT_EQ(visiblePanels(), 1);

    // Over no row with nothing shown yet: the pending wait is cancelled.
    console.mouseMoved(centreOfRow(0));
    ASSERT_TRUE(console.isTooltipPending());
    EXPECT_EQ(visiblePanels(), 0);
    console.mouseMoved(noRow);
    EXPECT_FALSE(console.isTooltipPending());
    fake->advance(2s);
    EXPECT_EQ(visiblePanels(), 0);
}

TEST_F(ConsoleTest, HoverPanelWrapsAndStaysWithinItsWidth) {
    document.logger().error(QString("word ").repeated(300), QString("x").repeated(2000));
    document.logger().info("short");
    settle();
    console.showTooltip(0, &outline(), centreOfRow(0));
    ASSERT_NE(console.tooltipPanel(), nullptr);
    EXPECT_LE(console.tooltipPanel()->width(), ConsoleTooltipPanel::kMaximumWidth);
    EXPECT_GE(console.tooltipPanel()->width(), 400);
    EXPECT_LE(console.tooltipPanel()->label()->width(), 401);
    EXPECT_GT(console.tooltipPanel()->height(), 100);  // wrapped onto many lines
    console.showTooltip(1, &outline(), centreOfRow(1));
    EXPECT_EQ(visiblePanels(), 1);
    EXPECT_LT(console.tooltipPanel()->width(), 200);
    EXPECT_EQ(console.tooltipPanel()->height(), console.tooltipPanel()->label()->height() + 12);
}

// The panel goes with the window and with the entries it shows.
TEST_F(ConsoleTest, HoverPanelGoesWhenTheWindowClosesOrTheLogIsCleared) {
    document.logger().info("one");
    settle();
    console.showTooltip(0, &outline(), centreOfRow(0));
    ASSERT_EQ(visiblePanels(), 1);
    document.logStore()->clear();  // cleared from elsewhere than the button
    EXPECT_EQ(visiblePanels(), 0);
    EXPECT_EQ(console.tooltipTrackingRow(), -1);

    document.logger().info("again");
    settle();
    console.mouseMoved(centreOfRow(0));
    QTest::mouseClick(console.clearButton(), Qt::LeftButton);  // a pending panel is dropped too
    fake->advance(1s);
    EXPECT_EQ(visiblePanels(), 0);

    document.logger().info("once more");
    settle();
    console.showTooltip(0, &outline(), centreOfRow(0));
    ASSERT_EQ(visiblePanels(), 1);
    window.close();
    QApplication::processEvents();
    EXPECT_EQ(visiblePanels(), 0);
    EXPECT_EQ(console.tooltipPanel(), nullptr);
}

TEST(ConsoleRowDelegateTest, PlacesThePartsOfEachRowKind) {
    CarvexPlatform::TestApplication::ensure();
    const QRect cell(16, 100, 500, 38);
    const auto two = ConsoleRowDelegate::layout(cell, ConsoleOutlineModel::RowKind::entryTwoLines, "[12:00:00]");
    EXPECT_EQ(two.icon.size(), QSize(16, 16));
    EXPECT_EQ(two.icon.left(), cell.left() + 4);
    EXPECT_EQ(two.timestamp.left(), two.icon.right() + 1 + 8);
    EXPECT_EQ(two.message.left(), two.timestamp.right() + 1 + 8);
    EXPECT_EQ(two.message.right(), cell.right() - 4);
    EXPECT_EQ(two.metadata.left(), cell.left() + 4 + 24);
    EXPECT_GT(two.metadata.top(), two.message.bottom());
    EXPECT_GE(two.icon.top(), cell.top());
    EXPECT_LE(two.metadata.bottom(), cell.bottom());
    const auto one = ConsoleRowDelegate::layout(QRect(16, 0, 500, 24), ConsoleOutlineModel::RowKind::entryOneLine, "[12:00:00]");
    EXPECT_TRUE(one.metadata.isEmpty());
    EXPECT_GE(one.icon.top(), 0);
    EXPECT_LE(one.icon.bottom(), 23);
    const auto description = ConsoleRowDelegate::layout(QRect(16, 0, 500, 40), ConsoleOutlineModel::RowKind::description, {});
    EXPECT_EQ(description.description.left(), 16 + 32);
    EXPECT_EQ(description.description.right(), 16 + 500 - 1 - 8);
    EXPECT_EQ(description.description.top(), 4);
    EXPECT_DOUBLE_EQ(ConsoleRowDelegate::timestampFont().pointSizeF(), 11);
    EXPECT_DOUBLE_EQ(ConsoleRowDelegate::messageFont().pointSizeF(), 12);
    EXPECT_DOUBLE_EQ(ConsoleRowDelegate::metadataFont().pointSizeF(), 10);
}

TEST(ConsoleSceneTest, TheEmbedSegueMakesAConsole) {
    CarvexPlatform::TestApplication::ensure();
    CarvexPlatform::Storyboard storyboard("Main test");
    ConsoleViewController::registerScene(storyboard);
    auto console = storyboard.instantiateController<ConsoleViewController>("EmbedConsoleViewController");
    ASSERT_NE(console, nullptr);
    // Unbound it shows the empty state.
    console->view();
    EXPECT_FALSE(console->emptyPlaceholderView()->isHidden());
    EXPECT_TRUE(console->outlineView()->isHidden());
    EXPECT_FALSE(console->clearButton()->isEnabled());
}

}  // namespace

namespace {

// The texts of a selected row of the active window are painted white; others in their own colours.
TEST_F(ConsoleTest, SelectedRowTextTurnsWhite) {
    document.logger().info("a message long enough to show many pixels of text");
    document.logger().info("another message long enough to show many pixels of text");
    settle();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
    if (!outline().isActiveWindow()) GTEST_SKIP() << "no active window on this platform";
    outline().selectionModel()->select(console.outlineModel().index(0, 0), QItemSelectionModel::ClearAndSelect);
    const QImage image = outline().viewport()->grab().toImage();
    auto pixelsLike = [&](int row, const std::function<bool(const QColor&)>& like) {
        const QRect message = ConsoleRowDelegate::layout(outline().rowRect(row).adjusted(ConsoleOutlineView::kIndentation, 0, 0, 0),
                                                         ConsoleOutlineModel::RowKind::entryOneLine, "[00:00:00]")
                                  .message;
        int count = 0;
        for (int y = message.top(); y <= message.bottom(); ++y)
            for (int x = message.left(); x < std::min(message.right(), message.left() + 200); ++x)
                if (like(image.pixelColor(x * image.width() / outline().viewport()->width(),
                                          y * image.height() / outline().viewport()->height())))
                    ++count;
        return count;
    };
    const QColor label = CarvexPlatform::systemColor(CarvexPlatform::SystemColor::label);
    auto white = [](const QColor& c) { return c == QColor(Qt::white); };
    auto labelColoured = [&](const QColor& c) { return std::abs(c.lightness() - label.lightness()) < 40; };
    const QColor background = outline().viewport()->palette().color(QPalette::Base);
    ASSERT_NE(outline().palette().color(QPalette::Active, QPalette::Highlight), QColor(Qt::white));
    EXPECT_GT(pixelsLike(0, white), 20);
    EXPECT_EQ(pixelsLike(0, labelColoured), 0);
    EXPECT_GT(pixelsLike(1, labelColoured), 20);
    if (background != QColor(Qt::white)) {
        EXPECT_EQ(pixelsLike(1, white), 0);
    }
}

}  // namespace

namespace {

// The pointer's real moves reach the console through the outline's tracking.
TEST_F(ConsoleTest, PointerMovesOverTheOutlineStartTheWait) {
    document.logger().info("one");
    settle();
    QTest::mouseMove(outline().viewport(), centreOfRow(0));
    QApplication::processEvents();
    ASSERT_TRUE(console.isTooltipPending()) << "the pointer's move over a row did not reach the console";
    fake->advance(800ms);
    EXPECT_EQ(visiblePanels(), 1);
}

}  // namespace

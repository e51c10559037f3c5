// The completion popup offscreen: its size for the rows shown, selection moves, clicks, accepting,
// the details pane following the selection and the panel's height following the pane.

#include "Carvex/Completion/CompletionDetailsView.h"
#include "Carvex/Completion/CompletionPopupController.h"
#include "Carvex/Completion/CompletionPopupDelegate.h"
#include "platform/FakeMainScheduler.h"
#include "platform/SystemColor.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QScreen>
#include <QTest>

namespace Carvex {
namespace {

using namespace std::chrono_literals;

std::vector<CompletionItem> makeItems(int count, CompletionItemKind kind = CompletionItemKind::keyword) {
    std::vector<CompletionItem> items;
    for (int index = 0; index < count; ++index) {
        items.emplace_back(QStringLiteral("item%1").arg(index), std::nullopt, kind, std::nullopt,
                           QStringLiteral("About item %1").arg(index));
    }
    return items;
}

CompletionItem snippetItem() {
    SnippetMetadata metadata{QStringLiteral("info"), false, QStringLiteral("info:\n  title: ${1:My API}\n"),
                             QStringLiteral("3.0")};
    return CompletionItem(QStringLiteral("info"), std::nullopt, CompletionItemKind::snippet, QStringLiteral("Info block"),
                          std::nullopt, std::nullopt, 0, false, false, metadata);
}

class RecordingPopupDelegate : public CompletionPopupDelegate {
public:
    void completionPopupDidSelectItem(CompletionPopupController&, const CompletionItem& item) override {
        accepted.push_back(item.label);
    }
    void completionPopupDidDismiss(CompletionPopupController&) override { ++dismissals; }
    std::vector<QString> accepted;
    int dismissals = 0;
};

class CompletionPopupControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        popup = std::make_unique<CompletionPopupController>(clock);
        popup->setDelegate(&delegate);
        owner = std::make_unique<QMainWindow>();
        owner->resize(600, 400);
        owner->show();
    }
    void TearDown() override {
        popup.reset();
        owner.reset();
        clock->advance(1s);
    }
    QRect screen() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
    // A caret line in the screen's upper half, where the panel fits below.
    QRect caretLine() const { return QRect(screen().x() + 20, screen().y() + 10, 1, 23); }
    // Lets the details pane's fade run out.
    void settle() { clock->advance(400ms); }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> clock = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    RecordingPopupDelegate delegate;
    std::unique_ptr<CompletionPopupController> popup;
    std::unique_ptr<QMainWindow> owner;
};

TEST_F(CompletionPopupControllerTest, PanelHeightIsTheDetailsPaneAndUpToSevenRows) {
    struct Row {
        int count;
        int height;
    };
    for (const Row row : {Row{3, 166}, Row{12, 254}, Row{7, 254}, Row{1, 122}}) {
        popup->show(makeItems(row.count), caretLine(), owner.get());
        ASSERT_TRUE(popup->isVisible());
        EXPECT_EQ(popup->window()->height(), row.height) << row.count << " rows";
        EXPECT_EQ(popup->window()->width(), CompletionPopupController::windowWidth);
        EXPECT_EQ(popup->selectedIndex(), 0);
        EXPECT_EQ(popup->tableView()->model()->rowCount(), row.count);
        EXPECT_EQ(popup->window()->geometry().topLeft(), QPoint(caretLine().x(), caretLine().bottom() + 1));
    }
    // The panel paints its opaque background (a tool window is not composited over the editor).
    const QImage painted = popup->window()->grab().toImage();
    EXPECT_EQ(painted.pixelColor(painted.width() - 1, 0),
              CarvexPlatform::systemColor(CarvexPlatform::SystemColor::windowBackground));
    EXPECT_TRUE(popup->window()->windowFlags().testFlag(Qt::ToolTip));
    EXPECT_TRUE(popup->window()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(popup->window()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(popup->tableView()->focusPolicy(), Qt::NoFocus);
}

TEST_F(CompletionPopupControllerTest, SelectionStopsAtEitherEndAndTheDetailsFollow) {
    popup->show(makeItems(3), caretLine(), owner.get());
    settle();
    popup->moveUp();
    EXPECT_EQ(popup->selectedIndex(), 0) << "Up on the first row";
    popup->moveDown();
    popup->moveDown();
    popup->moveDown();
    EXPECT_EQ(popup->selectedIndex(), 2) << "Down on the last row";
    settle();
    ASSERT_NE(popup->selectedItem(), nullptr);
    EXPECT_EQ(popup->selectedItem()->label, QStringLiteral("item2"));
    ASSERT_TRUE(popup->detailsPanel()->currentItem());
    EXPECT_EQ(popup->detailsPanel()->currentItem()->label, QStringLiteral("item2"));
    EXPECT_EQ(popup->detailsPanel()->descriptionLabel()->text(), QStringLiteral("About item 2"));

    popup->show({}, caretLine(), owner.get());
    EXPECT_FALSE(popup->isVisible()) << "no items: hidden";
    popup->moveDown();
    popup->confirmSelection();
    EXPECT_TRUE(delegate.accepted.empty());
}

TEST_F(CompletionPopupControllerTest, AClickSelectsARowAndNeverAccepts) {
    int clicks = 0;
    QObject::connect(popup.get(), &CompletionPopupController::rowClicked, [&clicks] { ++clicks; });
    popup->show(makeItems(5), caretLine(), owner.get());
    popup->moveDown();
    EXPECT_EQ(clicks, 0) << "only the pointer's choice is reported";
    QListView* list = popup->tableView();
    const QRect third = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(popup->selectedIndex(), 2);
    EXPECT_GT(clicks, 0);
    EXPECT_TRUE(delegate.accepted.empty());
    EXPECT_TRUE(popup->isVisible());
    settle();
    EXPECT_EQ(popup->detailsPanel()->currentItem()->label, QStringLiteral("item2"));
}

TEST_F(CompletionPopupControllerTest, AcceptingHandsOverTheSelectedRowAndHides) {
    popup->show(makeItems(4), caretLine(), owner.get());
    popup->moveDown();
    popup->confirmSelection();
    ASSERT_EQ(delegate.accepted, std::vector<QString>{QStringLiteral("item1")});
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(popup->items().empty());
    EXPECT_EQ(delegate.dismissals, 1);

    // With the list's selection cleared, Return accepts nothing.
    popup->show(makeItems(4), caretLine(), owner.get());
    popup->tableView()->selectionModel()->clear();
    EXPECT_EQ(popup->selectedIndex(), -1);
    popup->confirmSelection();
    EXPECT_EQ(delegate.accepted.size(), 1u);
    EXPECT_TRUE(popup->isVisible());
}

TEST_F(CompletionPopupControllerTest, TheParentWindowMovingOrClosingHidesThePanel) {
    for (const QEvent::Type type : {QEvent::Move, QEvent::WindowDeactivate, QEvent::Close}) {
        popup->show(makeItems(2), caretLine(), owner.get());
        ASSERT_TRUE(popup->isVisible());
        QEvent event(type);
        QApplication::sendEvent(owner.get(), &event);
        EXPECT_FALSE(popup->isVisible()) << type;
    }
}

TEST_F(CompletionPopupControllerTest, TheDetailsPaneGrowsThePanelBelowTheCaretDownwards) {
    std::vector<CompletionItem> items = makeItems(2);
    items.push_back(snippetItem());
    popup->show(items, caretLine(), owner.get());
    settle();
    const QRect before = popup->window()->geometry();
    popup->moveDown();
    popup->moveDown();
    clock->advance(1s);
    EXPECT_EQ(popup->detailsPanelHeight(), CompletionDetailsView::snippetPreviewHeight);
    const QRect after = popup->window()->geometry();
    EXPECT_EQ(after.top(), before.top()) << "the top edge stays under the caret line";
    EXPECT_EQ(after.height(), 160 + 3 * 22);
    EXPECT_TRUE(popup->detailsPanel()->isPreviewShown());

    // The next popup opens with the last height the pane asked for.
    popup->hide();
    popup->show(makeItems(1), caretLine(), owner.get());
    EXPECT_EQ(popup->window()->height(), 160 + 22);
}

TEST_F(CompletionPopupControllerTest, FlippedAboveTheCaretTheGrowingPaneNeverCoversTheCaretLine) {
    const QRect bottomLine(screen().x() + 20, screen().y() + screen().height() - 40, 1, 23);
    std::vector<CompletionItem> items = makeItems(2);
    items.push_back(snippetItem());
    popup->show(items, bottomLine, owner.get());
    EXPECT_EQ(popup->window()->geometry().bottom() + 1, bottomLine.top());
    popup->moveDown();
    popup->moveDown();
    // Midway through the growth and after it, the bottom edge stays above the caret's line.
    for (int step = 0; step < 20; ++step) {
        clock->advance(50ms);
        EXPECT_LE(popup->window()->geometry().bottom() + 1, bottomLine.top());
    }
    EXPECT_EQ(popup->window()->height(), 160 + 3 * 22);
    EXPECT_EQ(popup->window()->geometry().bottom() + 1, bottomLine.top());
}

TEST_F(CompletionPopupControllerTest, ManyRowsAndHugeLabelsShowWithoutStalling) {
    std::vector<CompletionItem> items = makeItems(100000, CompletionItemKind::schema);
    items[0].label = QString(1024 * 1024, u'x');
    items[0].description = QString(1024 * 1024, u'y');
    popup->show(std::move(items), caretLine(), owner.get());
    settle();
    EXPECT_EQ(popup->window()->height(), 100 + 7 * 22);
    popup->window()->grab();  // paints the visible rows
    const QString description = popup->detailsPanel()->descriptionLabel()->text();
    EXPECT_LE(description.count(u'\n'), 4) << "at most five lines";
    EXPECT_TRUE(description.endsWith(QChar(0x2026)));
    for (int step = 0; step < 200; ++step) {
        popup->moveDown();
    }
    EXPECT_EQ(popup->selectedIndex(), 200);
}

}  // namespace
}  // namespace Carvex

#include "tests/Carvex/TextView/EditorViewTestSupport.h"

#include "Carvex/TextView/EditorTextViewTooltipDelegate.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "Carvex/TextView/ValidationTooltipWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <chrono>
#include <string>

using namespace Carvex;
using namespace std::chrono_literals;

namespace {

class TooltipTest : public CarvexTest::EditorViewTest {
protected:
    void SetUp() override {
        EditorViewTest::SetUp();
        // The window is shared by the process: start every test with it hidden and idle.
        ValidationTooltipWindow::hide();
        fake->advance(1s);
    }
    void TearDown() override {
        ValidationTooltipWindow::hide();
        fake->advance(1s);
        EditorViewTest::TearDown();
    }
    bool shows(const QString& text) const {
        auto* window = ValidationTooltipWindow::shared();
        return window != nullptr && window->isVisible() && window->text() == text;
    }
};

TEST_F(TooltipTest, ShowsAfterTheDelayAndFadesIn) {
    ValidationTooltipWindow::show(QStringLiteral("[SCH-011] one"), QPoint(20, 20), view->viewport());
    EXPECT_TRUE(ValidationTooltipWindow::hasPendingShow());
    fake->advance(299ms);
    EXPECT_FALSE(shows(QStringLiteral("[SCH-011] one")));
    fake->advance(1ms);
    ASSERT_TRUE(shows(QStringLiteral("[SCH-011] one")));
    EXPECT_FALSE(ValidationTooltipWindow::hasPendingShow());
    auto* window = ValidationTooltipWindow::shared();
    EXPECT_LT(window->alpha(), 0.5);
    fake->advance(150ms);
    EXPECT_DOUBLE_EQ(window->alpha(), 1.0);
    // It never takes the focus.
    EXPECT_TRUE(window->window()->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(window->window()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_FALSE(ValidationTooltipWindow::canBecomeKeyWindow() || ValidationTooltipWindow::canBecomeMainWindow());
    EXPECT_NE(QApplication::focusWidget(), window->window());

    // Hiding fades it out, then orders it out with its alpha back at 1.
    ValidationTooltipWindow::hide();
    fake->advance(100ms);
    EXPECT_TRUE(window->isVisible());
    fake->advance(50ms);
    EXPECT_FALSE(window->isVisible());
    EXPECT_DOUBLE_EQ(window->alpha(), 1.0);
}

TEST_F(TooltipTest, ASecondShowWithinTheDelayReplacesTheFirst) {
    ValidationTooltipWindow::show(QStringLiteral("first"), QPoint(20, 20), view->viewport());
    fake->advance(200ms);
    ValidationTooltipWindow::show(QStringLiteral("second"), QPoint(40, 20), view->viewport());
    fake->advance(200ms);  // the first would have fired by now
    auto* window = ValidationTooltipWindow::shared();
    EXPECT_TRUE(window == nullptr || !window->isVisible() || window->text() != QStringLiteral("first"));
    fake->advance(100ms);
    EXPECT_TRUE(shows(QStringLiteral("second")));
}

TEST_F(TooltipTest, HideCancelsAPendingShow) {
    ValidationTooltipWindow::show(QStringLiteral("pending"), QPoint(20, 20), view->viewport());
    fake->advance(100ms);
    ValidationTooltipWindow::hide();
    EXPECT_FALSE(ValidationTooltipWindow::hasPendingShow());
    fake->advance(1s);
    EXPECT_FALSE(shows(QStringLiteral("pending")));
}

TEST_F(TooltipTest, AViewGoneBeforeTheDelayShowsNothing) {
    auto other = std::make_unique<QWidget>();
    ValidationTooltipWindow::show(QStringLiteral("orphan"), QPoint(5, 5), other.get());
    other.reset();
    fake->advance(1s);
    EXPECT_FALSE(shows(QStringLiteral("orphan")));
}

struct FrameRow {
    const char* name;
    QPoint pointer;
    QRect expected;
};

class TooltipFrameTest : public ::testing::TestWithParam<FrameRow> {};

TEST_P(TooltipFrameTest, KeepsInsideTheVisibleFrame) {
    const QRect screen(0, 25, 1000, 700);  // visible frame below a 25-point menu bar
    EXPECT_EQ(ValidationTooltipWindow::frameFor(QSize(200, 40), GetParam().pointer, screen),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TooltipFrameTest,
    ::testing::Values(
        FrameRow{"below_right_of_the_pointer", QPoint(100, 100), QRect(110, 105, 200, 40)},
        FrameRow{"right_edge_shifts_left", QPoint(900, 100), QRect(1000 - 200 - 5, 105, 200, 40)},
        FrameRow{"bottom_edge_goes_above", QPoint(100, 700), QRect(110, 700 - 20 - 40, 200, 40)},
        FrameRow{"bottom_right_corner", QPoint(990, 710), QRect(795, 650, 200, 40)},
        FrameRow{"left_edge", QPoint(-300, 100), QRect(5, 105, 200, 40)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TooltipSizeTest, LongTextWrapsAt350) {
    CarvexPlatform::TestApplication::ensure();
    const QSize one = ValidationTooltipWindow::sizeFor(QStringLiteral("short"));
    const QSize two = ValidationTooltipWindow::sizeFor(QStringLiteral("short\n\nwith a description"));
    QString longText;
    for (int i = 0; i < 60; ++i) {
        longText += QStringLiteral("word ");
    }
    const QSize wrapped = ValidationTooltipWindow::sizeFor(longText);
    EXPECT_LT(one.width(), 350);
    EXPECT_GT(two.height(), one.height());
    EXPECT_LE(wrapped.width(), 350 + 16);
    EXPECT_GT(wrapped.height(), 2 * one.height());
    EXPECT_EQ(ValidationTooltipWindow::frameFor(wrapped, QPoint(0, 0), std::nullopt).size(), wrapped);
}

// The editor shows the tooltip of the finding under the pointer through the shared window.
class FindingTips : public EditorTextViewTooltipDelegate {
public:
    explicit FindingTips(const ValidationDecorationController& controller) : controller_(controller) {}
    std::optional<QString> editorTextViewTooltipAt(EditorTextView&, qsizetype index) override {
        const ValidationDecoration* decoration = controller_.decoration(index);
        return decoration ? std::optional<QString>(decoration->tooltipText()) : std::nullopt;
    }

private:
    const ValidationDecorationController& controller_;
};

TEST_F(TooltipTest, HoveringAMarkShowsItsFindingAndLeavingHidesIt) {
    view->loadText(QStringLiteral("openapi: 3.0.3\ninfo: x\n"));
    ValidationDecorationController controller(view.get());
    CarvexValidationError error;
    error.id = QUuid::createUuid();
    error.message = QStringLiteral("[DOC-001] info must be an object");
    error.sourceLocation = SourceLocation{QString(), 2, 1, 15};
    error.description = QStringLiteral("Write info as a mapping.");
    controller.apply({error});
    FindingTips tips(controller);
    view->setTooltipDelegate(&tips);

    QTextCursor cursor(view->document());
    cursor.setPosition(16);
    const QPoint overMark = view->cursorRect(cursor).center();
    QMouseEvent move(QEvent::MouseMove, overMark, view->viewport()->mapToGlobal(overMark), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    fake->advance(300ms);
    EXPECT_TRUE(shows(QStringLiteral("[DOC-001] info must be an object (2:1)\n\nWrite info as a mapping.")));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view->viewport(), &leave);
    fake->advance(150ms);
    EXPECT_FALSE(ValidationTooltipWindow::shared()->isVisible());
    view->setTooltipDelegate(nullptr);
}

}  // namespace

#include "EditorViewTestSupport.h"

#include "Carvex/LineNumberRulerView.h"

#include <QScrollBar>

using namespace Carvex;
using namespace std::chrono_literals;
using CarvexTest::EditorViewTest;
using Label = LineNumberRulerView::Label;

class LineNumberRulerViewTest : public EditorViewTest {
protected:
    void SetUp() override {
        EditorViewTest::SetUp();
        ruler = LineNumberRulerView::installLineNumberRuler(*view);
    }
    std::vector<QString> texts() {
        paint();
        std::vector<QString> result;
        for (const Label& label : ruler->visibleLabels()) {
            result.push_back(label.text);
        }
        return result;
    }
    LineNumberRulerView* ruler = nullptr;
};

TEST_F(LineNumberRulerViewTest, InstallsOnceBesideTheText) {
    EXPECT_EQ(LineNumberRulerView::installLineNumberRuler(*view), ruler);
    EXPECT_EQ(view->lineNumberRuler(), ruler);
    EXPECT_EQ(ruler->width(), LineNumberRulerView::ruleThickness);
    EXPECT_EQ(view->viewport()->geometry().left(),
              view->contentsRect().left() + LineNumberRulerView::ruleThickness);
}

TEST_F(LineNumberRulerViewTest, EmptyDocumentShowsOne) {
    view->loadText("");
    EXPECT_EQ(texts(), (std::vector<QString>{"1"}));
}

TEST_F(LineNumberRulerViewTest, FinalLineFeedAddsTheEmptyLastLine) {
    view->loadText("a\nb\n");
    EXPECT_EQ(texts(), (std::vector<QString>{"1", "2", "3"}));
}

TEST_F(LineNumberRulerViewTest, WrappedLineShowsItsNumberOnceThenDashes) {
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setWordWrapMode(QTextOption::WrapAnywhere);
    view->resize(200, 400);
    const QString longLine(200, u'x');
    view->loadText("a\n" + longLine + "\nb");
    const auto labels = texts();
    ASSERT_GE(labels.size(), 5u);
    EXPECT_EQ(labels.front(), "1");
    EXPECT_EQ(labels[1], "2");
    EXPECT_EQ(labels[2], "-");
    EXPECT_EQ(labels.back(), "3");
    for (std::size_t i = 2; i + 1 < labels.size(); ++i) {
        EXPECT_EQ(labels[i], "-");
    }
    // Labels stand at the tops of successive fragments.
    const auto placed = ruler->visibleLabels();
    for (std::size_t i = 1; i < placed.size(); ++i) {
        EXPECT_GT(placed[i].y, placed[i - 1].y);
    }
}

TEST_F(LineNumberRulerViewTest, ScrolledViewStartsAtTheFirstVisibleLine) {
    QString text;
    for (int i = 0; i < 500; ++i) {
        text += "line\n";
    }
    view->loadText(text);
    paint();
    view->verticalScrollBar()->setValue(200);
    const auto labels = texts();
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), QString::number(view->firstVisibleTextBlock().blockNumber() + 1));
    EXPECT_EQ(labels.front(), "201");
}

TEST_F(LineNumberRulerViewTest, ScrollBurstRedrawsOnce) {
    QString text;
    for (int i = 0; i < 500; ++i) {
        text += "line\n";
    }
    view->loadText(text);
    paint();
    const int before = ruler->refreshCount();
    for (int i = 1; i <= 10; ++i) {
        view->verticalScrollBar()->setValue(i * 5);
        fake->advance(5ms);
    }
    EXPECT_EQ(ruler->refreshCount(), before);
    fake->advance(16ms);
    EXPECT_EQ(ruler->refreshCount(), before + 1);
}

TEST_F(LineNumberRulerViewTest, TextChangeRedrawsAtOnce) {
    view->loadText("a\n");
    const int before = ruler->refreshCount();
    view->replaceCharacters(TextRange{1, 0}, "b");
    EXPECT_GT(ruler->refreshCount(), before);
}

TEST_F(LineNumberRulerViewTest, wide_line_numbers_are_not_cut_off) {
    // A fixed 40-point strip ending labels at 35 cut six-digit numbers off on the left.
    QString text;
    text.reserve(200'000);
    for (int i = 0; i < 100'000; ++i) {
        text += "x\n";
    }
    view->loadText(text);
    fake->runPending();
    ruler->refreshDisplay();
    const QFontMetricsF metrics(view->font());
    EXPECT_GE(ruler->labelEnd() - metrics.horizontalAdvance("100001"), 0);
    EXPECT_EQ(ruler->width(), ruler->thickness());
    EXPECT_EQ(view->leftViewportMargin(), ruler->thickness());
    view->loadText("short\n");
    ruler->refreshDisplay();
    EXPECT_EQ(ruler->thickness(), LineNumberRulerView::ruleThickness);
    EXPECT_EQ(ruler->labelEnd(), LineNumberRulerView::labelRightEdge);
}

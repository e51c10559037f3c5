#include "tests/Carvex/TextView/EditorViewTestSupport.h"

#include "Carvex/TextView/LineNumberRulerView.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTest>

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
    void loadLines(int count) {
        QString text;
        for (int i = 0; i < count; ++i) {
            text += "x\n";
        }
        view->loadText(text);
        fake->runPending();  // finishes a sliced load
        paint();
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

TEST_F(LineNumberRulerViewTest, EmptyDocumentShowsOneAndAFinalLineFeedAddsTheEmptyLastLine) {
    view->loadText("");
    EXPECT_EQ(texts(), (std::vector<QString>{"1"}));
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
    std::vector<QString> expected(labels.size(), "-");  // the wrapped line's later fragments
    expected.front() = "1";
    expected[1] = "2";
    expected.back() = "3";
    EXPECT_EQ(labels, expected);
    // Labels stand at the tops of successive fragments.
    const auto placed = ruler->visibleLabels();
    for (std::size_t i = 1; i < placed.size(); ++i) {
        EXPECT_GT(placed[i].y, placed[i - 1].y);
    }
}

TEST_F(LineNumberRulerViewTest, ScrolledViewStartsAtTheFirstVisibleLine) {
    loadLines(500);
    view->verticalScrollBar()->setValue(200);
    const auto labels = texts();
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), QString::number(view->firstVisibleTextBlock().blockNumber() + 1));
    EXPECT_EQ(labels.front(), "201");
}

TEST_F(LineNumberRulerViewTest, ScrollBurstRedrawsOnce) {
    loadLines(500);
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
    loadLines(100'000);
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

TEST_F(LineNumberRulerViewTest, keyboard_scrolling_redraws_the_numbers_on_screen) {
    // Keys that scroll by moving the caret move the scroll bar with its signals blocked: the ruler
    // kept the numbers of the old view beside the new lines, a number even beside wrapped rows.
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setWordWrapMode(QTextOption::WrapAnywhere);
    QString text;
    for (int line = 1; line <= 6000; ++line) {
        text += line % 7 == 0 ? QString(300, u'w') : QStringLiteral("key%1: value").arg(line);
        text += u'\n';
    }
    view->loadText(text);
    fake->runPending();
    view->setFocus();
    QCoreApplication::processEvents();
    ASSERT_FALSE(ruler->drawnLabels().empty());

    struct Step {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int presses;
    };
    const Step steps[] = {
        {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, 1},
        {"Page Up", Qt::Key_PageUp, Qt::NoModifier, 1},
        {"Page Up twice more", Qt::Key_PageUp, Qt::NoModifier, 2},
        {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, 1},
        {"Page Down", Qt::Key_PageDown, Qt::NoModifier, 3},
        {"a run of arrows", Qt::Key_Down, Qt::NoModifier, 120},
        {"arrows back up", Qt::Key_Up, Qt::NoModifier, 90},
    };
    int previousTop = -1;
    for (const Step& step : steps) {
        for (int press = 0; press < step.presses; ++press) {
            QTest::keyClick(view.get(), step.key, step.modifiers);
        }
        QCoreApplication::processEvents();
        fake->advance(16ms);
        QCoreApplication::processEvents();
        const int top = view->firstVisibleTextBlock().blockNumber() + 1;
        EXPECT_NE(top, previousTop) << step.name << " scrolls";
        previousTop = top;
        const auto drawn = ruler->drawnLabels();
        ASSERT_FALSE(drawn.empty()) << step.name;
        EXPECT_EQ(drawn.front().text, QString::number(top)) << step.name;
        EXPECT_EQ(drawn, ruler->visibleLabels()) << step.name << ": every label on screen";
    }
    EXPECT_EQ(ruler->drawnLabels().front().text, QString::number(previousTop));
}

TEST_F(LineNumberRulerViewTest, ALongLineGetsLabelsOnlyForItsFragmentsOnScreen) {
    // A minified description wraps into tens of thousands of fragments: a label for each of them
    // made every paint of the ruler shape and draw them all (most of a second for 5 MB).
    view->loadText(QStringLiteral("\"k\":\"vvv\",").repeated(20000) + QStringLiteral("\nend"));
    fake->runPending();
    paint();
    const QTextBlock line = view->document()->firstBlock();
    ASSERT_GT(line.layout()->lineCount(), 1000);
    const qreal height = view->viewport()->height();
    const qreal lineHeight = line.layout()->lineAt(0).height();
    const int onScreen = static_cast<int>(height / lineHeight) + 2;
    for (const int scroll : {0, line.layout()->lineCount() / 2}) {
        SCOPED_TRACE(scroll);
        view->verticalScrollBar()->setValue(scroll);
        paint();
        // The line's number (above the top once scrolled into the line), then its fragments on screen.
        const auto labels = ruler->visibleLabels();
        ASSERT_GE(labels.size(), 2u);
        EXPECT_LE(static_cast<int>(labels.size()), 1 + onScreen);
        EXPECT_EQ(labels.front().text, "1");
        EXPECT_EQ(labels.front().y < 0, scroll > 0);
        for (std::size_t i = 1; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i].text, "-");
            EXPECT_GT(labels[i].y, -lineHeight);
            EXPECT_LT(labels[i].y, height);
        }
    }
}

TEST_F(LineNumberRulerViewTest, NumbersEndAtTheirEdgeAfterTheFontChanges) {
    // The numbers are shaped once and drawn from that: a new font must not draw them from the
    // widths of the old one.
    loadLines(30);
    const qreal sizes[] = {9, 22, 9};
    for (const qreal size : sizes) {
        SCOPED_TRACE(size);
        QFont font = view->font();
        font.setPointSizeF(size);
        view->setFont(font);
        paint();
        const QImage image = ruler->grab().toImage();
        const QColor background = view->palette().color(QPalette::Base);
        int rightmost = -1;
        for (int x = 0; x < ruler->labelEnd() + 8 && x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (image.pixelColor(x, y) != background) {
                    rightmost = x;
                    break;
                }
            }
        }
        const qreal digit = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
        EXPECT_LE(rightmost, ruler->labelEnd() + 1);
        EXPECT_GE(rightmost, ruler->labelEnd() - digit);
    }
}

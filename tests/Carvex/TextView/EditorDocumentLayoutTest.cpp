#include "tests/Carvex/TextView/EditorViewTestSupport.h"

#include "Carvex/TextView/EditorDocumentLayout.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <functional>

using namespace Carvex;
using CarvexTest::EditorViewTest;

namespace {

// A long line between two short ones.
QString aroundLine(int length) { return QStringLiteral("head\n") + QString(length, u'x') + QStringLiteral("\ntail"); }

// Sets a bold start on the second block, as new colours do, and lays it out again.
void boldenSecondBlock(EditorTextView& v) {
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Black);
    v.document()->findBlockByNumber(1).layout()->setFormats({QTextLayout::FormatRange{0, 30'000, bold}});
    v.document()->markContentsDirty(v.document()->findBlockByNumber(1).position(), 30'000);
}

class EditorDocumentLayoutTest : public EditorViewTest {
protected:
    EditorDocumentLayout& layout() {
        return *qobject_cast<EditorDocumentLayout*>(view->document()->documentLayout());
    }
    // The rectangle as the toolkit finds it, walking the block's lines.
    QRectF walked(const QTextBlock& block) { return layout().QPlainTextDocumentLayout::blockBoundingRect(block); }
    // Serves the event loop, the layout's timers included, until `done` holds; false when it does
    // not within a minute, however slow the machine.
    static bool serveUntil(const std::function<bool()>& done) {
        const QDeadlineTimer deadline(60'000);
        while (!done()) {
            if (deadline.hasExpired()) {
                return false;
            }
            QCoreApplication::processEvents();
            if (!done()) {
                QTest::qSleep(1);
            }
        }
        return true;
    }
    // Serves the event loop until no block is laid out in slices.
    void finishSlices() { ASSERT_TRUE(serveUntil([this] { return !layout().isLayingOutAnyBlock(); })); }
    // Expects the lines of `number` to be the ones the toolkit makes when it lays the block out whole.
    void expectToolkitLines(int number) {
        QTextBlock block = view->document()->findBlockByNumber(number);
        const int lines = block.layout()->lineCount();
        const QRectF rect = layout().blockBoundingRect(block);
        ASSERT_GT(lines, 1);
        layout().setLaysOutLongBlocksInSlices(false);
        block.clearLayout();
        EXPECT_EQ(walked(block), rect);
        EXPECT_EQ(block.layout()->lineCount(), lines);
        EXPECT_EQ(block.lineCount(), lines);
        layout().setLaysOutLongBlocksInSlices(true);
    }
};

TEST_F(EditorDocumentLayoutTest, ALongBlocksRectangleIsFoundOnceAndFollowsEachChange) {
    // A long wrapped block's rectangle is kept between paints; whatever lays the block out
    // again or moves it must give the rectangle the toolkit finds then.
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setWordWrapMode(QTextOption::WrapAnywhere);
    view->loadText(aroundLine(40'000));
    view->finishLoading();
    paint();
    const struct {
        const char* name;
        std::function<void(EditorTextView&)> change;
    } rows[] = {
        {"nothing", [](EditorTextView&) {}},
        {"a narrower view", [](EditorTextView& v) { v.resize(v.width() - 150, v.height()); }},
        {"a key in the block", [](EditorTextView& v) { v.replaceCharacters(TextRange{20'000, 0}, "yyyy"); }},
        {"rows taken out", [](EditorTextView& v) { v.replaceCharacters(TextRange{100, 5'000}, {}); }},
        {"a larger font",
         [](EditorTextView& v) {
             QFont font = v.font();
             font.setPointSizeF(font.pointSizeF() * 1.5);
             v.setFont(font);
         }},
        {"the last line taken away", [](EditorTextView& v) { v.replaceCharacters(TextRange{v.textLength() - 5, 5}, {}); }},
        {"formats on the block", boldenSecondBlock},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.change(*view);
        paint();
        const QTextBlock block = view->document()->findBlockByNumber(1);
        ASSERT_GE(block.layout()->lineCount(), 32);
        const int before = layout().workCount();
        const QRectF kept = layout().blockBoundingRect(block);
        EXPECT_EQ(layout().blockBoundingRect(block), kept);
        EXPECT_EQ(layout().workCount(), before) << "found again";
        EXPECT_EQ(kept, walked(block));
    }
}

TEST_F(EditorDocumentLayoutTest, ALineOfMegabytesIsLaidOutASliceAtATimeWhileTheLoopIsServed) {
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QString line(600'000, u'x');
    const struct {
        const char* name;
        QString text;
        int block;
    } rows[] = {
        {"a line between others", QStringLiteral("head\n") + line + QStringLiteral("\ntail"), 1},
        {"a text of one line (loaded into its one block)", line, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        view->loadText(row.text);
        view->finishLoading();
        paint();
        const QTextBlock block = view->document()->findBlockByNumber(row.block);
        ASSERT_TRUE(layout().isLayingOut(block));
        EXPECT_FALSE(layout().blockBoundingRect(block).isValid()) << "a stand-in nothing scrolls to";
        // A call posted now (as a key or a close is) is served before the block has its lines.
        bool served = false;
        bool servedWhileLayingOut = false;
        QMetaObject::invokeMethod(
            view.get(),
            [&] {
                served = true;
                servedWhileLayingOut = layout().isLayingOut(block);
            },
            Qt::QueuedConnection);
        finishSlices();
        EXPECT_TRUE(served);
        EXPECT_TRUE(servedWhileLayingOut);
        EXPECT_GT(layout().sliceTurns(), 1);
        expectToolkitLines(row.block);
        paint();
        EXPECT_FALSE(layout().isLayingOutAnyBlock()) << "laid out once";
        EXPECT_EQ(view->text(), row.text);
    }
}

TEST_F(EditorDocumentLayoutTest, AChangeWhileALineIsLaidOutInSlicesStartsItOver) {
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QString text = aroundLine(600'000);
    const struct {
        const char* name;
        std::function<void(EditorTextView&)> change;
        QString expected;  // the text after it ("" when unchanged)
        int block;         // the long block's number after it
    } rows[] = {
        {"a key in the block", [](EditorTextView& v) { v.replaceCharacters(TextRange{300'000, 0}, "y"); },
         QString(text).insert(300'000, u'y'), 1},
        {"a key before it", [](EditorTextView& v) { v.replaceCharacters(TextRange{1, 0}, "y"); },
         QString(text).insert(1, u'y'), 1},
        {"a line break before its end", [](EditorTextView& v) { v.replaceCharacters(TextRange{6, 0}, "\n"); },
         QString(text).insert(6, u'\n'), 2},
        {"a narrower view", [](EditorTextView& v) { v.resize(v.width() - 150, v.height()); }, {}, 1},
        {"formats on the block", boldenSecondBlock, {}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        view->loadText(text);
        view->finishLoading();
        paint();
        QCoreApplication::processEvents();  // a turn of lines
        ASSERT_TRUE(layout().isLayingOutAnyBlock());
        row.change(*view);
        paint();
        finishSlices();
        expectToolkitLines(row.block);
        const QString expected = row.expected.isEmpty() ? text : row.expected;
        EXPECT_EQ(view->text(), expected);
        if (!row.expected.isEmpty()) {
            view->undo();
            EXPECT_EQ(view->text(), text) << "undo takes back the change";
        }
        view->resize(600, 400);
    }
}

TEST_F(EditorDocumentLayoutTest, ALineLaidOutInSlicesOnceKeepsShowingThroughKeysAndNewColours) {
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QString text = aroundLine(600'000);
    const struct {
        const char* name;
        std::function<void(EditorTextView&)> change;
    } rows[] = {
        {"a key in the block", [](EditorTextView& v) { v.replaceCharacters(TextRange{300'000, 0}, "y"); }},
        {"new formats on the block", boldenSecondBlock},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        view->loadText(text);
        view->finishLoading();
        paint();
        finishSlices();
        row.change(*view);
        paint();
        // The toolkit's own relayout, at once: the line never stands as a stand-in again.
        const QTextBlock block = view->document()->findBlockByNumber(1);
        EXPECT_FALSE(layout().isLayingOutAnyBlock());
        EXPECT_TRUE(layout().blockBoundingRect(block).isValid());
        EXPECT_GT(block.layout()->lineCount(), 1);
    }
}

TEST_F(EditorDocumentLayoutTest, ChangesAroundALineLaidOutInSlicesLetItGoOn) {
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const QString line(600'000, u'x');
    const QString text = QStringLiteral("head\n") + line + QStringLiteral("\ntail");
    const int nextBlock = 5 + line.size() + 1;
    const struct {
        const char* name;
        std::function<void(EditorTextView&)> change;
        QString expected;
        bool startsOver;
    } rows[] = {
        {"lines put in at the start of the next block (the rest of a load)",
         [&](EditorTextView& v) { v.replaceCharacters(TextRange{nextBlock, 0}, QStringLiteral("more\n")); },
         QString(text).insert(nextBlock, QStringLiteral("more\n")), false},
        {"the line before it laid out again in place",
         [](EditorTextView& v) { v.document()->markContentsDirty(0, 5); }, text, false},
        {"a character put in at the end of the line",
         [&](EditorTextView& v) { v.replaceCharacters(TextRange{nextBlock - 1, 0}, QStringLiteral("y")); },
         QString(text).insert(nextBlock - 1, u'y'), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        view->loadText(text);
        view->finishLoading();
        paint();
        ASSERT_TRUE(serveUntil([this] { return layout().pendingLines() > 0 || !layout().isLayingOutAnyBlock(); }));
        const int made = layout().pendingLines();
        ASSERT_GT(made, 0);
        row.change(*view);
        paint();
        EXPECT_TRUE(layout().isLayingOutAnyBlock());
        if (row.startsOver) {
            EXPECT_EQ(layout().pendingLines(), 0);
        } else {
            EXPECT_GE(layout().pendingLines(), made) << "the lines made so far are kept";
        }
        finishSlices();
        expectToolkitLines(1);
        EXPECT_EQ(view->text(), row.expected);
    }
}

TEST_F(EditorDocumentLayoutTest, ALineWaitsForItsColoursBeforeItIsLaidOut) {
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    bool coloursOnTheirWay = true;
    int asked = 0;
    layout().setHoldsLayoutWhile([&] {
        ++asked;
        return coloursOnTheirWay;
    });
    const QString text = aroundLine(600'000);
    view->loadText(text);
    view->finishLoading();
    paint();
    // The job looks again on a timer, however long a loaded machine takes to serve it: by the third
    // look it has still analysed and laid out nothing.
    ASSERT_TRUE(serveUntil([&] { return asked >= 3 || layout().pendingLines() > 0 || !layout().isLayingOutAnyBlock(); }));
    EXPECT_TRUE(layout().isLayingOutAnyBlock());
    EXPECT_EQ(layout().pendingLines(), 0) << "nothing analysed or laid out while the colours are on their way";
    coloursOnTheirWay = false;
    finishSlices();
    expectToolkitLines(1);
    layout().setHoldsLayoutWhile({});
}

}  // namespace

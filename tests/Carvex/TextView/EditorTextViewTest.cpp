#include "tests/Carvex/TextView/EditorViewTestSupport.h"

#include "Carvex/TextView/EditorTextViewClickDelegate.h"
#include "Carvex/TextView/EditorTextViewKeyDelegate.h"
#include "Carvex/TextView/EditorTextViewTooltipDelegate.h"
#include "Carvex/Text/LineEndingStyle.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <functional>
#include <utility>
#include <vector>

using namespace Carvex;
using CarvexTest::EditorViewTest;

namespace {

void press(QWidget* widget, int key, const QString& text = {},
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &event);
}

// `line` repeated until the text holds at least `size` units: large enough to load in slices.
QString repeated(const QString& line, qsizetype size) {
    QString text;
    while (text.size() < size) {
        text += line;
    }
    return text;
}

struct LineEndingRow {
    const char* name;
    const char* loaded;
    const char* afterTyping;  // "X" typed at the end of the first line
};

class EditorLineEndingTest : public EditorViewTest, public ::testing::WithParamInterface<LineEndingRow> {};

TEST_P(EditorLineEndingTest, LoadingIsNotAnEditAndAnEditKeepsTheLineEndings) {
    const QString loaded = QString::fromUtf8(GetParam().loaded);
    QSignalSpy changes(view.get(), &EditorTextView::textDidChange);
    view->loadText(loaded);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(delegate.asked.empty() && delegate.changes.empty());
    EXPECT_FALSE(view->document()->isModified() || view->document()->isUndoAvailable());
    EXPECT_EQ(view->text(), loaded);  // untouched: exactly as loaded
    EXPECT_FALSE(view->viewText().contains(u'\r'));
    const qsizetype firstBreak = view->viewText().indexOf(u'\n');
    view->setSelectedRange(TextRange{firstBreak, 0});
    press(view.get(), Qt::Key_X, "X");
    EXPECT_EQ(view->text().toUtf8(), QByteArray(GetParam().afterTyping));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, EditorLineEndingTest,
    ::testing::Values(LineEndingRow{"lf", "a: 1\nb: 2\n", "a: 1X\nb: 2\n"},
                      LineEndingRow{"crlf", "a: 1\r\nb: 2\r\n", "a: 1X\r\nb: 2\r\n"},
                      LineEndingRow{"cr", "a: 1\rb: 2\r", "a: 1X\rb: 2\r"},
                      LineEndingRow{"crlf_without_final_break", "a\r\n\r\nb", "aX\r\n\r\nb"},
                      LineEndingRow{"nbsp_and_line_separator_kept",
                                    "a:\xc2\xa0x\r\nb:\xe2\x80\xa8y\r\n",
                                    "a:\xc2\xa0xX\r\nb:\xe2\x80\xa8y\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

TEST_F(EditorViewTest, MixedLineEndingsComeBackUnchangedUntilAnEdit) {
    const QString mixed = "a\r\nb\nc\r";
    view->loadText(mixed);
    EXPECT_EQ(view->lineEndingStyle(), LineEndingStyle::crlf);
    EXPECT_EQ(view->text(), mixed);
    EXPECT_EQ(view->viewText(), "a\nb\nc\n");
}

namespace {

struct EditRow {
    const char* name;
    const char* text;
    TextRange selection;
    std::function<void(EditorTextView&)> edit;
    const char* asked;  // the replacement the delegate is asked to allow
    TextChange expected;
    const char* result;
    const char* clipboard = nullptr;
};

std::function<void(EditorTextView&)> key(int code, const char* typed = "", Qt::KeyboardModifiers modifiers = {}) {
    return [=](EditorTextView& view) { press(&view, code, QString::fromUtf8(typed), modifiers); };
}

std::function<void(EditorTextView&)> pasting(const char* text) {
    return [=](EditorTextView& view) {
        QApplication::clipboard()->setText(text);
        view.paste();
    };
}

std::function<void(EditorTextView&)> committing(const char* text) {
    return [=](EditorTextView& view) {
        QInputMethodEvent event(QString(), {});
        event.setCommitString(QString::fromUtf8(text));
        QApplication::sendEvent(&view, &event);
    };
}

class EditorEditRangeTest : public EditorViewTest, public ::testing::WithParamInterface<EditRow> {};

TEST_P(EditorEditRangeTest, EveryEditPathAsksAndReportsUtf16Ranges) {
    const auto& row = GetParam();
    view->loadText(QString::fromUtf8(row.text));
    view->setSelectedRange(row.selection);
    row.edit(*view);
    ASSERT_EQ(delegate.asked.size(), 1u);
    EXPECT_EQ(delegate.asked[0].replacement, QString::fromUtf8(row.asked));
    ASSERT_EQ(delegate.changes.size(), 1u);
    EXPECT_EQ(delegate.changes[0], row.expected);
    EXPECT_EQ(view->viewText(), QString::fromUtf8(row.result));
    EXPECT_EQ(view->viewText(), view->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n'));
    if (row.clipboard) {
        EXPECT_EQ(QApplication::clipboard()->text(), row.clipboard);
    }
}

const char emoji[] = "\xf0\x9f\x98\x80";
const char otherEmoji[] = "\xf0\x9f\x98\x81";

INSTANTIATE_TEST_SUITE_P(
    Edits, EditorEditRangeTest,
    ::testing::Values(
        EditRow{"backspace_after_emoji", "a\xf0\x9f\x98\x80" "b", {3, 0}, key(Qt::Key_Backspace), "", {{1, 0}, -2}, "ab"},
        EditRow{"delete_before_emoji", "a\xf0\x9f\x98\x80" "b", {1, 0}, key(Qt::Key_Delete), "", {{1, 0}, -2}, "ab"},
        EditRow{"type_emoji_after_emoji", emoji, {2, 0}, key(Qt::Key_unknown, otherEmoji), otherEmoji, {{2, 2}, 2},
                "\xf0\x9f\x98\x80\xf0\x9f\x98\x81"},
        EditRow{"delete_flag_grapheme", "x\xf0\x9f\x87\xa9\xf0\x9f\x87\xaay", {1, 0}, key(Qt::Key_Delete), "",
                {{1, 0}, -4}, "xy"},
        EditRow{"enter_inserts_line_feed", "ab", {1, 0}, key(Qt::Key_Return, "\r"), "\n", {{1, 1}, 1}, "a\nb"},
        EditRow{"backspace_joins_lines", "a\nb", {2, 0}, key(Qt::Key_Backspace), "", {{1, 0}, -1}, "ab"},
        EditRow{"paste_asks_with_line_feeds", "ab", {1, 0}, pasting("x\r\ny"), "x\ny", {{1, 3}, 3}, "ax\nyb"},
        EditRow{"cut", "hello", {1, 3}, key(Qt::Key_X, "\x18", Qt::ControlModifier), "", {{1, 0}, -3}, "ho", "ell"},
        EditRow{"input_method_commit", "ab", {1, 0}, committing("\xc3\xa9"), "\xc3\xa9", {{1, 1}, 1},
                "a\xc3\xa9" "b"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

TEST_F(EditorViewTest, RefusedChangeLeavesTheTextAlone) {
    view->loadText("abc");
    view->setSelectedRange(TextRange{1, 1});
    delegate.refuse = true;
    press(view.get(), Qt::Key_X, "x");
    ASSERT_EQ(delegate.asked.size(), 1u);
    EXPECT_EQ(delegate.asked[0].range, (TextRange{1, 1}));
    EXPECT_EQ(delegate.asked[0].replacement, "x");
    EXPECT_EQ(view->viewText(), "abc");
    EXPECT_TRUE(delegate.changes.empty());
}

TEST_F(EditorViewTest, UndoIsAnnouncedAsAChange) {
    view->loadText("ab");
    view->setSelectedRange(TextRange{2, 0});
    press(view.get(), Qt::Key_C, "c");
    view->undo();
    EXPECT_EQ(view->viewText(), "ab");
    ASSERT_EQ(delegate.changes.size(), 2u);
    EXPECT_EQ(delegate.changes[1], (TextChange{TextRange{2, 0}, -1}));
    EXPECT_TRUE(view->text() == "ab");
}

TEST_F(EditorViewTest, UndoingAGroupPutsTheCaretBackWhereTheGroupBegan) {
    // A snippet, a reformat: several changes made as one step, away from the caret or at it.
    struct Row {
        const char* name;
        qsizetype caret;
        std::vector<std::pair<TextRange, QString>> edits;
    };
    const std::vector<Row> rows = {
        {"one insertion at the caret", 9, {{TextRange{9, 0}, "\n    a: 1\n    b: 2"}}},
        {"an insertion replacing a word before the caret", 9, {{TextRange{5, 4}, "type: object"}}},
        {"edits before and after the caret", 6, {{TextRange{10, 0}, "x"}, {TextRange{0, 5}, ""}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        view->loadText("a:\n  type:\nb: 2\n");
        view->setSelectedRange(TextRange{row.caret, 0});
        view->beginUndoGrouping();
        for (const auto& [range, text] : row.edits) {
            ASSERT_TRUE(view->replaceCharacters(range, text, false));
        }
        view->endUndoGrouping();
        view->undo();
        EXPECT_EQ(view->viewText(), "a:\n  type:\nb: 2\n");
        EXPECT_EQ(view->selectedRange(), (TextRange{row.caret, 0}));
    }
}

TEST_F(EditorViewTest, LineNumbersCountLineFeedsAtEveryUtf16Index) {
    const QString text = QString::fromUtf8("a\xf0\x9f\x98\x80\nb\xf0\x9f\x98\x80\n\nc");
    view->loadText(text);
    int feeds = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        EXPECT_EQ(view->lineNumber(i), feeds) << i;
        if (i < text.size() && text[i] == u'\n') {
            ++feeds;
        }
    }
    EXPECT_EQ(view->lineNumber(-1), 0);
    EXPECT_EQ(view->lineNumber(text.size() + 1), 0);
}

TEST_F(EditorViewTest, CaretIndentLevelCountsTabsAsTheGuideWidth) {
    view->loadText("    a\n\t b\n    \nx");
    view->setSelectedRange(TextRange{2, 0});
    EXPECT_EQ(view->caretIndentLevel(), 2);
    view->setSelectedRange(TextRange{7, 0});
    EXPECT_EQ(view->caretIndentLevel(), 1);  // tab + space = 3 columns
    view->setSelectedRange(TextRange{12, 0});
    EXPECT_EQ(view->caretIndentLevel(), 2);  // a blank line indented by four
    view->setIndentGuideWidth(0);
    EXPECT_EQ(view->caretIndentLevel(), 0);
}

TEST_F(EditorViewTest, RedisplayOnlyWhenLineOrLevelChanges) {
    view->loadText("  abc\n  def\n    ghi\n");
    view->setSelectedRange(TextRange{2, 0});
    const int before = view->redisplayRequestCount();
    view->setSelectedRange(TextRange{4, 0});  // same line, same level
    EXPECT_EQ(view->redisplayRequestCount(), before);
    view->setSelectedRange(TextRange{8, 0});  // next line, same level
    EXPECT_EQ(view->redisplayRequestCount(), before + 1);
    view->setHighlightCurrentLine(true);  // unchanged value
    view->setShowIndentGuides(true);
    view->setIndentGuideWidth(2);
    EXPECT_EQ(view->redisplayRequestCount(), before + 1);
    view->setIndentGuideColor(view->indentGuideColor());  // colours always redraw
    EXPECT_EQ(view->redisplayRequestCount(), before + 2);
}

namespace {

struct KeyEater : QObject, EditorTextViewKeyDelegate {
    bool editorTextViewHandleKeyDown(EditorTextView&, QKeyEvent& event) override { return event.key() == Qt::Key_Tab; }
};

struct Clicker : QObject, EditorTextViewClickDelegate {
    bool editorTextViewHandleCmdClickAt(EditorTextView&, QPoint) override {
        ++clicks;
        return consume;
    }
    std::optional<QCursor> editorTextViewCursorAt(EditorTextView&, QPoint, Qt::KeyboardModifiers modifiers) override {
        return modifiers & Qt::ControlModifier ? std::optional(QCursor(Qt::PointingHandCursor)) : std::nullopt;
    }
    bool consume = true;
    int clicks = 0;
};

struct Tipper : EditorTextViewTooltipDelegate {
    std::optional<QString> editorTextViewTooltipAt(EditorTextView&, qsizetype index) override {
        return index >= 0 && index < 3 ? std::optional(QString("finding")) : std::nullopt;
    }
};

class TooltipCountingView : public EditorTextView {
public:
    using EditorTextView::EditorTextView;
    using EditorTextView::updateTooltip;
    int shown = 0;
    int hidden = 0;

protected:
    void showTooltip(const QString&, QPoint) override { ++shown; }
    void hideTooltip() override { ++hidden; }
};

}  // namespace

TEST_F(EditorViewTest, KeyDelegateConsumesKeysAndIsWeak) {
    view->loadText("ab");
    auto eater = std::make_unique<KeyEater>();
    view->setKeyDelegate(eater.get());
    view->setSelectedRange(TextRange{0, 0});
    press(view.get(), Qt::Key_Tab, "\t");
    EXPECT_EQ(view->viewText(), "ab");
    eater.reset();
    EXPECT_EQ(view->keyDelegate(), nullptr);
    press(view.get(), Qt::Key_Tab, "\t");
    EXPECT_EQ(view->viewText(), "\tab");
}

TEST_F(EditorViewTest, CommandClickGoesToTheDelegateOrFallsThrough) {
    view->loadText("first line\nsecond line\n");
    paint();
    const QPoint onSecondLine = view->cursorRect(QTextCursor(view->document()->findBlockByNumber(1))).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, onSecondLine);
    EXPECT_GE(view->selectedRange().location, 11);  // no delegate: an ordinary click
    Clicker clicker;
    view->setClickDelegate(&clicker);
    view->setSelectedRange(TextRange{0, 0});
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, onSecondLine);
    EXPECT_EQ(clicker.clicks, 1);
    EXPECT_EQ(view->selectedRange().location, 0);  // consumed
    clicker.consume = false;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, onSecondLine);
    EXPECT_EQ(clicker.clicks, 2);
    EXPECT_GE(view->selectedRange().location, 11);  // fell through to normal selection
}

TEST_F(EditorViewTest, TooltipShowsOnceHidesWhenGone) {
    TooltipCountingView tipView(nullptr, fake);
    tipView.resize(400, 200);
    tipView.show();
    tipView.loadText("abcdef");
    (void)tipView.viewport()->grab();
    Tipper tipper;
    tipView.setTooltipDelegate(&tipper);
    const QRect first = tipView.cursorRect(QTextCursor(tipView.document()));
    const QPoint overA = first.center() + QPoint(3, 0);
    tipView.updateTooltip(overA);
    tipView.updateTooltip(overA);
    EXPECT_EQ(tipView.shown, 1);
    EXPECT_EQ(tipView.currentTooltipText(), "finding");
    QTextCursor end(tipView.document());
    end.setPosition(5);
    tipView.updateTooltip(tipView.cursorRect(end).center() + QPoint(2, 0));
    EXPECT_EQ(tipView.hidden, 1);
    EXPECT_FALSE(tipView.currentTooltipText().has_value());
}

TEST_F(EditorViewTest, LargeTextLoadsInSlicesWithoutBecomingAnEdit) {
    const QString big = repeated("  key: \"value\"\r\n", 2'000'000);
    QSignalSpy finished(view.get(), &EditorTextView::loadFinished);
    QSignalSpy changes(view.get(), &EditorTextView::textDidChange);
    view->loadText(big);
    EXPECT_TRUE(view->isLoading());
    EXPECT_FALSE(view->isReadOnly()) << "keys go in while the rest loads";
    EXPECT_LT(view->document()->characterCount(), 1'000'000);
    EXPECT_EQ(view->textLength(), big.size() - big.count(u'\r'));
    EXPECT_EQ(view->text(), big);
    fake->runPending();
    EXPECT_FALSE(view->isLoading());
    EXPECT_FALSE(view->isReadOnly());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_FALSE(view->document()->isModified() || view->document()->isUndoAvailable());
    EXPECT_EQ(view->document()->characterCount() - 1, view->textLength());
    EXPECT_EQ(view->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n'), view->viewText());
}

TEST_F(EditorViewTest, ALongLineLoadsWholeNotOnePieceAfterAnother) {
    // Appending to a block lays it out again, so a line loaded piece by piece would cost its length
    // squared. Short lines, a line of 300,000 units holding surrogate pairs, then short lines: every
    // slice ends just after a line feed, so while loading the document's last block is empty.
    QString text;
    for (int i = 0; i < 30'000; ++i) {
        text += QStringLiteral("ab\n");
    }
    for (int i = 0; i < 100'000; ++i) {
        text += QStringLiteral("x\U0001F600");
    }
    text += u'\n';
    for (int i = 0; i < 30'000; ++i) {
        text += QStringLiteral("cd\n");
    }
    QApplication::processEvents();  // on screen, so the long line does not wait for it
    view->loadText(text);
    int turns = 0;
    while (view->isLoading() && turns < 100) {
        EXPECT_EQ(view->document()->lastBlock().length(), 1) << "after turn " << turns;
        fake->runOne();
        ++turns;
    }
    EXPECT_EQ(view->document()->findBlockByNumber(30'000).length(), 300'001);
    EXPECT_EQ(view->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n'), view->viewText());
    EXPECT_EQ(view->text(), text);
    // Looking for word ends in so long a line would be quadratic: it wraps anywhere, until a text of
    // ordinary lines comes.
    EXPECT_EQ(view->wordWrapMode(), QTextOption::WrapAnywhere);
    view->loadText(QStringLiteral("a: b\n"));
    EXPECT_EQ(view->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_EQ(view->document()->toPlainText(), QStringLiteral("a: b\n"));
}

TEST_F(EditorViewTest, ALineOfMegabytesWaitsForTheWindowToComeOnScreen) {
    // Laid out as it came in, before the window was first painted, such a line left the window
    // black for seconds. A line of emoji sequences and combining marks costs many times more per
    // unit than plain letters: 530K units of them kept the window black for 1.3 s.
    const QString marks = repeated(QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467 e\u0301\u0302\u0323"
                                                  "\U0001F1EB\U0001F1F7\U0001F44D\U0001F3FD Z\u0300\u0301\u0302 "),
                                   300'000);
    const struct {
        QString text;
        qsizetype longLine;
    } cases[] = {
        {repeated("key: value\n", 100) + QString(2'000'000, u'x') + "\nend\n", 2'000'000},
        {QString(2'000'000, u'x'), 2'000'000},
        {repeated("key: value\n", 100) + "description: " + marks + "\nend\n", marks.size()},
        {marks, marks.size()},
    };
    for (const auto& [text, longLine] : cases) {
        EditorTextView fresh(nullptr, fake);
        fresh.resize(600, 400);
        fresh.show();  // shown, not yet on screen: that comes with the next turn of the event loop
        ASSERT_FALSE(fresh.windowHandle()->isExposed());
        fresh.loadText(text);
        EXPECT_LT(fresh.document()->characterCount(), longLine) << "not even in the first slice";
        fake->runOne();
        fake->runOne();
        EXPECT_TRUE(fresh.isLoading());
        EXPECT_LT(fresh.document()->characterCount(), longLine) << "the long line waits";
        QApplication::processEvents();
        ASSERT_TRUE(fresh.windowHandle()->isExposed());
        fake->runPending();
        EXPECT_FALSE(fresh.isLoading());
        EXPECT_EQ(fresh.document()->characterCount() - 1, fresh.textLength());
    }
}

TEST_F(EditorViewTest, EditDuringASlicedLoadLeavesTheRestLoadingBehindIt) {
    // An edit finished the load first: a key typed into a 10 MB text showed after two seconds.
    const QString big = repeated("line\n", 1'500'000);
    view->loadText(big);
    ASSERT_TRUE(view->isLoading());
    EXPECT_TRUE(view->replaceCharacters(TextRange{0, 0}, "x"));
    EXPECT_TRUE(view->isLoading());
    EXPECT_EQ(view->viewText(), "x" + big);
    EXPECT_TRUE(view->document()->firstBlock().text() == "xline");
    fake->runPending();
    EXPECT_FALSE(view->isLoading());
    EXPECT_EQ(view->document()->characterCount() - 1, view->textLength());
    EXPECT_TRUE(view->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n') == "x" + big);
}

namespace {

// An edit (or a command that needs the whole text) made while a long text still loads, and the
// text it leaves, given the loaded text with line feeds.
struct EditWhileLoadingRow {
    const char* name;
    std::function<void(EditorTextView&)> act;
    std::function<QString(const QString&)> expected;
    bool needsTheWholeText = false;  // the load finishes first; otherwise it goes on behind the edit
};

class EditWhileLoadingTest : public EditorViewTest, public ::testing::WithParamInterface<EditWhileLoadingRow> {};

TEST_P(EditWhileLoadingTest, ActsOnTheWholeTextAndKeepsItsLineEndings) {
    // The view is read-only until its last slice: typed keys, pastes, drops and input-method text
    // were dropped, and Ctrl+End or Select All reached the loaded part only. Then each of them
    // finished the load first, which took seconds on a long text.
    const QString loaded = repeated("key: value\r\n", 600'000);
    const QString lines = QString(loaded).replace("\r\n", "\n");
    view->loadText(loaded);
    fake->runOne();
    ASSERT_TRUE(view->isLoading());
    view->setSelectedRange(TextRange{0, 0});
    GetParam().act(*view);
    EXPECT_EQ(view->isLoading(), !GetParam().needsTheWholeText);
    const QString expected = GetParam().expected(lines);
    EXPECT_TRUE(view->viewText() == expected) << "the edit is in the whole text at once";
    fake->runPending();
    EXPECT_FALSE(view->isLoading());
    EXPECT_TRUE(view->viewText() == expected) << view->viewText().left(40).toStdString();
    EXPECT_TRUE(view->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n') == expected);
    EXPECT_TRUE(view->text() == QString(expected).replace("\n", "\r\n")) << "the line endings are kept";
    // Undo takes back the edit, and none of the load.
    while (view->document()->isUndoAvailable()) {
        view->undo();
    }
    EXPECT_TRUE(view->viewText() == lines);
}

void dropAtStart(EditorTextView& view) {
    QMimeData data;
    data.setText("dropped ");
    const QPoint where = view.cursorRect(QTextCursor(view.document())).center();
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    QDragMoveEvent move(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    QDropEvent drop(QPointF(where), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &drop);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, EditWhileLoadingTest,
    ::testing::Values(
        EditWhileLoadingRow{"typed_key", key(Qt::Key_X, "x"), [](const QString& t) { return "x" + t; }},
        EditWhileLoadingRow{"return", key(Qt::Key_Return, "\r"), [](const QString& t) { return "\n" + t; }},
        EditWhileLoadingRow{"ctrl_end_then_key",
                            [](EditorTextView& v) {
                                press(&v, Qt::Key_End, {}, Qt::ControlModifier);
                                press(&v, Qt::Key_Z, "z");
                            },
                            [](const QString& t) { return t + "z"; }, true},
        EditWhileLoadingRow{"arrow_then_key",
                            [](EditorTextView& v) {
                                press(&v, Qt::Key_Down);
                                press(&v, Qt::Key_Z, "z");
                            },
                            [](const QString& t) { return "key: value\nz" + t.mid(11); }},
        EditWhileLoadingRow{"paste", pasting("p\r\nq"), [](const QString& t) { return "p\nq" + t; }},
        EditWhileLoadingRow{"input_method_commit", committing("\xc3\xa9"),
                            [](const QString& t) { return QString::fromUtf8("\xc3\xa9") + t; }},
        EditWhileLoadingRow{"drop", dropAtStart, [](const QString& t) { return "dropped " + t; }},
        EditWhileLoadingRow{"menu_select_all_and_cut",
                            [](EditorTextView& v) {
                                v.selectAll();
                                v.cut();
                            },
                            [](const QString&) { return QString(); }, true},
        EditWhileLoadingRow{"caret_placed_past_the_loaded_part",
                            [](EditorTextView& v) {
                                v.setSelectedRange(TextRange{v.textLength() - 1, 0});
                                press(&v, Qt::Key_Z, "z");
                            },
                            [](const QString& t) { return t.chopped(1) + "z\n"; }, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Edits made one after another while a long text loads, a slice coming in after each of them.
struct TypingDuringLoadRow {
    const char* name;
    std::vector<std::function<void(EditorTextView&)>> steps;
};

class TypingDuringLoadTest : public EditorViewTest, public ::testing::WithParamInterface<TypingDuringLoadRow> {};

TEST_P(TypingDuringLoadTest, UndoHistoryIsTheOneOfTheSameTypingOnALoadedText) {
    const QString loaded = repeated("key: value\r\n", 600'000);
    // The same steps on a text loaded whole: the history typing gives without a load.
    EditorTextView whole(nullptr, fake);
    whole.resize(600, 400);
    whole.show();
    whole.loadText(loaded);
    whole.finishLoading();
    whole.setSelectedRange(TextRange{11, 0});

    view->loadText(loaded);
    view->setSelectedRange(TextRange{11, 0});
    for (const auto& step : GetParam().steps) {
        ASSERT_TRUE(view->isLoading());
        step(whole);
        step(*view);
        EXPECT_TRUE(view->viewText() == whole.viewText()) << "each edit is in the text at once";
        EXPECT_EQ(view->selectedRange(), whole.selectedRange());
        EXPECT_EQ(view->lineCount(), whole.lineCount());
        EXPECT_EQ(view->document()->isModified(), whole.document()->isModified()) << "the document is edited";
        fake->runOne();
    }
    const TextRange caret = view->selectedRange();
    fake->runPending();
    ASSERT_FALSE(view->isLoading());
    EXPECT_TRUE(view->text() == whole.text());
    EXPECT_EQ(view->selectedRange(), caret) << "the caret stays where the typing left it";
    EXPECT_TRUE(view->document()->isModified());
    EXPECT_EQ(view->document()->availableUndoSteps(), whole.document()->availableUndoSteps());
    while (whole.document()->isUndoAvailable()) {
        whole.undo();
        view->undo();
        EXPECT_TRUE(view->viewText() == whole.viewText()) << view->viewText().left(60).toStdString();
    }
    EXPECT_FALSE(view->document()->isUndoAvailable());
    EXPECT_TRUE(view->text() == loaded) << "undo takes back the typing and nothing of the load";
    while (whole.document()->isRedoAvailable()) {
        whole.redo();
        view->redo();
    }
    EXPECT_TRUE(view->text() == whole.text());
    EXPECT_EQ(view->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n'), view->viewText());
}

std::function<void(EditorTextView&)> caretAt(qsizetype position) {
    return [=](EditorTextView& view) { view.setSelectedRange(TextRange{position, 0}); };
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TypingDuringLoadTest,
    ::testing::Values(
        TypingDuringLoadRow{"word", {key(Qt::Key_A, "a"), key(Qt::Key_B, "b"), key(Qt::Key_C, "c")}},
        TypingDuringLoadRow{"return_and_backspace",
                            {key(Qt::Key_X, "x"), key(Qt::Key_Return, "\r"), key(Qt::Key_Y, "y"),
                             key(Qt::Key_Backspace), key(Qt::Key_Backspace), key(Qt::Key_Z, "z")}},
        TypingDuringLoadRow{"here_and_there",
                            {key(Qt::Key_A, "a"), caretAt(2), key(Qt::Key_B, "b"), caretAt(40'000),
                             key(Qt::Key_Delete), pasting("p\r\nq"), caretAt(0), key(Qt::Key_C, "c")}},
        TypingDuringLoadRow{"a_selection_replaced",
                            {[](EditorTextView& v) { v.setSelectedRange(TextRange{3, 20}); }, key(Qt::Key_S, "s"),
                             committing("\xc3\xa9")}}),
    [](const auto& info) { return std::string(info.param.name); });

struct GuideRow {
    const char* name;
    const char* text;
    std::vector<int> levels;
};

class EditorIndentGuideTest : public EditorViewTest, public ::testing::WithParamInterface<GuideRow> {};

TEST_P(EditorIndentGuideTest, LevelsOfTheVisibleNonBlankLines) {
    view->loadText(QString::fromUtf8(GetParam().text));
    paint();
    EXPECT_EQ(view->visibleIndentLevels(), GetParam().levels);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EditorIndentGuideTest,
    ::testing::Values(GuideRow{"four_spaces_give_levels_one_and_two", "a:\n    b: 1\n", {1, 2}},
                      GuideRow{"blank_indented_line_adds_nothing", "a:\n        \nb\n", {}},
                      GuideRow{"tab_and_space_give_level_one", "a:\n\t b\n", {1}},
                      GuideRow{"odd_columns_round_down", "a:\n   b\n     c\n", {1, 2}},
                      GuideRow{"levels_collect_over_lines", "a\n  b\n      c\n", {1, 2, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

TEST_F(EditorViewTest, PointerFollowsTheClickDelegateAndModifiers) {
    view->loadText("$ref: '#/components/schemas/A'\n");
    paint();
    Clicker clicker;
    view->setClickDelegate(&clicker);
    const QPointF point = view->cursorRect(QTextCursor(view->document())).center() + QPoint(5, 0);
    const auto moveWith = [&](Qt::KeyboardModifiers modifiers) {
        QMouseEvent move(QEvent::MouseMove, point, view->viewport()->mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, modifiers);
        QApplication::sendEvent(view->viewport(), &move);
        return view->viewport()->cursor().shape();
    };
    EXPECT_EQ(moveWith(Qt::NoModifier), Qt::IBeamCursor);  // no Command: unchanged
    EXPECT_EQ(moveWith(Qt::ControlModifier), Qt::PointingHandCursor);
}

TEST_F(EditorViewTest, ReloadDuringASlicedLoadRestoresTheViewState) {
    view->loadText(repeated("line\n", 1'000'000));
    ASSERT_TRUE(view->isLoading());
    view->replaceCharacters(TextRange{0, 0}, "typed ");
    view->loadText("small");
    EXPECT_FALSE(view->isLoading());
    EXPECT_FALSE(view->isReadOnly());
    fake->runPending();  // the abandoned load's next slice finds nothing to do
    EXPECT_EQ(view->document()->toRawText(), "small");
    EXPECT_EQ(view->text(), "small");
    view->replaceCharacters(TextRange{5, 0}, "!");
    EXPECT_TRUE(view->document()->isUndoAvailable());
}

TEST_F(EditorViewTest, DroppedTextIsAskedForAndAnnounced) {
    view->loadText("abc\ndef\n");
    paint();
    QMimeData data;
    data.setText("XY");
    QTextCursor target(view->document());
    target.setPosition(5);
    const QPointF where = QPointF(view->cursorRect(target).center());
    QDragEnterEvent enter(where.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(where.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &drop);
    ASSERT_EQ(delegate.asked.size(), 1u);
    EXPECT_EQ(delegate.asked[0].replacement, "XY");
    EXPECT_TRUE(view->viewText().contains("XY"));
    ASSERT_EQ(delegate.changes.size(), 1u);
    EXPECT_EQ(delegate.changes[0].changeInLength, 2);
}

TEST_F(EditorViewTest, GuidesArePaintedFullHeightWithTheActiveOneApart) {
    view->setHighlightCurrentLine(false);
    view->setIndentGuideColor(QColor(Qt::red));
    view->setActiveIndentGuideColor(QColor(Qt::blue));
    view->loadText("a:\n    b: 1\n");
    view->setSelectedRange(TextRange{7, 0});  // on "b": level 2 is active
    const QImage image = view->viewport()->grab().toImage();
    const qreal spaceWidth = QFontMetricsF(view->font()).horizontalAdvance(QLatin1Char(' '));
    const qreal origin = view->document()->documentMargin();
    const int y = image.height() - 5;  // below the text: guides run the full height
    const int first = static_cast<int>(std::floor(origin + spaceWidth * 2));
    const int second = static_cast<int>(std::floor(origin + spaceWidth * 4));
    EXPECT_EQ(image.pixelColor(first, y), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(second, y), QColor(Qt::blue));
    EXPECT_NE(image.pixelColor(second + 3, y), QColor(Qt::blue));
    EXPECT_NE(image.pixelColor(first + 3, y), QColor(Qt::red));
}

TEST_F(EditorViewTest, TabIndentedTextStandsOnItsGuides) {
    // A tab-indented document counts a tab as one guide of four columns, and the guides stand
    // four space widths apart: a tab must advance exactly that far, in any font and size (the
    // toolkit's own 80 pixels put such text between its guides).
    const qreal sizes[] = {9, 13, 21};
    for (const qreal size : sizes) {
        SCOPED_TRACE(size);
        QFont font = view->font();
        font.setPointSizeF(size);
        view->setFont(font);
        view->loadText("\t\tx\n");
        view->setIndentGuideWidth(EditorTextView::tabColumns);
        const qreal guideStep = QFontMetricsF(view->font()).horizontalAdvance(QLatin1Char(' ')) * view->indentGuideWidth();
        EXPECT_NEAR(view->tabStopDistance(), guideStep, 0.5);
        EXPECT_NEAR(view->document()->defaultTextOption().tabStopDistance(), guideStep, 0.5);
    }
}

TEST_F(EditorViewTest, TheCaretsLongLineKeepsItsShapedTextBetweenPaints) {
    // The toolkit drops a block's shaped text after each layout and paint and shapes the whole
    // block again to place the caret, on every blink: a long line keeps it while the caret is in it.
    view->loadText(QStringLiteral("short\n") + QStringLiteral("\"k\":\"v\",").repeated(5000) + QStringLiteral("\nend"));
    view->finishLoading();
    const QTextBlock shortLine = view->document()->firstBlock();
    const QTextBlock longLine = shortLine.next();
    const struct {
        qsizetype caret;
        bool longKept;
    } rows[] = {{2, false}, {longLine.position() + 10, true}, {view->textLength() - 1, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caret);
        view->setSelectedRange(TextRange{row.caret, 0});
        paint();
        EXPECT_EQ(longLine.layout()->cacheEnabled(), row.longKept);
        // A short line keeps its shaped text only while it is on screen.
        const bool shortLineShown = view->visibleCharacterRange().location == 0;
        EXPECT_EQ(shortLine.layout()->cacheEnabled(), shortLineShown);
    }
}

TEST_F(EditorViewTest, TheLinesOnScreenKeepTheirShapedTextUntilTheyLeaveIt) {
    // The toolkit drops a line's shaped text after each paint, and every key repaints the lines on
    // screen: they keep it while they are there, and only they (a kept line holds about 30 bytes
    // per unit).
    QString text;
    for (int line = 0; line < 400; ++line) {
        text += QStringLiteral("key%1: value %1\n").arg(line);
    }
    view->loadText(text);
    view->finishLoading();
    QTextDocument& document = *view->document();
    const auto kept = [&] {
        std::vector<int> numbers;
        for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next()) {
            if (block.layout()->cacheEnabled()) {
                numbers.push_back(block.blockNumber());
            }
        }
        return numbers;
    };
    const auto shown = [&] {
        std::vector<int> numbers;
        for (const EditorTextView::VisibleBlock& visible : view->visibleBlocks()) {
            numbers.push_back(visible.block.blockNumber());
        }
        return numbers;
    };
    paint();
    ASSERT_GT(shown().size(), 5u);
    EXPECT_EQ(kept(), shown());
    EXPECT_EQ(shown().front(), 0);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    paint();
    EXPECT_EQ(kept(), shown()) << "the lines that left drop it";
    EXPECT_GT(shown().front(), 300);
    // Lines on screen removed (their blocks deleted), then some typed in: only live lines are
    // touched, and the lines on screen keep their text again.
    const QTextBlock first = view->visibleBlocks()[1].block;
    view->replaceCharacters(TextRange{first.position(), 5 * first.length()}, QString());
    view->replaceCharacters(TextRange{first.position(), 0}, QStringLiteral("new: 1\nnew: 2\n"));
    paint();
    for (int number : shown()) {
        EXPECT_TRUE(document.findBlockByNumber(number).layout()->cacheEnabled()) << number;
    }
    view->loadText(QStringLiteral("a: 1\n"));
    paint();
    EXPECT_EQ(kept(), shown());
}

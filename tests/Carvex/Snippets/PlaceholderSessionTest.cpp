#include "PlaceholderSessionSupport.h"

#include "Carvex/Completion/SnippetCompletionInsertion.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/Editor/RefLinkStyler.h"
#include "Carvex/Snippets/LineNumberOfPosition.h"
#include "Carvex/Snippets/PlaceholderChipRenderer.h"
#include "Carvex/Snippets/PlaceholderImageGenerator.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"

#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QScrollBar>

#include <chrono>
#include <functional>
#include <random>
#include <variant>

namespace CarvexTest {
namespace {

using Carvex::TextRange;

// MARK: Insertion, tab stops and the end of a session

TEST_F(PlaceholderSessionTest, InsertionIsPlainTextInOneAnnouncedStepWithTheFirstChipSelected) {
    Carvex::Document& doc = open(QStringLiteral("k: v\n"));
    const int stepsBefore = view().document()->availableUndoSteps();
    EXPECT_EQ(manager().insertSnippet(QStringLiteral("a${1:x}b${2:yy}c"), 0), 6);
    EXPECT_EQ(text(), QStringLiteral("axbyyck: v\n"));
    EXPECT_EQ(doc.content(), QStringLiteral("axbyyck: v\n")) << "announced like any edit";
    EXPECT_TRUE(doc.isDocumentEdited());
    EXPECT_EQ(view().document()->availableUndoSteps(), stepsBefore + 1);
    ASSERT_NE(session(), nullptr);
    ASSERT_EQ(session()->placeholders().size(), 2u);
    EXPECT_EQ(session()->placeholders()[0].range, (TextRange{1, 1}));
    EXPECT_EQ(session()->placeholders()[1].range, (TextRange{3, 2}));
    EXPECT_TRUE(session()->placeholders()[0].attachment->isActive());
    EXPECT_FALSE(session()->placeholders()[1].attachment->isActive());
    EXPECT_EQ(view().selectedRange(), (TextRange{1, 1}));
    EXPECT_TRUE(controller->highlightingController()->isPaused());
    EXPECT_EQ(session()->snippetLineRange(), (Carvex::LineRange{0, 2}));
    expectConsistent();

    // A snippet without fields is inserted the same way and starts no session.
    caret(text().size());
    EXPECT_EQ(manager().insertSnippet(QStringLiteral("plain"), text().size()), 5);
    EXPECT_TRUE(text().endsWith(QStringLiteral("plain")));
    EXPECT_EQ(session(), nullptr) << "a new insertion ends the running session first";
    expectConsistent();
}

TEST_F(PlaceholderSessionTest, TheSnippetsLineRangeCountsEveryKindOfLineBreakBeforeIt) {
    // The lines before the insertion are read from the view's blocks, the rarer breaks searched
    // for: the range must be the one counted over the text unit by unit.
    const QString nel(QChar(0x0085));
    const QString ls(QChar(0x2028));
    const QString ps(QChar(0x2029));
    struct Row {
        const char* name;
        QString text;
        qsizetype location;
    };
    const std::vector<Row> rows = {
        {"start of the text", QStringLiteral("a\nb\n"), 0},
        {"middle of a line", QStringLiteral("ab\ncd\nef\n"), 4},
        {"right after a line feed", QStringLiteral("ab\ncd\nef\n"), 3},
        {"end of the text", QStringLiteral("ab\ncd\n"), 6},
        {"after a line separator", QStringLiteral("a") + ls + QStringLiteral("b\nc\n"), 3},
        {"right after a line separator", QStringLiteral("a") + ls + QStringLiteral("b\nc\n"), 2},
        {"after a next-line", QStringLiteral("a\nb") + nel + QStringLiteral("c\nd"), 5},
        {"after a paragraph separator", QStringLiteral("a") + ps + QStringLiteral("b\nc") + ps + QStringLiteral("d\n"), 6},
        {"every kind", QStringLiteral("a") + nel + ls + ps + QStringLiteral("\nb\n\nc"), 9},
    };
    for (const Row& row : rows) {
        open(row.text);
        manager().insertSnippet(QStringLiteral("k: ${1:v}\n  m: ${2:w}"), row.location);
        // The same text typed in after a load of plain lines (a typed paragraph separator becomes a
        // line feed).
        if ((row.text.contains(ls) || row.text.contains(nel)) && !row.text.contains(ps)) {
            press(Qt::Key_Escape);
            open(QStringLiteral("\n"));
            caret(0);
            view().insertTextAtSelection(row.text.chopped(1));
            ASSERT_TRUE(view().mayHoldOtherLineBreaks()) << row.name;
            ASSERT_EQ(text(), row.text.chopped(1) + u'\n') << row.name;
            manager().insertSnippet(QStringLiteral("k: ${1:v}\n  m: ${2:w}"), row.location);
        }
        ASSERT_NE(session(), nullptr) << row.name;
        const QString after = text();
        const qsizetype length = QStringLiteral("k: v\n  m: w").size();
        EXPECT_EQ(session()->snippetLineRange(),
                  (Carvex::LineRange{Carvex::lineNumberOfPosition(after, row.location),
                                     Carvex::lineNumberOfPosition(after, row.location + length) + 1}))
            << row.name;
        press(Qt::Key_Escape);
    }
}

TEST_F(PlaceholderSessionTest, TabAndShiftTabVisitTheChipsAndTabPastTheLastEndsTheSession) {
    open(QStringLiteral("k: v\n"));
    int exits = 0;
    auto previous = manager().onPlaceholderModeExit;
    manager().onPlaceholderModeExit = [&] {
        ++exits;
        previous();
    };
    manager().insertSnippet(QStringLiteral("a${2:x}b${1:yy}c\n"), 0);
    ASSERT_NE(session(), nullptr);
    EXPECT_EQ(view().selectedRange(), (TextRange{3, 2})) << "index 1 comes first";

    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(session()->activeIndex(), 0) << "Shift-Tab on the first changes nothing";
    EXPECT_EQ(view().selectedRange(), (TextRange{3, 2}));
    press(Qt::Key_Tab);
    EXPECT_EQ(session()->activeIndex(), 1);
    EXPECT_EQ(view().selectedRange(), (TextRange{1, 1}));
    EXPECT_TRUE(session()->placeholders()[1].attachment->isActive());
    EXPECT_FALSE(session()->placeholders()[0].attachment->isActive());
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(session()->activeIndex(), 0);
    const QString before = text();
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    EXPECT_EQ(session(), nullptr);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(text(), before) << "the defaults stand: ending is no edit";
    EXPECT_EQ(view().selectedRange(), (TextRange{7, 0})) << "the caret goes on after the snippet, no field selected";
    EXPECT_FALSE(controller->highlightingController()->isPaused());
    expectConsistent();

    // Escape ends a session too.
    manager().insertSnippet(QStringLiteral("${1:e}"), 0);
    ASSERT_NE(session(), nullptr);
    press(Qt::Key_Escape);
    EXPECT_EQ(session(), nullptr);
    EXPECT_EQ(exits, 2);
}

TEST_F(PlaceholderSessionTest, TypingFillsTheSelectedChipAndTheLastFillEndsTheSession) {
    Carvex::Document& doc = open(QStringLiteral("k: v\n"));
    manager().insertSnippet(QStringLiteral("a${1:x}b${2:yy}c\n"), 0);
    typeKey(QStringLiteral("q"));
    EXPECT_EQ(text(), QStringLiteral("aqbyyc\nk: v\n"));
    ASSERT_NE(session(), nullptr);
    EXPECT_FALSE(session()->placeholders()[0].attachment);
    typeKey(QStringLiteral("r"));
    EXPECT_EQ(session()->placeholders()[0].range, (TextRange{1, 2})) << "the fill grows as it is typed";
    EXPECT_EQ(session()->placeholders()[1].range, (TextRange{4, 2}));
    press(Qt::Key_Tab);
    EXPECT_EQ(view().selectedRange(), (TextRange{4, 2}));
    typeKey(QStringLiteral("z"));
    EXPECT_EQ(text(), QStringLiteral("aqrbzc\nk: v\n"));
    EXPECT_EQ(session(), nullptr) << "no chip is left";
    EXPECT_EQ(doc.content(), view().text());
}

// MARK: One history

TEST_F(PlaceholderSessionTest, UndoAndRedoRestorePlainTextAndNeverBringChipsBack) {
    Carvex::Document& doc = open(QStringLiteral("k: v\n"));
    const QString original = text();
    caret(text().size());
    manager().insertSnippet(QStringLiteral("s: ${1:one} ${2:two}\n"), text().size());
    const QString inserted = text();
    typeKey(QStringLiteral("X"));
    const QString filled = text();
    ASSERT_EQ(filled, QStringLiteral("k: v\ns: X two\n"));

    view().undo();
    EXPECT_EQ(text(), inserted);
    ASSERT_NE(session(), nullptr) << "undoing a fill keeps the session";
    EXPECT_FALSE(session()->placeholders()[0].attachment) << "its chip does not come back";
    EXPECT_TRUE(session()->placeholders()[1].attachment);
    expectConsistent();

    view().undo();
    EXPECT_EQ(text(), original) << "the insertion is one step";
    EXPECT_EQ(session(), nullptr) << "undoing the insertion ends the session";
    EXPECT_EQ(view().selectedRange(), (TextRange{original.size(), 0})) << "the caret is back where it was";
    EXPECT_EQ(doc.content(), original);

    view().redo();
    EXPECT_EQ(text(), inserted);
    EXPECT_EQ(session(), nullptr) << "a redo brings text, not chips";
    view().redo();
    EXPECT_EQ(text(), filled) << "the redo history survives";
    EXPECT_EQ(doc.content(), filled);

    // Ending a session edits nothing, so what can be redone stays.
    view().undo();
    view().undo();
    manager().insertSnippet(QStringLiteral("${1:a}"), 0);
    const int redoable = view().document()->availableRedoSteps();
    const int undoable = view().document()->availableUndoSteps();
    press(Qt::Key_Escape);
    EXPECT_EQ(view().document()->availableUndoSteps(), undoable);
    EXPECT_EQ(view().document()->availableRedoSteps(), redoable);

    // Undo and redo from the keys.
    const QString withA = text();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), original);
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(text(), withA);
    EXPECT_EQ(doc.content(), withA);
}

TEST_F(PlaceholderSessionTest, ALongSnippetScrollsTheViewOnlyAsFarAsItsFirstField) {
    // Forty lines above the caret, a snippet of sixty lines whose first field is on the caret's line.
    QString lines;
    for (int i = 0; i < 40; ++i) {
        lines += QStringLiteral("k%1: v\n").arg(i);
    }
    QString snippet = QStringLiteral("summary: ${1:first}");
    for (int i = 0; i < 60; ++i) {
        snippet += QStringLiteral("\nline%1: ${%2:x}").arg(i).arg(i + 2);
    }
    for (const int top : {0, 30}) {
        SCOPED_TRACE(top);
        open(lines);
        view().verticalScrollBar()->setValue(top);
        const qsizetype at = QStringView(lines).indexOf(u"k35:");
        caret(at);
        view().ensureCursorVisible();
        const int before = view().verticalScrollBar()->value();
        manager().insertSnippet(snippet, at);
        ASSERT_NE(session(), nullptr);
        EXPECT_EQ(view().selectedRange(), (TextRange{at + 9, 5}));
        EXPECT_EQ(view().verticalScrollBar()->value(), before) << "the first field was in view already";
        press(Qt::Key_Escape);
    }
}

// MARK: Chips as units, the redirect to a chip

TEST_F(PlaceholderSessionTest, OnlyTextPutInAtTheCaretGoesToAChip) {
    struct Row {
        const char* name;
        qsizetype caret;
        std::function<void(PlaceholderSessionTest&)> act;
        QString expected;
        bool firstChipStays;
    };
    const auto key = [](int k, const QString& typed = {}) {
        return [k, typed](PlaceholderSessionTest& test) { test.press(k, Qt::NoModifier, typed); };
    };
    const auto commit = [](const QString& committed, int from, int length) {
        return [committed, from, length](PlaceholderSessionTest& test) {
            QInputMethodEvent event(QString(), {});
            event.setCommitString(committed, from, length);
            QApplication::sendEvent(&test.view(), &event);
        };
    };
    // "p ab q cd" with chips over "ab" (2, 2) and "cd" (7, 2).
    const Row rows[] = {
        {"typing at a chip's start replaces it", 2, key(0, "Z"), "p Z q cd\n", false},
        {"typing at a chip's end replaces it", 4, key(0, "Z"), "p Z q cd\n", false},
        {"Backspace at a chip's start deletes the unit before", 2, key(Qt::Key_Backspace), "pab q cd\n", true},
        {"Backspace at a chip's end removes it whole", 4, key(Qt::Key_Backspace), "p  q cd\n", false},
        {"Delete at a chip's start removes it whole", 2, key(Qt::Key_Delete), "p  q cd\n", false},
        {"Delete at a chip's end deletes the unit after", 4, key(Qt::Key_Delete), "p abq cd\n", true},
        {"Return at a chip's end opens a line after it", 4, key(Qt::Key_Return, "\r"), "", true},
        {"an input-method commit at the caret replaces the chip", 4, commit("XY", 0, 0), "p XY q cd\n", false},
        {"an input-method commit over the unit before the chip", 2, commit("XY", -1, 1), "pXYab q cd\n", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        open(QStringLiteral("x: 1\n"));
        manager().insertSnippet(QStringLiteral("p ${1:ab} q ${2:cd}\n"), 0);
        caret(row.caret);
        row.act(*this);
        if (!row.expected.isEmpty()) {
            EXPECT_EQ(text(), row.expected + QStringLiteral("x: 1\n"));
        }
        ASSERT_NE(session(), nullptr);
        EXPECT_EQ(session()->placeholders()[0].attachment != nullptr, row.firstChipStays);
        EXPECT_TRUE(session()->placeholders()[1].attachment) << "the other chip stays";
        expectConsistent();
    }

    // Paste at a chip's end is typing there.
    open(QStringLiteral("x: 1\n"));
    manager().insertSnippet(QStringLiteral("p ${1:ab} q ${2:cd}\n"), 0);
    caret(4);
    QGuiApplication::clipboard()->setText(QStringLiteral("PP"));
    view().paste();
    EXPECT_EQ(text(), QStringLiteral("p PP q cd\nx: 1\n"));
    expectConsistent();
}

TEST_F(PlaceholderSessionTest, TheCaretHopsOverAChipAndAClickInsideTakesItWhole) {
    open(QStringLiteral("x: 1\n"));
    manager().insertSnippet(QStringLiteral("p ${1:abc} q ${2:de}\n"), 0);
    caret(2);
    press(Qt::Key_Right);
    EXPECT_EQ(view().selectedRange(), (TextRange{5, 0})) << "over the chip";
    press(Qt::Key_Right);
    EXPECT_EQ(view().selectedRange(), (TextRange{6, 0}));
    press(Qt::Key_Left);
    press(Qt::Key_Left);
    EXPECT_EQ(view().selectedRange(), (TextRange{2, 0}));
    press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view().selectedRange(), (TextRange{2, 3})) << "a selection takes the chip whole";

    caret(3);
    EXPECT_EQ(view().selectedRange(), (TextRange{2, 3})) << "a caret put inside selects the chip";
    EXPECT_EQ(session()->activeIndex(), 0);
    caret(9);
    EXPECT_EQ(view().selectedRange(), (TextRange{8, 2}));
    EXPECT_EQ(session()->activeIndex(), 1) << "and makes it the active one";
    caret(2);
    EXPECT_EQ(session()->activeIndex(), 0) << "a caret at a chip's edge only activates it";
    EXPECT_EQ(view().selectedRange(), (TextRange{2, 0}));
}

TEST_F(PlaceholderSessionTest, TheSessionEndsWhenTheCaretLeavesTheSnippetsLines) {
    open(QStringLiteral("a: 1\nb: 2\nc: 3\n"));
    const qsizetype at = text().indexOf(QStringLiteral("b:"));
    caret(at);
    manager().insertSnippet(QStringLiteral("s:\n  t: ${1:x}\n"), at);
    ASSERT_NE(session(), nullptr);
    caret(at - 2);
    ASSERT_NE(session(), nullptr) << "a snippet inserted at a line's start counts the line before as its own";
    caret(at + 3);
    ASSERT_NE(session(), nullptr);
    // A line break typed inside the snippet keeps its lines its own.
    caret(at + 2);
    press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    caret(text().indexOf(QStringLiteral("t:")) + 3);
    ASSERT_NE(session(), nullptr);
    caret(text().size());
    EXPECT_EQ(session(), nullptr) << "the last line is not the snippet's";
}

TEST_F(PlaceholderSessionTest, RefLinksFollowTheFilledInSnippetOnceTheSessionEnds) {
    // The links are not followed while the fields are filled in; once the session ends they must be
    // the text's, also after the highlighting pass that styles the links it has once more.
    struct LinksGuard {
        Carvex::RefLinkHandler::Factory saved = std::exchange(Carvex::RefLinkHandler::factory(), {});
        ~LinksGuard() { Carvex::RefLinkHandler::factory() = saved; }
    } guard;
    Carvex::RefLinkHandler::installFactory();
    struct Row {
        const char* name;
        std::function<void()> end;
    };
    const std::vector<Row> rows = {
        {"Escape", [&] { press(Qt::Key_Escape); }},
        {"Tab past the last field", [&] { press(Qt::Key_Tab), press(Qt::Key_Tab); }},
        {"the caret leaving the snippet's lines", [&] { caret(text().size()); }},
    };
    const QString x = QStringLiteral("#/components/schemas/X");
    const QString y = QStringLiteral("#/components/schemas/Y");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        open(QStringLiteral("a: 1\nb:\n  $ref: '") + x + QStringLiteral("'\nc: 3\n"));
        ASSERT_NE(controller->refLinkHandler(), nullptr);
        const Carvex::RefLinkStyler* styler = controller->refLinkHandler()->styler();
        ASSERT_NE(styler, nullptr);
        caret(4);
        manager().insertSnippet(QStringLiteral("\nd: ${1:x}\ne:\n  $ref: '${2:") + y + QStringLiteral("}'"), 4);
        typeKey(QStringLiteral("filled"));
        ASSERT_NE(session(), nullptr);
        row.end();
        ASSERT_EQ(session(), nullptr);
        fake->advance(std::chrono::seconds(1));
        const std::vector<Carvex::RefLinkStyler::StyledLink> expected = {
            {TextRange{text().indexOf(y), y.size()}, y},
            {TextRange{text().indexOf(x), x.size()}, x},
        };
        EXPECT_EQ(styler->styledLinks(), expected);
        EXPECT_EQ(styler->refPath(text().indexOf(x)), x);
    }
}

TEST_F(PlaceholderSessionTest, AReloadOrALanguageChangeEndsTheSession) {
    open(QStringLiteral("x: 1\n"));
    manager().insertSnippet(QStringLiteral("${1:a} ${2:b}\n"), 0);
    ASSERT_NE(session(), nullptr);
    controller->reloadContent();
    EXPECT_EQ(session(), nullptr);
    EXPECT_FALSE(controller->highlightingController()->isPaused());

    manager().insertSnippet(QStringLiteral("${1:a}\n"), 0);
    ASSERT_NE(session(), nullptr);
    auto* oldController = controller->snippetController();
    std::weak_ptr<Carvex::PlaceholderManager> oldManager = oldController->placeholderManager();
    controller->setContent(QStringLiteral("{\"a\": 1}"));
    EXPECT_NE(controller->snippetController()->placeholderManager(), oldManager.lock());
    EXPECT_EQ(session(), nullptr);
    EXPECT_EQ(view().extraSelections().size(), 0) << "no snippet colours are left behind";
}

TEST_F(PlaceholderSessionTest, AReloadThatTakesTheSnippetAwayLeavesNoChip) {
    Carvex::Document& doc = open(QStringLiteral("a: 1\nb: 2\n"));
    caret(5);
    manager().insertSnippet(QStringLiteral("k: ${1:first} ${2:second}\n"), 5);
    ASSERT_NE(session(), nullptr);
    (void)view().viewport()->grab();
    ASSERT_EQ(manager().chipRenderer().paintedChipCount(), 2);

    // Another program wrote a shorter text: the chips' places no longer exist.
    const QString reloaded = QStringLiteral("a: 1\n");
    ASSERT_EQ(doc.readFromData(reloaded.toUtf8(), Carvex::DocumentTypes::yamlDocument), std::nullopt);
    controller->reloadContent();
    EXPECT_EQ(session(), nullptr);
    EXPECT_EQ(manager().snippetExtent(), std::nullopt);
    (void)view().viewport()->grab();
    EXPECT_EQ(manager().chipRenderer().paintedChipCount(), 0) << "no orphan chip is drawn";
    EXPECT_EQ(text(), reloaded);

    // Keys act on the new text as on any other.
    caret(text().size());
    press(Qt::Key_Tab);
    typeKey(QStringLiteral("z"));
    EXPECT_EQ(session(), nullptr);
    EXPECT_TRUE(text().startsWith(reloaded));
    EXPECT_TRUE(text().endsWith(u'z'));
    expectConsistent();
    const auto saved = doc.dataOfType(Carvex::DocumentTypes::yamlDocument);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(saved));
    EXPECT_EQ(QString::fromUtf8(std::get<QByteArray>(saved)), text()) << "nothing but the text is saved";
}

// MARK: Drawing

TEST_F(PlaceholderSessionTest, ChipsAreDrawnOverTheirTextOnlyWhileTheSessionRuns) {
    open(QStringLiteral("x: 1\n"));
    manager().insertSnippet(QStringLiteral("k: ${1:abcdefghij} ${2:klmnopqrst}\n"), 0);
    view().repaint();
    const auto first = Carvex::PlaceholderChipRenderer::segmentsOnScreen(view(), {3, 10}, view().viewport()->rect());
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].range, (TextRange{3, 10}));
    const QRect chip = first[0].rect.toAlignedRect().adjusted(1, 1, -1, -1);
    const QImage active = view().viewport()->grab().toImage().copy(chip);
    press(Qt::Key_Tab);
    const QImage inactive = view().viewport()->grab().toImage().copy(chip);
    EXPECT_NE(active, inactive) << "activity is a repaint";
    press(Qt::Key_Escape);
    const QImage plain = view().viewport()->grab().toImage().copy(chip);
    EXPECT_NE(plain, inactive);
    EXPECT_EQ(text(), QStringLiteral("k: abcdefghij klmnopqrst\nx: 1\n"));
    EXPECT_TRUE(view().extraSelections().isEmpty());
}

// A colour of the manager's theme store (the shared one) set for both appearances, reset when the
// test ends.
class ThemeColorOverride {
public:
    ThemeColorOverride(Carvex::SyntaxThemePreferenceKey key, const QColor& color) : key_(key) {
        for (const bool isDark : {false, true}) {
            Carvex::SyntaxThemePreferencesStore::shared().setColor(color, key, isDark);
        }
    }
    ~ThemeColorOverride() {
        for (const bool isDark : {false, true}) {
            Carvex::SyntaxThemePreferencesStore::shared().resetColor(key_, isDark);
        }
    }
    ThemeColorOverride(const ThemeColorOverride&) = delete;
    ThemeColorOverride& operator=(const ThemeColorOverride&) = delete;

private:
    Carvex::SyntaxThemePreferenceKey key_;
};

TEST_F(PlaceholderSessionTest, AShortChipIsGivenRoomForItsLabelByTheLayoutWhileTheSessionRuns) {
    open(QStringLiteral("x: 1\n"));
    manager().insertSnippet(QStringLiteral("a: ${1:0} ${2:W}\nb: ${3:a long default text}\n${4:y}\n"), 0);
    ASSERT_NE(session(), nullptr);
    (void)view().viewport()->grab();
    const QRect all = view().viewport()->rect();
    const QFont font = view().document()->defaultFont();
    struct Row {
        const char* name;
        std::size_t placeholder;
        bool roomBefore;
    };
    for (const Row& row : {Row{"after a space", 0, true}, Row{"a wide glyph", 1, true},
                           Row{"at the start of a line", 3, false}}) {
        const TextRange range = session()->placeholders()[row.placeholder].range;
        ASSERT_EQ(range.length, 1) << row.name;
        const auto segments = Carvex::PlaceholderChipRenderer::segmentsOnScreen(view(), range, all);
        ASSERT_EQ(segments.size(), 1u) << row.name;
        const auto room = Carvex::PlaceholderChipRenderer::roomFor(font, text(), range);
        EXPECT_EQ(room.before > 0, row.roomBefore) << row.name;
        EXPECT_GE(segments[0].rect.width() + room.before + 0.5,
                  Carvex::PlaceholderImageGenerator::imageSize(text().mid(range.location, 1)).width())
            << row.name << ": the label keeps its padding";
    }
    const auto longRoom =
        Carvex::PlaceholderChipRenderer::roomFor(font, text(), session()->placeholders()[2].range);
    EXPECT_EQ(longRoom.before + longRoom.after, 0) << "a long text is wide enough";

    // The room goes with the session: the text is laid out as before.
    const qreal spaced = Carvex::PlaceholderChipRenderer::segmentsOnScreen(view(), {3, 1}, all)[0].rect.width();
    press(Qt::Key_Escape);
    (void)view().viewport()->grab();
    const qreal plain = Carvex::PlaceholderChipRenderer::segmentsOnScreen(view(), {3, 1}, all)[0].rect.width();
    EXPECT_LT(plain, spaced);
    EXPECT_NEAR(plain, QFontMetricsF(font).horizontalAdvance(u'0'), 1.0);
}

TEST_F(PlaceholderSessionTest, ChipImagesAreReusedWhileTheirLabelPlaceAndColoursStayTheSame) {
    open(QStringLiteral("x: 1\n"));
    manager().insertSnippet(QStringLiteral("k: ${1:abcdefghij} ${2:klmnopqrst}\n"), 0);
    (void)view().viewport()->grab();
    const Carvex::PlaceholderChipRenderer& renderer = manager().chipRenderer();
    EXPECT_EQ(renderer.paintedChipCount(), 2);
    const int drawn = renderer.drawnImageCount();
    EXPECT_GE(drawn, 2);
    const auto second = Carvex::PlaceholderChipRenderer::segmentsOnScreen(view(), {14, 10}, view().viewport()->rect());
    ASSERT_EQ(second.size(), 1u);
    const QRect chip = second[0].rect.toAlignedRect().adjusted(1, 1, -1, -1);
    const QImage before = view().viewport()->grab().toImage().copy(chip);
    (void)view().viewport()->grab();
    EXPECT_EQ(renderer.drawnImageCount(), drawn) << "an unchanged chip is not drawn again";

    // Colours are read at every paint: a new one gives a new image.
    const ThemeColorOverride background(Carvex::SyntaxThemePreferenceKey::placeholderInactiveBackground, QColor(200, 10, 10));
    (void)view().viewport()->grab();
    EXPECT_GT(renderer.drawnImageCount(), drawn);
    const QImage after = view().viewport()->grab().toImage().copy(chip);
    EXPECT_NE(before, after);
    int red = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            red += after.pixelColor(x, y) == QColor(200, 10, 10) ? 1 : 0;
        }
    }
    EXPECT_GT(red, after.width()) << "the chip's new background";

    // A changed label is a new image as well.
    const int beforeTyping = renderer.drawnImageCount();
    press(Qt::Key_Tab);
    (void)view().viewport()->grab();
    EXPECT_GT(renderer.drawnImageCount(), beforeTyping) << "the active look of the second chip";
}

TEST_F(PlaceholderSessionTest, SnippetColoursAreLaidOverTheTokensOnlyWhileTheSessionRuns) {
    const QColor snippetColor(1, 2, 3);
    const QColor typedColor(4, 5, 6);
    const ThemeColorOverride snippet(Carvex::SyntaxThemePreferenceKey::snippetTextColor, snippetColor);
    const ThemeColorOverride typed(Carvex::SyntaxThemePreferenceKey::snippetInputTextColor, typedColor);
    open(QStringLiteral("x: 1\n"));
    manager().insertSnippet(QStringLiteral("k: ${1:ab} ${2:cd}\n"), 0);
    typeKey(QStringLiteral("Q"));
    ASSERT_EQ(text(), QStringLiteral("k: Q cd\nx: 1\n"));
    ASSERT_NE(session(), nullptr);
    // The foreground the block's formats give the unit at `index` (the last range wins).
    const auto foreground = [&](qsizetype index) -> std::optional<QColor> {
        (void)view().viewport()->grab();
        const QTextBlock block = view().document()->findBlock(static_cast<int>(index));
        std::optional<QColor> color;
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            const qsizetype at = index - block.position();
            if (range.start <= at && at < range.start + range.length &&
                range.format.hasProperty(QTextFormat::ForegroundBrush)) {
                color = range.format.foreground().color();
            }
        }
        return color;
    };
    EXPECT_EQ(foreground(0), snippetColor);
    EXPECT_EQ(foreground(3), typedColor) << "typed into a placeholder";
    EXPECT_EQ(foreground(5), snippetColor);
    EXPECT_NE(foreground(8), snippetColor) << "after the snippet";
    EXPECT_TRUE(view().extraSelections().isEmpty()) << "nothing is laid over the text as a selection";

    press(Qt::Key_Escape);
    ASSERT_EQ(session(), nullptr);
    for (const qsizetype index : {0, 3, 5}) {
        EXPECT_NE(foreground(index), snippetColor) << index;
        EXPECT_NE(foreground(index), typedColor) << index;
    }
}

// MARK: A snippet proposal

TEST_F(PlaceholderSessionTest, ASnippetProposalReplacesTheTypedWordInTheSameStepOfUndo) {
    Carvex::Document& doc = open(QStringLiteral("paths:\n  /a:\n    ge"));
    const QString before = text();
    caret(text().size());
    Carvex::SnippetMetadata metadata;
    metadata.templateId = QStringLiteral("get");
    metadata.templateContent = QStringLiteral("get:\n  summary: ${1:Summary}\n  responses:\n    '${2:200}':\n      "
                                              "description: ${3:OK}");
    metadata.openAPIVersion = QStringLiteral("3.0");
    const Carvex::CompletionItem item(QStringLiteral("get"), std::nullopt, Carvex::CompletionItemKind::snippet,
                                      std::nullopt, std::nullopt, std::nullopt, 0, false, false, metadata);
    ASSERT_TRUE(Carvex::insertSnippetCompletion(view(), manager(), Carvex::DocumentLanguage::yaml, item));
    EXPECT_EQ(text(), QStringLiteral("paths:\n  /a:\n    get:\n      summary: Summary\n      responses:\n        "
                                     "'200':\n          description: OK"));
    ASSERT_NE(session(), nullptr);
    EXPECT_EQ(view().selectedRange(), (TextRange{text().indexOf(QStringLiteral("Summary")), 7}));
    EXPECT_EQ(doc.content(), view().text());
    view().undo();
    EXPECT_EQ(text(), before) << "the typed word comes back with the same undo";
    EXPECT_EQ(session(), nullptr);

    const Carvex::CompletionItem plain(QStringLiteral("get"), std::nullopt, Carvex::CompletionItemKind::keyword);
    EXPECT_FALSE(Carvex::insertSnippetCompletion(view(), manager(), Carvex::DocumentLanguage::yaml, plain));
    EXPECT_EQ(text(), before);
}

// MARK: Bad input

TEST_F(PlaceholderSessionTest, BadSnippetsAreInsertedWholeWithoutOrphans) {
    Carvex::Document& doc = open(QStringLiteral("x: 1\n"));
    // Words, as a default text would hold: a run of 100,000 units without a break opportunity costs
    // the text layout itself seconds, wherever it comes from.
    const QString huge = QStringLiteral("lorem ipsum ").repeated(8'334).left(100'000);
    manager().insertSnippet(QStringLiteral("big: ${1:") + huge + QStringLiteral("}\n"), 0);
    ASSERT_NE(session(), nullptr);
    EXPECT_EQ(session()->placeholders()[0].range, (TextRange{5, 100'000}));
    (void)view().viewport()->grab();
    EXPECT_EQ(manager().chipRenderer().paintedChipCount(), 1);
    EXPECT_TRUE(doc.content().contains(huge));
    const auto saved = doc.dataOfType(Carvex::DocumentTypes::yamlDocument);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(saved));
    EXPECT_TRUE(std::get<QByteArray>(saved).contains(huge.toUtf8())) << "saved whole";
    EXPECT_FALSE(QString::fromUtf8(std::get<QByteArray>(saved)).contains(QChar(0xFFFC)));
    press(Qt::Key_Escape);

    QString many;
    for (int i = 1; i <= 1000; ++i) {
        many += QStringLiteral("${%1:v%1} ").arg(i);
    }
    many += u'\n';
    manager().insertSnippet(many, 0);
    ASSERT_NE(session(), nullptr);
    EXPECT_EQ(session()->placeholders().size(), 1000u);
    press(Qt::Key_Tab);
    EXPECT_EQ(session()->activeIndex(), 1);
    expectConsistent();
    press(Qt::Key_Escape);

    manager().insertSnippet(QStringLiteral("${123456789012345678901234567890:thirty}"), 0);
    ASSERT_NE(session(), nullptr);
    EXPECT_EQ(session()->placeholders()[0].index, 0);
    press(Qt::Key_Escape);

    const qsizetype end = text().size();
    EXPECT_EQ(manager().insertSnippet(QStringLiteral("${1:far}"), end + 50), 3);
    EXPECT_TRUE(text().endsWith(QStringLiteral("far")));
    EXPECT_EQ(session()->placeholders()[0].range, (TextRange{end, 3}));
    press(Qt::Key_Escape);

    open(QString::fromUtf8("a\xF0\x9F\x98\x80" "b\n"));
    manager().insertSnippet(QStringLiteral("${1:in}"), 2);
    EXPECT_EQ(text(), QString::fromUtf8("ain\xF0\x9F\x98\x80" "b\n")) << "never inside a surrogate pair";
    EXPECT_EQ(manager().insertSnippet(QStringLiteral("x"), -5), 1);
    EXPECT_TRUE(text().startsWith(u'x'));
    expectConsistent();
}

// MARK: A seeded walk

TEST_F(PlaceholderSessionTest, ASeededWalkKeepsChipsTextAndContentInStep) {
    const QString start = QStringLiteral("openapi: 3.0.0\npaths:\n  /a:\n    get:\n      summary: x\n");
    open(start);
    const QString snippets[] = {
        QStringLiteral("get:\n  summary: ${1:Summary}\n  responses:\n    '${2:200}':\n      description: ${3:OK}\n"),
        QStringLiteral("${1:a}${2:b} ${3:c}"),
        QStringLiteral("name: ${2:second} ${1:first}\n"),
        QStringLiteral("plain text\n"),
    };
    std::mt19937 random(4801);
    const int steps = 200;
    for (int step = 0; step < steps; ++step) {
        SCOPED_TRACE(step);
        const int action = static_cast<int>(random() % 9);
        switch (action) {
            case 0: {
                const qsizetype at = static_cast<qsizetype>(random() % static_cast<unsigned>(text().size() + 1));
                caret(at);
                manager().insertSnippet(snippets[random() % 4], view().selectedRange().location);
                break;
            }
            case 1:
                press(Qt::Key_Tab);
                break;
            case 2:
                press(Qt::Key_Backtab, Qt::ShiftModifier);
                break;
            case 3:
                typeKey(QString(QChar(u'a' + static_cast<char16_t>(random() % 26))));
                break;
            case 4:
                press(Qt::Key_Escape);
                break;
            case 5:
                caret(static_cast<qsizetype>(random() % static_cast<unsigned>(text().size() + 1)));
                break;
            case 6:
                press(Qt::Key_Z, Qt::ControlModifier);
                break;
            case 7:
                press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
                break;
            default:
                press(random() % 2 ? Qt::Key_Backspace : Qt::Key_Delete);
                break;
        }
        expectConsistent();
        if (HasFatalFailure()) {
            return;
        }
    }
    const QString last = text();
    while (view().document()->isUndoAvailable()) {
        view().undo();
    }
    EXPECT_EQ(text(), start);
    EXPECT_EQ(document->content(), start);
    while (view().document()->isRedoAvailable()) {
        view().redo();
    }
    EXPECT_EQ(text(), last);
    expectConsistent();
}

}  // namespace
}  // namespace CarvexTest

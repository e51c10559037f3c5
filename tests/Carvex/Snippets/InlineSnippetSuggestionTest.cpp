// The inline snippet suggestion in the real editor: the pause before a lookup, the ghost and its
// geometry, trimming, the keys, the dismissal, fades and padding, and the ghost's tie to its text.

#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Completion/CompletionCoordinator.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Snippets/GhostTextRenderer.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/TextView/EditorTextView.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "tests/Carvex/Editor/RealEditorTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextDocument>

#include <chrono>

namespace CarvexTest {
namespace {

using namespace Carvex;
using namespace std::chrono_literals;

// A catalog holding exactly the templates it was given (the built-in table when none).
class FixedCatalog : public TemplateCatalog {
public:
    FixedCatalog(std::vector<SnippetTemplate> templates, QString version, FileFormat format)
        : TemplateCatalog(templates.empty() ? builtInTemplates(version, format) : std::move(templates), version,
                          format) {}
    void loadTemplates() override {}
};

SnippetTemplate makeTemplate(QString trigger, QString content) {
    return SnippetTemplate{.id = QStringLiteral("t"),
                           .name = QStringLiteral("T"),
                           .triggerKeywords = {std::move(trigger)},
                           .context = std::nullopt,
                           .content = std::move(content),
                           .openAPIVersion = QStringLiteral("3.0"),
                           .depthScore = 1};
}

class InlineSnippetSuggestionTest : public RealEditorTest {
public:
    void SetUp() override {
        RealEditorTest::SetUp();
        TemplateCatalog::factory() = [this](std::vector<SnippetTemplate>, QString version, FileFormat format) {
            return std::make_unique<FixedCatalog>(templates, std::move(version), format);
        };
        SnippetSuggestionController::installFactory();
        CompletionController::factory() = [this](EditorTextView* view, CompletionPreferencesStore& store) {
            auto made = std::make_unique<CompletionController>(view, store, CompletionCoordinator::defaultEngine(), clock);
            completion = made.get();
            return made;
        };
    }

    // Opens `text` as an untitled YAML or JSON document with the caret at its end (or at the "|" it
    // holds, which is removed).
    void open(QString text, bool json = false) {
        const qsizetype bar = text.indexOf(u'|');
        if (bar >= 0) {
            text.remove(bar, 1);
        }
        // A new editor each time: its catalog holds the templates of the moment.
        editor.reset();
        clock->runPending();
        makeEditor(700, 400);
        document = std::make_unique<Document>(editorStore.get());
        EXPECT_EQ(document->readFromData(text.toUtf8(), json ? DocumentTypes::jsonDocument : DocumentTypes::yamlDocument),
                  std::nullopt);
        // Untitled: nothing is autosaved while the clock runs.
        editor->setDocument(document.get());
        editor->loadDocumentContent();
        view().setSelectedRange(TextRange{bar >= 0 ? bar : view().textLength(), 0});
        clock->runPending();
    }
    SnippetSuggestionController& snippets() { return *editor->snippetController(); }
    GhostTextRenderer& ghost() { return *snippets().ghostRenderer(); }
    QString text() { return view().viewText(); }
    void type(const QString& typed) {
        for (const QChar c : typed) {
            press(0, Qt::NoModifier, QString(c));
        }
    }
    // Types and lets the pause pass.
    void typeAndPause(const QString& typed) {
        type(typed);
        clock->advance(SnippetSuggestionController::debounceDelay);
    }
    const PlaceholderSession* session() {
        const PlaceholderSession* current = snippets().placeholderManager()->session();
        return current != nullptr && current->isActive() ? current : nullptr;
    }

    std::vector<SnippetTemplate> templates;
    CompletionController* completion = nullptr;
};

const QString pathsText = QStringLiteral("openapi: 3.0.0\npaths:\n  /pets:\n    ");

TEST_F(InlineSnippetSuggestionTest, AfterThePauseTheOperationTemplateShowsAfterTheCaretWithoutTouchingTheText) {
    open(pathsText);
    type(QStringLiteral("get:"));
    const QString typed = text();
    const int undoSteps = view().document()->availableUndoSteps();
    clock->advance(SnippetSuggestionController::debounceDelay - 1ms);
    EXPECT_FALSE(snippets().isGhostShown()) << "not before the pause has passed";
    clock->advance(1ms);
    ASSERT_TRUE(snippets().isGhostShown());
    ASSERT_TRUE(snippets().currentSuggestion());
    EXPECT_EQ(snippets().currentSuggestion()->template_.id, QStringLiteral("operation-get"));
    EXPECT_EQ(snippets().currentSuggestion()->insertionPoint, text().size());
    EXPECT_EQ(snippets().currentSuggestion()->triggerKeyword, QStringLiteral("get:"));
    EXPECT_EQ(snippets().currentSuggestion()->baseIndent, QStringLiteral("    "));
    // Later lines lose the base indentation; fields show their defaults.
    const QStringList lines = ghost().ghostLines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QString());
    EXPECT_EQ(lines[1], QStringLiteral("  summary: Get items"));
    EXPECT_EQ(text(), typed);
    EXPECT_EQ(view().document()->availableUndoSteps(), undoSteps);
    EXPECT_EQ(document->content(), view().text());

    const auto geometry = ghost().geometry();
    ASSERT_TRUE(geometry);
    QTextCursor end(view().document());
    end.setPosition(static_cast<int>(text().size()));
    const QRect caret = view().cursorRect(end);
    EXPECT_NEAR(geometry->anchor.left(), caret.left(), 1.5);
    EXPECT_NEAR(geometry->anchor.top(), caret.top(), 1.5);
    // Each line keeps its row: the empty first one leaves a gap of one line.
    for (std::size_t i = 0; i < geometry->lines.size(); ++i) {
        EXPECT_NEAR(geometry->lines[i].top(), geometry->anchor.top() + static_cast<qreal>(i + 1) * geometry->anchor.height(),
                    0.01);
    }
    for (const QRectF& line : geometry->lines) {
        EXPECT_EQ(line.left(), geometry->anchor.left());
        EXPECT_GT(line.top(), geometry->anchor.top()) << "the first line is empty: the drawn ones start below";
        EXPECT_TRUE(geometry->panel.contains(line));
    }
    EXPECT_GT(geometry->hint.left(), geometry->lines.front().right());
    EXPECT_NEAR(geometry->hint.top(), geometry->lines.front().top() + 2, 0.01);
    EXPECT_TRUE(geometry->panel.contains(geometry->hint));
}

TEST_F(InlineSnippetSuggestionTest, ABodyThatBringsItsOwnKeyReplacesTheTypedKeyOnAcceptance) {
    open(QStringLiteral("openapi: 3.0.0\n"));
    typeAndPause(QStringLiteral("info:"));
    ASSERT_TRUE(snippets().isGhostShown());
    EXPECT_EQ(snippets().currentSuggestion()->template_.id, QStringLiteral("info"));
    EXPECT_FALSE(ghost().currentGhostText()->startsWith(QStringLiteral("info:"))) << "the ghost shows what follows";
    EXPECT_TRUE(press(Qt::Key_Tab));
    EXPECT_EQ(text().count(QStringLiteral("info:")), 1) << text().toStdString();
    EXPECT_TRUE(text().startsWith(QStringLiteral("openapi: 3.0.0\ninfo:\n  title: API Title\n"))) << text().toStdString();
    ASSERT_NE(session(), nullptr);
    EXPECT_EQ(text().mid(view().selectedRange().location, view().selectedRange().length), QStringLiteral("API Title"));
    view().undo();
    EXPECT_EQ(text(), QStringLiteral("openapi: 3.0.0\ninfo:"));
}

TEST_F(InlineSnippetSuggestionTest, AJSONDocumentIsOfferedTheJSONBody) {
    open(QStringLiteral("{\n  \"openapi\": \"3.0.0\",\n  \"paths\": {\n    \"/a\": {\n      \"get\":"), true);
    ASSERT_EQ(snippets().fileFormat(), FileFormat::json);
    editor->triggerSnippetSuggestion();
    ASSERT_TRUE(snippets().isGhostShown());
    EXPECT_EQ(snippets().currentSuggestion()->template_.id, QStringLiteral("operation-get"));
    EXPECT_TRUE(ghost().currentGhostText()->startsWith(QStringLiteral(" {\n"))) << ghost().currentGhostText()->toStdString();
    EXPECT_TRUE(press(Qt::Key_Tab));
    EXPECT_TRUE(text().contains(QStringLiteral("\"get\": {\n        \"summary\": \"Get items\""))) << text().toStdString();
}

TEST_F(InlineSnippetSuggestionTest, EachChangeRestartsThePauseAndAltReturnLooksAtOnce) {
    open(pathsText);
    type(QStringLiteral("get"));
    clock->advance(100ms);
    type(QStringLiteral(":"));
    clock->advance(100ms);
    EXPECT_FALSE(snippets().isGhostShown());
    clock->advance(50ms);
    EXPECT_TRUE(snippets().isGhostShown());

    // Alt+Return exactly: inside the pause, at once (the completion list would take it outside a
    // session, so it is asked of the controller itself here).
    snippets().hideSuggestion();
    type(QStringLiteral(" "));
    press(Qt::Key_Backspace);
    ASSERT_TRUE(snippets().debounceTimer().isPending());
    struct Row {
        const char* name;
        Qt::KeyboardModifiers modifiers;
        bool consumed;
    };
    for (const Row& row : {Row{"alt", Qt::AltModifier, true}, Row{"alt shift", Qt::AltModifier | Qt::ShiftModifier, false},
                           Row{"ctrl alt", Qt::ControlModifier | Qt::AltModifier, false},
                           Row{"none", Qt::NoModifier, false}}) {
        snippets().hideSuggestion();
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Return, row.modifiers);
        EXPECT_EQ(snippets().handleKeyDown(event), row.consumed) << row.name;
        EXPECT_EQ(snippets().isGhostShown(), row.consumed) << row.name;
    }
    // The menu's action does the same.
    snippets().hideSuggestion();
    editor->triggerSnippetSuggestion();
    EXPECT_TRUE(snippets().isGhostShown());
}

TEST_F(InlineSnippetSuggestionTest, NothingIsOfferedWithoutAKeywordOrWithSuggestionsOff) {
    struct Row {
        const char* name;
        QString text;
    };
    for (const Row& row : {Row{"caret at 0", QStringLiteral("|get:")},
                           Row{"start of a line", QStringLiteral("paths:\n  /a:\n    get:\n|")},
                           Row{"blanks only", QStringLiteral("paths:\n  /a:\n    |")},
                           Row{"no trigger", QStringLiteral("paths:\n  /a:\n    gets|")}}) {
        open(row.text);
        editor->triggerSnippetSuggestion();
        EXPECT_FALSE(snippets().isGhostShown()) << row.name;
        EXPECT_FALSE(snippets().currentSuggestion()) << row.name;
    }
    // The preference is read at every lookup.
    open(pathsText + QStringLiteral("get:"));
    completionStore->setInlineSnippetEnabled(false);
    editor->triggerSnippetSuggestion();
    EXPECT_FALSE(snippets().isGhostShown());
    completionStore->setInlineSnippetEnabled(true);
    editor->triggerSnippetSuggestion();
    EXPECT_TRUE(snippets().isGhostShown());
}

TEST_F(InlineSnippetSuggestionTest, TypingTheGhostsNextCharactersTrimsItAndAnythingElseHidesIt) {
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral("abc: ${1:x}\nnext: ${2:y}"))};
    open(QStringLiteral("k: v\n"));
    typeAndPause(QStringLiteral("go:"));
    ASSERT_TRUE(snippets().isGhostShown());
    const qsizetype point = text().size();
    type(QStringLiteral("a"));
    EXPECT_TRUE(snippets().isGhostShown());
    EXPECT_EQ(ghost().currentGhostText(), QStringLiteral("bc: x\n  next: y")) << "the ghost trims as it shows";
    EXPECT_EQ(ghost().currentInsertionPoint(), point + 1);
    EXPECT_FALSE(snippets().debounceTimer().isPending()) << "a trim schedules no lookup";
    EXPECT_EQ(ghost().opacity(), 1.0) << "the shortened ghost does not fade in again";
    type(QStringLiteral("z"));
    EXPECT_FALSE(snippets().isGhostShown());
    EXPECT_FALSE(snippets().currentSuggestion());
    EXPECT_TRUE(snippets().debounceTimer().isPending());

    // Typing the whole rest of a one-line ghost hides it.
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" ok"))};
    open(QStringLiteral("k: v\n"));
    typeAndPause(QStringLiteral("go:"));
    ASSERT_TRUE(snippets().isGhostShown());
    type(QStringLiteral(" o"));
    EXPECT_TRUE(snippets().isGhostShown());
    type(QStringLiteral("k"));
    EXPECT_FALSE(snippets().isGhostShown());
    EXPECT_EQ(text(), QStringLiteral("k: v\ngo: ok"));
}

TEST_F(InlineSnippetSuggestionTest, AcceptingATrimmedGhostInsertsOnlyTheUntypedRestAtTheGhostsPoint) {
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" abc: ${1:x}\nnext: ${2:y}"))};
    open(QStringLiteral("k: v\n"));
    typeAndPause(QStringLiteral("go:"));
    type(QStringLiteral(" ab"));
    ASSERT_TRUE(snippets().isGhostShown());
    EXPECT_TRUE(press(Qt::Key_Tab));
    EXPECT_EQ(text(), QStringLiteral("k: v\ngo: abc: x\n  next: y"));
    ASSERT_NE(session(), nullptr);
    const Placeholder& first = session()->placeholders().front();
    EXPECT_EQ(text().mid(first.range.location, first.range.length), QStringLiteral("x"));
    EXPECT_EQ(view().selectedRange(), first.range);
    EXPECT_FALSE(snippets().currentSuggestion());
    // One step of undo takes back the rest and leaves what was typed.
    view().undo();
    EXPECT_EQ(text(), QStringLiteral("k: v\ngo: ab"));
    EXPECT_EQ(session(), nullptr);
    EXPECT_EQ(document->content(), view().text());
}

TEST_F(InlineSnippetSuggestionTest, KeysRouteAsTheRowsSay) {
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" v\nw: ${1:z}"))};
    // Escape hides and is consumed; an arrow hides and still moves the caret.
    struct Row {
        const char* name;
        int key;
        bool consumed;
        qsizetype caretMove;
    };
    for (const Row& row : {Row{"escape", Qt::Key_Escape, true, 0}, Row{"left", Qt::Key_Left, false, -1},
                           Row{"right", Qt::Key_Right, false, 0}, Row{"up", Qt::Key_Up, false, -9},
                           Row{"down", Qt::Key_Down, false, 0}}) {
        open(QStringLiteral("k: vvvvv\ngo:"));
        editor->triggerSnippetSuggestion();
        ASSERT_TRUE(snippets().isGhostShown()) << row.name;
        const qsizetype caret = view().selectedRange().location;
        const QString before = text();
        QKeyEvent event(QEvent::KeyPress, row.key, Qt::NoModifier);
        EXPECT_EQ(snippets().handleKeyDown(event), row.consumed) << row.name;
        EXPECT_FALSE(snippets().isGhostShown()) << row.name;
        EXPECT_FALSE(snippets().currentSuggestion()) << row.name;
        if (!row.consumed) {
            press(row.key);
            EXPECT_EQ(view().selectedRange().location, caret + row.caretMove) << row.name;
        }
        EXPECT_EQ(text(), before) << row.name;
    }
    // The caret put elsewhere (a click) or a selection made: the ghost goes, and Tab indents there.
    for (const TextRange moved : {TextRange{2, 0}, TextRange{9, 3}}) {
        open(QStringLiteral("k: vvvvv\ngo:"));
        editor->triggerSnippetSuggestion();
        ASSERT_TRUE(snippets().isGhostShown());
        view().setSelectedRange(moved);
        EXPECT_FALSE(snippets().isGhostShown());
        EXPECT_FALSE(snippets().currentSuggestion());
    }
    open(QStringLiteral("k: vvvvv\ngo:"));
    editor->triggerSnippetSuggestion();
    view().setSelectedRange(TextRange{0, 0});
    press(Qt::Key_Tab);
    EXPECT_EQ(text(), QStringLiteral("  k: vvvvv\ngo:"));
    // Tab with a modifier does not accept; Tab with neither ghost nor session is not consumed and
    // the editor indents.
    open(QStringLiteral("k: vvvvv\ngo:"));
    editor->triggerSnippetSuggestion();
    for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::ControlModifier),
                                                  Qt::KeyboardModifiers(Qt::AltModifier),
                                                  Qt::KeyboardModifiers(Qt::MetaModifier)}) {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Tab, modifiers);
        EXPECT_FALSE(snippets().handleKeyDown(event));
        EXPECT_TRUE(snippets().isGhostShown());
    }
    snippets().hideSuggestion();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    EXPECT_FALSE(snippets().handleKeyDown(tab));
    press(Qt::Key_Tab);
    EXPECT_EQ(text(), QStringLiteral("k: vvvvv\ngo:  "));

    // In a session Escape hides a ghost and ends the session, both in one key.
    open(QStringLiteral("k: vvvvv\ngo:"));
    editor->triggerSnippetSuggestion();
    ASSERT_TRUE(press(Qt::Key_Tab));
    ASSERT_NE(session(), nullptr);
    EXPECT_TRUE(press(Qt::Key_Escape));
    EXPECT_EQ(session(), nullptr);
    EXPECT_EQ(text(), QStringLiteral("k: vvvvv\ngo: v\n  w: z"));
}

TEST_F(InlineSnippetSuggestionTest, TheGhostGoesAfterTwentySecondsAndATrimStartsThemAgain) {
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" abc"))};
    open(QStringLiteral("k: v\n"));
    typeAndPause(QStringLiteral("go:"));
    ASSERT_TRUE(snippets().isGhostShown());
    clock->advance(15s);
    type(QStringLiteral(" "));
    clock->advance(15s);
    EXPECT_TRUE(snippets().isGhostShown()) << "the trim restarted the 20 s";
    clock->advance(5s);
    EXPECT_FALSE(snippets().isGhostShown());
    EXPECT_EQ(ghost().fadingCount(), 1);
    clock->advance(GhostTextRenderer::fadeDuration);
    EXPECT_EQ(ghost().fadingCount(), 0);
    EXPECT_EQ(text(), QStringLiteral("k: v\ngo: "));
}

TEST_F(InlineSnippetSuggestionTest, FadesRunOnTheClockAndAFadesEndLeavesANewerPreviewAlone) {
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" a\nb\nc"))};
    QString lines;
    for (int i = 0; i < 80; ++i) {
        lines += QStringLiteral("k%1: v\n").arg(i);
    }
    open(lines + QStringLiteral("go:"));
    QScrollBar* bar = view().verticalScrollBar();
    const int natural = bar->maximum();
    editor->triggerSnippetSuggestion();
    EXPECT_EQ(ghost().opacity(), 0.0);
    clock->advance(75ms);
    EXPECT_GT(ghost().opacity(), 0.3);
    EXPECT_LT(ghost().opacity(), 0.7);
    clock->advance(75ms);
    EXPECT_EQ(ghost().opacity(), 1.0);
    // The new preview was scrolled onto the screen with its caret's line.
    const auto shown = ghost().geometry();
    ASSERT_TRUE(shown);
    EXPECT_LE(shown->panel.bottom(), view().viewport()->height());
    EXPECT_GE(shown->anchor.top(), 0);
    // Three lines: the scroll range reaches three lines further; the text is untouched.
    EXPECT_EQ(ghost().addedBottomPadding(), 3);
    EXPECT_EQ(bar->maximum(), natural + 3);
    bar->setValue(bar->maximum());
    EXPECT_EQ(bar->value(), natural + 3) << "the padding can be scrolled to";
    EXPECT_EQ(document->content(), view().text());
    EXPECT_FALSE(document->isDocumentEdited());

    // A lookup while the ghost shows fades the old one; the fade's end keeps the new padding.
    editor->triggerSnippetSuggestion();
    EXPECT_EQ(ghost().fadingCount(), 1);
    EXPECT_TRUE(snippets().isGhostShown());
    clock->advance(GhostTextRenderer::fadeDuration);
    EXPECT_EQ(ghost().fadingCount(), 0);
    EXPECT_TRUE(snippets().isGhostShown());
    EXPECT_EQ(bar->maximum(), natural + 3);

    // Hidden: the padding stays through the fade and goes at its end.
    snippets().hideSuggestion();
    EXPECT_EQ(bar->maximum(), natural + 3);
    clock->advance(GhostTextRenderer::fadeDuration);
    EXPECT_EQ(ghost().addedBottomPadding(), 0);
    EXPECT_EQ(bar->maximum(), natural);

    // A one-line ghost adds none.
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" a"))};
    open(lines + QStringLiteral("go:"));
    editor->triggerSnippetSuggestion();
    EXPECT_TRUE(snippets().isGhostShown());
    EXPECT_EQ(ghost().addedBottomPadding(), 0);
}

TEST_F(InlineSnippetSuggestionTest, AtTheEndOfTheTextTheGhostStartsAfterTheLastCharacter) {
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" a\nb"))};
    for (const QString& opened : {QStringLiteral("go:"), QStringLiteral("k: v\ngo:"), QStringLiteral("k: v\n  go:")}) {
        open(opened);
        editor->triggerSnippetSuggestion();
        const auto geometry = ghost().geometry();
        ASSERT_TRUE(geometry) << opened.toStdString();
        QTextCursor last(view().document());
        last.setPosition(static_cast<int>(text().size() - 1));
        QTextCursor end(view().document());
        end.setPosition(static_cast<int>(text().size()));
        EXPECT_GT(geometry->anchor.left(), view().cursorRect(last).left()) << opened.toStdString();
        EXPECT_NEAR(geometry->anchor.left(), view().cursorRect(end).left(), 1.5) << opened.toStdString();
        EXPECT_NEAR(geometry->anchor.top(), view().cursorRect(end).top(), 1.5) << opened.toStdString();
    }
}

TEST_F(InlineSnippetSuggestionTest, AGhostIsHiddenNeverInsertedAfterAChangeItDidNotHearOf) {
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" abc\nd: ${1:e}"))};
    struct Row {
        const char* name;
        std::function<void(InlineSnippetSuggestionTest&)> change;
    };
    const std::vector<Row> rows = {
        {"a reload", [](InlineSnippetSuggestionTest& t) { t.view().loadText(QStringLiteral("k: v\ngo:")); }},
        {"the editor's new content",
         [](InlineSnippetSuggestionTest& t) { t.editor->setContent(QStringLiteral("other: 1\ngo:")); }},
        {"a key typed with the popup open",
         [](InlineSnippetSuggestionTest& t) {
             // The popup of the keys of "info", the caret moved there (which leaves the ghost).
             t.view().setSelectedRange(TextRange{t.view().viewText().indexOf(u'\n', 21), 0});
             t.editor->triggerCompletion();
             t.clock->runPending();
             ASSERT_TRUE(t.completion->isPopupVisible());
             t.press(0, Qt::NoModifier, QStringLiteral("t"));
         }},
        {"the text cut short before the point",
         [](InlineSnippetSuggestionTest& t) { t.view().replaceCharacters(TextRange{2, t.view().textLength() - 2}, {}); }},
    };
    for (const Row& row : rows) {
        open(QStringLiteral("openapi: 3.0.0\ninfo:\n  \ngo:"));
        editor->triggerSnippetSuggestion();
        ASSERT_TRUE(snippets().isGhostShown()) << row.name;
        row.change(*this);
        EXPECT_FALSE(snippets().isGhostShown()) << row.name;
        EXPECT_FALSE(snippets().currentSuggestion()) << row.name;
        const QString before = text();
        EXPECT_FALSE(snippets().acceptSuggestion()) << row.name;
        EXPECT_EQ(text(), before) << row.name;
        EXPECT_FALSE(text().contains(QStringLiteral("abc"))) << row.name;
        EXPECT_EQ(session(), nullptr) << row.name;
    }
}

TEST_F(InlineSnippetSuggestionTest, BadInputGivesAGhostOrNoneAndNeverAWrongInsertion) {
    // Fields with empty defaults: the ghost shows the text around them and acceptance writes just that.
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" a${1:}b\nc: ${2:}"))};
    open(QStringLiteral("k: v\ngo:"));
    editor->triggerSnippetSuggestion();
    ASSERT_TRUE(snippets().isGhostShown());
    EXPECT_EQ(ghost().ghostLines(), QStringList({QStringLiteral(" ab"), QStringLiteral("  c: ")}));
    EXPECT_TRUE(press(Qt::Key_Tab));
    EXPECT_EQ(text(), QStringLiteral("k: v\ngo: ab\n  c: "));

    // Every line empty: no panel, nothing shown.
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral("\n\n"))};
    open(QStringLiteral("k: v\ngo:"));
    editor->triggerSnippetSuggestion();
    EXPECT_FALSE(snippets().isGhostShown());
    EXPECT_FALSE(ghost().geometry());

    // A caret inside a surrogate pair (a template for every word): nothing is offered there.
    templates = {makeTemplate(QString(), QStringLiteral(" x"))};
    const QString emoji = QString::fromUtf16(u"\U0001F600");
    open(QStringLiteral("k: v\ngo:") + emoji);
    view().setSelectedRange(TextRange{view().textLength() - 1, 0});
    editor->triggerSnippetSuggestion();
    EXPECT_FALSE(snippets().isGhostShown());
    EXPECT_FALSE(snippets().acceptSuggestion());
    EXPECT_EQ(text(), QStringLiteral("k: v\ngo:") + emoji);
    view().setSelectedRange(TextRange{view().textLength(), 0});
    editor->triggerSnippetSuggestion();
    EXPECT_TRUE(snippets().isGhostShown()) << "after the pair it is";

    // A trigger at the end of a long line.
    templates = {makeTemplate(QStringLiteral("go:"), QStringLiteral(" a\nb"))};
    open(QString(1 << 16, u'x') + QStringLiteral(" go:"));
    editor->triggerSnippetSuggestion();
    EXPECT_TRUE(snippets().isGhostShown());
    EXPECT_TRUE(press(Qt::Key_Tab));
    EXPECT_TRUE(text().endsWith(QStringLiteral(" go: a\n  b")));
}

TEST_F(InlineSnippetSuggestionTest, TheEditMenuItemReachesTheSuggestionWithoutAKey) {
    open(pathsText + QStringLiteral("get:"));
    EXPECT_TRUE(QMetaObject::invokeMethod(editor.get(), "triggerSnippetSuggestion"));
    EXPECT_TRUE(snippets().isGhostShown());
}

// What the manual says of undo: a snippet left as inserted goes back in one step; once its fields
// are typed in, each field's typing goes back first, the last field first, and then the snippet.
TEST_F(InlineSnippetSuggestionTest, UndoTakesBackEachFilledFieldAndThenTheSnippet) {
    for (const int filled : {0, 2, 5}) {
        SCOPED_TRACE(filled);
        open(pathsText);
        typeAndPause(QStringLiteral("post:"));
        const QString typed = text();
        ASSERT_TRUE(snippets().isGhostShown());
        ASSERT_TRUE(press(Qt::Key_Tab));
        ASSERT_NE(session(), nullptr);
        ASSERT_EQ(session()->placeholders().size(), 5u);
        const QString inserted = text();
        std::vector<QString> states{inserted};
        for (int field = 0; field < filled; ++field) {
            type(QStringLiteral("my field ") + QString::number(field));
            states.push_back(text());
            press(Qt::Key_Tab);
        }
        ASSERT_EQ(text(), states.back());
        for (auto state = states.rbegin() + 1; state != states.rend(); ++state) {
            view().undo();
            EXPECT_EQ(text(), *state);
        }
        view().undo();
        EXPECT_EQ(text(), typed) << "one more step takes the whole snippet back";
    }
}

}  // namespace
}  // namespace CarvexTest

#include "EditorViewControllerTestSupport.h"

#include "Carvex/Editor/BreadcrumbBarView.h"
#include "Carvex/Editor/BreadcrumbController.h"
#include "Carvex/Indentation/AutoIndentController.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "platform/NotificationCenter.h"

#include <QScrollBar>
#include <QTextDocument>
#include <QUuid>

namespace CarvexTest {
namespace {

using Carvex::DocumentLanguage;
using Carvex::EditorViewController;
using Carvex::FileFormat;
using Carvex::IndentationStyle;
using Carvex::TextRange;
using Events = std::vector<std::string>;

QString corpusText(const char* name) {
    QFile file(QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The events of an edit, without those of the caret moving with it (selection changes and what a
// placeholder session does on them).
Events editEvents(const Events& events) {
    Events kept;
    bool afterSelection = false;
    for (const std::string& event : events) {
        if (event == "completion.selectionDidChangeWithoutEdit" || event == "snippets.selectionDidChange") {
            afterSelection = true;
            continue;
        }
        if (afterSelection && event == "placeholders.activePlaceholderRange") {
            afterSelection = false;
            continue;
        }
        afterSelection = false;
        kept.push_back(event);
    }
    return kept;
}

Carvex::CarvexValidationError findingAt(std::int64_t line, std::int64_t column, std::int64_t endColumn) {
    Carvex::CarvexValidationError error;
    error.id = QUuid::createUuid();
    error.message = QStringLiteral("[T-001] marked");
    error.sourceLocation = Carvex::SourceLocation{{}, line, column, std::nullopt};
    error.endLocation = Carvex::SourceLocation{{}, line, endColumn, std::nullopt};
    return error;
}

// MARK: Set-up and the order the aids hear of things

TEST_F(EditorViewControllerTest, SetUpMakesEveryAidAndRegistersTheScene) {
    EXPECT_NE(controller->highlightingController(), nullptr);
    EXPECT_NE(controller->autoIndentController(), nullptr);
    EXPECT_NE(controller->completionController(), nullptr);
    EXPECT_NE(controller->validationDecorationController(), nullptr);
    ASSERT_NE(controller->breadcrumbBar(), nullptr);
    EXPECT_EQ(controller->breadcrumbBar()->parentWidget(), controller->view());
    EXPECT_EQ(view().textDelegate(), controller.get());
    EXPECT_EQ(view().keyDelegate(), controller.get());
    EXPECT_EQ(view().tooltipDelegate(), controller.get());
    EXPECT_EQ(view().clickDelegate(), nullptr) << "the link handler comes with the first document";
    ASSERT_NE(fakes->snippets, nullptr);
    EXPECT_EQ(fakes->snippets->fileFormat(), FileFormat::yaml);
    EXPECT_EQ(fakes->completion->placeholderManager(), fakes->snippets->placeholderManager());
    ASSERT_EQ(fakes->completion->snippetTemplates().size(), 1u);
    EXPECT_EQ(fakes->completion->snippetTemplates()[0].id, "yaml-template");

    CarvexPlatform::Storyboard storyboard(QStringLiteral("Test"));
    EditorViewController::registerScene(storyboard);
    EXPECT_NE(storyboard.instantiateController<EditorViewController>(QStringLiteral("EmbedEditorViewController")),
              nullptr);
}

TEST_F(EditorViewControllerTest, WithoutFactoriesTheAidsOfLaterSubsystemsAreSkipped) {
    fakes.reset();  // the factories make nothing again
    EditorViewController bare({editorStore.get(), themeStore.get(), completionStore.get(), settings}, fake);
    bare.view()->show();
    Carvex::Document plain(editorStore.get());
    plain.setContent(QStringLiteral("a: 1\n"));
    bare.setDocument(&plain);
    bare.loadDocumentContent();
    EXPECT_EQ(bare.completionController(), nullptr);
    EXPECT_EQ(bare.snippetController(), nullptr);
    EXPECT_EQ(bare.refLinkHandler(), nullptr);
    auto& text = *bare.editorTextView();
    text.setSelectedRange({4, 0});
    text.insertTextAtSelection(QStringLiteral("2"));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&text, &key);
    bare.triggerCompletion();
    bare.triggerSnippetSuggestion();
    EXPECT_EQ(plain.content(), "a: 12x\n");
    EXPECT_EQ(plain.changeCount(), 2);
}

TEST_F(EditorViewControllerTest, AidsHearOfAnEditASelectionChangeAndAKeyInOrder) {
    const QString petstore = corpusText("v3.0/petstore.yaml");
    if (petstore.isEmpty()) {
        GTEST_SKIP() << "corpus not found under " CARVEX_SHARED_DIR;
    }
    Carvex::Document& doc = open(petstore, QStringLiteral("/nowhere/petstore.yaml"));
    EXPECT_EQ(view().clickDelegate(), controller.get());
    const qsizetype title = view().viewText().indexOf(QStringLiteral("Swagger Petstore"));
    ASSERT_GT(title, 0);

    view().setSelectedRange({title, 0});
    EXPECT_EQ(journal.take(), Events{"completion.selectionDidChangeWithoutEdit"});
    EXPECT_EQ(controller->breadcrumbController()->lastUpdateLocation(), title);

    press(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    EXPECT_EQ(journal.take(), (Events{"completion.handleKeyDown", "snippets.handleKeyDown", "completion.textDidChange",
                                      "snippets.textDidChange", "links.updateLinks", "properties.documentDidChange"}));
    EXPECT_EQ(controller->breadcrumbController()->lastUpdateLocation(), title + 1);
    EXPECT_EQ(doc.content(), view().text());
    EXPECT_TRUE(doc.content().contains(QStringLiteral("xSwagger Petstore")));
    EXPECT_EQ(doc.changeCount(), 1);
    EXPECT_EQ(coordinator->lastText, view().viewText());
    EXPECT_EQ(coordinator->lastFormat, Carvex::DocumentFormat::yaml);
    EXPECT_FALSE(controller->isProcessingTextChange());
    // The coordinator lets go of the text it holds before each change, so the view changes its text
    // in place; undo too.
    const QChar* units = view().viewText().constData();
    press(Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
    view().undo();
    EXPECT_EQ(view().viewText().constData(), units);
    EXPECT_EQ(coordinator->willChangeCount, 3);
    EXPECT_EQ(coordinator->lastText, view().viewText());
    journal.events.clear();

    // While the popup shows, the snippet controller is neither told of edits nor offered keys.
    fakes->completion->popupVisible = true;
    press(Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    EXPECT_EQ(journal.take(), (Events{"completion.handleKeyDown", "completion.textDidChange", "links.updateLinks",
                                      "properties.documentDidChange"}));
    // A key the completion consumes goes no further.
    fakes->completion->consumeKeys = true;
    press(Qt::Key_Down);
    EXPECT_EQ(journal.take(), Events{"completion.handleKeyDown"});

    controller->triggerCompletion();
    controller->triggerSnippetSuggestion();
    EXPECT_EQ(journal.take(), (Events{"completion.triggerCompletion", "snippets.updateSuggestion"}));
}

TEST_F(EditorViewControllerTest, PlaceholderSessionTellsOnlyContentChangeCountAndProperties) {
    Carvex::Document& doc = open(QStringLiteral("paths:\n  /pets:\n    get:\n      summary: NAME\n"),
                                 QStringLiteral("/nowhere/a.yaml"));
    const qsizetype name = view().viewText().indexOf(QStringLiteral("NAME"));
    controller->validationDecorationController()->apply({findingAt(4, 16, 20)});
    ASSERT_EQ(controller->validationDecorationController()->decorationCount(), 1);
    auto& manager = *fakes->snippets->manager;
    manager.current = std::make_unique<FakePlaceholderSession>();
    manager.current->list = {Carvex::Placeholder{
        .index = 1, .defaultText = QStringLiteral("NAME"), .range = TextRange{name, 4}, .attachment = nullptr}};
    view().setSelectedRange({name + 1, 0});
    journal.events.clear();

    // Typing inside the active placeholder: the manager hears of it after the change.
    view().setSelectedRange({name + 2, 0});
    journal.events.clear();
    view().insertTextAtSelection(QStringLiteral("zz"));
    EXPECT_EQ(editEvents(journal.take()), (Events{"placeholders.activePlaceholderRange", "placeholders.didReplaceText",
                                                  "properties.documentDidChange"}));
    ASSERT_EQ(manager.replaced.size(), 1u);
    EXPECT_EQ(manager.replaced[0].first, (TextRange{name + 2, 0}));
    EXPECT_EQ(manager.replaced[0].second, 2);
    EXPECT_EQ(doc.content(), view().text());
    EXPECT_EQ(doc.changeCount(), 1);
    EXPECT_TRUE(controller->highlightingController()->isPaused());
    // Marks follow placeholder edits too: the one on the line moved with the inserted units is
    // dropped because the edit touched it.
    EXPECT_EQ(controller->validationDecorationController()->decorationCount(), 0);

    // Typing at a chip replaces the whole chip, as one change the view does not apply itself; it
    // stays one step of undo.
    manager.chip = TextRange{name, 6};
    view().setSelectedRange({name, 0});
    journal.events.clear();
    const QString before = view().viewText();
    EXPECT_FALSE(controller->editorTextViewShouldChangeText(view(), {name, 0}, QStringLiteral("Pet")));
    EXPECT_EQ(editEvents(journal.take()), (Events{"placeholders.activePlaceholderRange", "placeholders.didReplaceText",
                                      "properties.documentDidChange"}));
    EXPECT_TRUE(view().viewText().contains(QStringLiteral("summary: Pet\n")));
    EXPECT_EQ(doc.content(), view().text());
    EXPECT_EQ(doc.changeCount(), 2);
    EXPECT_EQ(manager.replaced.back().first, (TextRange{name, 6}));
    EXPECT_EQ(manager.replaced.back().second, 3);
    view().undo();
    EXPECT_EQ(view().viewText(), before) << "the chip replacement is in the undo history";
    EXPECT_EQ(doc.content(), view().text());

    // The session ends: the next edit queues a full pass and the aids hear of edits again.
    manager.current->running = false;
    manager.chip.reset();
    journal.events.clear();
    view().setSelectedRange({0, 0});
    journal.events.clear();
    view().insertTextAtSelection(QStringLiteral("#\n"));
    EXPECT_EQ(editEvents(journal.take()), (Events{"completion.textDidChange", "snippets.textDidChange", "links.updateLinks",
                                      "properties.documentDidChange"}));
    EXPECT_FALSE(controller->wasInPlaceholderMode());
    EXPECT_FALSE(controller->highlightingController()->isPaused());
}

TEST_F(EditorViewControllerTest, KeysInAPlaceholderSessionGoToTheSnippetControllerFirst) {
    open(QStringLiteral("a: b\n"), QStringLiteral("/nowhere/a.yaml"));
    auto& manager = *fakes->snippets->manager;
    manager.current = std::make_unique<FakePlaceholderSession>();
    fakes->snippets->consumeKeys = true;
    fakes->snippets->endSessionOnKey = true;
    controller->highlightingController()->setPaused(true);
    press(Qt::Key_Escape);
    EXPECT_EQ(journal.take(), (Events{"snippets.handleKeyDown", "links.updateLinks"}))
        << "the links catch up with what was filled in";
    EXPECT_FALSE(controller->highlightingController()->isPaused()) << "the key ended the session";

    // The exit callback resumes highlighting at once and again 0.1 s later.
    controller->highlightingController()->setPaused(true);
    ASSERT_TRUE(manager.onPlaceholderModeExit);
    manager.onPlaceholderModeExit();
    EXPECT_FALSE(controller->highlightingController()->isPaused());
    controller->highlightingController()->setPaused(true);
    fake->advance(EditorViewController::placeholderExitRehighlightDelay);
    EXPECT_FALSE(controller->highlightingController()->isPaused());
}

TEST_F(EditorViewControllerTest, ClickPointerAndTooltipAnswers) {
    open(QStringLiteral("info: x\n"), QStringLiteral("/nowhere/a.yaml"));
    EXPECT_TRUE(controller->editorTextViewHandleCmdClickAt(view(), {3, 3}));
    EXPECT_EQ(journal.take(), Events{"links.handleCmdClick"});
    EXPECT_EQ(controller->editorTextViewCursorAt(view(), {3, 3}, Qt::ControlModifier)->shape(),
              Qt::PointingHandCursor);
    EXPECT_EQ(controller->editorTextViewTooltipAt(view(), 0), std::nullopt);
    controller->validationDecorationController()->apply({findingAt(1, 1, 5)});
    EXPECT_TRUE(controller->editorTextViewTooltipAt(view(), 2)->startsWith(QStringLiteral("[T-001] marked")));
    EXPECT_EQ(controller->editorTextViewTooltipAt(view(), 6), std::nullopt);
}

// MARK: Language, snippets and indentation preferences

TEST_F(EditorViewControllerTest, LanguageComesFromTheExtensionTheFormatOrTheText) {
    struct Row {
        const char* name;
        QString path;
        QString typeName;
        QString text;
        DocumentLanguage expected;
    };
    const Row rows[] = {
        {"YML in capitals beats a brace", "/nowhere/api.YML", Carvex::DocumentTypes::yamlDocument,
         "{\"openapi\": \"3.0.0\"}", DocumentLanguage::yaml},
        {"txt decided by a brace", "/nowhere/api.txt", Carvex::DocumentTypes::yamlDocument, "{\n}",
         DocumentLanguage::json},
        {"json extension", "/nowhere/api.json", Carvex::DocumentTypes::yamlDocument, "a: b", DocumentLanguage::json},
        {"untitled JSON format without looking", {}, Carvex::DocumentTypes::jsonDocument, "a: b",
         DocumentLanguage::json},
        {"untitled YAML format", {}, Carvex::DocumentTypes::yamlDocument, "{}", DocumentLanguage::yaml},
        {"untitled without format, key and value", {}, QStringLiteral("Other"), "openapi: 3.0.0",
         DocumentLanguage::yaml},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        open(row.text, row.path, row.typeName);
        EXPECT_EQ(controller->currentLanguage(), row.expected);
        EXPECT_EQ(controller->highlightingController()->language(), row.expected);
        EXPECT_EQ(controller->autoIndentController()->language(), row.expected);
        EXPECT_EQ(fakes->completion->language(), row.expected);
    }
}

TEST_F(EditorViewControllerTest, AJSONDocumentReplacesTheSnippetCatalogAndAYAMLOneKeepsIt) {
    open(QStringLiteral("openapi: 3.0.0\n"), QStringLiteral("/nowhere/a.yaml"));
    EXPECT_EQ(fakes->snippetControllersMade, 1);
    EXPECT_EQ(journal.take(), Events{});

    controller->setContent(QStringLiteral("{\"openapi\": \"3.1.0\"}"));
    EXPECT_EQ(controller->currentLanguage(), DocumentLanguage::json);
    EXPECT_EQ(fakes->snippetControllersMade, 2);
    EXPECT_EQ(fakes->snippets->fileFormat(), FileFormat::json);
    EXPECT_EQ(fakes->snippets->catalog->openAPIVersion(), "3.0");
    EXPECT_EQ(fakes->completion->snippetTemplates()[0].id, "json-template");
    EXPECT_EQ(fakes->completion->placeholderManager(), fakes->snippets->placeholderManager());
    EXPECT_TRUE(fakes->snippets->onPlaceholderModeExit);
    EXPECT_EQ(document->content(), "{\"openapi\": \"3.1.0\"}");
    // The links of the new text are asked for at once, not at its first edit.
    EXPECT_EQ(editEvents(journal.take()),
              (Events{"catalog.load json", "links.updateLinks", "properties.documentDidChange"}));
}

TEST_F(EditorViewControllerTest, IndentationPreferenceReachesAutoIndentationNotTheGuides) {
    open(QStringLiteral("a:\n    b:\n        c: 1\n    d:\n        e: 2\n    f: 3\n"),
         QStringLiteral("/nowhere/a.yaml"));
    EXPECT_EQ(view().indentGuideWidth(), 4);
    Carvex::IndentationPreferencesStore(settings).setIndentationStyle(IndentationStyle::tabs());
    CarvexPlatform::NotificationCenter::defaultCenter().post(
        EditorViewController::indentationPreferencesDidChangeNotification);
    EXPECT_EQ(controller->autoIndentController()->detectedStyle(), IndentationStyle::tabs());
    EXPECT_EQ(view().indentGuideWidth(), 4);

    editorStore->setShowIndentGuides(false);
    editorStore->setHighlightCurrentLine(false);
    CarvexPlatform::NotificationCenter::defaultCenter().post(EditorViewController::editorPreferencesDidChangeNotification);
    EXPECT_FALSE(view().showIndentGuides());
    EXPECT_FALSE(view().highlightCurrentLine());
}

// MARK: Tab and Shift-Tab

TEST_F(EditorViewControllerTest, TabAndShiftTabIndentAndOutdentAsOneUndoStep) {
    struct Row {
        const char* name;
        QString text;
        TextRange selection;
        int key;
        Qt::KeyboardModifiers modifiers;
        IndentationStyle style;
        bool tabKeyIndents;
        QString expected;
        TextRange expectedSelection;
    };
    const auto spaces2 = IndentationStyle::spaces(2);
    const Row rows[] = {
        {"shift-tab caret in three spaces", "   a\n", {3, 0}, Qt::Key_Backtab, Qt::ShiftModifier, spaces2, true,
         " a\n", {1, 0}},
        {"shift-tab one space", " a\n", {1, 0}, Qt::Key_Backtab, Qt::ShiftModifier, spaces2, true, "a\n", {0, 0}},
        {"shift-tab caret stays on its line", "x\n    a\n", {3, 0}, Qt::Key_Backtab, Qt::ShiftModifier, spaces2, true,
         "x\n  a\n", {2, 0}},
        {"shift-tab tabs style on spaces", "  a\n", {2, 0}, Qt::Key_Backtab, Qt::ShiftModifier,
         IndentationStyle::tabs(), true, "  a\n", {2, 0}},
        {"shift-tab over lines", "\ta\nb\n\tc", {0, 7}, Qt::Key_Backtab, Qt::ShiftModifier, IndentationStyle::tabs(),
         true, "a\nb\nc", {0, 5}},
        {"tab caret", "a\n", {0, 0}, Qt::Key_Tab, Qt::NoModifier, spaces2, true, "  a\n", {2, 0}},
        {"tab selection inside one line", "abc def\n", {1, 2}, Qt::Key_Tab, Qt::NoModifier, spaces2, true,
         "a   def\n", {3, 0}},
        {"tab over three lines", "a\nb\nc\nd\n", {0, 5}, Qt::Key_Tab, Qt::NoModifier, spaces2, true,
         "  a\n  b\n  c\nd\n", {0, 12}},
        {"tab with tabs style", "a\nb\n", {0, 3}, Qt::Key_Tab, Qt::NoModifier, IndentationStyle::tabs(), true,
         "\ta\n\tb\n", {0, 6}},
        {"alt-tab is left to the view", "a\n", {0, 0}, Qt::Key_Tab, Qt::AltModifier, spaces2, true, "\ta\n", {1, 0}},
        {"preference off", "a\n", {0, 0}, Qt::Key_Tab, Qt::NoModifier, spaces2, false, "\ta\n", {1, 0}},
    };
    Carvex::IndentationPreferencesStore preferences(settings);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        preferences.setIndentationStyle(row.style);
        preferences.setUseTabKeyForIndent(row.tabKeyIndents);
        Carvex::Document& doc = open(row.text, QStringLiteral("/nowhere/t.yaml"));
        view().setSelectedRange(row.selection);
        press(row.key, row.modifiers, row.key == Qt::Key_Tab ? QStringLiteral("\t") : QString());
        EXPECT_EQ(view().viewText(), row.expected);
        EXPECT_EQ(view().selectedRange(), row.expectedSelection);
        EXPECT_EQ(doc.content(), view().text());
        const bool changed = row.expected != row.text;
        EXPECT_EQ(view().document()->isUndoAvailable(), changed);
        if (changed) {
            view().undo();
            EXPECT_EQ(view().viewText(), row.text) << "one undo step";
            EXPECT_FALSE(view().document()->isUndoAvailable());
            EXPECT_EQ(doc.content(), row.text);
        }
    }
}

TEST_F(EditorViewControllerTest, TabOverManyLinesMovesMarksPerLineAndIsOneUndoStep) {
    QString text;
    for (int i = 0; i < 2000; ++i) {
        text += QStringLiteral("key%1: value\n").arg(i);
    }
    Carvex::Document& doc = open(text, QStringLiteral("/nowhere/big.yaml"));
    controller->validationDecorationController()->apply({findingAt(1500, 3, 8)});
    const qsizetype marked = controller->validationDecorationController()->decorations()[0].range.location;
    view().setSelectedRange({0, view().textLength()});
    journal.events.clear();
    press(Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    EXPECT_EQ(journal.take(), (Events{"completion.handleKeyDown", "snippets.handleKeyDown", "completion.textDidChange",
                                      "snippets.textDidChange", "links.updateLinks", "properties.documentDidChange",
                                      "completion.selectionDidChangeWithoutEdit"}));
    EXPECT_TRUE(view().viewText().startsWith(QStringLiteral("  key0: value\n  key1: value\n")));
    EXPECT_EQ(doc.content(), view().text());
    EXPECT_EQ(doc.changeCount(), 1);
    ASSERT_EQ(controller->validationDecorationController()->decorationCount(), 1);
    EXPECT_EQ(controller->validationDecorationController()->decorations()[0].range.location, marked + 2 * 1500);
    view().undo();
    EXPECT_EQ(view().viewText(), text);
    EXPECT_EQ(doc.content(), text);
}

// MARK: Marks and the document's content

TEST_F(EditorViewControllerTest, MarksFollowEveryChangeUndoAndRedoIncluded) {
    open(QStringLiteral("ab: value\n"), QStringLiteral("/nowhere/a.yaml"));
    auto& marks = *controller->validationDecorationController();
    marks.apply({findingAt(1, 5, 10)});
    ASSERT_EQ(marks.decorationCount(), 1);
    EXPECT_EQ(marks.decorations()[0].range, (TextRange{4, 5}));

    // An emoji (two units) over a one-unit selection moves later marks by one.
    view().setSelectedRange({0, 1});
    view().insertTextAtSelection(QStringLiteral("\U0001F600"));
    EXPECT_EQ(controller->lastEditedRange(), std::nullopt);
    EXPECT_EQ(marks.decorations()[0].range, (TextRange{5, 5}));
    view().undo();
    EXPECT_EQ(marks.decorations()[0].range, (TextRange{4, 5}));
    view().redo();
    EXPECT_EQ(marks.decorations()[0].range, (TextRange{5, 5}));
    view().setSelectedRange({0, 0});
    view().insertTextAtSelection(QStringLiteral("\n\n"));
    EXPECT_EQ(marks.decorations()[0].range, (TextRange{7, 5}));
}

TEST_F(EditorViewControllerTest, DocumentContentFollowsEveryChangeInTheFilesLineEndings) {
    struct Row {
        const char* name;
        QString text;
    };
    const Row rows[] = {
        {"line feeds", "a: 1\nb:\n  c: 2\n"},
        {"CR LF", "a: 1\r\nb:\r\n  c: 2\r\n"},
        {"lone CR", "a: 1\rb:\r  c: 2\r"},
        {"mixed, CR LF first", "a: 1\r\nb:\n  c: 2\r"},
        {"no line break", "a: 1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Carvex::Document& doc = open(row.text, QStringLiteral("/nowhere/c.yaml"));
        EXPECT_EQ(doc.content(), row.text);
        const auto check = [&](const char* step) {
            SCOPED_TRACE(step);
            EXPECT_EQ(doc.content(), view().text());
        };
        view().setSelectedRange({view().textLength(), 0});
        view().insertTextAtSelection(QStringLiteral("\nd: 4"));
        check("append a line");
        view().setSelectedRange({2, 6});
        view().insertTextAtSelection(QStringLiteral("x\ny\nz"));
        check("replace across a line break");
        view().replaceCharacters({0, 3}, QString());
        check("delete");
        view().setSelectedRange({0, view().textLength()});
        press(Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        check("indent every line");
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        check("outdent every line");
        view().undo();
        check("undo");
        view().undo();
        check("undo again");
        view().redo();
        check("redo");
    }
}

TEST_F(EditorViewControllerTest, ADocumentSetWithoutLoadingTakesTheWholeTextAtTheNextChange) {
    open(QStringLiteral("a: 1\r\nb: 2\r\n"), QStringLiteral("/nowhere/a.yaml"));
    type(QStringLiteral("x"));
    Carvex::Document other(editorStore.get());
    other.setContent(QStringLiteral("something else entirely"));
    controller->setDocument(&other);
    type(QStringLiteral("y"));
    EXPECT_EQ(other.content(), view().text());
    EXPECT_EQ(other.content(), "xya: 1\r\nb: 2\r\n");
    type(QStringLiteral("\n"));
    EXPECT_EQ(other.content(), "xy\r\na: 1\r\nb: 2\r\n");
    controller->setDocument(nullptr);
}

// The content is taken from the view when it is read: the document must keep the last text when
// the editor leaves it or goes, and a read must not leave it sharing the view's text.
TEST_F(EditorViewControllerTest, TheDocumentKeepsTheEditorsLastTextWhenTheEditorLeaves) {
    struct Row {
        const char* name;
        QString text;
    };
    const Row rows[] = {
        {"line feeds", "a: 1\nb: 2\n"},
        {"CR LF", "a: 1\r\nb: 2\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Carvex::Document& doc = open(row.text, QStringLiteral("/nowhere/k.yaml"));
        type(QStringLiteral("x"));
        EXPECT_EQ(doc.content(), "x" + row.text);
        EXPECT_NE(doc.content().constData(), view().viewText().constData()) << "a buffer of its own";
        doc.setContent(QStringLiteral("set: 1\n"));
        EXPECT_EQ(doc.content(), "set: 1\n") << "a text set replaces the view's until the next edit";
        type(QStringLiteral("y"));
        Carvex::Document other(editorStore.get());
        other.setContent(QStringLiteral("other: 1\n"));
        controller->setDocument(&other);
        type(QStringLiteral("z"));
        EXPECT_EQ(doc.content(), "xy" + row.text) << "the text when the editor left";
        EXPECT_EQ(other.content(), view().text());
        controller->setDocument(&doc);
        type(QStringLiteral("w"));
    }
    Carvex::Document& last = *document;
    controller.reset();
    EXPECT_EQ(last.content(), "xyzwa: 1\r\nb: 2\r\n") << "the text when the editor went";
}

TEST_F(EditorViewControllerTest, TheDocumentKeepsTheViewsLastTextWhenTheViewGoesBeforeTheEditor) {
    // A window closing takes its widgets down while the controllers are still there.
    Carvex::Document& doc = open(QStringLiteral("a: 1\r\n"), QStringLiteral("/nowhere/v.yaml"));
    type(QStringLiteral("x"));
    delete controller->view();
    EXPECT_EQ(doc.content(), "xa: 1\r\n");
    controller.reset();
    EXPECT_EQ(doc.content(), "xa: 1\r\n");
}

// MARK: navigateToLine

TEST_F(EditorViewControllerTest, NavigateToLineCountsLinesAsTheParsersAndColumnsInCharacters) {
    struct Row {
        const char* name;
        QString text;
        int line;
        int column;
        qsizetype expected;  // -1: the caret stays where it was
    };
    const QString plain = QStringLiteral("one\ntwo\nthree\n");
    const QString emoji = QStringLiteral("\U0001F600\U0001F600: x\nb: \U0001F600y\n");
    const QString separator = QStringLiteral("a: \"x\u2028y\"\nb: 1\n");
    const QString crlf = QStringLiteral("a: 1\r\nb: 2\r\nc: 3\r\n");
    const Row rows[] = {
        {"line 0", plain, 0, 1, -1},
        {"one past the last line", plain, 5, 1, -1},
        {"last, empty line", plain, 4, 1, 14},
        {"column 999 ends the line", plain, 3, 999, 13},
        {"column 0 is the line start", plain, 2, 0, 4},
        {"column within the line", plain, 2, 3, 6},
        {"line after emoji", emoji, 2, 1, 8},
        {"column behind an emoji", emoji, 2, 5, 13},
        {"column after two emoji", emoji, 1, 3, 4},
        {"line separator stays in its line", separator, 2, 1, 9},
        {"column past a line separator", separator, 1, 7, 6},
        {"CR LF is one line break", crlf, 2, 1, 5},
        {"third line in CR LF", crlf, 3, 3, 12},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        open(row.text, QStringLiteral("/nowhere/n.yaml"));
        view().setSelectedRange({1, 0});
        controller->navigateToLine(row.line, row.column);
        EXPECT_EQ(view().selectedRange(), (TextRange{row.expected < 0 ? 1 : row.expected, 0}));
    }
}

TEST_F(EditorViewControllerTest, ALineOffScreenComesToTheMiddleAndOneOnScreenLeavesTheViewStill) {
    QString text;
    for (int i = 1; i <= 400; ++i) {
        text += QStringLiteral("x-line-%1: %1\n").arg(i);
    }
    open(text, QStringLiteral("/nowhere/lines.yaml"));
    view().resize(500, 300);
    view().show();
    const QRect viewport = view().viewport()->rect();
    controller->navigateToLine(300, 1);
    const QRect far = view().cursorRect();
    EXPECT_GT(far.top(), viewport.height() / 3);
    EXPECT_LT(far.bottom(), viewport.height() * 2 / 3);
    const int scrolled = view().verticalScrollBar()->value();
    controller->navigateToLine(302, 1);
    EXPECT_EQ(view().verticalScrollBar()->value(), scrolled);
    EXPECT_TRUE(viewport.contains(view().cursorRect()));
    view().hide();
}

TEST_F(EditorViewControllerTest, BreadcrumbSegmentMovesTheCaret) {
    open(QStringLiteral("info:\n  title: x\npaths: {}\n"), QStringLiteral("/nowhere/a.yaml"));
    controller->navigateToBreadcrumbSegment({Carvex::PathComponent::key(QStringLiteral("paths"))});
    EXPECT_EQ(view().selectedRange(), (TextRange{17, 0}));
    controller->navigateToBreadcrumbSegment({});
    EXPECT_EQ(view().selectedRange(), (TextRange{17, 0}));
}

}  // namespace
}  // namespace CarvexTest

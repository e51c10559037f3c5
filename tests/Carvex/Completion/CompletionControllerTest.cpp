// The completion controller in the real editor, offscreen on a fake clock, driven by key events:
// when the popup opens, follows the typing and closes; the keys it takes; results shown only for
// the text they were computed from.

#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Completion/CompletionPopupController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "tests/Carvex/Editor/RealEditorTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QRegularExpression>

#include <cstring>

namespace Carvex {
namespace {

using namespace std::chrono_literals;

QString petstore() {
    QFile file(QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai/v3.0/petstore.yaml"));
    if (file.open(QIODevice::ReadOnly)) {
        return QString::fromUtf8(file.readAll());
    }
    // The same beginning, where the shared corpus is not at hand.
    return QStringLiteral(
        "openapi: \"3.0.0\"\ninfo:\n  version: 1.0.0\n  title: Swagger Petstore\n  license:\n    name: MIT\n"
        "servers:\n  - url: http://petstore.swagger.io/v1\npaths:\n  /pets:\n    get:\n      summary: List all pets\n"
        "      operationId: listPets\n      responses:\n        '200':\n          description: A paged array of pets\n");
}

class CompletionControllerTest : public CarvexTest::RealEditorTest {
protected:
    void SetUp() override {
        RealEditorTest::SetUp();
        const CompletionCoordinator::Engine engine = CompletionCoordinator::defaultEngine();
        CompletionController::factory() = [this, engine](EditorTextView* view, CompletionPreferencesStore& store) {
            auto made = std::make_unique<CompletionController>(
                view, store,
                [this, engine](const QString& text, qsizetype caret, DocumentFormat format,
                               const std::vector<SnippetTemplate>& templates) {
                    ++engineCalls;
                    if (emptyResults) {
                        return CompletionResult::empty(CompletionContext{});
                    }
                    return engine(text, caret, format, templates);
                },
                clock);
            completion = made.get();
            return made;
        };
        makeEditor(700, 500);
        document = std::make_unique<Document>(editorStore.get());
        EXPECT_EQ(document->readFromData(petstore().toUtf8(), DocumentTypes::yamlDocument), std::nullopt);
        document->setFilePath(QStringLiteral("/tmp/petstore.yaml"));
        editor->setDocument(document.get());
        editor->loadDocumentContent();
        ASSERT_NE(completion, nullptr);
    }

    bool visible() const { return completion->isPopupVisible(); }
    CompletionPopupController& popup() { return *completion->popupController(); }
    // Types one lower-case letter as its key.
    void typeKey(const QString& text) {
        press(Qt::Key_A + (text.at(0).unicode() - u'a'), Qt::NoModifier, text);
    }
    // A new key line inside "info", indented, the caret at its end.
    void openKeyLine() {
        const qsizetype at = view().viewText().indexOf(QStringLiteral("  version:"));
        view().setSelectedRange(TextRange{at, 0});
        view().insertTextAtSelection(QStringLiteral("  \n"));
        view().setSelectedRange(TextRange{at + 2, 0});
        clock->runPending();
    }
    void requestAndShow() {
        press(Qt::Key_Space, Qt::ControlModifier);
        clock->runPending();
    }
    // Puts `original` back and types "ur" on a new line under the licence, where "url" is the one
    // proposal; answers where the new line begins.
    qsizetype typeUnderTheLicence(const QString& original) {
        view().setPlainText(original);
        clock->runPending();
        const qsizetype at = view().viewText().indexOf(QStringLiteral("    name: MIT")) + 13;
        view().setSelectedRange(TextRange{at, 0});
        view().insertTextAtSelection(QStringLiteral("\n    ur"));
        clock->runPending();
        return at;
    }

    CompletionController* completion = nullptr;
    int engineCalls = 0;
    bool emptyResults = false;
};

TEST_F(CompletionControllerTest, CtrlSpaceOpensUnderTheCaretAndTheKeysMoveAndClose) {
    openKeyLine();
    const QString before = view().viewText();
    requestAndShow();
    ASSERT_TRUE(visible());
    EXPECT_EQ(completion->anchorPosition(), view().selectedRange().location);
    EXPECT_EQ(completion->selectionOnShow(), view().selectedRange());
    const std::optional<QPoint> point = completion->caretScreenPoint();
    ASSERT_TRUE(point);
    EXPECT_EQ(popup().window()->geometry().left(), point->x());
    EXPECT_GE(popup().window()->geometry().top(), point->y() - 1);
    bool title = false;
    for (const CompletionItem& item : popup().items()) {
        title = title || item.label == QStringLiteral("description");
    }
    EXPECT_TRUE(title) << "info's keys are offered";

    press(Qt::Key_Down);
    EXPECT_EQ(popup().selectedIndex(), 1);
    press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(popup().selectedIndex(), 0);
    press(Qt::Key_Escape);
    EXPECT_FALSE(visible());
    EXPECT_FALSE(completion->anchorPosition());
    EXPECT_EQ(view().viewText(), before) << "showing and dismissing leave the text alone";

    // Hidden, the popup keys are the editor's.
    const TextRange caret = view().selectedRange();
    press(Qt::Key_Down);
    EXPECT_NE(view().selectedRange(), caret);
}

TEST_F(CompletionControllerTest, CtrlWithOtherModifiersTriggersToo) {
    openKeyLine();
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier),
          Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier)}) {
        completion->hideCompletion();
        press(Qt::Key_Space, modifiers);
        clock->runPending();
        EXPECT_TRUE(visible()) << modifiers;
    }
    completion->hideCompletion();
    press(Qt::Key_Space, Qt::AltModifier, QStringLiteral(" "));
    clock->runPending();
    EXPECT_FALSE(visible()) << "Alt+Space is typed";
}

TEST_F(CompletionControllerTest, TypingFollowsTheOpenPopupOnlyWhenAutomaticCompletionIsOff) {
    openKeyLine();
    typeKey(QStringLiteral("t"));
    clock->advance(100ms);
    EXPECT_FALSE(visible()) << "automatic completion is off when absent";
    EXPECT_EQ(engineCalls, 0);

    // A single proposal would be written at once: keep it in the popup.
    completionStore->setDirectInsertEnabled(false);
    requestAndShow();
    ASSERT_TRUE(visible());
    const int calls = engineCalls;
    typeKey(QStringLiteral("e"));
    clock->advance(39ms);
    EXPECT_EQ(engineCalls, calls) << "the pause runs";
    clock->advance(1ms);
    EXPECT_EQ(engineCalls, calls + 1);
    ASSERT_TRUE(visible());
    EXPECT_EQ(completion->selectionOnShow(), view().selectedRange()) << "shown again at the new caret";
    for (const CompletionItem& item : popup().items()) {
        EXPECT_TRUE(item.label.startsWith(QStringLiteral("te"), Qt::CaseInsensitive)) << item.label.toStdString();
    }

    // Deleting back before the anchor closes it.
    press(Qt::Key_Backspace);
    clock->advance(40ms);
    EXPECT_TRUE(visible());
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    EXPECT_FALSE(visible());
}

TEST_F(CompletionControllerTest, AutomaticCompletionOpensThePopupAfterThePause) {
    completionStore->setAutoCompletionEnabled(true);
    openKeyLine();
    typeKey(QStringLiteral("d"));
    typeKey(QStringLiteral("e"));
    EXPECT_FALSE(visible());
    clock->advance(40ms);
    EXPECT_EQ(engineCalls, 1) << "one request for the burst";
    EXPECT_TRUE(visible());
}

TEST_F(CompletionControllerTest, MovingTheCaretOrExtendingTheSelectionCloses) {
    for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier),
                                                  Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        openKeyLine();
        requestAndShow();
        ASSERT_TRUE(visible());
        press(Qt::Key_Left, modifiers);
        EXPECT_FALSE(visible()) << modifiers;
        EXPECT_FALSE(completion->anchorPosition());
    }
}

TEST_F(CompletionControllerTest, AnExplicitRequestWithoutItemsLeavesAnOpenPopupUntilTheNextEdit) {
    openKeyLine();
    requestAndShow();
    ASSERT_TRUE(visible());
    emptyResults = true;
    requestAndShow();
    EXPECT_TRUE(visible()) << "the older popup stays";
    EXPECT_FALSE(completion->anchorPosition());
    typeKey(QStringLiteral("x"));
    EXPECT_FALSE(visible()) << "its place is gone";
}

TEST_F(CompletionControllerTest, OneProposalIsShownAsOneRow) {
    const qsizetype at = view().viewText().indexOf(QStringLiteral("    name: MIT")) + 13;
    view().setSelectedRange(TextRange{at, 0});
    view().insertTextAtSelection(QStringLiteral("\n    ur"));
    clock->runPending();
    completionStore->setDirectInsertEnabled(false);
    requestAndShow();
    ASSERT_TRUE(visible());
    ASSERT_EQ(popup().items().size(), 1u);
    EXPECT_EQ(popup().items().front().label, QStringLiteral("url"));
    EXPECT_EQ(popup().window()->height(), 100 + 22);
}

TEST_F(CompletionControllerTest, AnUnknownLanguageAsksForNothingAndHidesOnEdit) {
    openKeyLine();
    requestAndShow();
    ASSERT_TRUE(visible());
    completion->setLanguage(DocumentLanguage::unknown);
    const int calls = engineCalls;
    requestAndShow();
    EXPECT_EQ(engineCalls, calls);
    typeKey(QStringLiteral("x"));
    EXPECT_FALSE(visible());
    clock->advance(100ms);
    EXPECT_EQ(engineCalls, calls);
}

TEST_F(CompletionControllerTest, AResultIsShownOnlyForTheTextItWasComputedFrom) {
    // A reload between Ctrl+Space and its answer, then between a keystroke and its pause.
    openKeyLine();
    press(Qt::Key_Space, Qt::ControlModifier);
    editor->reloadContent();
    clock->runPending();
    EXPECT_FALSE(visible());
    EXPECT_EQ(engineCalls, 0);

    completionStore->setAutoCompletionEnabled(true);
    openKeyLine();
    typeKey(QStringLiteral("t"));
    editor->reloadContent();
    clock->advance(100ms);
    EXPECT_FALSE(visible());
    EXPECT_EQ(engineCalls, 0);
}

TEST_F(CompletionControllerTest, LanguageFromAFileName) {
    struct Row {
        const char* path;
        DocumentLanguage language;
    };
    for (const Row row : {Row{"a.json", DocumentLanguage::json}, Row{"a.YML", DocumentLanguage::yaml},
                          Row{"a.yaml", DocumentLanguage::yaml}, Row{"a.txt", DocumentLanguage::unknown},
                          Row{"json", DocumentLanguage::unknown}}) {
        completion->setLanguageFromPath(QString::fromLatin1(row.path));
        EXPECT_EQ(completion->language(), row.language) << row.path;
    }
}

TEST_F(CompletionControllerTest, TheEditorHandsTheCatalogsSnippetsToCompletionWithoutASuggestionController) {
    TemplateCatalog::installFactory();
    editor->setContent(QStringLiteral("{\"openapi\": \"3.0.0\"}"), DocumentLanguage::json);
    EXPECT_EQ(editor->snippetController(), nullptr);
    EXPECT_FALSE(completion->snippetTemplates().empty());
}

TEST_F(CompletionControllerTest, EveryAcceptingKeyWritesTheSelectedRow) {
    struct Key {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    const Key keys[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier},
        {"Shift+Return", Qt::Key_Return, Qt::ShiftModifier},
        {"Tab", Qt::Key_Tab, Qt::NoModifier},
        {"Shift-Tab", Qt::Key_Backtab, Qt::ShiftModifier},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
    };
    // "description" alone is proposed: keep it in the popup.
    completionStore->setDirectInsertEnabled(false);
    const QString original = view().viewText();
    for (const Key& key : keys) {
        SCOPED_TRACE(key.name);
        view().setPlainText(original);
        clock->runPending();
        openKeyLine();
        typeKey(QStringLiteral("d"));
        typeKey(QStringLiteral("e"));
        requestAndShow();
        ASSERT_TRUE(visible());
        const CompletionItem* selected = popup().selectedItem();
        ASSERT_NE(selected, nullptr);
        ASSERT_EQ(selected->label, QStringLiteral("description"));
        const qsizetype lineStart = view().selectedRange().location - 4;
        // The keystroke just before the acceptance left a request waiting.
        typeKey(QStringLiteral("s"));
        clock->advance(10ms);
        press(key.key, key.modifiers);
        EXPECT_FALSE(visible());
        EXPECT_EQ(view().viewText().mid(lineStart, 15), QStringLiteral("  description: "));
        EXPECT_EQ(view().selectedRange(), (TextRange{lineStart + 15, 0}));
        EXPECT_EQ(document->content(), view().text()) << "the document sees the edit";
        clock->advance(100ms);
        EXPECT_FALSE(visible()) << "the waiting request is dropped";
        // One undo takes the whole row back.
        press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(view().viewText().mid(lineStart, 6), QStringLiteral("  des\n"));
    }
}

TEST_F(CompletionControllerTest, AltReturnWithThePopupOpenAsksForSnippetsInstead) {
    completionStore->setDirectInsertEnabled(false);
    openKeyLine();
    typeKey(QStringLiteral("d"));
    requestAndShow();
    ASSERT_TRUE(visible());
    const QString before = view().viewText();
    press(Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(view().viewText(), before);
}

TEST_F(CompletionControllerTest, ASingleProposalIsWrittenAtOnceUnlessDirectInsertionIsOff) {
    struct Row {
        const char* name;
        std::optional<bool> setting;
        bool written;
    };
    const Row rows[] = {{"absent", std::nullopt, true}, {"on", true, true}, {"off", false, false}};
    const QString original = view().viewText();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        completionStore->reset();
        if (row.setting) {
            completionStore->setDirectInsertEnabled(*row.setting);
        }
        const qsizetype at = typeUnderTheLicence(original);
        requestAndShow();
        EXPECT_EQ(visible(), !row.written);
        EXPECT_EQ(view().viewText().mid(at, row.written ? 10 : 8),
                  row.written ? QStringLiteral("\n    url: ") : QStringLiteral("\n    ur\n"));
        if (row.written) {
            EXPECT_EQ(view().selectedRange(), (TextRange{at + 10, 0}));
            EXPECT_FALSE(completion->anchorPosition());
        }
        completion->hideCompletion();
    }
}

TEST_F(CompletionControllerTest, ClosingTheEditorWithAnExplicitRequestPendingWritesNothing) {
    openKeyLine();
    typeKey(QStringLiteral("d"));
    press(Qt::Key_Space, Qt::ControlModifier);
    // Run, the request would write its one proposal ("description") at once.
    const QString typed = view().viewText();
    const int calls = engineCalls;
    editor.reset();
    completion = nullptr;
    clock->runPending();
    EXPECT_EQ(engineCalls, calls) << "the request went with its editor";
    EXPECT_EQ(document->content(), typed) << "the document keeps the text as it was typed";
}

}  // namespace
}  // namespace Carvex

namespace Carvex {
namespace {

using namespace std::chrono_literals;

class CompletionAcceptanceTest : public CompletionControllerTest {
protected:
    // The JSON petstore in the editor, as a document of its own.
    bool openJSON() {
        QFile file(QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai/v3.0/petstore.json"));
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        jsonDocument = std::make_unique<Document>(editorStore.get());
        EXPECT_EQ(jsonDocument->readFromData(file.readAll(), DocumentTypes::jsonDocument), std::nullopt);
        jsonDocument->setFilePath(QStringLiteral("/tmp/petstore.json"));
        editor->setDocument(jsonDocument.get());
        editor->loadDocumentContent();
        clock->runPending();
        return completion->language() == DocumentLanguage::json;
    }
    // Moves the popup's selection down to the row labelled `label`.
    bool selectRow(const QString& label) {
        for (std::size_t step = 0; step < popup().items().size(); ++step) {
            if (popup().selectedItem() != nullptr && popup().selectedItem()->label == label) {
                return true;
            }
            press(Qt::Key_Down);
        }
        return popup().selectedItem() != nullptr && popup().selectedItem()->label == label;
    }
    void TearDown() override {
        CompletionControllerTest::TearDown();
        jsonDocument.reset();
    }

    std::unique_ptr<Document> jsonDocument;
};

TEST_F(CompletionAcceptanceTest, AStatusCodeRowWritesAJSONKeyInTheRealEditor) {
    if (!openJSON()) {
        GTEST_SKIP() << "the shared corpus is not here";
    }
    // A new line in POST /pets' responses, which hold "201" and "default".
    const qsizetype post = view().viewText().indexOf(QStringLiteral("\"201\": {"));
    ASSERT_GT(post, 0);
    const qsizetype lineStart = view().viewText().lastIndexOf(u'\n', post) + 1;
    view().setSelectedRange(TextRange{lineStart, 0});
    view().insertTextAtSelection(QStringLiteral("          \n"));
    view().setSelectedRange(TextRange{lineStart + 10, 0});
    clock->runPending();
    typeKey(QStringLiteral("a").replace(u'a', u'"'));
    press(Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
    press(Qt::Key_0, Qt::NoModifier, QStringLiteral("0"));
    EXPECT_EQ(view().viewText().mid(lineStart, 14), QStringLiteral("          \"20\n"));
    requestAndShow();
    ASSERT_TRUE(visible());
    ASSERT_TRUE(selectRow(QStringLiteral("200")));
    press(Qt::Key_Return);
    EXPECT_FALSE(visible());
    EXPECT_EQ(view().viewText().mid(lineStart, 18), QStringLiteral("          \"200\": \n"));
    EXPECT_EQ(view().selectedRange(), (TextRange{lineStart + 17, 0}));
    EXPECT_EQ(jsonDocument->content(), view().text());
}

TEST_F(CompletionAcceptanceTest, AnAcceptanceRightAfterAKeystrokeWritesTheRowOnce) {
    completionStore->setDirectInsertEnabled(false);
    openKeyLine();
    typeKey(QStringLiteral("d"));
    requestAndShow();
    ASSERT_TRUE(visible());
    const qsizetype lineStart = view().selectedRange().location - 3;
    typeKey(QStringLiteral("e"));
    clock->advance(39ms);
    press(Qt::Key_Return);
    const int calls = engineCalls;
    EXPECT_EQ(view().viewText().mid(lineStart, 16), QStringLiteral("  description: \n"));
    // The request of "e" would have come now, with rows for "de".
    clock->advance(100ms);
    EXPECT_EQ(engineCalls, calls) << "the waiting request was dropped, not answered";
    EXPECT_FALSE(visible());
    // The next Return is the editor's: a line break, no second key.
    press(Qt::Key_Return);
    clock->advance(100ms);
    EXPECT_FALSE(visible());
    EXPECT_EQ(view().viewText().count(QStringLiteral("description: description")), 0);
    EXPECT_TRUE(view().viewText().mid(lineStart).startsWith(QStringLiteral("  description: \n  ")))
        << view().viewText().mid(lineStart, 40).toStdString();
}

TEST_F(CompletionAcceptanceTest, AltReturnWithThePopupOpenListsTheSnippetsAlone) {
    TemplateCatalog::installFactory();
    editor->loadDocumentContent();
    clock->runPending();
    ASSERT_FALSE(completion->snippetTemplates().empty());
    completionStore->setDirectInsertEnabled(false);
    // Under an operation, where both keys and snippets are proposed.
    const qsizetype get = view().viewText().indexOf(QStringLiteral("    get:\n")) + 8;
    view().setSelectedRange(TextRange{get, 0});
    view().insertTextAtSelection(QStringLiteral("\n      "));
    clock->runPending();
    requestAndShow();
    ASSERT_TRUE(visible());
    const QString before = view().viewText();
    bool keys = false;
    for (const CompletionItem& item : popup().items()) {
        keys = keys || item.kind != CompletionItemKind::snippet;
    }
    EXPECT_TRUE(keys);
    press(Qt::Key_Return, Qt::AltModifier);
    clock->runPending();
    EXPECT_EQ(view().viewText(), before) << "nothing is accepted";
    ASSERT_TRUE(visible());
    ASSERT_FALSE(popup().items().empty());
    for (const CompletionItem& item : popup().items()) {
        EXPECT_EQ(item.kind, CompletionItemKind::snippet) << item.label.toStdString();
    }
}

}  // namespace
}  // namespace Carvex

namespace Carvex {
namespace {

// What the user may have in the view when a row is accepted: each gives a defined edit or none.
TEST_F(CompletionAcceptanceTest, BadInputGivesADefinedEditOrNone) {
    SnippetMetadata metadata;
    metadata.templateId = QStringLiteral("t");
    metadata.templateContent = QStringLiteral("contact:\n  name: ${1:N}");
    metadata.openAPIVersion = QStringLiteral("3.0");
    const CompletionItem snippet(QStringLiteral("contact"), std::nullopt, CompletionItemKind::snippet, std::nullopt,
                                 std::nullopt, std::nullopt, 0, true, false, metadata);
    const CompletionItem key(QStringLiteral("title"), std::nullopt, CompletionItemKind::property, std::nullopt,
                             std::nullopt, std::nullopt, 0, true, true);
    const CompletionItem empty(QStringLiteral("x"), QString(), CompletionItemKind::value);
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    // A megabyte of words on one line (one word that long is a layout matter of the view).
    const QString longLine = QStringLiteral("  ") + QStringLiteral("word ").repeated(1 << 18) + QStringLiteral("ti");
    struct Row {
        const char* name;
        QString text;
        TextRange selection;
        DocumentLanguage language;
        CompletionItem item;
        QString written;  // the text afterwards
        qsizetype caret;
    };
    const Row rows[] = {
        {"caret inside a surrogate pair: no edit", "a: " + emoji + "ti", {4, 0}, DocumentLanguage::yaml, key,
         "a: " + emoji + "ti", 4},
        {"snippet inside a surrogate pair: no edit", "a: " + emoji, {4, 0}, DocumentLanguage::yaml, snippet,
         "a: " + emoji, 4},
        {"selection ending inside a surrogate pair: no edit", "ti" + emoji, {0, 3}, DocumentLanguage::yaml, key,
         "ti" + emoji, 0},
        {"emoji before the word", "  " + emoji + "ti", {6, 0}, DocumentLanguage::yaml, key,
         "  " + emoji + "title: ", 11},
        {"empty insert text takes the word away", "info:\n  ab", {10, 0}, DocumentLanguage::yaml, empty,
         "info:\n  ", 8},
        {"unknown language writes the text alone", "info:\n  ti", {10, 0}, DocumentLanguage::unknown, key,
         "info:\n  title", 13},
        {"a 1 MB line", longLine, {longLine.size(), 0}, DocumentLanguage::yaml, key, longLine.chopped(2) + "title: ",
         longLine.size() + 5},
    };
    completion->setPlaceholderManager(std::make_shared<PlaceholderManager>(&view(), themeStore.get()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        view().setPlainText(row.text);
        completion->setLanguage(row.language);
        view().setSelectedRange(row.selection);
        clock->runPending();
        completion->insertCompletion(row.item);
        EXPECT_EQ(view().viewText(), row.written);
        EXPECT_EQ(view().selectedRange().location, row.caret);
        EXPECT_FALSE(completion->isProcessingCompletion());
        EXPECT_EQ(document->content(), view().text());
        clock->advance(100ms);
    }
}

}  // namespace
}  // namespace Carvex

namespace Carvex {
namespace {

using namespace std::chrono_literals;

// Ctrl+Space overtaken by a key before its answer came: the answer belongs to another text or
// caret, so it is neither written at once (one proposal, direct insertion on) nor shown.
TEST_F(CompletionControllerTest, AnExplicitRequestOvertakenBeforeItsAnswerWritesNothing) {
    struct Row {
        const char* name;
        int key;
        QString text;
        qsizetype caretShift;
    };
    const Row rows[] = {{"a keystroke", Qt::Key_M, "m", 1}, {"a caret move", Qt::Key_Left, {}, -1}};
    const QString original = view().viewText();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const qsizetype at = typeUnderTheLicence(original);
        const qsizetype caret = at + 7;
        ASSERT_EQ(view().selectedRange(), (TextRange{caret, 0}));
        press(Qt::Key_Space, Qt::ControlModifier);
        press(row.key, Qt::NoModifier, row.text);
        const QString typed = view().viewText();
        clock->runPending();
        EXPECT_EQ(view().viewText().toStdString(), typed.toStdString()) << "the single proposal, url, is not written";
        EXPECT_EQ(view().selectedRange(), (TextRange{caret + row.caretShift, 0}));
        EXPECT_FALSE(visible());
    }
}

// An accepting key while the rows on screen were computed for older text (typed past at about 20 ms
// a key, the request for the current text still waiting or dropped) writes what the current text
// offers: the selected row while it is still proposed, else the first proposal; with none, the key
// is the editor's.
TEST_F(CompletionControllerTest, AnAcceptingKeyNeverWritesRowsComputedForOlderText) {
    const QString original = QStringLiteral(
        "openapi: 3.0.0\ninfo:\n  title: T\n  version: 1.0.0\npaths:\n  /pets:\n    get:\n"
        "      operationId: listPets\n      responses:\n        '200':\n          description: ok\n          content:\n"
            "            application/json: {}\n");
    const qsizetype lineEnd = original.indexOf(QStringLiteral("listPets")) + 8;
    struct Scenario {
        const char* name;
        QString opening;  // typed before the list opens under the operation
        int downs;        // rows the selection moves down
        QString burst;    // typed quickly with the list open
        bool shown;       // whether rows (narrowed to the word) are on screen after the burst
        std::optional<QString> written;  // the line the key leaves; none: the key is the editor's
    };
    // Under "s" the list offers summary, security and servers; under nothing, summary first.
    const Scenario scenarios[] = {
        {"summary typed out, nothing proposed", "s", 0, "ummary: quick words typed", false, std::nullopt},
        {"the selected row still proposed", "", 5, "s", true, "      security:\n        "},
        {"the selected row gone: the first proposal", "s", 2, "u", true, "      summary: "},
    };
    struct Key {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        QString editorWrites;  // what the key types without a list
    };
    const Key keys[] = {{"Return", Qt::Key_Return, Qt::NoModifier, "\n      "},
                        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, "\n      "},
                        {"Tab", Qt::Key_Tab, Qt::NoModifier, "  "}};
    const auto typeQuickly = [this](const QString& text) {
        for (const QChar c : text) {
            if (c == u':') {
                press(Qt::Key_Colon, Qt::NoModifier, QStringLiteral(":"));
            } else if (c == u' ') {
                press(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            } else {
                typeKey(QString(c));
            }
            clock->advance(20ms);
        }
    };
    for (const bool automatic : {true, false}) {
        for (const bool dropped : {false, true}) {
            for (const Scenario& scenario : scenarios) {
                for (const Key& key : keys) {
                    SCOPED_TRACE(testing::Message() << (automatic ? "automatic list, " : "Ctrl+Space list, ")
                                                    << (dropped ? "request dropped, " : "request waiting, ")
                                                    << scenario.name << ", " << key.name);
                    completionStore->setAutoCompletionEnabled(automatic);
                    completion->hideCompletion();
                    view().setPlainText(original);
                    view().setSelectedRange(TextRange{lineEnd, 0});
                    clock->runPending();
                    press(Qt::Key_Return);
                    typeQuickly(scenario.opening);
                    clock->advance(100ms);
                    if (!automatic) {
                        requestAndShow();
                    }
                    ASSERT_TRUE(visible());
                    for (int down = 0; down < scenario.downs; ++down) {
                        press(Qt::Key_Down);
                    }
                    typeQuickly(scenario.burst);
                    if (dropped) {
                        completion->coordinator()->cancel();
                    }
                    // The rows of the older text are narrowed to the word typed, or the list
                    // waits hidden for the answer.
                    ASSERT_EQ(visible(), scenario.shown);
                    for (const CompletionItem& item : visible() ? popup().items() : std::vector<CompletionItem>{}) {
                        EXPECT_TRUE(item.label.startsWith(scenario.opening + scenario.burst))
                            << item.label.toStdString();
                    }
                    press(key.key, key.modifiers);
                    const QString line =
                        scenario.written.value_or("      " + scenario.opening + scenario.burst + key.editorWrites);
                    const QString expected = original.left(lineEnd) + "\n" + line + original.mid(lineEnd);
                    EXPECT_EQ(view().viewText().toStdString(), expected.toStdString());
                    EXPECT_EQ(document->content(), view().text());
                    if (scenario.written) {
                        EXPECT_FALSE(visible());
                    }
                    clock->advance(100ms);
                    EXPECT_EQ(view().viewText().toStdString(), expected.toStdString()) << "nothing comes late";
                    if (!automatic) {
                        EXPECT_FALSE(visible()) << "the list closed with the key";
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace Carvex

namespace Carvex {
namespace {

using namespace std::chrono_literals;

// A small description with an operation and a schema property to type under.
class CompletionTypingTest : public CompletionAcceptanceTest {
protected:
    static QString small() {
        return QStringLiteral(
            "openapi: 3.0.0\ninfo:\n  title: T\n  version: 1.0.0\npaths:\n  /pets:\n    get:\n"
            "      operationId: listPets\n      responses:\n        '200':\n          description: ok\n"
            "          content:\n            application/json: {}\n"
            "components:\n  schemas:\n    Pet:\n      properties:\n        name:\n          description: n\n");
    }
    // Puts the small description back with a new line after the line ending in `after`, the caret
    // at its end, indented by `indentation`; answers where the new line begins.
    qsizetype openLineAfter(const QString& after, int indentation) {
        view().setPlainText(small());
        const qsizetype end = view().viewText().indexOf(after + u'\n') + after.size();
        view().setSelectedRange(TextRange{end, 0});
        view().insertTextAtSelection(u'\n' + QString(indentation, u' '));
        clock->runPending();
        return end + 1;
    }
    // Types `text` key by key, `perKey` apart; "\b" is Backspace, "\n" Return. An ASCII key's code is
    // its upper case.
    void type(const QString& text, std::chrono::milliseconds perKey) {
        for (const QChar c : text) {
            const bool back = c == u'\b';
            const bool newLine = c == u'\n';
            press(back ? int(Qt::Key_Backspace) : newLine ? int(Qt::Key_Return) : int(c.toUpper().unicode()),
                  c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, back || newLine ? QString() : QString(c));
            clock->advance(perKey);
        }
    }
    static std::vector<QString> labels(const std::vector<CompletionItem>& items) {
        std::vector<QString> labels;
        for (const CompletionItem& item : items) {
            labels.push_back(item.label);
        }
        return labels;
    }
    // The labels the engine proposes for the text and caret as they are.
    std::vector<QString> proposedNow() {
        return labels(CompletionCoordinator::defaultEngine()(view().viewText(), view().selectedRange().location,
                                                             DocumentFormat::yaml, completion->snippetTemplates())
                          .items);
    }
};

// Writing a row that is the typed text already would change nothing: the list closes (a list of that
// row alone closes by itself) and Return, Tab or keypad Enter is the editor's, however the value came.
TEST_F(CompletionTypingTest, ARowThatWouldLeaveTheTextAsItIsIsNoAcceptance) {
    struct Line {
        const char* name;
        const char* after;
        int indentation;
        QString key;    // typed with pauses
        QString value;  // typed as the mode says
        bool listStays; // more rows than the typed one: the list stays, the typed one selected
    };
    const Line lines[] = {
        {"deprecated: false", "listPets", 6, "deprecated: ", "false", false},
        {"type: string", "description: n", 10, "type: ", "string", false},
        {"format: date, date-time also offered", "description: n", 10, "format: ", "date", true},
    };
    enum class Mode { paused, burst, ctrlSpace };
    const std::pair<const char*, Mode> modes[] = {
        {"typed with pauses", Mode::paused}, {"value in a burst", Mode::burst}, {"Ctrl+Space", Mode::ctrlSpace}};
    struct Key {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool newLine;  // else the editor's Tab: two spaces
    };
    const Key keys[] = {{"Return", Qt::Key_Return, Qt::NoModifier, true},
                        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true},
                        {"Tab", Qt::Key_Tab, Qt::NoModifier, false}};
    for (const Line& line : lines) {
        for (const auto& [modeName, mode] : modes) {
            for (const Key& key : keys) {
                SCOPED_TRACE(testing::Message() << line.name << ", " << modeName << ", " << key.name);
                completion->hideCompletion();
                completionStore->setAutoCompletionEnabled(mode != Mode::ctrlSpace);
                const qsizetype lineStart = openLineAfter(QString::fromLatin1(line.after), line.indentation);
                type(line.key, 50ms);
                type(line.value, mode == Mode::burst ? 20ms : 50ms);
                const quint64 typed = view().textRevision();
                if (mode == Mode::ctrlSpace) {
                    requestAndShow();
                    EXPECT_EQ(view().textRevision(), typed) << "nothing is written, not even the same text";
                }
                ASSERT_EQ(visible(), line.listStays);
                if (line.listStays) {
                    ASSERT_NE(popup().selectedItem(), nullptr);
                    EXPECT_EQ(popup().selectedItem()->label, line.value) << "the value typed whole is selected";
                }
                press(key.key, key.modifiers);
                EXPECT_FALSE(visible());
                const QString indentation(line.indentation, u' ');
                const QString expected = indentation + line.key + line.value +
                                         (key.newLine ? u'\n' + indentation : QStringLiteral("  ")) + u'\n';
                EXPECT_EQ(view().viewText().mid(lineStart, expected.size()).toStdString(), expected.toStdString());
                clock->advance(100ms);
                EXPECT_EQ(view().viewText().mid(lineStart, expected.size()).toStdString(), expected.toStdString())
                    << "nothing comes late";
            }
        }
    }
}

// A list that came by itself with no word at the caret leaves Return and keypad Enter to the editor:
// the text is what the keys give with no list at all. Tab, a row moved to, a word typed and a list
// asked for with Ctrl+Space accept: the text is not that.
TEST_F(CompletionTypingTest, ReturnEndsTheLineUnderAListThatCameWithNoWordAtTheCaret) {
    struct Place {
        const char* name;
        DocumentLanguage language;
        QString text;     // the caret at its end, or after listPets in YAML
        QString opening;  // typed with pauses: the list comes by itself
        QString word;     // typed for the row of a word; none: not done here
    };
    const Place places[] = {
        {"a new line under an operation", DocumentLanguage::yaml, small(), "\n", "s"},
        {"after parameters:", DocumentLanguage::yaml, small(), "\nparameters:", ""},
        {"after { in JSON", DocumentLanguage::json, "", "{", "\"o"},
        {"after , in JSON", DocumentLanguage::json, "{\"openapi\": \"3.1.0\"", ",", "\"i"},
    };
    struct Action {
        const char* name;
        bool word, down, ctrlSpace, accepts;
        int key;
    };
    const Action actions[] = {{"Return", false, false, false, false, Qt::Key_Return},
                              {"keypad Enter", false, false, false, false, Qt::Key_Enter},
                              {"Tab", false, false, false, true, Qt::Key_Tab},
                              {"Down, Return", false, true, false, true, Qt::Key_Return},
                              {"a word, Return", true, false, false, true, Qt::Key_Return},
                              {"Ctrl+Space, Return", false, false, true, true, Qt::Key_Return}};
    completionStore->setAutoCompletionEnabled(true);
    completionStore->setDirectInsertEnabled(false);
    // The text after the place and the action's keys; with no list, Down and Ctrl+Space are left out.
    const auto typeAt = [this](const Place& place, const Action& action, bool list) {
        emptyResults = !list;
        completion->hideCompletion();
        editor->setContent(place.text, place.language);
        const bool json = place.language == DocumentLanguage::json;
        view().setSelectedRange(TextRange{json ? place.text.size() : place.text.indexOf("listPets") + 8, 0});
        clock->runPending();
        type(place.opening + (action.word ? place.word : QString()), 50ms);
        EXPECT_EQ(visible(), list);
        if (list && action.down) {
            press(Qt::Key_Down);
        }
        if (list && action.ctrlSpace) {
            requestAndShow();
        }
        press(action.key, action.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_FALSE(visible());
        return view().viewText().toStdString();
    };
    for (const Place& place : places) {
        for (const Action& action : actions) {
            if (action.word && place.word.isEmpty()) {
                continue;
            }
            SCOPED_TRACE(testing::Message() << place.name << ", " << action.name);
            const std::string editorAlone = typeAt(place, action, false);
            EXPECT_EQ(typeAt(place, action, true) != editorAlone, action.accepts) << editorAlone;
        }
    }
}

// While keys arrive faster than the pause, the rows on screen are those the engine gives for the
// text as it is: narrowed at once while the word grows (the list never blinks), hidden after any
// other edit until the answer comes.
TEST_F(CompletionTypingTest, TheRowsOnScreenFitTheWordWhileKeysArrive) {
    struct Row {
        const char* name;
        const char* after;
        int indentation;
        QString opening;       // typed with pauses: the list opens for it
        QString burst;         // 20 ms a key
        const char* onScreen;  // after each key of the burst: 1 the list shows, 0 it waits hidden
    };
    const Row rows[] = {
        {"a key typed on", "listPets", 6, "", "secu", "1111"},
        {"a key, its colon and a value", "listPets", 6, "", "summary: qui", "111111100000"},
        {"a word typed back below the answer's and on again", "listPets", 6, "su", "m\b\bum", "11011"},
        {"a media type's slash", "content:", 12, "", "text/", "11110"},
        {"a capital", "listPets", 6, "r", "equestB", "1111111"},
        {"a dash", "description: n", 10, "format: dat", "e-t", "111"},
        {"a reference, narrowed by the engine alone", "description: n", 10, "$ref: ", "Pe", "00"},
    };
    completionStore->setAutoCompletionEnabled(true);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        completion->hideCompletion();
        openLineAfter(QString::fromLatin1(row.after), row.indentation);
        type(row.opening, 50ms);
        if (!visible()) {
            requestAndShow();  // on a line with nothing typed yet
        }
        ASSERT_TRUE(visible());
        ASSERT_EQ(labels(popup().items()), proposedNow());
        for (qsizetype i = 0; i < row.burst.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "after " << row.burst.left(i + 1).toStdString());
            type(row.burst.mid(i, 1), 20ms);
            EXPECT_EQ(visible(), row.onScreen[i] == '1');
            if (visible()) {
                EXPECT_EQ(labels(popup().items()), proposedNow());
            }
        }
        clock->advance(100ms);
        EXPECT_EQ(visible(), !proposedNow().empty()) << "the answer for the text as it is";
        if (visible()) {
            EXPECT_EQ(labels(popup().items()), proposedNow());
        }
    }
}

// Rows computed for one caret are neither shown nor written at another: the caret moved without an
// edit before the pause ended, and the next Return is the editor's.
TEST_F(CompletionTypingTest, RowsAskedForOneCaretAreNotShownAtAnother) {
    const std::pair<const char*, int> moves[] = {{"back over the word", Qt::Key_Left}, {"a line up", Qt::Key_Up}};
    completionStore->setAutoCompletionEnabled(true);
    for (const auto& [name, move] : moves) {
        SCOPED_TRACE(name);
        completion->hideCompletion();
        view().setPlainText(petstore());
        clock->runPending();
        openKeyLine();
        typeKey(QStringLiteral("d"));
        press(move);
        const QString before = view().viewText();
        const qsizetype caret = view().selectedRange().location;
        clock->advance(100ms);
        EXPECT_FALSE(visible());
        press(Qt::Key_Return);
        const QString after = view().viewText();
        EXPECT_EQ(after.left(caret), before.left(caret));
        EXPECT_EQ(after.mid(caret + after.size() - before.size()), before.mid(caret));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\n *$"))
                        .match(after.mid(caret, after.size() - before.size()))
                        .hasMatch())
            << "only the editor's line break: " << after.mid(caret, 30).toStdString();
    }
}

// Under an operation the list holds the key requestBody and the snippet of that name. The row
// selected is found again by its kind as well as its label: in the rows narrowed at once, after the
// pause, after the list waited hidden, and by an acceptance before the list was refreshed. Alt+Return
// lists the snippets alone, and the list stays so while it follows the typing.
TEST_F(CompletionTypingTest, TheSelectedRowsKindAndASnippetsOnlyListHoldWhileTyping) {
    TemplateCatalog::installFactory();
    editor->loadDocumentContent();
    clock->runPending();
    completion->setPlaceholderManager(std::make_shared<PlaceholderManager>(&view(), themeStore.get()));
    completionStore->setDirectInsertEnabled(false);
    const QString snippet = QStringLiteral("      requestBody:\n        required: ");
    struct Row {
        const char* name;
        bool snippetsOnly;
        QString label;
        CompletionItemKind selected;
        QString typed;  // "." lets the pause end; "\b" (Backspace below the answer's word) hides the list
        QString written;
    };
    const QString requestBody = QStringLiteral("requestBody");
    const Row rows[] = {
        {"the snippet selected", false, requestBody, CompletionItemKind::snippet, "r", snippet},
        {"the key selected", false, requestBody, CompletionItemKind::property, "r", "      requestBody:\n        \n"},
        {"snippets alone", true, requestBody, CompletionItemKind::snippet, "r.eq", snippet},
        {"the snippet selected, kept after the pause", false, requestBody, CompletionItemKind::snippet, "r.", snippet},
        {"servers selected, kept while the list waits hidden", false, "servers", CompletionItemKind::property,
         "se.\b.", "      servers:\n        \n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        completion->hideCompletion();
        const qsizetype lineStart = openLineAfter(QStringLiteral("listPets"), 6);
        press(row.snippetsOnly ? Qt::Key_Return : Qt::Key_Space,
              row.snippetsOnly ? Qt::AltModifier : Qt::ControlModifier);
        clock->runPending();
        ASSERT_TRUE(visible());
        while (popup().selectedItem()->label != row.label || popup().selectedItem()->kind != row.selected) {
            ASSERT_LT(popup().selectedIndex() + 1, int(popup().items().size()));
            press(Qt::Key_Down);
        }
        for (const QChar c : row.typed) {
            SCOPED_TRACE(testing::Message() << "after " << c.toLatin1());
            if (c == u'\b') {
                press(Qt::Key_Backspace);
                EXPECT_FALSE(visible());
                continue;
            }
            if (c == u'.') {
                clock->advance(100ms);
            } else {
                typeKey(QString(c));
            }
            ASSERT_TRUE(visible());
            EXPECT_EQ(std::all_of(popup().items().begin(), popup().items().end(),
                                  [](const CompletionItem& item) { return item.kind == CompletionItemKind::snippet; }),
                      row.snippetsOnly);
            EXPECT_EQ(popup().selectedItem()->label, row.label);
            EXPECT_EQ(popup().selectedItem()->kind, row.selected);
        }
        press(Qt::Key_Return);
        EXPECT_EQ(view().viewText().mid(lineStart, row.written.size()).toStdString(), row.written.toStdString());
    }
}

}  // namespace
}  // namespace Carvex

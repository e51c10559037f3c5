#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Completion/CompletionPopupController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
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

namespace CarvexTest {
namespace {

using namespace Carvex;

// The real completion controller, catalog (built-in templates) and snippet controller in an editor.
class SnippetAcceptanceTest : public RealEditorTest {
protected:
    void SetUp() override {
        RealEditorTest::SetUp();
        TemplateCatalog::factory() = [](std::vector<SnippetTemplate>, QString version, FileFormat format) {
            auto catalog = std::make_unique<TemplateCatalog>(std::move(version), format);
            return catalog;
        };
        SnippetSuggestionController::installFactory();
        CompletionController::factory() = [this](EditorTextView* view, CompletionPreferencesStore& store) {
            auto made = std::make_unique<CompletionController>(view, store, CompletionCoordinator::defaultEngine(), clock);
            completion = made.get();
            return made;
        };
        makeEditor(700, 500);
    }
    void open(const QString& text) {
        document = std::make_unique<Document>(editorStore.get());
        EXPECT_EQ(document->readFromData(text.toUtf8(), DocumentTypes::yamlDocument), std::nullopt);
        document->setFilePath(QStringLiteral("/tmp/snippets.yaml"));
        editor->setDocument(document.get());
        editor->loadDocumentContent();
        view().setSelectedRange(TextRange{view().textLength(), 0});
    }
    const PlaceholderSession* session() {
        const PlaceholderSession* current = editor->snippetController()->placeholderManager()->session();
        return current != nullptr && current->isActive() ? current : nullptr;
    }

    CompletionController* completion = nullptr;
};

TEST_F(SnippetAcceptanceTest, AltReturnListsSnippetsAloneAndEachAcceptingKeyInsertsTheRow) {
    const QString text = QStringLiteral("openapi: 3.0.0\npaths:\n  /a:\n    get:\n      ");
    struct Row {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    const Row rows[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier},
        {"Tab", Qt::Key_Tab, Qt::NoModifier},
        {"Shift-Tab", Qt::Key_Backtab, Qt::ShiftModifier},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        open(text);
        EXPECT_TRUE(press(Qt::Key_Return, Qt::AltModifier));
        clock->runPending();
        ASSERT_TRUE(completion->isPopupVisible());
        for (const CompletionItem& item : completion->popupController()->items()) {
            EXPECT_EQ(item.kind, CompletionItemKind::snippet) << item.label.toStdString();
        }
        press(row.key, row.modifiers);
        EXPECT_FALSE(completion->isPopupVisible());
        ASSERT_NE(session(), nullptr);
        EXPECT_TRUE(view().viewText().startsWith(text + QStringLiteral("summary: ")));
        EXPECT_EQ(document->content(), view().text());
        EXPECT_EQ(view().textCursor().selectedText(), session()->placeholders()[0].defaultText);
    }

    // Alt with Shift is no request; the key goes on as a line break.
    open(text);
    press(Qt::Key_Return, Qt::AltModifier | Qt::ShiftModifier, QStringLiteral("\r"));
    clock->runPending();
    EXPECT_FALSE(completion->isPopupVisible());
}

TEST_F(SnippetAcceptanceTest, AKeyRowIsWrittenAsAKeyWithoutASession) {
    const QString text = QStringLiteral("openapi: 3.0.0\ninfo:\n  ");
    open(text);
    press(Qt::Key_Space, Qt::ControlModifier);
    clock->runPending();
    ASSERT_TRUE(completion->isPopupVisible());
    const CompletionItem* selected = completion->popupController()->selectedItem();
    ASSERT_NE(selected, nullptr);
    ASSERT_NE(selected->kind, CompletionItemKind::snippet);
    const QString label = selected->label;
    EXPECT_TRUE(completion->handleKeyDown(*std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Return,
                                                                        Qt::NoModifier)));
    EXPECT_EQ(session(), nullptr);
    EXPECT_TRUE(view().viewText().startsWith(text + label + u':')) << view().viewText().toStdString();
    EXPECT_FALSE(completion->isPopupVisible());
}

}  // namespace
}  // namespace CarvexTest

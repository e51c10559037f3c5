#include "Carvex/Conversion/DocumentConversionService.h"
#include "Carvex/Text/TextPositionConverter.h"
#include "Carvex/Validation/OpenAPIValidationService.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "platform/NotificationCenter.h"
#include "tests/Carvex/Windows/WindowTestSupport.h"

#include <QDateTime>

using namespace Carvex;
using CarvexWindowTests::WindowTest;
using CarvexWindowTests::faultyYAML;
using CarvexWindowTests::validYAML;

namespace {

EditorViewController* editorOf(DocumentWindowController* window) {
    return window ? dynamic_cast<EditorViewController*>(window->editorViewController()) : nullptr;
}

std::vector<TextRange> markedRanges(EditorViewController& editor) {
    std::vector<TextRange> ranges;
    for (const auto& decoration : editor.validationDecorationController()->decorations()) {
        ranges.push_back(decoration.range);
    }
    return ranges;
}

}  // namespace

TEST_F(WindowTest, TheWindowSetUpWiresEditorPropertiesAndConsoleToTheDocument) {
    Document* document = openText("api.yaml", validYAML);
    DocumentWindowController* window = windowOf(document);
    SplitViewController* split = splitOf(document);
    ASSERT_TRUE(window && split);
    EditorViewController* editor = editorOf(window);
    ASSERT_NE(editor, nullptr);
    EditorSplitViewController* area = split->editorSplitViewController();
    auto* properties = dynamic_cast<PropertiesViewController*>(window->propertiesController());
    ASSERT_NE(properties, nullptr);
    EXPECT_EQ(area->editorViewController(), editor);
    EXPECT_EQ(editor->document(), document);
    EXPECT_EQ(editor->editorTextView()->viewText(), document->content());
    EXPECT_EQ(properties->document(), document);
    EXPECT_EQ(editor->propertiesViewController(), properties);
    EXPECT_NE(properties->navigationDelegate(), nullptr);
    EXPECT_EQ(properties->exampleGeneratorViewController(), area->exampleGeneratorViewController());
    EXPECT_EQ(split->propertiesViewController(), properties);
    // The console shows this document's log.
    document->logger().info("hello");
    settle();
    EXPECT_GE(area->consoleViewController()->outlineModel().rowCount(), 1);
}

TEST_F(WindowTest, NavigationRequestsMoveTheCaret) {
    Document* document = openText("api.yaml", faultyYAML);
    DocumentWindowController* window = windowOf(document);
    EditorViewController* editor = editorOf(window);
    ASSERT_NE(editor, nullptr);
    EditorSplitViewController* area = splitOf(document)->editorSplitViewController();
    auto* properties = dynamic_cast<PropertiesViewController*>(window->propertiesController());
    const TextPositionConverter positions(editor->editorTextView()->viewText());
    const auto caret = [&] { return editor->editorTextView()->selectedRange().location; };
    const auto post = [](const QVariant& line) {
        CarvexPlatform::NotificationCenter::defaultCenter().post(EditorSplitViewController::navigationNotification,
                                                                 nullptr, {{"line", line}});
    };
    struct Row {
        const char* name;
        std::function<void()> request;
        int line;
        int column;
    };
    const Row rows[] = {
        {"console entry at 5:7", [&] { area->consoleViewControllerDidRequestNavigation(*area->consoleViewController(), SourceLocation{"", 5, 7, {}}); }, 5, 7},
        {"notification line 9", [&] { post(9); }, 9, 1},
        {"properties pane line 3", [&] { properties->requestNavigation(3); }, 3, 1},
        {"notification with text is ignored", [&] { post(QStringLiteral("12")); }, 3, 1},
        {"notification with a fraction is ignored", [&] { post(12.5); }, 3, 1},
        {"notification without a line is ignored", [&] { post(QVariant()); }, 3, 1},
    };
    for (const Row& row : rows) {
        row.request();
        EXPECT_EQ(caret(), *positions.position(row.line, row.column)) << row.name;
    }
}

TEST_F(WindowTest, ValidationMarksFollowEachRun) {
    Document* document = openText("api.yaml", faultyYAML);
    DocumentWindowController* window = windowOf(document);
    EditorViewController* editor = editorOf(window);
    ASSERT_NE(editor, nullptr);
    ValidationDecorationController* marks = editor->validationDecorationController();
    ASSERT_NE(marks, nullptr);

    const auto findings = OpenAPIValidationService().validateNow(document->content()).findings();
    const auto placed = std::count_if(findings.begin(), findings.end(), [](const auto& f) { return f.sourceLocation.has_value(); });
    ASSERT_GT(placed, 0);
    window->validateDocument();
    settle();
    EXPECT_EQ(marks->decorationCount(), placed);

    // Unparsable text: one mark; a later valid run clears it.
    struct Row {
        const char* name;
        QString text;
        int marks;
    };
    const Row rows[] = {
        {"unparsable", "openapi: 3.0.3\ninfo: [unclosed\n", 1},
        {"valid", QString::fromUtf8(validYAML), 0},
        {"swagger 2.0", "swagger: '2.0'\ninfo:\n  title: t\n  version: '1'\npaths: {}\n", 0},
    };
    for (const Row& row : rows) {
        editor->setContent(row.text);
        window->validateDocument();
        settle();
        EXPECT_EQ(marks->decorationCount(), row.marks) << row.name;
    }
}

TEST_F(WindowTest, MarksOfARunAreMovedByTheEditsMadeWhileItRan) {
    Document* document = openText("api.yaml", faultyYAML);
    DocumentWindowController* window = windowOf(document);
    EditorViewController* editor = editorOf(window);
    ASSERT_NE(editor, nullptr);
    window->validateDocument();
    settle();
    const std::vector<TextRange> before = markedRanges(*editor);
    ASSERT_FALSE(before.empty());

    // Typing at the top while the next run is out: the marks land where their text now is.
    const QString typed = "# note\n";
    window->validateDocument();
    ASSERT_TRUE(editor->editorTextView()->replaceCharacters(TextRange{0, 0}, typed, false));
    EXPECT_TRUE(document->content().startsWith(typed));
    settle();
    const std::vector<TextRange> after = markedRanges(*editor);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t index = 0; index < after.size(); ++index) {
        EXPECT_EQ(after[index].location, before[index].location + typed.size()) << index;
        EXPECT_EQ(after[index].length, before[index].length) << index;
        EXPECT_EQ(editor->editorTextView()->viewText().mid(after[index].location, after[index].length),
                  QString::fromUtf8(faultyYAML).mid(before[index].location, before[index].length))
            << index;
    }
}

TEST_F(WindowTest, AnExternalReloadRefreshesTheEditorWithoutAnEdit) {
    preferences.setAutoReloadExternalChanges(true);
    Document* document = openText("api.yaml", faultyYAML);
    DocumentWindowController* window = windowOf(document);
    EditorViewController* editor = editorOf(window);
    ASSERT_NE(editor, nullptr);
    window->validateDocument();
    settle();
    ASSERT_GT(editor->validationDecorationController()->decorationCount(), 0);

    QFile out(document->filePath());
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(validYAML);
    out.close();
    ASSERT_TRUE(out.open(QIODevice::ReadWrite));
    out.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    out.close();
    document->checkForExternalChange();
    settle();
    EXPECT_EQ(document->content(), QString::fromUtf8(validYAML));
    EXPECT_EQ(editor->editorTextView()->viewText(), QString::fromUtf8(validYAML));
    EXPECT_EQ(editor->validationDecorationController()->decorationCount(), 0);
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_EQ(logLines(*document).back(), "Document reloaded (external change detected)");
}

TEST_F(WindowTest, AConvertedDocumentShowsItsTextInItsEditor) {
    Document* source = openText("api.yaml", validYAML);
    DocumentWindowController* window = windowOf(source);
    ASSERT_NE(window, nullptr);
    window->convertToJSON();
    settle();
    auto* converted = dynamic_cast<Document*>(controller.documents().back());
    ASSERT_NE(converted, source);
    EditorViewController* editor = editorOf(windowOf(converted));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->editorTextView()->viewText(), DocumentConversionService().convertToJSON(source->content()));
    EXPECT_EQ(editor->currentLanguage(), DocumentLanguage::json);
    EXPECT_EQ(windowOf(converted)->window()->windowTitle(), "api_converted.json[*]");
}

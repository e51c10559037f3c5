#include "Carvex/Conversion/DocumentConversionService.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/Editor/RefLinkStyler.h"
#include "Carvex/ModelAdapters/RefLinkDetector.h"
#include "Carvex/Text/TextPositionConverter.h"
#include "Carvex/Validation/OpenAPIValidationService.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "platform/NotificationCenter.h"
#include "tests/Carvex/Windows/WindowTestSupport.h"

#include <QDateTime>

#include <string>
#include <utility>

using namespace Carvex;
using CarvexWindowTests::WindowTest;
using CarvexWindowTests::faultyYAML;
using CarvexWindowTests::validYAML;

namespace {

EditorViewController* editorOf(DocumentWindowController* window) {
    return window ? dynamic_cast<EditorViewController*>(window->editorViewController()) : nullptr;
}

// "<location>+<length> <path>"
std::string described(TextRange range, const QString& path) {
    return std::to_string(range.location) + '+' + std::to_string(range.length) + ' ' + path.toStdString();
}

std::vector<TextRange> markedRanges(EditorViewController& editor) {
    std::vector<TextRange> ranges;
    for (const auto& decoration : editor.validationDecorationController()->decorations()) {
        ranges.push_back(decoration.range);
    }
    return ranges;
}

// Writes `bytes` over the file as another program would, dated a little ahead so the change shows.
bool writeAsAnotherProgram(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) {
        return false;
    }
    return out.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
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

    ASSERT_TRUE(writeAsAnotherProgram(document->filePath(), validYAML));
    document->checkForExternalChange();
    settle();
    EXPECT_EQ(document->content(), QString::fromUtf8(validYAML));
    EXPECT_EQ(editor->editorTextView()->viewText(), QString::fromUtf8(validYAML));
    EXPECT_EQ(editor->validationDecorationController()->decorationCount(), 0);
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_EQ(logLines(*document).back(), "Document reloaded (external change detected)");
}

TEST_F(WindowTest, AReloadedTextHasTheLinksOfTheTextOnDisk) {
    // The editor's links, as the application makes them.
    struct LinksGuard {
        RefLinkHandler::Factory saved = std::exchange(RefLinkHandler::factory(), {});
        LinksGuard() { RefLinkHandler::installFactory(); }
        ~LinksGuard() { RefLinkHandler::factory() = saved; }
    } links;
    const QByteArray shown = "openapi: 3.0.3\n"
                             "info:\n"
                             "  title: Links\n"
                             "  version: 1.0.0\n"
                             "paths:\n"
                             "  /a:\n"
                             "    get:\n"
                             "      responses:\n"
                             "        '200':\n"
                             "          $ref: '#/components/responses/A'\n"
                             "components:\n"
                             "  responses:\n"
                             "    A:\n"
                             "      description: a\n"
                             "    B:\n"
                             "      description: b\n";
    // The old link further down and quoted otherwise, and a new one where the old one was.
    const QByteArray onDisk = "openapi: 3.0.3\n"
                              "info:\n"
                              "  title: Links moved\n"
                              "  version: 1.0.0\n"
                              "paths:\n"
                              "  /b:\n"
                              "    get:\n"
                              "      responses:\n"
                              "        '404':\n"
                              "          $ref: '#/components/responses/B'\n"
                              "  /a:\n"
                              "    get:\n"
                              "      responses:\n"
                              "        '200':\n"
                              "          $ref: \"#/components/responses/A\"\n"
                              "components:\n"
                              "  responses:\n"
                              "    A:\n"
                              "      description: a\n"
                              "    B:\n"
                              "      description: b\n";
    struct Row {
        const char* name;
        bool edited;  // edited in the editor: the conflict alert comes and is answered Reload
    };
    const Row rows[] = {{"unedited, reloaded at once", false}, {"edited, Reload in the conflict alert", true}};
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        preferences.setAutoReloadExternalChanges(true);
        Document* document = openText(QStringLiteral("links%1.yaml").arg(index++), shown);
        EditorViewController* editor = editorOf(windowOf(document));
        ASSERT_NE(editor, nullptr);
        settle();
        RefLinkHandler* handler = editor->refLinkHandler();
        ASSERT_NE(handler, nullptr);
        ASSERT_NE(handler->styler(), nullptr);
        ASSERT_EQ(handler->cachedLinks().size(), 1u);
        EditorTextView& view = *editor->editorTextView();
        if (row.edited) {
            // An edit the links follow, before the reload replaces the text.
            ASSERT_TRUE(view.replaceCharacters(TextRange{0, 0}, QStringLiteral("# mine\n"), false));
            settle();
            ASSERT_TRUE(document->isDocumentEdited());
            ASSERT_EQ(handler->cachedLinks().size(), 1u);
            alerts->respond(0);
        }

        ASSERT_TRUE(writeAsAnotherProgram(document->filePath(), onDisk));
        document->presentedItemDidChange();
        fake->advance(Document::externalChangeDelay);
        settle();
        ASSERT_EQ(view.viewText(), QString::fromUtf8(onDisk));
        ASSERT_FALSE(document->isDocumentEdited());

        // The links are those of the text on disk, styled where that text has them and nowhere else.
        const QString text = view.viewText();
        const std::vector<RefLink> expected = RefLinkDetector().detectLinks(text, DocumentLanguage::yaml);
        ASSERT_EQ(expected.size(), 2u);
        std::vector<std::string> found;
        std::vector<std::string> styled;
        for (const RefLink& link : handler->cachedLinks()) {
            found.push_back(described(link.fullRange, link.refPath));
        }
        for (const RefLinkStyler::StyledLink& link : handler->styler()->styledLinks()) {
            styled.push_back(described(link.range, link.path));
        }
        const std::vector<std::string> links{
            described(TextRange{text.indexOf(QStringLiteral("'#/components/responses/B'")), 26},
                      QStringLiteral("#/components/responses/B")),
            described(TextRange{text.indexOf(QStringLiteral("\"#/components/responses/A\"")), 26},
                      QStringLiteral("#/components/responses/A"))};
        EXPECT_EQ(found, links);
        std::vector<std::string> values;
        for (const RefLink& link : expected) {
            values.push_back(described(link.valueRange, link.refPath));
        }
        EXPECT_EQ(styled, values);
        for (qsizetype at = 0; at < text.size(); ++at) {
            QString path;
            for (const RefLink& link : expected) {
                if (at >= link.valueRange.location && at < link.valueRange.end()) {
                    path = link.refPath;
                }
            }
            ASSERT_EQ(handler->styler()->refPath(at).value_or(QString()).toStdString(), path.toStdString())
                << "at " << at;
        }
        // The new link is followed to its target in the new text, once that text is parsed.
        fake->advance(std::chrono::seconds(2));
        settle();
        ASSERT_TRUE(document->parsedModel);
        const RefLink& toB = expected[0];
        ASSERT_EQ(toB.refPath, QStringLiteral("#/components/responses/B"));
        EXPECT_TRUE(handler->handleCmdClick(toB.valueRange.location + 1));
        EXPECT_EQ(view.selectedRange(), (TextRange{text.indexOf(QStringLiteral("description: b")), 0}));
        document->close();
        settle();
    }
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

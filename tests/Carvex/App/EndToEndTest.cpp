// The whole road a user takes with one description: open a file, type, validate, convert, save
// both documents and quit, through the real start-up code, windows, menus and key events.

#include "tests/Carvex/App/ApplicationWindows.h"
#include "tests/Carvex/App/ScopedApplicationSetup.h"
#include "tests/Carvex/App/TypeKeys.h"
#include "tests/Carvex/App/WaitUntil.h"
#include "Carvex/App/AppDelegate.h"
#include "Carvex/App/Application.h"
#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Completion/CompletionDetailsView.h"
#include "Carvex/Completion/CompletionPopupController.h"
#include "Carvex/Console/ConsoleOutlineModel.h"
#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Conversion/StrictJSONReader.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Examples/ExampleGeneratorViewController.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Text/TextPositionConverter.h"
#include "Carvex/Properties/ElidingLabel.h"
#include "Carvex/Properties/ExampleTabViewController.h"
#include "Carvex/Properties/OperationDetailsTabController.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/SchemaOutlineView.h"
#include "Carvex/Properties/SchemaTabViewController.h"
#include "Carvex/Properties/SchemaTreeCellView.h"
#include "Carvex/Properties/SchemaTreeModel.h"
#include "Carvex/Properties/TabButtonBar.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "kit/core/GenericNode.h"
#include "kit/facade/OpenApiParser.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertScript.h"
#include "platform/BackgroundTask.h"
#include "platform/FilePanel.h"
#include "platform/MainMenu.h"
#include <QMenu>
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "platform/WindowTabHost.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUuid>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

namespace Carvex {
namespace {

using CarvexTest::noSharedWindows;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;

using CarvexTest::type;
using CarvexTest::waitUntil;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Deep equality of two values read by the library; object members compare by key, in any order.
bool sameValue(const GenericNode* a, const GenericNode* b, std::string& where) {
    if (a == nullptr || b == nullptr || a->kind() != b->kind()) {
        return false;
    }
    switch (a->kind()) {
        case GenericNodeKind::object: {
            if (a->count() != b->count()) {
                return false;
            }
            for (const auto& member : *a->objectValue()) {
                if (!sameValue(member.value, (*b)[member.key], where)) {
                    where = "/" + std::string(member.key) + where;
                    return false;
                }
            }
            return true;
        }
        case GenericNodeKind::array:
            if (a->count() != b->count()) {
                return false;
            }
            for (std::size_t index = 0; index < a->count(); ++index) {
                if (!sameValue((*a)[index], (*b)[index], where)) {
                    where = "/" + std::to_string(index) + where;
                    return false;
                }
            }
            return true;
        case GenericNodeKind::string: return a->stringValue() == b->stringValue();
        case GenericNodeKind::number: return a->numberValue() == b->numberValue();
        case GenericNodeKind::bool_: return a->boolValue() == b->boolValue();
        case GenericNodeKind::null: return true;
    }
    return false;
}

struct Window {
    DocumentWindowController* controller = nullptr;
    EditorViewController* editor = nullptr;
    ConsoleViewController* console = nullptr;
    PropertiesViewController* properties = nullptr;
    EditorSplitViewController* editorArea = nullptr;
};

Window windowOf(const Document* document) {
    Window window;
    if (document == nullptr || document->windowControllers().empty()) {
        return window;
    }
    window.controller = dynamic_cast<DocumentWindowController*>(document->windowControllers().front());
    auto* split = window.controller ? dynamic_cast<SplitViewController*>(window.controller->contentViewController())
                                    : nullptr;
    EditorSplitViewController* editorSplit = split ? split->editorSplitViewController() : nullptr;
    window.properties = split ? dynamic_cast<PropertiesViewController*>(split->propertiesViewController()) : nullptr;
    if (editorSplit != nullptr) {
        window.editor = dynamic_cast<EditorViewController*>(editorSplit->editorViewController());
        window.console = editorSplit->consoleViewController();
        window.editorArea = editorSplit;
    }
    return window;
}

// The messages of the console's rows, in order.
QStringList consoleMessages(ConsoleViewController& console) {
    QStringList messages;
    ConsoleOutlineModel& model = console.outlineModel();
    for (int row = 0; row < model.rowCount(); ++row) {
        if (const LogEntry* entry = model.entryAt(model.index(row, 0))) {
            messages.append(entry->message);
        }
    }
    return messages;
}

// Brings a window forward the way a click on it (or on its tab) does, so the menus act on it.
bool activate(QMainWindow* window) {
    CarvexPlatform::WindowTabHost::makeKeyAndOrderFront(window);
    QWidget* top = CarvexPlatform::WindowTabHost::hostOf(window);
    QApplication::setActiveWindow(top ? top : window);
    return waitUntil([window] { return CarvexPlatform::WindowTabHost::keyWindow() == window; });
}

// The texts of the labels under `root`.
QStringList labelTextsIn(const QWidget* root) {
    QStringList texts;
    if (root) {
        for (const QLabel* label : root->findChildren<QLabel*>()) {
            texts << label->text();
        }
    }
    return texts;
}

// The operations the properties pane lists, as "GET /pets".
QStringList operationNames(const PropertiesViewController& pane) {
    QStringList names;
    for (const OperationRowViewModel& row : pane.operations()) {
        names.append(row.id.description());
    }
    return names;
}

int selectedOperationRow(const PropertiesViewController& pane) {
    const QModelIndexList rows = pane.operationsTableView()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

struct LineEndings {
    const char* name;
    QByteArray lineEnd;
};

class EndToEndTest : public ::testing::TestWithParam<LineEndings> {
protected:
    // First, so that it goes last: after the application and its windows.
    CarvexTest::ScopedApplicationSetup applicationSetup;


protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        CarvexPlatform::AlertPresenter::shared().setScript(alerts);
        CarvexPlatform::FilePanel::shared().setScript(panels);
    }
    void TearDown() override {
        CarvexPlatform::AlertPresenter::shared().setScript(nullptr);
        CarvexPlatform::FilePanel::shared().setScript(nullptr);
    }

    std::shared_ptr<CarvexPlatform::AlertScript> alerts = std::make_shared<CarvexPlatform::AlertScript>();
    std::shared_ptr<CarvexPlatform::FilePanelScript> panels = std::make_shared<CarvexPlatform::FilePanelScript>();
    QTemporaryDir temporary;
};

TEST_P(EndToEndTest, EditValidateConvertSaveAndQuit) {
    const QString corpus = QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai/v3.0/petstore.yaml");
    if (!QFile::exists(corpus)) {
        GTEST_SKIP() << "the shared corpus is not here";
    }
    const QByteArray lineEnd = GetParam().lineEnd;
    QByteArray original = readFile(corpus);
    original.replace("\r\n", "\n").replace("\n", lineEnd);
    const QString sourcePath = temporary.filePath(QStringLiteral("petstore.yaml"));
    {
        QFile file(sourcePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(original);
    }

    Application::registerScenes();
    Application carvex(QStringLiteral("carvex-e2e-") + QUuid::createUuid().toString(QUuid::Id128), noSharedWindows(),
                       CarvexPlatform::Settings::isolated());
    ASSERT_TRUE(carvex.start({sourcePath}));
    DocumentController* documents = carvex.delegate()->documentController();
    ASSERT_NE(documents, nullptr);
    ASSERT_TRUE(waitUntil([&] { return documents->documents().size() == 1; }));
    auto* source = dynamic_cast<Document*>(documents->documents().front());
    ASSERT_NE(source, nullptr);
    Window window = windowOf(source);
    ASSERT_NE(window.editor, nullptr);
    ASSERT_NE(window.console, nullptr);
    ASSERT_NE(window.editor->editorTextView(), nullptr);
    EditorTextView& text = *window.editor->editorTextView();
    ASSERT_TRUE(waitUntil([&] { return text.text().startsWith(QStringLiteral("openapi: 3.0.0")); }));
    ASSERT_TRUE(activate(window.controller->window()));

    // The properties pane lists the operations after the pause; a click on one moves the caret to it.
    ASSERT_NE(window.properties, nullptr);
    PropertiesViewController& pane = *window.properties;
    ASSERT_TRUE(waitUntil([&] { return pane.operations().size() == 3; })) << operationNames(pane).join(", ").toStdString();
    EXPECT_EQ(operationNames(pane), QStringList({"GET /pets", "POST /pets", "GET /pets/{petId}"}));
    EXPECT_TRUE(source->parsedModel.has_value()) << "the document keeps the model its pane parsed";
    const OperationID createPets{QStringLiteral("/pets"), HTTPMethod::post};
    const QModelIndex postCell = pane.operationsTableModel()->index(
        pane.operationsTableModel()->rowOf(createPets), OperationsTableModel::pathColumn);
    QTest::mouseClick(pane.operationsTableView()->viewport(), Qt::LeftButton, {},
                      pane.operationsTableView()->visualRect(postCell).center());
    EXPECT_EQ(text.textCursor().blockNumber() + 1, 44);
    EXPECT_EQ(text.textCursor().positionInBlock(), 0);

    // The details show the operation: its header, its Description tab, then its Body tab, whose
    // Reveal in Editor sends the caret to the request body.
    OperationDetailsTabController* details = pane.tabController();
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->methodLabel()->text() + QLatin1Char(' ') + details->pathLabel()->text(), QStringLiteral("POST /pets"));
    {
        const QStringList shown = labelTextsIn(details->currentChildView());
        EXPECT_TRUE(shown.contains(QStringLiteral("createPets"))) << shown.join('|').toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("Create a pet"))) << shown.join('|').toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("pets"))) << shown.join('|').toStdString();
    }
    details->tabBar()->buttons()[1]->click();
    {
        const QStringList shown = labelTextsIn(details->currentChildView());
        for (const char* expected : {"Request Body", "Required", "Schema: Pet"}) {
            EXPECT_TRUE(shown.contains(QString::fromUtf8(expected))) << expected << ": " << shown.join('|').toStdString();
        }
        QWidget* body = details->currentChildView()->findChild<QWidget*>(QStringLiteral("requestBody"));
        ASSERT_NE(body, nullptr);
        auto* reveal = body->findChild<QPushButton*>(QStringLiteral("revealInEditor"));
        ASSERT_NE(reveal, nullptr);
        text.moveCursor(QTextCursor::Start);
        reveal->click();
        EXPECT_EQ(text.textCursor().blockNumber() + 1, 49);
    }

    // The Body tab's "View in Schema tab" opens Schema on the request body, headed Pet: Referenced shows
    // one row typed Pet, Resolved its properties, and Reveal in Editor on `name` moves the caret there.
    {
        auto* toSchema = details->currentChildView()->findChild<QPushButton*>(QStringLiteral("requestBody"));
        ASSERT_NE(toSchema, nullptr);
        toSchema->click();
        SchemaTabViewController* schema = details->schemaTab();
        ASSERT_NE(schema, nullptr);
        EXPECT_EQ(details->currentTab(), OperationDetailsTabController::Tab::schema);
        EXPECT_EQ(schema->sourcePopup()->currentText(), QStringLiteral("Request Body (application/json)"));
        EXPECT_GE(schema->sourcePopup()->findText(QStringLiteral("default Response (application/json)")), 0);
        EXPECT_EQ(schema->schemaNameLabel()->text(), QStringLiteral("Pet"));
        SchemaOutlineView& outline = *schema->outlineView();
        SchemaTreeModel& rows = outline.treeModel();
        schema->modeBar()->buttons()[0]->click();
        ASSERT_EQ(rows.rowCount(), 1);
        EXPECT_EQ(rows.node(rows.index(0, 0))->typeDescription(), QStringLiteral("Pet"));
        EXPECT_EQ(rows.rowCount(rows.index(0, 0)), 0);
        schema->modeBar()->buttons()[1]->click();
        const QModelIndex root = rows.index(0, 0);
        ASSERT_EQ(rows.rowCount(root), 3);
        const struct {
            const char* name;
            const char* type;
            bool required;
        } expected[] = {{"id", "integer · int64", true}, {"name", "string", true}, {"tag", "string", false}};
        for (int row = 0; row < 3; ++row) {
            const SchemaTreeCellView::Content shown = SchemaTreeCellView::contentOf(*rows.node(rows.index(row, 0, root)));
            EXPECT_EQ(shown.name, QString::fromUtf8(expected[row].name));
            EXPECT_EQ(shown.typeText, QString::fromUtf8(expected[row].type));
            EXPECT_EQ(shown.badges.size() == 1 && shown.badges[0].text == QStringLiteral("required"), expected[row].required)
                << expected[row].name;
        }
        QApplication::processEvents();
        const QModelIndex name = rows.index(1, 0, root);
        const QRectF button = outline.cellView()
                                  .layout(SchemaTreeCellView::contentOf(*rows.node(name)), QRectF(outline.visualRect(name)))
                                  .revealButton;
        ASSERT_FALSE(button.isEmpty());
        text.moveCursor(QTextCursor::Start);
        QTest::mouseClick(outline.viewport(), Qt::LeftButton, {}, button.center().toPoint());
        EXPECT_EQ(text.textCursor().blockNumber() + 1, 101);
    }

    // The Example tab shows POST /pets' request body as generated from its schema: JSON that reads back
    // to an object with an integer id and a string name, which Copy puts on the clipboard.
    {
        details->tabBar()->buttons()[3]->click();
        ExampleTabViewController* example = details->exampleTab();
        ASSERT_NE(example, nullptr);
        EXPECT_EQ(details->currentChildView(), example->view());
        EXPECT_EQ(example->sourcePopup()->currentText(), QStringLiteral("Request Body (application/json)"));
        EXPECT_EQ(example->infoLabel()->fullText(), QStringLiteral("Auto-generated from schema"));
        const QString shownText = example->textView()->viewText();
        const std::string shown = shownText.toStdString();
        const PlainValueTree value = StrictJSONReader(shown).read();
        ASSERT_EQ(value.kind(value.root()), PlainValueTree::Kind::dictionary) << shown;
        std::map<std::string, PlainValueTree::Kind> kinds;
        for (std::size_t i = 0; i < value.count(value.root()); ++i) {
            kinds[std::string(value.key(value.root(), i))] = value.kind(value.value(value.root(), i));
        }
        EXPECT_EQ(kinds["id"], PlainValueTree::Kind::integer) << shown;
        EXPECT_EQ(kinds["name"], PlainValueTree::Kind::text) << shown;
        QApplication::clipboard()->setText(QStringLiteral("before the copy"));
        ASSERT_TRUE(example->copyButton()->isVisibleTo(example->view()));
        QTest::mouseClick(example->copyButton(), Qt::LeftButton);
        EXPECT_EQ(QApplication::clipboard()->text(), shownText);
    }

    // The "Examples" button shows the example panel; POST /pets' JSON request body gives an object
    // with a string name.
    ASSERT_NE(window.editorArea, nullptr);
    ExampleGeneratorViewController* examples = window.editorArea->exampleGeneratorViewController();
    ASSERT_NE(examples, nullptr);
    QTest::mouseClick(window.editorArea->exampleGeneratorButton(), Qt::LeftButton);
    EXPECT_EQ(window.editorArea->tabView()->currentWidget(), examples->view());
    const auto chooseInPanel = [](QComboBox* popup, const QString& title) {
        const int index = popup->findText(title);
        ASSERT_GE(index, 0) << title.toStdString();
        popup->setCurrentIndex(index);
        emit popup->activated(index);
    };
    chooseInPanel(examples->operationPopup(), QStringLiteral("POST /pets"));
    chooseInPanel(examples->targetPopup(), QStringLiteral("Request Body (application/json)"));
    {
        const std::string shown = examples->outputText().toStdString();
        const PlainValueTree value = StrictJSONReader(shown).read();
        ASSERT_EQ(value.kind(value.root()), PlainValueTree::Kind::dictionary) << shown;
        bool nameIsText = false;
        for (std::size_t i = 0; i < value.count(value.root()); ++i) {
            nameIsText |= value.key(value.root(), i) == "name" &&
                          value.kind(value.value(value.root(), i)) == PlainValueTree::Kind::text;
        }
        EXPECT_TRUE(nameIsText) << shown;
    }

    // Once the text is parsed, Control held over POST /pets' link to Pet shows the pointing hand,
    // and a Control-click puts the caret on Pet's `type`: line 92, column 7.
    ASSERT_TRUE(waitUntil([&] { return source->parsedModel.has_value(); }));
    const qsizetype post = text.viewText().indexOf(QStringLiteral("    post:"));
    const qsizetype link = text.viewText().indexOf(QStringLiteral("'#/components/schemas/Pet'"), post) + 1;
    ASSERT_GT(link, post);
    QTextCursor atLink(text.document());
    atLink.setPosition(static_cast<int>(link));
    text.setTextCursor(atLink);
    text.ensureCursorVisible();
    atLink.setPosition(static_cast<int>(link) + 5);
    const QPoint overLink = text.cursorRect(atLink).center() + QPoint(2, 0);
    QMouseEvent hover(QEvent::MouseMove, QPointF(overLink), text.viewport()->mapToGlobal(QPointF(overLink)),
                      Qt::NoButton, Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(text.viewport(), &hover);
    EXPECT_EQ(text.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(text.viewport(), Qt::LeftButton, Qt::ControlModifier, overLink);
    const std::optional<qsizetype> petType = TextPositionConverter(text.viewText()).position(92, 7);
    ASSERT_TRUE(petType);
    EXPECT_EQ(text.selectedRange(), (TextRange{*petType, 0}));
    EXPECT_TRUE(text.viewText().mid(*petType).startsWith(QStringLiteral("type: object")));
    EXPECT_TRUE(waitUntil([&] {
        const QStringList messages = consoleMessages(*window.console);
        return std::any_of(messages.begin(), messages.end(), [](const QString& message) {
            return message.startsWith(QStringLiteral("Navigated to byte offset "));
        });
    })) << consoleMessages(*window.console).join('\n').toStdString();

    // A new path, typed after "paths:" and indented by Return alone.
    QTextCursor caret = text.textCursor();
    caret.setPosition(static_cast<int>(text.viewText().indexOf(QStringLiteral("paths:")) + 6));
    text.setTextCursor(caret);
    type(&text, QStringLiteral("\n/health:\nget:\nresponses:\n'200':\ndescription: OK"));
    QString edit = QStringLiteral("paths:\n  /health:\n    get:\n      responses:\n        '200':\n"
                                        "          description: OK\n  /pets:");
    ASSERT_TRUE(text.viewText().contains(edit)) << text.text().left(400).toStdString();
    // After the pause the new operation is listed; the chosen one stays selected and the caret stays.
    const int caretAfterTyping = text.textCursor().position();
    ASSERT_TRUE(waitUntil([&] { return pane.operations().size() == 4; })) << operationNames(pane).join(", ").toStdString();
    EXPECT_EQ(operationNames(pane), QStringList({"GET /health", "GET /pets", "POST /pets", "GET /pets/{petId}"}));
    EXPECT_EQ(selectedOperationRow(pane), pane.operationsTableModel()->rowOf(createPets));
    EXPECT_EQ(pane.coordinator()->currentSelection(), createPets);
    EXPECT_EQ(text.textCursor().position(), caretAfterTyping);
    // The example panel lists the new operation too and keeps POST /pets.
    EXPECT_EQ(examples->operationPopup()->count(), 4);
    EXPECT_EQ(examples->operationPopup()->currentText(), QStringLiteral("POST /pets"));
    EXPECT_EQ(examples->targetPopup()->currentText(), QStringLiteral("Request Body (application/json)"));

    // On a new key line of the new response, Ctrl+Space through the menu's shortcut opens the
    // completion list under the caret; Down moves its selection and the details follow; Escape
    // closes it and the text is as it was. The line goes again.
    {
        const qsizetype lineEnd = text.viewText().indexOf(QStringLiteral("description: OK")) + 15;
        caret = text.textCursor();
        caret.setPosition(static_cast<int>(lineEnd));
        text.setTextCursor(caret);
        QTest::keyClick(&text, Qt::Key_Return);
        const QString beforeCompletion = text.viewText();
        CompletionController* completion = window.editor->completionController();
        ASSERT_NE(completion, nullptr);
        QTest::keyClick(&text, Qt::Key_Space, Qt::ControlModifier);
        ASSERT_TRUE(waitUntil([&] { return completion->isPopupVisible(); }));
        CompletionPopupController* popup = completion->popupController();
        const std::optional<QRect> line = completion->caretLineScreenRect();
        ASSERT_TRUE(line);
        const QRect panel = popup->window()->geometry();
        EXPECT_TRUE(panel.top() == line->bottom() + 1 || panel.bottom() + 1 == line->top())
            << "right under or right above the caret's line";
        ASSERT_GE(popup->items().size(), 2u);
        QTest::keyClick(&text, Qt::Key_Down);
        EXPECT_EQ(popup->selectedIndex(), 1);
        ASSERT_TRUE(waitUntil([&] {
            const auto& shown = popup->detailsPanel()->currentItem();
            return shown && shown->id == popup->items()[1].id && !popup->detailsPanel()->isFading();
        }));
        QTest::keyClick(&text, Qt::Key_Escape);
        EXPECT_FALSE(completion->isPopupVisible());
        EXPECT_EQ(text.viewText(), beforeCompletion);
        caret = text.textCursor();
        caret.setPosition(static_cast<int>(lineEnd), QTextCursor::KeepAnchor);
        text.setTextCursor(caret);
        QTest::keyClick(&text, Qt::Key_Backspace);
        ASSERT_TRUE(text.viewText().contains(edit));
    }

    // A snippet from the popup: under a new "get:", Alt+Return lists the snippets alone and Return
    // inserts the selected one; its first chip is typed over, Tab goes to the next, Ctrl+S saves
    // with chips standing (plain text on disk), Escape ends the session, Ctrl+Z goes back to the
    // text before the snippet and Ctrl+Shift+Z brings it again. Then everything is undone.
    {
        const QString beforePath = text.viewText();
        caret = text.textCursor();
        caret.setPosition(static_cast<int>(text.viewText().indexOf(QStringLiteral("paths:")) + 6));
        text.setTextCursor(caret);
        type(&text, QStringLiteral("\n/status:\nget:\n"));
        const QString beforeSnippet = text.viewText();
        CompletionController* completion = window.editor->completionController();
        ASSERT_NE(completion, nullptr);
        QTest::keyClick(&text, Qt::Key_Return, Qt::AltModifier);
        ASSERT_TRUE(waitUntil([&] { return completion->isPopupVisible(); }));
        CompletionPopupController* popup = completion->popupController();
        ASSERT_FALSE(popup->items().empty());
        for (const CompletionItem& item : popup->items()) {
            EXPECT_EQ(item.kind, CompletionItemKind::snippet) << item.label.toStdString();
        }
        QTest::keyClick(&text, Qt::Key_Return);
        EXPECT_FALSE(completion->isPopupVisible());
        PlaceholderManager& placeholders = *window.editor->snippetController()->placeholderManager();
        ASSERT_NE(placeholders.session(), nullptr) << text.viewText().left(300).toStdString();
        ASSERT_GE(placeholders.session()->placeholders().size(), 2u);
        const Placeholder first = placeholders.session()->placeholders()[0];
        const Placeholder second = placeholders.session()->placeholders()[1];
        EXPECT_EQ(text.selectedRange(), first.range);
        QTest::keyClicks(&text, QStringLiteral("Ping"));
        QTest::keyClick(&text, Qt::Key_Tab);
        EXPECT_EQ(text.textCursor().selectedText(), second.defaultText);
        const QString filled = text.viewText();
        ASSERT_TRUE(filled.contains(QStringLiteral("Ping")));
        QTest::keyClick(&text, Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(waitUntil([&] { return !source->isDocumentEdited(); }));
        const QString onDisk = QString::fromUtf8(readFile(sourcePath));
        EXPECT_FALSE(onDisk.contains(QChar(0xFFFC)));
        EXPECT_TRUE(onDisk.contains(QStringLiteral("Ping")));
        EXPECT_TRUE(onDisk.contains(second.defaultText)) << "the defaults stand in the saved text";
        ASSERT_NE(placeholders.session(), nullptr) << "saving leaves the session running";
        QTest::keyClick(&text, Qt::Key_Escape);
        EXPECT_EQ(placeholders.session(), nullptr);
        EXPECT_EQ(text.viewText(), filled);
        for (int step = 0; step < 10 && text.viewText() != beforeSnippet; ++step) {
            QTest::keyClick(&text, Qt::Key_Z, Qt::ControlModifier);
        }
        EXPECT_EQ(text.viewText(), beforeSnippet);
        for (int step = 0; step < 10 && text.viewText() != filled; ++step) {
            QTest::keyClick(&text, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        }
        EXPECT_EQ(text.viewText(), filled);
        EXPECT_EQ(placeholders.session(), nullptr) << "a redo brings text, not chips";
        EXPECT_EQ(source->content(), text.text());
        for (int step = 0; step < 30 && text.viewText() != beforePath; ++step) {
            QTest::keyClick(&text, Qt::Key_Z, Qt::ControlModifier);
        }
        ASSERT_EQ(text.viewText(), beforePath);
    }

    auto validate = [&](const QString& outcome) {
        const qsizetype before = consoleMessages(*window.console).size();
        window.controller->validateToolbarItem()->trigger();
        return waitUntil([&] {
            const QStringList messages = consoleMessages(*window.console);
            return !window.controller->isValidating() && messages.size() > before &&
                   messages.mid(before).contains(outcome);
        });
    };
    ASSERT_TRUE(validate(QStringLiteral("Document is valid"))) << consoleMessages(*window.console).join('\n').toStdString();
    ValidationDecorationController* marks = window.editor->validationDecorationController();
    ASSERT_NE(marks, nullptr);
    EXPECT_FALSE(marks->hasDecorations());

    // A fault: the response code "2000".
    caret = text.textCursor();
    caret.setPosition(static_cast<int>(text.viewText().indexOf(QStringLiteral("'200'")) + 4));
    text.setTextCursor(caret);
    type(&text, QStringLiteral("0"));
    ASSERT_TRUE(validate(QStringLiteral("Validation failed with 1 error(s) and 1 warning(s)")))
        << consoleMessages(*window.console).join('\n').toStdString();
    EXPECT_TRUE(consoleMessages(*window.console).contains(QStringLiteral("[RSP-001] Invalid HTTP status code: 2000")))
        << consoleMessages(*window.console).join('\n').toStdString();
    EXPECT_TRUE(marks->hasDecorations());
    EXPECT_NE(marks->decoration(text.viewText().indexOf(QStringLiteral("'2000'"))), nullptr)
        << "the finding is marked at the response code";

    // The fault removed, the document converts to JSON in a new window.
    QTest::keyClick(&text, Qt::Key_Backspace);
    ASSERT_TRUE(text.viewText().contains(edit));

    // The new operation gets a description from the completion list: "de", Ctrl+Space, Down to
    // "description", Return writes the key and its space, and the value is typed after it.
    {
        caret = text.textCursor();
        caret.setPosition(static_cast<int>(text.viewText().indexOf(QStringLiteral("/health:\n    get:")) + 17));
        text.setTextCursor(caret);
        QTest::keyClick(&text, Qt::Key_Return);
        QTest::keyClicks(&text, QStringLiteral("de"));
        CompletionController* completion = window.editor->completionController();
        ASSERT_NE(completion, nullptr);
        QTest::keyClick(&text, Qt::Key_Space, Qt::ControlModifier);
        ASSERT_TRUE(waitUntil([&] { return completion->isPopupVisible(); }));
        CompletionPopupController* popup = completion->popupController();
        for (std::size_t step = 0; step < popup->items().size() && popup->selectedItem() != nullptr &&
                                   popup->selectedItem()->label != QStringLiteral("description");
             ++step) {
            QTest::keyClick(&text, Qt::Key_Down);
        }
        ASSERT_NE(popup->selectedItem(), nullptr);
        ASSERT_EQ(popup->selectedItem()->label, QStringLiteral("description"));
        QTest::keyClick(&text, Qt::Key_Return);
        EXPECT_FALSE(completion->isPopupVisible());
        QTest::keyClicks(&text, QStringLiteral("Health check"));
        edit.replace(QStringLiteral("    get:\n"), QStringLiteral("    get:\n      description: Health check\n"));
        ASSERT_TRUE(text.viewText().contains(edit)) << text.text().left(400).toStdString();
    }
    // An inline snippet: under a new path, "get:" shows the operation's template as a ghost after the
    // pause; Tab puts it in with its first chip selected, typing fills the chip, Escape ends the
    // session. Ctrl+Z goes back to the text before the path and Ctrl+Shift+Z brings it all again,
    // never a chip outside a session.
    {
        SnippetSuggestionController& snippets = *window.editor->snippetController();
        PlaceholderManager& placeholders = *snippets.placeholderManager();
        const QString beforeInline = text.viewText();
        caret = text.textCursor();
        caret.setPosition(static_cast<int>(text.viewText().indexOf(QStringLiteral("paths:")) + 6));
        text.setTextCursor(caret);
        type(&text, QStringLiteral("\n/inline:\nget:"));
        ASSERT_TRUE(waitUntil([&] { return snippets.isGhostShown(); }));
        ASSERT_TRUE(snippets.currentSuggestion());
        EXPECT_EQ(snippets.currentSuggestion()->template_.id, QStringLiteral("operation-get"));
        EXPECT_FALSE(text.viewText().contains(QStringLiteral("getItems"))) << "the ghost is not in the text";
        QTest::keyClick(&text, Qt::Key_Tab);
        EXPECT_FALSE(snippets.isGhostShown());
        ASSERT_NE(placeholders.session(), nullptr);
        EXPECT_EQ(text.selectedRange(), placeholders.session()->placeholders()[0].range);
        QTest::keyClicks(&text, QStringLiteral("Inline"));
        QTest::keyClick(&text, Qt::Key_Escape);
        EXPECT_EQ(placeholders.session(), nullptr);
        const QString filled = text.viewText();
        const QString inlinePath = QStringLiteral(
            "  /inline:\n    get:\n      summary: Inline\n      operationId: getItems\n      tags:\n        - tag\n"
            "      responses:\n        '200':\n          description: Successful response\n");
        ASSERT_TRUE(filled.contains(QStringLiteral("paths:\n") + inlinePath + QStringLiteral("  /health:")))
            << filled.left(600).toStdString();
        for (int step = 0; step < 30 && text.viewText() != beforeInline; ++step) {
            QTest::keyClick(&text, Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(placeholders.session(), nullptr);
        }
        EXPECT_EQ(text.viewText(), beforeInline);
        for (int step = 0; step < 30 && text.viewText() != filled; ++step) {
            QTest::keyClick(&text, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(placeholders.session(), nullptr) << "a redo brings text, not chips";
        }
        EXPECT_EQ(text.viewText(), filled);
        EXPECT_EQ(source->content(), text.text());
        edit.replace(QStringLiteral("paths:\n"), QStringLiteral("paths:\n") + inlinePath);
    }
    window.controller->convertSegmentedControl()->performClick(0);
    ASSERT_TRUE(waitUntil([&] { return documents->documents().size() == 2; }));
    auto* converted = dynamic_cast<Document*>(documents->documents().back());
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->displayName(), QStringLiteral("petstore_converted.json"));
    Window jsonWindow = windowOf(converted);
    ASSERT_NE(jsonWindow.editor, nullptr);
    ASSERT_TRUE(waitUntil([&] { return jsonWindow.editor->editorTextView()->text().startsWith(QLatin1Char('{')); }));

    // A reveal in the YAML window moves only the YAML window's editor.
    {
        EditorTextView& jsonText = *jsonWindow.editor->editorTextView();
        jsonText.moveCursor(QTextCursor::Start);
        const int jsonCaret = jsonText.textCursor().position();
        pane.tabController()->requestNavigation(3);
        EXPECT_EQ(text.textCursor().blockNumber() + 1, 3);
        EXPECT_EQ(jsonText.textCursor().position(), jsonCaret);
    }

    // Ctrl+S in the source's window, Save As in the new one.
    ASSERT_TRUE(activate(window.controller->window()));
    QTest::keyClick(&text, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return !source->isDocumentEdited() && readFile(sourcePath) != original; }));
    const QString jsonPath = temporary.filePath(QStringLiteral("petstore.json"));
    panels->respond(jsonPath);
    ASSERT_TRUE(activate(jsonWindow.controller->window()));
    QTest::keyClick(jsonWindow.editor->editorTextView(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(jsonPath) && !converted->isDocumentEdited(); }))
        << panels->presented().size() << " panels shown";
    ASSERT_EQ(panels->presented().size(), 1u);
    EXPECT_TRUE(panels->presented().front().isSave);

    // Quit from the keyboard ends the event loop with every document closed.
    QTimer::singleShot(0, [&] {
        activate(jsonWindow.controller->window());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : jsonWindow.controller->window(),
                        Qt::Key_Q, Qt::ControlModifier);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(30000);
    EXPECT_EQ(QApplication::exec(), 0) << "the application quit";
    watchdog.stop();
    EXPECT_TRUE(documents->documents().empty());
    EXPECT_TRUE(alerts->presented().empty()) << "nothing asked on the way";

    // On disk: the edit with the file's own line endings, and JSON of the same value.
    const QByteArray savedYAML = readFile(sourcePath);
    QByteArray expected = original;
    expected.replace(QByteArray("paths:") + lineEnd,
                     QByteArray(edit.chopped(9).toUtf8()).replace("\n", lineEnd) + lineEnd);
    EXPECT_EQ(savedYAML.toStdString(), expected.toStdString());
    const QByteArray savedJSON = readFile(jsonPath);
    const VoziZazIre::OpenApiParser parser;
    const VoziZazIre::ParseResult yaml = parser.parse(savedYAML.toStdString(), VoziZazIre::Format::yaml);
    const VoziZazIre::ParseResult json = parser.parse(savedJSON.toStdString(), VoziZazIre::Format::json);
    EXPECT_TRUE(yaml.errors().empty());
    EXPECT_TRUE(json.errors().empty());
    std::string where;
    EXPECT_TRUE(sameValue(yaml.genericTree.get(), json.genericTree.get(), where)) << "first difference at " << where;
    ASSERT_NE(json.genericTree, nullptr);
    EXPECT_NE((*json.genericTree)["paths"], nullptr);
    EXPECT_NE((*(*json.genericTree)["paths"])["/health"], nullptr);
    for (const VoziZazIre::ParseResult* saved : {&yaml, &json}) {
        const GenericNode* paths = saved->genericTree ? (*saved->genericTree)["paths"] : nullptr;
        const GenericNode* health = paths ? (*paths)["/health"] : nullptr;
        const GenericNode* get = health ? (*health)["get"] : nullptr;
        const GenericNode* description = get ? (*get)["description"] : nullptr;
        ASSERT_NE(description, nullptr);
        EXPECT_EQ(description->stringValue(), "Health check") << "the completed key reads back with its value";
    }
    // The inline snippet's operation reads back from both files, its chip's text in place.
    EXPECT_FALSE(QString::fromUtf8(savedYAML).contains(QChar(0xFFFC)));
    EXPECT_EQ(yaml.version, VoziZazIreTransform::OpenAPIVersion::v3_0);
    for (const VoziZazIre::ParseResult* saved : {&yaml, &json}) {
        const GenericNode* paths = saved->genericTree ? (*saved->genericTree)["paths"] : nullptr;
        const GenericNode* path = paths ? (*paths)["/inline"] : nullptr;
        const GenericNode* get = path ? (*path)["get"] : nullptr;
        ASSERT_NE(get, nullptr);
        const GenericNode* summary = (*get)["summary"];
        ASSERT_NE(summary, nullptr);
        EXPECT_EQ(summary->stringValue(), "Inline");
        const GenericNode* responses = (*get)["responses"];
        ASSERT_NE(responses, nullptr);
        EXPECT_NE((*responses)["200"], nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(LineEndings, EndToEndTest,
                         ::testing::Values(LineEndings{"LF", "\n"}, LineEndings{"CRLF", "\r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Carvex

// Whether a document counts as edited, and what its text offers, as a user meets it in the running
// application: a converted document before its first key, and undo and redo around the saved text.

#include "tests/Carvex/App/ApplicationWindows.h"
#include "tests/Carvex/App/ScopedApplicationSetup.h"
#include "tests/Carvex/App/WaitUntil.h"
#include "Carvex/App/AppDelegate.h"
#include "Carvex/App/Application.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertScript.h"
#include "platform/FilePanel.h"
#include "platform/SegmentedControl.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "platform/WindowTabHost.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

namespace Carvex {
namespace {

using CarvexTest::editorOf;
using CarvexTest::noSharedWindows;
using CarvexTest::waitUntil;

const QByteArray description = "openapi: 3.0.0\n"
                               "info:\n"
                               "  title: Pets\n"
                               "  version: '1'\n"
                               "paths:\n"
                               "  /pets:\n"
                               "    get:\n"
                               "      responses:\n"
                               "        '200':\n"
                               "          description: ok\n"
                               "          content:\n"
                               "            application/json:\n"
                               "              schema:\n"
                               "                $ref: '#/components/schemas/Pet'\n"
                               "components:\n"
                               "  schemas:\n"
                               "    Pet:\n"
                               "      type: object\n";

QMainWindow* windowOf(const CarvexPlatform::Document* document) {
    return document->windowControllers().empty() ? nullptr : document->windowControllers().front()->window();
}

// The title as the user reads it: the tab's when the window is a tab, else the window's own, its mark
// resolved.
QString shownTitle(QMainWindow* window) {
    if (CarvexPlatform::WindowTabHost* host = CarvexPlatform::WindowTabHost::hostOf(window)) {
        return host->tabWidget()->tabText(host->tabWidget()->indexOf(window));
    }
    QString title = window->windowTitle();
    return title.replace(QStringLiteral("[*]"), window->isWindowModified() ? QStringLiteral("*") : QString());
}

void activate(QMainWindow* window) {
    CarvexPlatform::WindowTabHost::makeKeyAndOrderFront(window);
    QWidget* top = CarvexPlatform::WindowTabHost::hostOf(window);
    QApplication::setActiveWindow(top ? top : window);
    EXPECT_TRUE(waitUntil([window] { return CarvexPlatform::WindowTabHost::keyWindow() == window; }));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class EditedStateTest : public ::testing::Test {
protected:
    // First, so that it goes last: after the application and its windows.
    CarvexTest::ScopedApplicationSetup applicationSetup;

    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        CarvexPlatform::AlertPresenter::shared().setScript(alerts);
        CarvexPlatform::FilePanel::shared().setScript(panels);
    }
    void TearDown() override {
        if (application && application->delegate() && application->delegate()->documentController()) {
            for (CarvexPlatform::Document* document : application->delegate()->documentController()->documents()) {
                for (CarvexPlatform::WindowController* controller : document->windowControllers()) {
                    controller->closeWithoutAsking();
                }
            }
        }
        waitUntil([] { return false; }, 100);
        application.reset();
        CarvexPlatform::AlertPresenter::shared().setScript(nullptr);
        CarvexPlatform::FilePanel::shared().setScript(nullptr);
    }

    // Starts the application on a file holding `description` and waits for its editor.
    Document* open() {
        sourcePath = temporary.filePath(QStringLiteral("pets.yaml"));
        QFile file(sourcePath);
        if (!file.open(QIODevice::WriteOnly) || file.write(description) != description.size()) {
            return nullptr;
        }
        file.close();
        Application::registerScenes();
        application = std::make_unique<Application>(
            QStringLiteral("carvex-edited-") + QUuid::createUuid().toString(QUuid::Id128), noSharedWindows(),
            CarvexPlatform::Settings::isolated());
        if (!application->start({sourcePath})) {
            return nullptr;
        }
        documents = application->delegate()->documentController();
        if (!waitUntil([&] { return documents->documents().size() == 1; })) {
            return nullptr;
        }
        auto* document = dynamic_cast<Document*>(documents->documents().front());
        EditorViewController* editor = editorOf(document);
        if (!editor || !waitUntil([&] { return editor->editorTextView()->text() == QString::fromUtf8(description); })) {
            return nullptr;
        }
        activate(windowOf(document));
        return document;
    }

    std::shared_ptr<CarvexPlatform::AlertScript> alerts = std::make_shared<CarvexPlatform::AlertScript>();
    std::shared_ptr<CarvexPlatform::FilePanelScript> panels = std::make_shared<CarvexPlatform::FilePanelScript>();
    QTemporaryDir temporary;
    QString sourcePath;
    std::unique_ptr<Application> application;
    DocumentController* documents = nullptr;
};

// Convert gave a window whose title had no mark, that closed without a question, and whose `$ref`
// values were neither drawn nor followed as links until the first key.
TEST_F(EditedStateTest, AConvertedDocumentIsEditedUntilSavedAndItsLinksWorkAtOnce) {
    Document* source = open();
    ASSERT_NE(source, nullptr);
    auto* controller = dynamic_cast<DocumentWindowController*>(source->windowControllers().front());
    ASSERT_NE(controller, nullptr);
    controller->convertSegmentedControl()->performClick(0);
    ASSERT_TRUE(waitUntil([&] { return documents->documents().size() == 2; }));
    auto* converted = dynamic_cast<Document*>(documents->documents().back());
    ASSERT_NE(converted, nullptr);
    EditorViewController* editor = editorOf(converted);
    ASSERT_NE(editor, nullptr);
    EditorTextView& text = *editor->editorTextView();
    ASSERT_TRUE(waitUntil([&] { return text.text().startsWith(QLatin1Char('{')); }));
    QMainWindow* window = windowOf(converted);

    // Marked as edited, with no key typed.
    EXPECT_TRUE(converted->isDocumentEdited());
    EXPECT_EQ(shownTitle(window), QStringLiteral("pets_converted.json*"));

    // The link is there as soon as the text is shown, and followed once the text is parsed.
    const qsizetype link = text.viewText().indexOf(QStringLiteral("#/components/schemas/Pet"));
    ASSERT_GT(link, 0);
    ASSERT_NE(editor->refLinkHandler(), nullptr);
    ASSERT_NE(editor->refLinkHandler()->styler(), nullptr);
    EXPECT_EQ(editor->refLinkHandler()->styler()->refPath(link + 3), QStringLiteral("#/components/schemas/Pet"));
    ASSERT_TRUE(waitUntil([&] { return converted->parsedModel.has_value(); }));
    activate(window);
    text.setSelectedRange(TextRange{link, 0});
    text.ensureCursorVisible();
    QTextCursor atLink(text.document());
    atLink.setPosition(static_cast<int>(link + 5));
    QTest::mouseClick(text.viewport(), Qt::LeftButton, Qt::ControlModifier, text.cursorRect(atLink).center());
    const qsizetype pet = text.viewText().indexOf(QStringLiteral("\"Pet\""));
    ASSERT_GT(pet, link);
    EXPECT_GT(text.selectedRange().location, pet) << "the click did not go to Pet";
    EXPECT_TRUE(text.viewText().mid(text.selectedRange().location).startsWith(QStringLiteral("{")))
        << text.viewText().mid(text.selectedRange().location, 20).toStdString();

    // No undo reaches a text that was saved.
    activate(window);
    QTest::keyClicks(&text, QStringLiteral(" "));
    QTest::keyClick(&text, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text.viewText().size(), converted->content().size());
    EXPECT_TRUE(converted->isDocumentEdited());

    // Closing asks as for any untitled edited document: Cancel keeps it.
    alerts->respond(2);
    QTest::keyClick(&text, Qt::Key_W, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return alerts->presented().size() == 1u; })) << "closing asked nothing";
    EXPECT_EQ(alerts->presented()[0].alert.buttons,
              (QStringList{QStringLiteral("Save"), QString::fromUtf8("Don\u2019t Save"), QStringLiteral("Cancel")}));
    // A sheet's answer comes on a later turn, and Don't Save would close the document in that turn.
    ASSERT_TRUE(CarvexTest::waitForWorkPostedEarlier()) << "the answer reached the document";
    EXPECT_EQ(documents->documents().size(), 2u);

    // Saved, it is no longer edited.
    const QString jsonPath = temporary.filePath(QStringLiteral("pets.json"));
    panels->respond(jsonPath);
    activate(window);
    QTest::keyClick(&text, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(jsonPath) && !converted->isDocumentEdited(); }));
    EXPECT_EQ(shownTitle(window), QStringLiteral("pets.json"));
}

// Undo back to the saved text kept the mark until autosave wrote the same text again.
TEST_F(EditedStateTest, TheMarkFollowsUndoAndRedoAroundTheSavedText) {
    Document* document = open();
    ASSERT_NE(document, nullptr);
    EditorTextView& text = *editorOf(document)->editorTextView();
    QMainWindow* window = windowOf(document);
    const QString original = QString::fromUtf8(description);
    const auto undo = [&] { QTest::keyClick(&text, Qt::Key_Z, Qt::ControlModifier); };
    const auto redo = [&] { QTest::keyClick(&text, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); };
    const auto undoUntil = [&](const QString& wanted) {
        for (int step = 0; step < 10 && text.viewText() != wanted; ++step) {
            undo();
        }
        return text.viewText() == wanted;
    };
    const auto typeAtTitle = [&](const QString& keys) {
        text.setSelectedRange(TextRange{text.viewText().indexOf(QStringLiteral("Pets")) + 4, 0});
        QTest::keyClicks(&text, keys);
    };
    const auto expectEdited = [&](bool edited) {
        EXPECT_EQ(document->isDocumentEdited(), edited);
        EXPECT_EQ(shownTitle(window), edited ? QStringLiteral("pets.yaml*") : QStringLiteral("pets.yaml"));
    };

    // Three keys, then undo back to the file's text: the mark goes, and nothing is written.
    typeAtTitle(QStringLiteral("abc"));
    expectEdited(true);
    const QString typed = text.viewText();
    ASSERT_TRUE(undoUntil(original));
    expectEdited(false);
    const QDateTime written = QFileInfo(sourcePath).lastModified();
    waitUntil([] { return false; }, static_cast<int>(CarvexPlatform::Document::autosaveDelay.count()) + 500);
    EXPECT_EQ(QFileInfo(sourcePath).lastModified(), written) << "autosave wrote the unchanged text again";
    EXPECT_EQ(readFile(sourcePath), description);

    // Redo brings the edit and the mark back; saving clears it.
    redo();
    ASSERT_EQ(text.viewText(), typed);
    expectEdited(true);
    QTest::keyClick(&text, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return !document->isDocumentEdited(); }));
    ASSERT_EQ(readFile(sourcePath), typed.toUtf8());

    // A key after the save is a step of its own: one undo is back at the saved text.
    typeAtTitle(QStringLiteral("d"));
    expectEdited(true);
    undo();
    EXPECT_EQ(text.viewText(), typed);
    expectEdited(false);

    // Undo past the saved text is edited; an edit there stays edited, whatever is undone after it.
    ASSERT_TRUE(undoUntil(original));
    expectEdited(true);
    typeAtTitle(QStringLiteral("e"));
    expectEdited(true);
    ASSERT_TRUE(undoUntil(original));
    expectEdited(true);
}

}  // namespace
}  // namespace Carvex

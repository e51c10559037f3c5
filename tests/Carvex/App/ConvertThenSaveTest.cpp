// Saving right after Convert, through the real start-up code, windows, menus and keys as the window
// system delivers them (to the window that has the focus, with no test help to make a window active).

#include "tests/Carvex/App/ApplicationWindows.h"
#include "tests/Carvex/App/ScopedApplicationSetup.h"
#include "tests/Carvex/App/WaitUntil.h"
#include "Carvex/App/AppDelegate.h"
#include "Carvex/App/Application.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "platform/AlertPresenter.h"
#include "platform/AlertScript.h"
#include "platform/BackgroundTask.h"
#include "platform/FilePanel.h"
#include "platform/SegmentedControl.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "platform/WindowTabHost.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMainWindow>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>

namespace Carvex {
namespace {

using CarvexTest::editorOf;
using CarvexTest::noSharedWindows;
using CarvexTest::waitUntil;

QMainWindow* windowOf(const CarvexPlatform::Document* document) {
    return document->windowControllers().empty() ? nullptr : document->windowControllers().front()->window();
}

// A key as the window system gives it: to the window with the focus, not to a widget of the test's choice.
void pressInFocusWindow(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWindow* focus = QGuiApplication::focusWindow();
    ASSERT_NE(focus, nullptr) << "no window has the keyboard";
    QTest::keyClick(focus, key, modifiers);
}

class ConvertThenSaveTest : public ::testing::Test {
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

    std::shared_ptr<CarvexPlatform::AlertScript> alerts = std::make_shared<CarvexPlatform::AlertScript>();
    std::shared_ptr<CarvexPlatform::FilePanelScript> panels = std::make_shared<CarvexPlatform::FilePanelScript>();
    QTemporaryDir temporary;
    std::unique_ptr<Application> application;
};

// Moving the active window into a new tab host dropped the application's active window while the
// host already had the focus: Save, Save As and every window command reached no document.
TEST_F(ConvertThenSaveTest, SaveKeysReachTheDocumentsRightAfterConvert_and_SaveAsNamesTheTab) {
    const QString sourcePath = temporary.filePath(QStringLiteral("petstore.yaml"));
    {
        QFile file(sourcePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("openapi: 3.0.0\ninfo:\n  title: Pets\n  version: '1'\npaths: {}\n");
    }
    Application::registerScenes();
    application = std::make_unique<Application>(
        QStringLiteral("carvex-convert-save-") + QUuid::createUuid().toString(QUuid::Id128), noSharedWindows(),
        CarvexPlatform::Settings::isolated());
    ASSERT_TRUE(application->start({sourcePath}));
    DocumentController* documents = application->delegate()->documentController();
    ASSERT_TRUE(waitUntil([&] { return documents->documents().size() == 1; }));
    auto* source = dynamic_cast<Document*>(documents->documents().front());
    ASSERT_NE(source, nullptr);
    EditorViewController* sourceEditor = editorOf(source);
    ASSERT_NE(sourceEditor, nullptr);
    ASSERT_TRUE(waitUntil([&] { return sourceEditor->editorTextView()->text().startsWith(QStringLiteral("openapi")); }));
    QMainWindow* sourceWindow = windowOf(source);
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == sourceWindow; }))
        << "the first window is active once shown";

    auto* controller = dynamic_cast<DocumentWindowController*>(source->windowControllers().front());
    ASSERT_NE(controller, nullptr);
    controller->convertSegmentedControl()->performClick(0);
    ASSERT_TRUE(waitUntil([&] { return documents->documents().size() == 2; }));
    auto* converted = dynamic_cast<Document*>(documents->documents().back());
    ASSERT_NE(converted, nullptr);
    EditorViewController* convertedEditor = editorOf(converted);
    ASSERT_NE(convertedEditor, nullptr);
    ASSERT_TRUE(waitUntil([&] { return convertedEditor->editorTextView()->text().startsWith(QLatin1Char('{')); }));
    QMainWindow* convertedWindow = windowOf(converted);
    CarvexPlatform::WindowTabHost* host = CarvexPlatform::WindowTabHost::hostOf(convertedWindow);
    ASSERT_NE(host, nullptr) << "the converted window joins the source's as a tab";
    EXPECT_TRUE(waitUntil([&] { return CarvexPlatform::WindowTabHost::keyWindow() == convertedWindow; }));
    // Once the window system has made the host the active window and the work posted until then
    // has run, nothing is left to take the keys elsewhere.
    ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == host; })) << "the host is the active window";
    ASSERT_TRUE(CarvexTest::waitForWorkPostedEarlier());
    EXPECT_EQ(CarvexPlatform::WindowTabHost::keyWindow(), convertedWindow) << "and stays the key window";

    // Ctrl+S in the converted tab: an untitled document asks where to save.
    const QString jsonPath = temporary.filePath(QStringLiteral("pets.json"));
    panels->respond(jsonPath);
    pressInFocusWindow(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return panels->presented().size() == 1u; })) << "Ctrl+S opened no save panel";
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(jsonPath) && !converted->isDocumentEdited(); }));
    EXPECT_EQ(converted->displayName(), QStringLiteral("pets.json"));
    EXPECT_TRUE(convertedWindow->windowTitle().contains(QStringLiteral("pets.json")))
        << convertedWindow->windowTitle().toStdString();
    EXPECT_EQ(host->tabWidget()->tabText(host->tabWidget()->indexOf(convertedWindow)),
              convertedWindow->windowTitle());
    EXPECT_EQ(host->windowTitle(), convertedWindow->windowTitle());

    // Ctrl+Shift+S in the source's tab, chosen by its tab.
    host->tabWidget()->setCurrentWidget(sourceWindow);
    ASSERT_TRUE(waitUntil([&] { return CarvexPlatform::WindowTabHost::keyWindow() == sourceWindow; }));
    pressInFocusWindow(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(waitUntil([&] { return panels->presented().size() == 2u; })) << "Ctrl+Shift+S opened no panel";
    EXPECT_TRUE(panels->presented().back().isSave);
    EXPECT_EQ(source->filePath(), sourcePath) << "a cancelled Save As keeps the file";
    EXPECT_TRUE(alerts->presented().empty());
}

}  // namespace
}  // namespace Carvex

#include "Carvex/Documents/Document.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/Documents/NewDocumentModalViewController.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/WelcomeViewController.h"
#include "Carvex/Windows/WelcomeWindowController.h"
#include "platform/AlertPresenter.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/Storyboard.h"
#include "platform/TestApplication.h"
#include "platform/WindowController.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QDeadlineTimer>
#include <QTest>
#include <functional>

using namespace Carvex;
using CarvexPlatform::AlertPresenter;
using CarvexPlatform::AlertScript;

namespace {

// An editor that only notes the content it is given.
class RecordingEditor : public EditorViewController {
public:
    explicit RecordingEditor(EditorPreferencesStore* store, std::vector<std::pair<QString, DocumentLanguage>>* calls)
        : EditorViewController(Stores{store, nullptr, nullptr, CarvexPlatform::Settings::isolated()}), calls_(calls) {}
    void setContent(const QString& text, std::optional<DocumentLanguage> language) override {
        calls_->emplace_back(text, language.value_or(DocumentLanguage::unknown));
    }

private:
    std::vector<std::pair<QString, DocumentLanguage>>* calls_;
};

class NewDocumentSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        AlertPresenter::shared().setScript(alerts);
        controller.setEditorPreferencesStore(&preferences);
        WelcomeWindowController::closeIfLoaded();
    }
    void TearDown() override {
        for (CarvexPlatform::Document* document : controller.documents()) {
            for (CarvexPlatform::WindowController* window : document->windowControllers()) {
                window->closeWithoutAsking();
            }
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog*>(window)) {
                window->close();
            }
        }
        WelcomeWindowController::closeIfLoaded();
        for (int turn = 0; turn < 4; ++turn) {
            fake->runPending();
        }
        AlertPresenter::shared().setScript(nullptr);
    }

    // A sheet as the scene makes it, its view loaded.
    static std::unique_ptr<NewDocumentModalViewController> loadedSheet() {
        auto sheet = std::make_unique<NewDocumentModalViewController>();
        sheet->view();
        return sheet;
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    std::shared_ptr<AlertScript> alerts = std::make_shared<AlertScript>();
    EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    DocumentController controller{CarvexPlatform::Settings::isolated()};
    std::vector<std::pair<QString, DocumentLanguage>> editorCalls;
    CarvexPlatform::ScopedScene windowScene{
        CarvexPlatform::Storyboard::main(), Document::windowControllerScene, [this] {
            auto window = std::make_unique<DocumentWindowController>();
            auto editor = std::make_unique<RecordingEditor>(&preferences, &editorCalls);
            window->setEditorViewController(editor.get());
            window->setContentViewController(std::move(editor));
            return window;
        }};
    CarvexPlatform::ScopedScene sheetScene{CarvexPlatform::Storyboard::main(),
                                           NewDocumentModalViewController::sceneIdentifier,
                                           [] { return std::make_unique<NewDocumentModalViewController>(); }};
    CarvexPlatform::ScopedScene welcomeScene{CarvexPlatform::Storyboard::main(), WelcomeViewController::sceneIdentifier,
                                             [] { return std::make_unique<WelcomeViewController>(); }};
};

TEST_F(NewDocumentSheetTest, StartStateAndEnablingThePathControls) {
    auto sheet = loadedSheet();
    EXPECT_EQ(sheet->versionSegmentedControl->checkedId(), 0);
    EXPECT_EQ(sheet->formatSegmentedControl->checkedId(), 0);
    EXPECT_FALSE(sheet->includePathCheckbox->isChecked());
    EXPECT_TRUE(sheet->getCheckbox->isChecked());
    EXPECT_TRUE(sheet->errorLabel->isHidden());
    const QWidget* pathControls[] = {sheet->pathTextField,  sheet->getCheckbox,    sheet->postCheckbox,
                                     sheet->putCheckbox,    sheet->deleteCheckbox, sheet->patchCheckbox,
                                     sheet->optionsCheckbox, sheet->headCheckbox,  sheet->traceCheckbox};
    const auto expectEnabled = [&](bool enabled) {
        EXPECT_DOUBLE_EQ(sheet->initialPathBoxAlpha(), enabled ? 1.0 : 0.5);
        for (const QWidget* control : pathControls) {
            EXPECT_EQ(control->isEnabled(), enabled) << control->metaObject()->className();
        }
    };
    expectEnabled(false);
    EXPECT_EQ(sheet->configurationFromControls(), NewDocumentConfiguration::default_());

    sheet->errorLabel->show();
    sheet->includePathCheckbox->setChecked(true);
    expectEnabled(true);
    EXPECT_TRUE(sheet->errorLabel->isHidden()) << "a change of the checkbox hides the message";
    sheet->includePathCheckbox->setChecked(false);
    expectEnabled(false);
}

TEST_F(NewDocumentSheetTest, ReadsTheConfigurationFromTheControls) {
    auto sheet = loadedSheet();
    sheet->versionSegmentedControl->button(1)->setChecked(true);
    sheet->formatSegmentedControl->button(1)->setChecked(true);
    sheet->includePathCheckbox->setChecked(true);
    sheet->pathTextField->setText(QStringLiteral(" pets"));
    sheet->getCheckbox->setChecked(false);
    sheet->traceCheckbox->setChecked(true);
    sheet->deleteCheckbox->setChecked(true);
    NewDocumentConfiguration expected;
    expected.version = NewDocumentOpenAPIVersion::v3_1;
    expected.format = DocumentFormat::yaml;
    expected.includeInitialPath = true;
    expected.initialPath = QStringLiteral("/ pets");
    expected.methods = {HTTPMethod::delete_, HTTPMethod::trace};
    EXPECT_EQ(sheet->configurationFromControls(), expected);

    sheet->pathTextField->clear();
    EXPECT_EQ(sheet->configurationFromControls().initialPath, std::nullopt);
    sheet->includePathCheckbox->setChecked(false);
    sheet->pathTextField->setText(QStringLiteral("/kept"));
    EXPECT_EQ(sheet->configurationFromControls().initialPath, std::nullopt) << "read only when included";
}

TEST_F(NewDocumentSheetTest, EachFailureKeepsTheSheetWithOneMessageAndThePathFocused) {
    struct Row {
        const char* name;
        QString path;
        bool anyMethod;
        QString message;
    };
    const Row rows[] = {
        {"just a slash", "/", true, NewDocumentConfigurationValidator::invalidPathMessage},
        {"blank", "/a b", true, NewDocumentConfigurationValidator::invalidPathMessage},
        {"empty", "", true, NewDocumentConfigurationValidator::invalidPathMessage},
        {"no method", "/a", false, NewDocumentConfigurationValidator::noMethodMessage},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CarvexPlatform::WindowController host;
        host.setContentViewController(std::make_unique<CarvexPlatform::ViewController>());
        host.showWindow();
        auto owned = std::make_unique<NewDocumentModalViewController>();
        NewDocumentModalViewController* sheet = owned.get();
        int completions = 0;
        sheet->onComplete = [&](const QString&, DocumentFormat) { ++completions; };
        host.contentViewController()->presentAsSheet(std::move(owned));
        ASSERT_EQ(host.contentViewController()->presentedViewController(), sheet);
        QApplication::setActiveWindow(host.contentViewController()->sheetDialog());
        sheet->includePathCheckbox->setChecked(true);
        sheet->pathTextField->setText(row.path);
        sheet->getCheckbox->setChecked(row.anyMethod);
        sheet->createButton->click();
        EXPECT_EQ(completions, 0);
        EXPECT_EQ(host.contentViewController()->presentedViewController(), sheet) << "the sheet stays";
        EXPECT_FALSE(sheet->errorLabel->isHidden());
        EXPECT_EQ(sheet->errorLabel->text(), row.message);
        EXPECT_EQ(QApplication::focusWidget(), sheet->pathTextField.data());
        // The message is replaced, never added to.
        sheet->createButton->click();
        EXPECT_EQ(sheet->errorLabel->text(), row.message);
        host.contentViewController()->dismiss();
    }
}

TEST_F(NewDocumentSheetTest, CreateHandsOnTheSkeletonAndCancelOnlyCloses) {
    CarvexPlatform::WindowController host;
    host.setContentViewController(std::make_unique<CarvexPlatform::ViewController>());
    host.showWindow();
    std::vector<std::pair<QString, DocumentFormat>> completed;
    int cancels = 0;
    for (bool cancel : {true, false}) {
        auto owned = std::make_unique<NewDocumentModalViewController>();
        NewDocumentModalViewController* sheet = owned.get();
        sheet->onComplete = [&](const QString& text, DocumentFormat format) { completed.emplace_back(text, format); };
        sheet->onCancel = [&] { ++cancels; };
        host.contentViewController()->presentAsSheet(std::move(owned));
        sheet->formatSegmentedControl->button(1)->setChecked(true);
        sheet->includePathCheckbox->setChecked(true);
        sheet->pathTextField->setText(QStringLiteral("pets"));
        (cancel ? sheet->cancelButton : sheet->createButton)->click();
        EXPECT_EQ(host.contentViewController()->presentedViewController(), nullptr);
    }
    EXPECT_EQ(cancels, 1);
    ASSERT_EQ(completed.size(), 1u);
    EXPECT_EQ(completed[0].second, DocumentFormat::yaml);
    EXPECT_TRUE(completed[0].first.startsWith(QStringLiteral("openapi: \"3.0.0\"\n")));
    EXPECT_TRUE(completed[0].first.contains(QStringLiteral("\n  /pets:\n    get:\n")));
}

// Return in the sheet creates, wherever the keyboard is (but on Cancel itself); Escape cancels.
TEST_F(NewDocumentSheetTest, ReturnCreatesAndEscapeCancels) {
    CarvexPlatform::WindowController host;
    host.setContentViewController(std::make_unique<CarvexPlatform::ViewController>());
    host.showWindow();
    struct Row {
        const char* name;
        std::function<QWidget*(NewDocumentModalViewController&)> focus;  // null: where the sheet puts it
        Qt::Key key;
        bool created;
    };
    const Row rows[] = {
        {"Escape", nullptr, Qt::Key_Escape, false},
        {"Return as opened", nullptr, Qt::Key_Return, true},
        {"Enter as opened", nullptr, Qt::Key_Enter, true},
        {"Return on a segment", [](NewDocumentModalViewController& sheet) { return sheet.formatSegmentedControl->button(1); },
         Qt::Key_Return, true},
        {"Return on the check box", [](NewDocumentModalViewController& sheet) { return sheet.includePathCheckbox.data(); },
         Qt::Key_Return, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto owned = std::make_unique<NewDocumentModalViewController>();
        NewDocumentModalViewController* sheet = owned.get();
        int completions = 0;
        int cancels = 0;
        sheet->onComplete = [&](const QString&, DocumentFormat) { ++completions; };
        sheet->onCancel = [&] { ++cancels; };
        host.contentViewController()->presentAsSheet(std::move(owned));
        QDialog* dialog = host.contentViewController()->sheetDialog();
        ASSERT_NE(dialog, nullptr);
        QApplication::setActiveWindow(dialog);
        QWidget* target = row.focus ? row.focus(*sheet) : dialog->focusWidget();
        if (row.focus) {
            target->setFocus(Qt::TabFocusReason);
        }
        EXPECT_TRUE(sheet->createButton->isDefault());
        EXPECT_FALSE(sheet->cancelButton->isDefault());
        QTest::keyClick(target ? target : dialog, row.key);
        // A button's own key presses it with a short animation.
        QDeadlineTimer pressed(30'000);
        while (completions + cancels == 0 && !pressed.hasExpired()) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        EXPECT_EQ(completions, row.created ? 1 : 0);
        EXPECT_EQ(cancels, row.created ? 0 : 1);
        EXPECT_EQ(host.contentViewController()->presentedViewController(), nullptr) << "the sheet closed";
        host.contentViewController()->dismiss();
    }
}

TEST_F(NewDocumentSheetTest, NewPresentsTheSheetOnTheKeyWindowAndOpensTheSkeleton) {
    CarvexPlatform::WindowController host;
    host.setContentViewController(std::make_unique<CarvexPlatform::ViewController>());
    host.showWindow();
    QApplication::setActiveWindow(host.window());
    controller.newDocument();
    auto* sheet = dynamic_cast<NewDocumentModalViewController*>(host.contentViewController()->presentedViewController());
    ASSERT_NE(sheet, nullptr);
    ASSERT_NE(host.contentViewController()->sheetDialog(), nullptr);
    EXPECT_EQ(host.contentViewController()->sheetDialog()->windowModality(), Qt::WindowModal);

    sheet->formatSegmentedControl->button(1)->setChecked(true);
    sheet->createButton->click();
    ASSERT_EQ(controller.documents().size(), 1u);
    auto* document = dynamic_cast<Document*>(controller.documents().front());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->fileType(), DocumentTypes::yamlDocument);
    EXPECT_EQ(document->fileFormat, FileFormat::yaml) << "Convert knows the format before the first save";
    ASSERT_EQ(document->windowControllers().size(), 1u);
    auto* window = dynamic_cast<DocumentWindowController*>(document->windowControllers().front());
    ASSERT_NE(window, nullptr);
    window->refreshConversionState();
    ASSERT_NE(window->convertSegmentedControl(), nullptr);
    EXPECT_TRUE(window->convertSegmentedControl()->isEnabled(0)) << "Convert to JSON";
    EXPECT_FALSE(window->convertSegmentedControl()->isEnabled(1));
    EXPECT_FALSE(document->hasFile());
    EXPECT_TRUE(document->content().startsWith(QStringLiteral("openapi: \"3.0.0\"\ninfo:")));
    ASSERT_EQ(document->windowControllers().size(), 1u);
    EXPECT_TRUE(document->windowControllers().front()->window()->isVisible());
    ASSERT_EQ(editorCalls.size(), 1u);
    EXPECT_EQ(editorCalls[0].first, document->content());
    EXPECT_EQ(editorCalls[0].second, DocumentLanguage::yaml);
    EXPECT_TRUE(alerts->presented().empty());
}

TEST_F(NewDocumentSheetTest, OpeningTheSkeletonClosesTheWelcomeWindowAndReportsFailure) {
    WelcomeWindowController::shared().showWelcomeWindow();
    ASSERT_TRUE(WelcomeWindowController::shared().window()->isVisible());
    ASSERT_NE(controller.openGeneratedDocument(QStringLiteral("{}"), DocumentFormat::json), nullptr);
    EXPECT_FALSE(WelcomeWindowController::shared().window()->isVisible());
    auto* document = dynamic_cast<Document*>(controller.documents().back());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->fileType(), DocumentTypes::jsonDocument);
    EXPECT_EQ(document->fileFormat, FileFormat::json);
    ASSERT_EQ(editorCalls.size(), 1u);
    EXPECT_EQ(editorCalls[0].second, DocumentLanguage::json);

    // A controller that makes no documents of the type.
    struct Refusing : DocumentController {
        using DocumentController::DocumentController;
        std::unique_ptr<CarvexPlatform::Document> makeDocumentInstance(const QString&) override { return nullptr; }
    } refusing{CarvexPlatform::Settings::isolated()};
    EXPECT_EQ(refusing.openGeneratedDocument(QStringLiteral("{}"), DocumentFormat::yaml), nullptr);
    EXPECT_TRUE(refusing.documents().empty());
    ASSERT_EQ(alerts->presented().size(), 1u);
    EXPECT_EQ(alerts->presented()[0].alert.style, CarvexPlatform::AlertStyle::critical);
    EXPECT_EQ(alerts->presented()[0].alert.messageText, "Failed to create document");
    EXPECT_FALSE(alerts->presented()[0].alert.informativeText.isEmpty());
}

TEST_F(NewDocumentSheetTest, NewWithNoWindowShowsTheWelcomeWindowAndWithoutTheSceneAnEmptyDocument) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    controller.newDocument();
    EXPECT_TRUE(controller.documents().empty());
    ASSERT_TRUE(WelcomeWindowController::isLoaded());
    EXPECT_TRUE(WelcomeWindowController::shared().window()->isVisible());
    EXPECT_EQ(WelcomeWindowController::shared().contentViewController()->presentedViewController(), nullptr);

    // With the welcome window shown, New puts the sheet on it.
    controller.newDocument();
    EXPECT_NE(dynamic_cast<NewDocumentModalViewController*>(
                  WelcomeWindowController::shared().contentViewController()->presentedViewController()),
              nullptr);
    WelcomeWindowController::shared().contentViewController()->dismiss();

    CarvexPlatform::Storyboard::main().removeScene(NewDocumentModalViewController::sceneIdentifier);
    controller.newDocument();
    ASSERT_EQ(controller.documents().size(), 1u);
    auto* document = dynamic_cast<Document*>(controller.documents().front());
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(document->content().isEmpty());
    EXPECT_EQ(document->fileType(), DocumentTypes::jsonDocument);
}

}  // namespace

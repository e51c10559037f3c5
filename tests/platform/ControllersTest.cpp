#include "platform/FakeMainScheduler.h"
#include "platform/NotificationCenter.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Storyboard.h"
#include "platform/TestApplication.h"
#include "platform/ViewController.h"
#include "platform/WindowController.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>

using namespace CarvexPlatform;

namespace {

// Records the order of its lifecycle calls.
class RecordingViewController : public ViewController {
public:
    explicit RecordingViewController(std::vector<std::string>* log = nullptr) : log_(log) {}
    ~RecordingViewController() override {
        if (log_) {
            log_->push_back("deleted");
        }
    }
    int loads = 0;

protected:
    QWidget* loadView() override {
        ++loads;
        record("loadView");
        return new QLabel(QStringLiteral("content"));
    }
    void viewDidLoad() override { record("viewDidLoad"); }
    void viewWillAppear() override { record("viewWillAppear"); }
    void viewDidAppear() override { record("viewDidAppear"); }
    void viewWillDisappear() override { record("viewWillDisappear"); }
    void viewDidDisappear() override { record("viewDidDisappear"); }

private:
    void record(const char* what) {
        if (log_) {
            log_->push_back(what);
        }
    }
    std::vector<std::string>* log_;
};

class OtherController : public ViewController {};

class ControllersTest : public ::testing::Test {
protected:
    void SetUp() override { TestApplication::ensure(); }
    std::shared_ptr<FakeMainScheduler> fake = std::make_shared<FakeMainScheduler>();
    ScopedMainScheduler scope{fake};
};

}  // namespace

TEST_F(ControllersTest, StoryboardMakesRegisteredScenesAndNothingElse) {
    Storyboard& board = Storyboard::named(QStringLiteral("ControllersTest"));
    ScopedScene scene(board, QStringLiteral("Recording"),
                      [] { return std::make_unique<RecordingViewController>(); });

    struct Row {
        const char* name;
        QString identifier;
        bool asRecording;  // ask for the recording class (else for any object)
        bool expectObject;
    };
    const Row rows[] = {
        {"registered scene", "Recording", true, true},
        {"registered scene, any class", "Recording", false, true},
        {"unknown scene", "Document Window Controller", true, false},
        {"unknown scene, any class", "Nope", false, false},
        {"identifiers are exact", "recording", true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const bool made = row.asRecording
                              ? board.instantiateController<RecordingViewController>(row.identifier) != nullptr
                              : board.instantiateController(row.identifier) != nullptr;
        EXPECT_EQ(made, row.expectObject);
    }
    // A scene of another class gives nothing when a particular class is asked for.
    EXPECT_EQ(board.instantiateController<OtherController>(QStringLiteral("Recording")), nullptr);
    // Every request makes a new controller.
    auto first = board.instantiateController<RecordingViewController>(QStringLiteral("Recording"));
    auto second = board.instantiateController<RecordingViewController>(QStringLiteral("Recording"));
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(&Storyboard::main(), &Storyboard::named(QStringLiteral("Main")));
}

TEST_F(ControllersTest, ScopedSceneRestoresTheSceneItReplaced) {
    Storyboard& board = Storyboard::named(QStringLiteral("ControllersTest"));
    {
        ScopedScene outer(board, QStringLiteral("Scene"), [] { return std::make_unique<OtherController>(); });
        {
            ScopedScene inner(board, QStringLiteral("Scene"),
                              [] { return std::make_unique<RecordingViewController>(); });
            EXPECT_NE(board.instantiateController<RecordingViewController>(QStringLiteral("Scene")), nullptr);
        }
        EXPECT_NE(board.instantiateController<OtherController>(QStringLiteral("Scene")), nullptr);
    }
    EXPECT_FALSE(board.hasScene(QStringLiteral("Scene")));
}

TEST_F(ControllersTest, ViewLoadsOnceOnDemandAndAnnouncesAppearance) {
    std::vector<std::string> log;
    WindowController windowController;
    auto content = std::make_unique<RecordingViewController>(&log);
    RecordingViewController* controller = content.get();
    windowController.setContentViewController(std::move(content));
    EXPECT_FALSE(controller->isViewLoaded());
    EXPECT_FALSE(windowController.isWindowLoaded());

    windowController.showWindow();
    EXPECT_EQ(windowController.window()->centralWidget(), controller->view());
    windowController.window()->hide();
    windowController.window()->show();
    EXPECT_EQ(controller->loads, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"loadView", "viewDidLoad", "viewWillAppear", "viewDidAppear",
                                             "viewWillDisappear", "viewDidDisappear", "viewWillAppear",
                                             "viewDidAppear"}));
}

TEST_F(ControllersTest, SheetIsAWindowModalDialogEndedByDismiss) {
    std::vector<std::string> log;
    WindowController windowController;
    windowController.setContentViewController(std::make_unique<RecordingViewController>());
    windowController.showWindow();
    ViewController* host = windowController.contentViewController();

    auto sheet = std::make_unique<RecordingViewController>(&log);
    RecordingViewController* sheetController = sheet.get();
    host->presentAsSheet(std::move(sheet));
    ASSERT_EQ(host->presentedViewController(), sheetController);
    EXPECT_EQ(sheetController->presentingViewController(), host);
    QPointer<QDialog> dialog = host->sheetDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->parentWidget(), windowController.window());
    EXPECT_TRUE(dialog->isVisible());

    // The sheet ends itself (as its own button would); it is deleted on a later turn.
    sheetController->dismiss();
    EXPECT_EQ(host->presentedViewController(), nullptr);
    EXPECT_TRUE(dialog);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_NE(log.back(), "deleted");
    fake->runPending();
    EXPECT_EQ(log.back(), "deleted");
    EXPECT_FALSE(dialog);
}

TEST_F(ControllersTest, SheetClosedByTheUserEndsToo) {
    ViewController host;
    QMainWindow window;
    window.setCentralWidget(host.view());
    window.show();
    host.presentAsSheet(std::make_unique<RecordingViewController>());
    ASSERT_TRUE(host.sheetDialog());
    host.sheetDialog()->reject();
    EXPECT_EQ(host.presentedViewController(), nullptr);
    fake->runPending();
    window.takeCentralWidget();
}

TEST_F(ControllersTest, ClosingAWindowIsAnnounced) {
    WindowController windowController;
    windowController.showWindow();
    const void* closed = nullptr;
    auto observation = NotificationCenter::defaultCenter().observe(
        WindowController::windowWillCloseNotification, nullptr,
        [&](const Notification& note) { closed = note.sender; });
    windowController.close();
    EXPECT_EQ(closed, windowController.window());
    EXPECT_FALSE(windowController.window()->isVisible());
}

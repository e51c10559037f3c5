#include "Carvex/Documents/Document.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/RecentDocumentCellView.h"
#include "Carvex/Windows/WelcomeViewController.h"
#include "Carvex/Windows/WelcomeWindowController.h"
#include "platform/AlertPresenter.h"
#include "platform/Appearance.h"
#include "platform/DynamicColor.h"
#include "platform/FakeMainScheduler.h"
#include "platform/FilePanel.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/Storyboard.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace Carvex;
using CarvexPlatform::AlertPresenter;
using CarvexPlatform::AlertScript;

namespace {

class WelcomeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        AlertPresenter::shared().setScript(alerts);
        CarvexPlatform::FilePanel::shared().setScript(panels);
        controller.setEditorPreferencesStore(&preferences);
        welcome = std::make_unique<WelcomeViewController>();
        welcome->openURL = [this](const QUrl& url) { opened.push_back(url); };
        welcome->view();
    }
    void TearDown() override {
        for (CarvexPlatform::Document* document : controller.documents()) {
            for (CarvexPlatform::WindowController* window : document->windowControllers()) {
                window->closeWithoutAsking();
            }
        }
        WelcomeWindowController::closeIfLoaded();
        for (int turn = 0; turn < 4; ++turn) {
            fake->runPending();
        }
        CarvexPlatform::Appearance::shared().setOverride(std::nullopt);
        CarvexPlatform::FilePanel::shared().setScript(nullptr);
        AlertPresenter::shared().setScript(nullptr);
    }

    QString makeFile(const QString& name, const QByteArray& text = "openapi: 3.0.0\n") {
        const QString path = folder.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    std::shared_ptr<AlertScript> alerts = std::make_shared<AlertScript>();
    std::shared_ptr<CarvexPlatform::FilePanelScript> panels = std::make_shared<CarvexPlatform::FilePanelScript>();
    EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    DocumentController controller{CarvexPlatform::Settings::isolated()};
    CarvexPlatform::ScopedScene windowScene{CarvexPlatform::Storyboard::main(), Document::windowControllerScene,
                                            [] { return std::make_unique<DocumentWindowController>(); }};
    CarvexPlatform::ScopedScene welcomeScene{CarvexPlatform::Storyboard::main(), WelcomeViewController::sceneIdentifier,
                                             [] { return std::make_unique<WelcomeViewController>(); }};
    QTemporaryDir temporary;
    QDir folder{temporary.path()};
    std::unique_ptr<WelcomeViewController> welcome;
    std::vector<QUrl> opened;
};

TEST_F(WelcomeWindowTest, ListsTheRecentFilesThatStillExistNewestFirst) {
    EXPECT_TRUE(welcome->recentDocuments().empty());
    EXPECT_TRUE(welcome->recentDocumentsTableView->isHidden());
    EXPECT_FALSE(welcome->noRecentDocumentsLabel->isHidden());

    const QString older = makeFile("older.yaml");
    const QString gone = makeFile("gone.json");
    const QString newer = makeFile("sub/newer.json");
    for (const QString& path : {older, gone, newer}) {
        controller.noteNewRecentDocumentPath(path);
    }
    QFile::remove(gone);
    welcome->reloadRecentDocuments();
    ASSERT_EQ(welcome->recentDocuments(), (std::vector<RecentDocumentItem>{{newer}, {older}}));
    EXPECT_FALSE(welcome->recentDocumentsTableView->isHidden());
    EXPECT_TRUE(welcome->noRecentDocumentsLabel->isHidden());
    EXPECT_EQ(welcome->recentDocumentsTableView->rowCount(), 2);
    RecentDocumentCellView* first = welcome->viewForRow(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->objectName(), "RecentDocumentCell");
    EXPECT_EQ(first->fileNameText(), "newer.json");
    EXPECT_EQ(welcome->viewForRow(0), first) << "the row's cell is reused";
    EXPECT_EQ(welcome->viewForRow(2), nullptr);
    EXPECT_EQ(welcome->viewForRow(-1), nullptr);

    QFile::remove(older);
    QFile::remove(newer);
    welcome->reloadRecentDocuments();
    EXPECT_TRUE(welcome->recentDocuments().empty());
    EXPECT_TRUE(welcome->recentDocumentsTableView->isHidden());
    EXPECT_FALSE(welcome->noRecentDocumentsLabel->isHidden());
}

TEST_F(WelcomeWindowTest, FolderShowsTheHomeFolderAsTilde) {
    struct Row {
        const char* name;
        QString folder;
        QString home;
        QString shown;
    };
    const Row rows[] = {
        {"below home", "/home/al/specs/v1", "/home/al", "~/specs/v1"},
        {"home itself", "/home/al", "/home/al", "~"},
        {"home given with a slash", "/home/al/x", "/home/al/", "~/x"},
        {"sibling sharing a prefix", "/home/alice", "/home/al", "/home/alice"},
        {"elsewhere", "/srv/specs", "/home/al", "/srv/specs"},
        {"root home", "/srv", "/", "~/srv"},
        {"no home", "/srv", "", "/srv"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(RecentDocumentCellView::abbreviatingHome(row.folder, row.home), row.shown);
    }
    // Through a real cell: a file below the home folder.
    RecentDocumentCellView cell;
    cell.configure(RecentDocumentItem{QDir::homePath() + "/projects/api/openapi.yaml"});
    EXPECT_EQ(cell.fileNameText(), "openapi.yaml");
    EXPECT_EQ(cell.folderPathText(), "~/projects/api");
    cell.configure(RecentDocumentItem{QDir::homePath() + "/openapi.json"});
    EXPECT_EQ(cell.folderPathText(), "~");
}

// The list is styled (a clear background), and a label inside a styled widget paints with the
// style's colours, not its palette's: the folder must still come out in the secondary colour, not
// in the name's black.
TEST_F(WelcomeWindowTest, FolderIsPaintedInTheSecondaryColour) {
    controller.noteNewRecentDocumentPath(makeFile("pets.yaml"));
    CarvexPlatform::Appearance::shared().setOverride(false);
    WelcomeWindowController& shared = WelcomeWindowController::shared();
    shared.showWelcomeWindow();
    QApplication::processEvents();
    ASSERT_NE(shared.welcomeViewController(), nullptr);
    RecentDocumentCellView* cell = shared.welcomeViewController()->viewForRow(0);
    ASSERT_NE(cell, nullptr);
    // Over a white ground: half-transparent black shows as mid grey, at its darkest.
    QLabel* folder = cell->folderPathLabel;
    QImage image(folder->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    folder->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
        }
    }
    EXPECT_GE(darkest, 0x60) << "the folder is painted darker than the secondary colour";
    WelcomeWindowController::closeIfLoaded();
}

TEST_F(WelcomeWindowTest, DoubleClickOpensTheSelectedRowOnly) {
    const QString description = makeFile("pets.yaml");
    controller.noteNewRecentDocumentPath(description);
    welcome->reloadRecentDocuments();
    welcome->tableViewDoubleClicked();
    EXPECT_TRUE(controller.documents().empty()) << "no row selected: nothing happens";

    welcome->recentDocumentsTableView->selectRow(0);
    welcome->tableViewDoubleClicked();
    ASSERT_EQ(controller.documents().size(), 1u);
    EXPECT_EQ(QFileInfo(controller.documents().front()->filePath()).fileName(), "pets.yaml");
    EXPECT_TRUE(alerts->presented().empty());
}

TEST_F(WelcomeWindowTest, AFileThatFailsToOpenShowsTheErrorAndBringsTheWelcomeWindowBack) {
    const QString broken = makeFile("broken.yaml", QByteArray("a: \xff\xfe\n"));
    controller.noteNewRecentDocumentPath(broken);
    WelcomeWindowController& shared = WelcomeWindowController::shared();
    ASSERT_NE(shared.welcomeViewController(), nullptr);
    shared.showWelcomeWindow();
    WelcomeViewController& view = *shared.welcomeViewController();
    ASSERT_EQ(view.recentDocuments().size(), 1u);
    view.recentDocumentsTableView->selectRow(0);
    view.tableViewDoubleClicked();
    EXPECT_TRUE(controller.documents().empty());
    ASSERT_EQ(alerts->presented().size(), 1u);
    EXPECT_TRUE(alerts->presented()[0].alert.messageText.contains("broken.yaml"));
    EXPECT_TRUE(shared.window()->isVisible());
}

TEST_F(WelcomeWindowTest, WindowAndButtons) {
    WelcomeWindowController& shared = WelcomeWindowController::shared();
    EXPECT_EQ(&shared, &WelcomeWindowController::shared());
    QMainWindow* window = shared.window();
    EXPECT_EQ(window->windowTitle(), "Welcome to Carvex");
    EXPECT_EQ(window->size(), QSize(700, 500));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";
    EXPECT_EQ(shared.contentViewController(), shared.welcomeViewController());

    EXPECT_FALSE(welcome->appIconImageView->pixmap().isNull()) << "the icon comes from the resources";
    EXPECT_FALSE(welcome->newDocumentButton->icon().isNull());
    EXPECT_FALSE(welcome->openDocumentButton->icon().isNull());
    EXPECT_TRUE(welcome->learnOpenAPIButton->font().underline());
    EXPECT_TRUE(welcome->learnOpenAPIButton->isFlat());
    welcome->learnOpenAPIButton->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].scheme(), "https");

    // Open closes the welcome window first; a cancelled panel leaves it closed.
    shared.showWelcomeWindow();
    shared.welcomeViewController()->openDocumentButton->click();
    EXPECT_FALSE(shared.window()->isVisible());
    ASSERT_EQ(panels->presented().size(), 1u);
    EXPECT_TRUE(controller.documents().empty());

    // New puts the sheet on the welcome window and leaves the window open.
    CarvexPlatform::ScopedScene sheet{CarvexPlatform::Storyboard::main(), "NewDocumentModalViewController",
                                      [] { return std::make_unique<CarvexPlatform::ViewController>(); }};
    shared.showWelcomeWindow();
    shared.welcomeViewController()->newDocumentButton->click();
    EXPECT_TRUE(shared.window()->isVisible());
}

TEST_F(WelcomeWindowTest, GradientFollowsTheAppearanceAtTheNextLayout) {
    auto& appearance = CarvexPlatform::Appearance::shared();
    welcome->view()->show();
    appearance.setOverride(false);
    welcome->viewDidLayout();
    ASSERT_TRUE(welcome->gradientLayer().has_value());
    EXPECT_EQ(*welcome->gradientLayer(), WelcomeViewController::gradientColors(false));
    EXPECT_TRUE(welcome->leftPanelView->styleSheet().contains(QColor::fromRgbF(0.7f, 0.84f, 0.95f).name().mid(1)));

    appearance.setOverride(true);
    welcome->view()->resize(701, 500);
    QApplication::sendPostedEvents();
    welcome->view()->resize(700, 500);
    QApplication::sendPostedEvents();
    EXPECT_EQ(*welcome->gradientLayer(), WelcomeViewController::gradientColors(true));
    EXPECT_TRUE(welcome->leftPanelView->styleSheet().contains(QColor::fromRgbF(0.12f, 0.12f, 0.13f).name().mid(1)));
    welcome->titleLabel->ensurePolished();
    EXPECT_EQ(welcome->titleLabel->palette().color(QPalette::WindowText).rgb(),
              CarvexPlatform::DynamicColor(CarvexPlatform::SystemColor::label).resolved(true).rgb())
        << "the panel's texts stay readable on the dark gradient";

    const auto light = WelcomeViewController::gradientColors(false);
    const auto dark = WelcomeViewController::gradientColors(true);
    EXPECT_NEAR(light.bottom.blueF(), 1.0, 1e-3);
    EXPECT_NEAR(dark.bottom.redF(), 0.32, 1e-3);
    EXPECT_LT(dark.top.lightnessF(), dark.bottom.lightnessF());
}

}  // namespace

#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Preferences/GeneralPreferencesPane.h"
#include "Carvex/Preferences/PreferencesWindowController.h"
#include "Carvex/Preferences/SyntaxColorsPreferencesPane.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/AlertPresenter.h"
#include "platform/TestApplication.h"

#include <QAction>
#include <QMainWindow>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace Carvex;
using CarvexPlatform::Settings;
using Controller = PreferencesWindowController;

namespace {

class PreferencesWindowControllerTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }

    // The standard panes over isolated stores.
    std::vector<Controller::PaneConfig> paneConfigs() {
        std::vector<Controller::PaneConfig> configs = Controller::standardPaneConfigs();
        configs[0].makeView = [this] {
            ++made;
            return new GeneralPreferencesPane(editor, completion, IndentationPreferencesStore(settings));
        };
        configs[1].makeView = [this] {
            ++made;
            return new SyntaxColorsPreferencesPane(colors, true);
        };
        return configs;
    }

    // Finishes the running resize at once.
    static void finishAnimation(Controller& controller) {
        if (QPropertyAnimation* animation = controller.frameAnimation()) {
            animation->setCurrentTime(animation->duration());
        }
    }

    std::shared_ptr<Settings> settings = Settings::isolated();
    EditorPreferencesStore editor{settings};
    CompletionPreferencesStore completion{settings};
    SyntaxThemePreferencesStore colors{settings};
    int made = 0;
};

}  // namespace

TEST_F(PreferencesWindowControllerTest, StandardPanesAndToolbar) {
    const auto configs = Controller::standardPaneConfigs();
    ASSERT_EQ(configs.size(), 2u);
    const struct {
        const char* identifier;
        const char* title;
        const char* icon;
    } rows[] = {{"prefs.general", "General", "gearshape"}, {"prefs.syntaxColors", "Syntax Colors", "paintpalette"}};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(configs[i].identifier, rows[i].identifier);
        EXPECT_EQ(configs[i].title, rows[i].title);
        EXPECT_EQ(configs[i].iconName, rows[i].icon);
    }

    Controller controller(paneConfigs());
    EXPECT_EQ(controller.toolbarItemIdentifiers(), (QStringList{"prefs.general", "prefs.syntaxColors"}));
    ASSERT_NE(controller.toolbar(), nullptr);
    EXPECT_EQ(controller.toolbar()->objectName(), "PreferencesToolbar");
    for (const auto& row : rows) {
        QAction* item = controller.toolbarItem(row.identifier);
        ASSERT_NE(item, nullptr) << row.identifier;
        EXPECT_EQ(item->text(), row.title);
        EXPECT_FALSE(item->icon().isNull()) << row.identifier;
    }
    EXPECT_EQ(controller.toolbarItem("prefs.unknown"), nullptr);
    // Opening shows the first pane under its own title.
    EXPECT_EQ(controller.window()->windowTitle(), "General");
    EXPECT_EQ(controller.currentPaneIdentifier(), "prefs.general");
    EXPECT_TRUE(controller.toolbarItem("prefs.general")->isChecked());
    EXPECT_EQ(made, 1);
    EXPECT_EQ(controller.window()->width(), 680);
}

TEST_F(PreferencesWindowControllerTest, SwitchingKeepsTheViewsAndTheTopLeftCorner) {
    Controller controller(paneConfigs());
    QMainWindow* window = controller.window();
    window->move(100, 120);
    const QPoint corner = window->geometry().topLeft();
    const int width = window->width();
    QWidget* general = controller.cachedPane("prefs.general");
    ASSERT_NE(general, nullptr);
    const int generalHeight = window->height();

    controller.toolbarItem("prefs.syntaxColors")->trigger();
    finishAnimation(controller);
    QWidget* colors = controller.cachedPane("prefs.syntaxColors");
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(window->windowTitle(), "Syntax Colors");
    EXPECT_TRUE(controller.toolbarItem("prefs.syntaxColors")->isChecked());
    EXPECT_EQ(window->geometry().topLeft(), corner);
    EXPECT_EQ(window->width(), width);
    EXPECT_GT(window->height(), 440);
    EXPECT_NE(window->height(), generalHeight);
    EXPECT_TRUE(general->isHidden());

    controller.toolbarItem("prefs.general")->trigger();
    finishAnimation(controller);
    EXPECT_EQ(controller.cachedPane("prefs.general"), general);
    EXPECT_EQ(window->windowTitle(), "General");
    EXPECT_EQ(window->geometry().topLeft(), corner);
    EXPECT_EQ(window->height(), generalHeight);
    // Once the resize is over, the user cannot change the size.
    EXPECT_EQ(window->minimumSize(), window->size());
    EXPECT_EQ(window->maximumSize(), window->size());

    controller.showPane("prefs.syntaxColors", false);
    EXPECT_EQ(controller.cachedPane("prefs.syntaxColors"), colors);
    EXPECT_EQ(made, 2);
}

TEST_F(PreferencesWindowControllerTest, ShownOrUnknownPaneChangesNothing) {
    Controller controller(paneConfigs());
    QMainWindow* window = controller.window();
    const QRect frame = window->geometry();
    window->setWindowTitle("Marked");
    controller.toolbarItemClicked("prefs.general");
    controller.showPane("prefs.nothing", true);
    EXPECT_EQ(controller.frameAnimation(), nullptr);
    EXPECT_EQ(window->geometry(), frame);
    EXPECT_EQ(window->windowTitle(), "Marked");
    EXPECT_EQ(controller.currentPaneIdentifier(), "prefs.general");
    EXPECT_EQ(made, 1);
}

TEST_F(PreferencesWindowControllerTest, PaneStateSurvivesSwitchingAndTheResetAlertIsASheet) {
    auto script = std::make_shared<CarvexPlatform::AlertScript>();
    CarvexPlatform::AlertPresenter::shared().setScript(script);
    Controller controller(paneConfigs());
    controller.showPane("prefs.syntaxColors", false);
    auto* colorsPane = static_cast<SyntaxColorsPreferencesPane*>(controller.cachedPane("prefs.syntaxColors"));
    colorsPane->appearanceSegmentButton(1)->click();
    controller.showPane("prefs.general", false);
    controller.showPane("prefs.syntaxColors", false);
    EXPECT_FALSE(colorsPane->isDark());
    script->respond(1);
    colorsPane->resetButton()->click();
    ASSERT_EQ(script->presented().size(), 1u);
    EXPECT_TRUE(script->presented().front().asSheet);
    CarvexPlatform::AlertPresenter::shared().setScript(nullptr);
}

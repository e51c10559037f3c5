#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Preferences/GeneralPreferencesPane.h"
#include "Carvex/Preferences/PreferenceNotifications.h"
#include "platform/NotificationCenter.h"
#include "platform/SystemColor.h"
#include "platform/TestApplication.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <map>

using namespace Carvex;
using CarvexPlatform::Settings;

namespace {

class GeneralPreferencesPaneTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }

    std::unique_ptr<GeneralPreferencesPane> makePane() {
        return std::make_unique<GeneralPreferencesPane>(editor, completion, IndentationPreferencesStore(settings));
    }

    // Counts the notifications of each name posted from now on.
    void record() {
        for (const QString& name : {PreferenceNotifications::editorPreferencesDidChange,
                                    PreferenceNotifications::completionPreferencesDidChange,
                                    PreferenceNotifications::indentationPreferencesDidChange,
                                    PreferenceNotifications::syntaxThemePreferencesDidChange}) {
            observations.push_back(CarvexPlatform::NotificationCenter::defaultCenter().observe(
                name, nullptr, [this](const CarvexPlatform::Notification& note) {
                    EXPECT_EQ(note.sender, nullptr);
                    EXPECT_TRUE(note.userInfo.isEmpty());
                    ++posted[note.name];
                }));
        }
    }

    std::shared_ptr<Settings> settings = Settings::isolated();
    EditorPreferencesStore editor{settings};
    CompletionPreferencesStore completion{settings};
    std::vector<CarvexPlatform::NotificationObservation> observations;
    std::map<QString, int> posted;
};

}  // namespace

TEST_F(GeneralPreferencesPaneTest, ControlsShowTheirTitlesAndTheStoredValues) {
    settings->setBool("editor.showIndentGuides", false);
    settings->setBool("completion.autoCompletionEnabled", true);
    settings->setBool("indentation.useTabKeyForIndent", false);
    settings->setInteger("indentation.spacesWidth", 4);
    const auto pane = makePane();
    const std::pair<QAbstractButton*, std::pair<const char*, bool>> rows[] = {
        {pane->highlightCurrentLineCheckbox(), {"Highlight current line", true}},
        {pane->autoReloadCheckbox(), {"Auto-reload external changes", true}},
        {pane->showIndentGuidesCheckbox(), {"Show indent guides", false}},
        {pane->autoCompletionCheckbox(), {"Auto-completion", true}},
        {pane->directInsertCheckbox(), {"Direct insert single match", true}},
        {pane->inlineSnippetCheckbox(), {"Show inline snippet suggestions", true}},
        {pane->spacesRadio(), {"Spaces", true}},
        {pane->tabsRadio(), {"Tabs", false}},
        {pane->useTabKeyCheckbox(), {"Use Tab key for indent", false}},
    };
    for (const auto& [button, expected] : rows) {
        EXPECT_EQ(button->text(), expected.first);
        EXPECT_EQ(button->isChecked(), expected.second) << expected.first;
    }
    EXPECT_EQ(pane->spacesWidthLabel()->text(), "Width:");
    ASSERT_EQ(pane->spacesWidthPopup()->count(), 3);
    EXPECT_EQ(pane->spacesWidthPopup()->itemText(0), "2");
    EXPECT_EQ(pane->spacesWidthPopup()->itemText(2), "8");
    EXPECT_EQ(pane->spacesWidthPopup()->currentText(), "4");
    EXPECT_TRUE(pane->spacesWidthPopup()->isEnabled());
}

TEST_F(GeneralPreferencesPaneTest, StoredWidthsShowAsTheirChoiceOrTheFirst) {
    const struct {
        std::optional<int> stored;
        const char* shown;
    } rows[] = {{std::nullopt, "2"}, {2, "2"}, {3, "2"}, {4, "4"}, {6, "2"}, {8, "8"}, {16, "2"}};
    for (const auto& row : rows) {
        settings->remove("indentation.spacesWidth");
        if (row.stored) {
            settings->setInteger("indentation.spacesWidth", *row.stored);
        }
        EXPECT_EQ(makePane()->spacesWidthPopup()->currentText(), row.shown) << row.stored.value_or(-1);
    }
}

TEST_F(GeneralPreferencesPaneTest, StoredTabsDisableTheWidth) {
    settings->setBool("indentation.useTabs", true);
    const auto pane = makePane();
    EXPECT_TRUE(pane->tabsRadio()->isChecked());
    EXPECT_FALSE(pane->spacesRadio()->isChecked());
    EXPECT_FALSE(pane->spacesWidthPopup()->isEnabled());
    EXPECT_EQ(pane->spacesWidthLabel()->palette().color(QPalette::WindowText),
              CarvexPlatform::systemColor(CarvexPlatform::SystemColor::disabledControlText));
}

TEST_F(GeneralPreferencesPaneTest, EachCheckboxWritesItsGroupAndPostsOnce) {
    const auto pane = makePane();
    const struct {
        const char* name;
        QCheckBox* box;
        const char* changedKey;
        std::vector<const char*> groupKeys;
        QString notification;
    } rows[] = {
        {"highlight", pane->highlightCurrentLineCheckbox(), "editor.highlightCurrentLine",
         {"editor.highlightCurrentLine", "editor.autoReloadExternallyModifiedDocument", "editor.showIndentGuides"},
         PreferenceNotifications::editorPreferencesDidChange},
        {"indent guides", pane->showIndentGuidesCheckbox(), "editor.showIndentGuides",
         {"editor.highlightCurrentLine", "editor.autoReloadExternallyModifiedDocument", "editor.showIndentGuides"},
         PreferenceNotifications::editorPreferencesDidChange},
        {"auto-completion", pane->autoCompletionCheckbox(), "completion.autoCompletionEnabled",
         {"completion.autoCompletionEnabled", "completion.directInsertSingleMatch",
          "completion.inlineSnippetSuggestions"},
         PreferenceNotifications::completionPreferencesDidChange},
        {"inline snippets", pane->inlineSnippetCheckbox(), "completion.inlineSnippetSuggestions",
         {"completion.autoCompletionEnabled", "completion.directInsertSingleMatch",
          "completion.inlineSnippetSuggestions"},
         PreferenceNotifications::completionPreferencesDidChange},
        {"tab key", pane->useTabKeyCheckbox(), "indentation.useTabKeyForIndent",
         {"indentation.useTabKeyForIndent"}, PreferenceNotifications::indentationPreferencesDidChange},
    };
    for (const auto& row : rows) {
        for (const char* key : row.groupKeys) {
            settings->remove(key);
        }
        record();
        const bool before = row.box->isChecked();
        row.box->click();
        for (const char* key : row.groupKeys) {
            EXPECT_TRUE(settings->contains(key)) << row.name << ": " << key;
        }
        EXPECT_EQ(settings->boolValue(row.changedKey), !before) << row.name;
        EXPECT_EQ(posted, (std::map<QString, int>{{row.notification, 1}})) << row.name;
        observations.clear();
        posted.clear();
    }
    EXPECT_FALSE(editor.showIndentGuides());
    EXPECT_TRUE(editor.autoReloadExternalChanges());
}

TEST_F(GeneralPreferencesPaneTest, TabsRemoveTheWidthAndSpacesStoreThePopupsChoice) {
    const auto pane = makePane();
    record();
    pane->spacesWidthPopup()->setCurrentIndex(2);
    emit pane->spacesWidthPopup()->activated(2);
    EXPECT_FALSE(settings->boolValue("indentation.useTabs"));
    EXPECT_EQ(settings->integerValue("indentation.spacesWidth"), 8);

    pane->tabsRadio()->click();
    EXPECT_TRUE(settings->boolValue("indentation.useTabs"));
    EXPECT_FALSE(settings->contains("indentation.spacesWidth"));
    EXPECT_FALSE(pane->spacesRadio()->isChecked());
    EXPECT_FALSE(pane->spacesWidthPopup()->isEnabled());

    // Clicking the button already on keeps it on and stores the same.
    pane->tabsRadio()->click();
    EXPECT_TRUE(pane->tabsRadio()->isChecked());
    EXPECT_TRUE(settings->boolValue("indentation.useTabs"));

    pane->spacesRadio()->click();
    EXPECT_TRUE(pane->spacesRadio()->isChecked());
    EXPECT_FALSE(pane->tabsRadio()->isChecked());
    EXPECT_TRUE(pane->spacesWidthPopup()->isEnabled());
    EXPECT_EQ(settings->object("indentation.useTabs").value_or(true).toBool(), false);
    EXPECT_EQ(settings->integerValue("indentation.spacesWidth"), 8);
    EXPECT_EQ(IndentationPreferencesStore(settings).indentationStyle(), IndentationStyle::spaces(8));
    EXPECT_EQ(posted, (std::map<QString, int>{{PreferenceNotifications::indentationPreferencesDidChange, 4}}));
}

TEST_F(GeneralPreferencesPaneTest, StoredOddWidthIsOverwrittenByTheNextChange) {
    settings->setInteger("indentation.spacesWidth", 3);
    const auto pane = makePane();
    EXPECT_EQ(settings->integerValue("indentation.spacesWidth"), 3);  // loading writes nothing
    pane->spacesRadio()->click();
    EXPECT_EQ(settings->integerValue("indentation.spacesWidth"), 2);
}

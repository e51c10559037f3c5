#include "Carvex/Preferences/CompletionPreferencesStore.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

using namespace Carvex;
using CarvexPlatform::Settings;

class PreferencesStoreTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
    std::shared_ptr<Settings> settings = Settings::isolated();
    EditorPreferencesStore editor{settings};
    CompletionPreferencesStore completion{settings};
};

TEST_F(PreferencesStoreTest, DefaultsWhenNothingIsStored) {
    EXPECT_TRUE(editor.highlightCurrentLine());
    EXPECT_TRUE(editor.autoReloadExternalChanges());
    EXPECT_TRUE(editor.showIndentGuides());
    EXPECT_FALSE(completion.isAutoCompletionEnabled());
    EXPECT_TRUE(completion.isDirectInsertEnabled());
    EXPECT_TRUE(completion.isInlineSnippetEnabled());
}

TEST_F(PreferencesStoreTest, StoredValuesWinOverDefaultsUnderTheirKeys) {
    completion.setDirectInsertEnabled(false);
    completion.setAutoCompletionEnabled(true);
    editor.setAutoReloadExternalChanges(false);
    EXPECT_FALSE(completion.isDirectInsertEnabled());
    EXPECT_TRUE(completion.isAutoCompletionEnabled());
    EXPECT_FALSE(editor.autoReloadExternalChanges());
    EXPECT_TRUE(settings->contains("completion.directInsertSingleMatch"));
    EXPECT_TRUE(settings->contains("editor.autoReloadExternallyModifiedDocument"));
    EXPECT_FALSE(settings->boolValue("completion.directInsertSingleMatch"));
    EXPECT_FALSE(EditorPreferencesStore(settings).autoReloadExternalChanges());  // another store, same settings
    EXPECT_EQ(EditorPreferencesStore::shared().defaults(), Settings::standard());
}

TEST_F(PreferencesStoreTest, ResetRestoresDefaultsOfItsOwnKeysOnly) {
    editor.setShowIndentGuides(false);
    editor.setHighlightCurrentLine(false);
    completion.setInlineSnippetEnabled(false);
    editor.reset();
    EXPECT_TRUE(editor.showIndentGuides());
    EXPECT_TRUE(editor.highlightCurrentLine());
    EXPECT_FALSE(completion.isInlineSnippetEnabled());
    editor.setShowIndentGuides(false);
    completion.reset();
    EXPECT_TRUE(completion.isInlineSnippetEnabled());
    EXPECT_FALSE(editor.showIndentGuides());
}

TEST_F(PreferencesStoreTest, NonBooleanValuesReadByTheirBooleanConversion) {
    settings->setValue("editor.highlightCurrentLine", QStringLiteral("NO"));
    settings->setInteger("completion.autoCompletionEnabled", 5);
    EXPECT_FALSE(editor.highlightCurrentLine());
    EXPECT_TRUE(completion.isAutoCompletionEnabled());
}

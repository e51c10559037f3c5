#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"

#include "Carvex/Syntax/SyntaxThemeDefaults.h"

#include "platform/TestApplication.h"

#include <gtest/gtest.h>

using namespace Carvex;
using CarvexPlatform::Settings;
using K = SyntaxThemePreferenceKey;
using T = SyntaxTokenType;

namespace {

class SyntaxThemePreferencesStoreTest : public testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }

    static QColor foreground(const SyntaxTheme& theme, T type) { return theme.attributes(type).foreground().color(); }
    static QColor builtIn(K key, bool isDark) { return SyntaxThemeDefaults::defaultColor(key, isDark).resolved(isDark); }
    // Gives every key and appearance a colour of its own, so that a mix-up of keys shows.
    void storeDistinctColors() {
        for (std::size_t i = 0; i < allSyntaxThemePreferenceKeys.size(); ++i) {
            for (bool isDark : {true, false})
                store.setColor(distinctColor(i, isDark), allSyntaxThemePreferenceKeys[i], isDark);
        }
    }
    static QColor distinctColor(std::size_t index, bool isDark) {
        return QColor::fromRgba64(quint16(1000 + index), quint16(isDark ? 7 : 9), quint16(65535 - index), 65535);
    }

    std::shared_ptr<Settings> settings = Settings::isolated();
    SyntaxThemePreferencesStore store{settings};
};

TEST_F(SyntaxThemePreferencesStoreTest, emptySettingsGiveTheBuiltInThemes)
{
    EXPECT_EQ(store.buildTheme(true), SyntaxTheme::darkDefault());
    EXPECT_EQ(store.buildTheme(false), SyntaxTheme::lightDefault());
    EXPECT_FALSE(SyntaxTheme::darkDefault() == SyntaxTheme::lightDefault());
    for (K key : allSyntaxThemePreferenceKeys) {
        for (bool isDark : {true, false}) {
            EXPECT_FALSE(store.isCustomized(key, isDark)) << rawValue(key);
            EXPECT_EQ(store.color(key, isDark), builtIn(key, isDark)) << rawValue(key);
        }
    }
}

TEST_F(SyntaxThemePreferencesStoreTest, everyStoredColourReadsBackExactlyUnderItsOwnKey)
{
    EXPECT_EQ(store.settingsKey(K::stringColor, true), "syntaxTheme.stringColor.dark");
    EXPECT_EQ(store.settingsKey(K::tabButtonInactiveText, false), "syntaxTheme.tabButtonInactiveText.light");
    store.setColor(QColor(), K::linkColor, false);  // an invalid colour is not stored
    EXPECT_FALSE(store.isCustomized(K::linkColor, false));
    storeDistinctColors();
    const SyntaxThemePreferencesStore other(settings);  // a second store over the same settings
    for (std::size_t i = 0; i < allSyntaxThemePreferenceKeys.size(); ++i) {
        const K key = allSyntaxThemePreferenceKeys[i];
        for (bool isDark : {true, false}) {
            EXPECT_TRUE(other.isCustomized(key, isDark)) << rawValue(key);
            EXPECT_EQ(other.color(key, isDark), distinctColor(i, isDark)) << rawValue(key) << " dark " << isDark;
        }
    }
}

TEST_F(SyntaxThemePreferencesStoreTest, keyColourPaintsBothKeyKindsOfItsAppearanceOnly)
{
    const QColor chosen = QColor::fromRgbF(0.1f, 0.2f, 0.3f);
    store.setColor(chosen, K::keyColor, true);
    const SyntaxTheme dark = store.buildTheme(true);
    EXPECT_EQ(foreground(dark, T::key), chosen);
    EXPECT_EQ(foreground(dark, T::jsonKey), chosen);
    EXPECT_EQ(foreground(dark, T::string), foreground(SyntaxTheme::darkDefault(), T::string));
    EXPECT_EQ(store.buildTheme(false), SyntaxTheme::lightDefault());
}

TEST_F(SyntaxThemePreferencesStoreTest, unreadableValuesMeanTheBuiltInColourButCountAsCustomized)
{
    const struct {
        const char* name;
        K key;
        QVariant value;
    } rows[] = {
        {"garbage_bytes", K::numberColor, QByteArray("\x00\x01garbage", 9)},
        {"text", K::stringColor, QStringLiteral("#ff0000")},
        {"integer", K::commentColor, 16711680},
        {"empty_data", K::nullColor, QByteArray()},
    };
    for (const auto& row : rows) {
        settings->setValue(store.settingsKey(row.key, true), row.value);
        EXPECT_EQ(store.color(row.key, true), builtIn(row.key, true)) << row.name;
        EXPECT_TRUE(store.isCustomized(row.key, true)) << row.name;
        EXPECT_FALSE(store.isCustomized(row.key, false)) << row.name;
    }
    EXPECT_EQ(store.buildTheme(true), SyntaxTheme::darkDefault());
}

TEST_F(SyntaxThemePreferencesStoreTest, resetsRemoveColoursAndNothingElse)
{
    store.setColor(Qt::red, K::indicatorColor, true);
    store.setColor(Qt::green, K::indicatorColor, false);
    store.setColor(Qt::blue, K::commentColor, true);
    store.resetColor(K::indicatorColor, true);  // one appearance of one key
    EXPECT_FALSE(store.isCustomized(K::indicatorColor, true));
    EXPECT_EQ(store.color(K::indicatorColor, true), SyntaxThemeDefaults::darkIndicator().resolved(true));
    EXPECT_EQ(store.color(K::indicatorColor, false), QColor(Qt::green));
    EXPECT_EQ(store.color(K::commentColor, true), QColor(Qt::blue));

    storeDistinctColors();
    settings->setBool(QStringLiteral("editor.showIndentGuides"), false);
    store.resetAllColors();
    for (K key : allSyntaxThemePreferenceKeys) {
        EXPECT_FALSE(store.isCustomized(key, true)) << rawValue(key);
        EXPECT_FALSE(store.isCustomized(key, false)) << rawValue(key);
    }
    EXPECT_TRUE(settings->contains(QStringLiteral("editor.showIndentGuides")));
    EXPECT_EQ(store.buildTheme(true), SyntaxTheme::darkDefault());
}

} // namespace

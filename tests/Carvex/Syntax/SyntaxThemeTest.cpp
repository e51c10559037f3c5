#include "Carvex/Syntax/SyntaxTheme.h"

#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"

#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <set>

using namespace Carvex;
using K = SyntaxThemePreferenceKey;
using T = SyntaxTokenType;

namespace {

class SyntaxThemeTest : public testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
};

TEST_F(SyntaxThemeTest, builtInThemesHoldFontAndForegroundForEveryKind)
{
    for (const SyntaxTheme* theme : {&SyntaxTheme::darkDefault(), &SyntaxTheme::lightDefault()}) {
        EXPECT_EQ(theme->attributes().size(), allSyntaxTokenTypes.size());
        for (T type : allSyntaxTokenTypes) {
            const QTextCharFormat& format = theme->attributes(type);
            EXPECT_EQ(format.font(), SyntaxTheme::editorFont()) << rawValue(type);
            EXPECT_TRUE(format.hasProperty(QTextFormat::ForegroundBrush)) << rawValue(type);
            EXPECT_FALSE(format.hasProperty(QTextFormat::BackgroundBrush)) << rawValue(type);
        }
        EXPECT_EQ(theme->attributes(T::unknown), theme->defaultAttributes());
        EXPECT_EQ(theme->attributes(T::key), theme->attributes(T::jsonKey));
    }
    const QFont font = SyntaxTheme::editorFont();  // thirteen-point regular
    EXPECT_EQ(font.pointSizeF(), 13.0);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());
}

TEST_F(SyntaxThemeTest, missingEntryFallsBackToDefaultAttributes)
{
    QTextCharFormat defaults;
    defaults.setForeground(Qt::gray);
    QTextCharFormat strings;
    strings.setForeground(Qt::magenta);
    const SyntaxTheme theme({{T::string, strings}}, defaults);
    EXPECT_EQ(theme.attributes(T::string), strings);
    EXPECT_EQ(theme.attributes(T::number), defaults);
    EXPECT_EQ(theme.attributes(T::unknown), defaults);
}

TEST(SyntaxThemePreferenceKey, namesKindsAndRawValues)
{
    std::set<QString> names;
    std::size_t tokenKeys = 0;
    for (K key : allSyntaxThemePreferenceKeys) {
        EXPECT_TRUE(rawValue(key).starts_with("syntaxTheme.")) << rawValue(key);
        EXPECT_EQ(VoziZazIreCore::fromRawValue<K>(rawValue(key)), key);
        EXPECT_FALSE(displayName(key).isEmpty());
        names.insert(displayName(key));
        tokenKeys += tokenType(key).has_value() ? 1 : 0;
    }
    EXPECT_EQ(names.size(), allSyntaxThemePreferenceKeys.size());  // display names are distinct
    EXPECT_EQ(tokenKeys, 8u);
    EXPECT_EQ(tokenType(K::keyColor), T::key);
    for (const char* other : {"stringColor", "syntaxTheme.StringColor", "syntaxTheme.stringColor.dark", ""})
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<K>(other).has_value()) << other;
}

} // namespace

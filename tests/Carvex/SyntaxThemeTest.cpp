#include "Carvex/SyntaxTheme.h"

#include "Carvex/SyntaxThemeDefaults.h"

#include "platform/SystemColor.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <set>

using namespace Carvex;
using CarvexPlatform::SystemColor;
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
}

TEST_F(SyntaxThemeTest, editorFontIsThirteenPointRegular)
{
    const QFont font = SyntaxTheme::editorFont();
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

TEST_F(SyntaxThemeTest, builtInColoursFollowTheTable)
{
    const auto rgb = [](double r, double g, double b) { return CarvexPlatform::DynamicColor::rgb(r, g, b).resolved(true); };
    const struct {
        K key;
        bool isDark;
        QColor expected;
    } rows[] = {
        {K::stringColor, true, rgb(0.82, 0.51, 0.93)},
        {K::stringColor, false, rgb(0.5, 0.08, 0.57)},
        {K::numberColor, false, rgb(0.07, 0.0, 0.67)},
        {K::keyColor, true, rgb(0.35, 0.82, 0.8)},
        {K::indicatorColor, false, rgb(0.48, 0.33, 0.0)},
        {K::snippetTextColor, true, rgb(0.99, 0.85, 0.4)},
        {K::placeholderActiveBorder, false, rgb(0.2, 0.4, 0.8)},
        {K::ghostTextColor, true, QColor::fromRgbF(0.6f, 0.6f, 0.6f, 0.7f)},
        {K::placeholderInactiveBackground, false, QColor::fromRgbF(0.92f, 0.92f, 0.92f, 1.0f)},
        {K::defaultColor, true, CarvexPlatform::systemColor(SystemColor::text, true)},
        {K::defaultColor, false, CarvexPlatform::systemColor(SystemColor::text, false)},
        {K::snippetInputTextColor, true, CarvexPlatform::systemColor(SystemColor::white, true)},
        {K::snippetInputTextColor, false, CarvexPlatform::systemColor(SystemColor::black, false)},
        {K::tabButtonInactiveText, false, CarvexPlatform::systemColor(SystemColor::secondaryLabel, false)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SyntaxThemeDefaults::defaultColor(row.key, row.isDark).resolved(row.isDark), row.expected)
            << rawValue(row.key) << (row.isDark ? " dark" : " light");
    }
    // The accent background is the accent colour with its alpha scaled to 15 %.
    const QColor accent = CarvexPlatform::systemColor(SystemColor::controlAccent, true);
    const QColor background = SyntaxThemeDefaults::darkTabButtonActiveBackground().resolved(true);
    EXPECT_EQ(background.rgb(), accent.rgb());
    EXPECT_NEAR(background.alphaF(), accent.alphaF() * 0.15, 1e-3);
    // Named colours stay dynamic; the constants are created once.
    EXPECT_TRUE(SyntaxThemeDefaults::lightLink().isSystem());
    EXPECT_EQ(&SyntaxThemeDefaults::darkString(), &SyntaxThemeDefaults::defaultColor(K::stringColor, true));
}

TEST(SyntaxThemePreferenceKey, namesKindsAndRawValues)
{
    EXPECT_EQ(allSyntaxThemePreferenceKeys.size(), 23u);
    std::set<QString> names;
    std::size_t tokenKeys = 0;
    for (K key : allSyntaxThemePreferenceKeys) {
        EXPECT_TRUE(rawValue(key).starts_with("syntaxTheme.")) << rawValue(key);
        EXPECT_EQ(VoziZazIreCore::fromRawValue<K>(rawValue(key)), key);
        EXPECT_FALSE(displayName(key).isEmpty());
        names.insert(displayName(key));
        tokenKeys += tokenType(key).has_value() ? 1 : 0;
    }
    EXPECT_EQ(names.size(), 23u);
    EXPECT_EQ(tokenKeys, 8u);
    EXPECT_EQ(rawValue(K::placeholderActiveBackground), "syntaxTheme.placeholderActiveBackground");
    EXPECT_EQ(displayName(K::linkColor), "Links ($ref)");
    EXPECT_EQ(displayName(K::defaultColor), "Default Text");
    EXPECT_EQ(tokenType(K::keyColor), T::key);
    EXPECT_EQ(tokenType(K::nullColor), T::null);
    EXPECT_FALSE(tokenType(K::linkColor).has_value());
    for (const char* other : {"stringColor", "syntaxTheme.StringColor", "syntaxTheme.stringColor.dark", ""})
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<K>(other).has_value()) << other;
}

} // namespace

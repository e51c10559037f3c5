#include "Carvex/Snippets/SnippetPreview.h"

#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetricsF>

using namespace Carvex;

namespace {

const QColor kJSONKey(200, 10, 10);
const QColor kYAMLKey(10, 200, 10);
const QColor kInput(18, 52, 86);
const QColor kThemeDefault(1, 2, 3);

QTextCharFormat withForeground(const QColor& colour) {
    QTextCharFormat format;
    format.setForeground(colour);
    return format;
}

// Key kinds told apart, strings given an entry without a colour, numbers left to the defaults.
SyntaxTheme testTheme() {
    return SyntaxTheme({{SyntaxTokenType::jsonKey, withForeground(kJSONKey)},
                        {SyntaxTokenType::key, withForeground(kYAMLKey)},
                        {SyntaxTokenType::string, QTextCharFormat()}},
                       withForeground(kThemeDefault));
}

// The format at `position` after laying the ranges over each other in order.
QTextCharFormat formatAt(const SnippetPreview& preview, qsizetype position) {
    QTextCharFormat merged;
    for (const QTextLayout::FormatRange& range : preview.formats) {
        if (range.start <= position && position < range.start + range.length) merged.merge(range.format);
    }
    return merged;
}

class SnippetPreviewTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
};

struct PreviewRow {
    const char* name;
    QString templateText;
    bool isDark;
    QString text;
    QString keyText;        // coloured as a key
    QColor keyColour;
    QString defaultText;    // underlined in the input colour
    QString plainText;      // left in the base colour
};


TEST_F(SnippetPreviewTest, StripsFieldsAndLayersColours) {
    const PreviewRow rows[] = {
        {"yaml summary, light", "summary: ${1:Get items}", false, "summary: Get items", "summary", kYAMLKey,
         "Get items", " "},
        {"yaml summary, dark", "summary: ${1:Get items}", true, "summary: Get items", "summary", kYAMLKey, "Get items",
         " "},
        {"json takes the json lexer", " {\n  \"name\": \"${1:pet}\"\n}", false, " {\n  \"name\": \"pet\"\n}", "\"name\"",
         kJSONKey, "pet", " "},
        {"a string entry without colour leaves the base", "\"a\": \"${2:x}\" ", false, "\"a\": \"x\" ", "\"a\"", kJSONKey,
         "x", "\"x\""},
    };
    for (const PreviewRow& row : rows) {
        const SnippetPreview preview = makeSnippetPreview(row.templateText, row.isDark, testTheme(), kInput);
        ASSERT_EQ(preview.text, row.text) << row.name;
        const QColor base = row.isDark ? QColor(Qt::white) : QColor(Qt::black);
        ASSERT_FALSE(preview.formats.isEmpty()) << row.name;
        EXPECT_EQ(preview.formats.front().start, 0) << row.name;
        EXPECT_EQ(preview.formats.front().length, preview.text.size()) << row.name;

        const QTextCharFormat key = formatAt(preview, preview.text.indexOf(row.keyText) + 1);
        EXPECT_EQ(key.foreground().color(), row.keyColour) << row.name;
        EXPECT_FALSE(key.fontUnderline()) << row.name;
        EXPECT_EQ(key.font().pointSizeF(), 11) << row.name;
        // The system's fixed-width font is asked for; whether the machine calls the font it finds fixed
        // pitch varies (fontconfig's monospace may be one Qt reports as proportional), its advances don't.
        EXPECT_EQ(key.font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family()) << row.name;
        const QFontMetricsF metrics(key.font());
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('M'))) << row.name;

        const qsizetype start = preview.text.lastIndexOf(row.defaultText);
        for (qsizetype i = start; i < start + row.defaultText.size(); ++i) {
            const QTextCharFormat at = formatAt(preview, i);
            EXPECT_EQ(at.foreground().color(), kInput) << row.name << " at " << i;
            EXPECT_EQ(at.underlineStyle(), QTextCharFormat::SingleUnderline) << row.name << " at " << i;
        }
        EXPECT_FALSE(formatAt(preview, start - 1).fontUnderline()) << row.name;
        EXPECT_FALSE(formatAt(preview, start + row.defaultText.size()).fontUnderline()) << row.name;

        EXPECT_EQ(formatAt(preview, preview.text.indexOf(row.plainText)).foreground().color(), base) << row.name;
        // A kind without an entry (the colon) takes the theme's default colour.
        EXPECT_EQ(formatAt(preview, preview.text.indexOf(u':')).foreground().color(), kThemeDefault) << row.name;
    }
}

TEST_F(SnippetPreviewTest, ThemeFromTheSharedStoreAndBadFields) {
    const SnippetPreview preview = makeSnippetPreview(QStringLiteral("a: ${1:}${x:y}${1:b"), false);
    EXPECT_EQ(preview.text, QStringLiteral("a: ${1:}${x:y}${1:b"));
    EXPECT_EQ(preview.formats.front().length, preview.text.size());
    for (const QTextLayout::FormatRange& range : preview.formats) EXPECT_FALSE(range.format.fontUnderline());
}

}  // namespace

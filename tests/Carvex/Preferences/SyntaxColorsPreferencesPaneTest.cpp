#include "Carvex/Preferences/PreferenceNotifications.h"
#include "Carvex/Preferences/SyntaxColorsPreferencesPane.h"
#include "Carvex/Syntax/JSONLexer.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/Syntax/YAMLLexer.h"
#include "platform/AlertPresenter.h"
#include "platform/ColorWell.h"
#include "platform/NotificationCenter.h"
#include "platform/TestApplication.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace Carvex;
using CarvexPlatform::Settings;
using K = SyntaxThemePreferenceKey;

namespace {

class SyntaxColorsPreferencesPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        CarvexPlatform::AlertPresenter::shared().setScript(script);
        observation = CarvexPlatform::NotificationCenter::defaultCenter().observe(
            PreferenceNotifications::syntaxThemePreferencesDidChange, nullptr,
            [this](const CarvexPlatform::Notification& note) {
                EXPECT_EQ(note.sender, nullptr);
                ++posted;
            });
    }
    void TearDown() override { CarvexPlatform::AlertPresenter::shared().setScript(nullptr); }

    int storedKeyCount() const {
        int count = 0;
        for (const K key : allSyntaxThemePreferenceKeys) {
            for (const bool isDark : {true, false}) {
                count += settings->contains(store.settingsKey(key, isDark)) ? 1 : 0;
            }
        }
        return count;
    }

    // Every character of the preview: its colour must be the theme's for its token and its font
    // 12 points.
    static void expectColoured(QTextEdit* view, const QString& sample, const SyntaxLexer& lexer,
                               const SyntaxTheme& theme, const char* name) {
        ASSERT_EQ(view->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n'), sample) << name;
        std::vector<QColor> expected(sample.size(), theme.defaultAttributes().foreground().color());
        for (const SyntaxToken& token : lexer.tokenize(sample)) {
            for (qsizetype i = token.range.location; i < token.range.location + token.range.length; ++i) {
                expected[i] = theme.attributes(token.type).foreground().color();
            }
        }
        int checked = 0;
        for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                EXPECT_EQ(fragment.charFormat().font().pointSizeF(), 12) << name;
                for (int i = 0; i < fragment.length(); ++i) {
                    const int position = fragment.position() + i;
                    EXPECT_EQ(fragment.charFormat().foreground().color(), expected[position])
                        << name << " at " << position;
                    ++checked;
                }
            }
        }
        EXPECT_EQ(checked + view->document()->blockCount() - 1, sample.size()) << name;
    }

    std::shared_ptr<Settings> settings = Settings::isolated();
    SyntaxThemePreferencesStore store{settings};
    std::shared_ptr<CarvexPlatform::AlertScript> script = std::make_shared<CarvexPlatform::AlertScript>();
    CarvexPlatform::NotificationObservation observation;
    int posted = 0;
};

}  // namespace

TEST_F(SyntaxColorsPreferencesPaneTest, ShowsTwoSectionsOfFourteenWellsAndTheSegment) {
    SyntaxColorsPreferencesPane pane(store, true);
    const auto& sections = SyntaxColorsPreferencesPane::colorSections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].title, "Token Colors");
    EXPECT_EQ(sections[1].title, "Editor Colors");
    EXPECT_EQ(sections[0].keys.size() + sections[1].keys.size(), 14u);
    EXPECT_EQ(pane.colorWells().size(), 14u);
    for (const K hidden : {K::placeholderActiveBackground, K::placeholderInactiveText, K::tabButtonActiveText}) {
        EXPECT_EQ(pane.colorWell(hidden), nullptr);
    }
    EXPECT_EQ(pane.appearanceSegmentButton(0)->text(), "Dark");
    EXPECT_EQ(pane.appearanceSegmentButton(1)->text(), "Light");
    EXPECT_EQ(pane.selectedAppearanceSegment(), 0);
    EXPECT_EQ(pane.resetButton()->text(), "Reset to Defaults");
    EXPECT_EQ(pane.previewTabView()->tabText(0), "JSON");
    EXPECT_EQ(pane.previewTabView()->tabText(1), "YAML");
    EXPECT_EQ(SyntaxColorsPreferencesPane(store, false).selectedAppearanceSegment(), 1);
}

TEST_F(SyntaxColorsPreferencesPaneTest, PreviewsColourTheSamplesByTheLexersAtTwelvePoints) {
    store.setColor(QColor(200, 10, 10), K::stringColor, true);
    store.setColor(QColor(10, 200, 10), K::keyColor, false);
    for (const bool isDark : {true, false}) {
        SyntaxColorsPreferencesPane pane(store, isDark);
        const SyntaxTheme theme = store.buildTheme(isDark);
        expectColoured(pane.jsonPreviewTextView(), SyntaxColorsPreferencesPane::jsonSample, JSONLexer(), theme, "json");
        expectColoured(pane.yamlPreviewTextView(), SyntaxColorsPreferencesPane::yamlSample, YAMLLexer(), theme, "yaml");
        const QColor background = pane.jsonPreviewTextView()->viewport()->palette().color(QPalette::Base);
        EXPECT_EQ(background, isDark ? QColor::fromRgbF(0.12f, 0.12f, 0.14f) : QColor(Qt::white));
    }
    EXPECT_TRUE(SyntaxColorsPreferencesPane::jsonSample.startsWith("{\n  \"title\": \"Pet Store API\""));
    EXPECT_TRUE(SyntaxColorsPreferencesPane::yamlSample.endsWith("paths:\n  /pets: {}"));
}

TEST_F(SyntaxColorsPreferencesPaneTest, LightColourWritesOnlyItsLightKeyAndPostsOnce) {
    SyntaxColorsPreferencesPane pane(store, true);
    const QColor darkBefore = pane.colorWell(K::numberColor)->color();
    pane.appearanceSegmentButton(1)->click();
    EXPECT_FALSE(pane.isDark());
    EXPECT_EQ(posted, 0);
    EXPECT_EQ(pane.colorWell(K::numberColor)->color(), store.color(K::numberColor, false));

    const QColor picked(1, 2, 3);
    pane.colorWell(K::numberColor)->pickColor(picked);
    EXPECT_EQ(posted, 1);
    EXPECT_TRUE(settings->contains("syntaxTheme.numberColor.light"));
    EXPECT_FALSE(settings->contains("syntaxTheme.numberColor.dark"));
    EXPECT_EQ(storedKeyCount(), 1);
    EXPECT_EQ(store.color(K::numberColor, false), picked);
    // The preview follows at once.
    const QTextEdit* json = pane.jsonPreviewTextView();
    const int number = static_cast<int>(SyntaxColorsPreferencesPane::jsonSample.indexOf("42"));
    QTextCursor cursor(json->document());
    cursor.setPosition(number + 1);
    EXPECT_EQ(cursor.charFormat().foreground().color(), picked);

    pane.appearanceSegmentButton(0)->click();
    EXPECT_EQ(pane.colorWell(K::numberColor)->color(), darkBefore);
    EXPECT_EQ(posted, 1);
}

TEST_F(SyntaxColorsPreferencesPaneTest, ResetAsksAndOnlyTheConfirmationClearsAllKeys) {
    for (const K key : allSyntaxThemePreferenceKeys) {
        store.setColor(QColor(9, 9, 9), key, true);
        store.setColor(QColor(8, 8, 8), key, false);
    }
    ASSERT_EQ(storedKeyCount(), 46);
    SyntaxColorsPreferencesPane pane(store, true);
    EXPECT_EQ(pane.colorWell(K::linkColor)->color(), QColor(9, 9, 9));

    script->respond(1);  // Cancel
    pane.resetButton()->click();
    EXPECT_EQ(storedKeyCount(), 46);
    EXPECT_EQ(posted, 0);

    script->respond(0);  // Reset
    pane.resetButton()->click();
    EXPECT_EQ(storedKeyCount(), 0);
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(pane.colorWell(K::linkColor)->color(), store.color(K::linkColor, true));
    EXPECT_NE(pane.colorWell(K::linkColor)->color(), QColor(9, 9, 9));

    ASSERT_EQ(script->presented().size(), 2u);
    const auto& alert = script->presented().front().alert;
    EXPECT_EQ(alert.style, CarvexPlatform::AlertStyle::warning);
    EXPECT_EQ(alert.messageText, "Reset Syntax Colors");
    EXPECT_EQ(alert.informativeText,
              "This will reset all syntax colors to their default values for both dark and light appearances.");
    EXPECT_EQ(alert.buttons, (QStringList{"Reset", "Cancel"}));
    EXPECT_FALSE(script->presented().front().asSheet);  // the pane is in no window
}

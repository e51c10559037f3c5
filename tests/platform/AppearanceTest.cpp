#include "platform/Appearance.h"
#include "platform/DynamicColor.h"
#include "platform/SystemColor.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

using namespace CarvexPlatform;

class AppearanceTest : public ::testing::Test {
protected:
    void SetUp() override { TestApplication::ensure(); }
    void TearDown() override { Appearance::shared().setOverride(std::nullopt); }
};

TEST_F(AppearanceTest, OverrideDecidesAndAnnouncesTheChange) {
    auto& appearance = Appearance::shared();
    appearance.setOverride(false);
    std::vector<bool> seen;
    auto connection = QObject::connect(&appearance, &Appearance::changed,
                                       [&](bool dark) { seen.push_back(dark); });
    appearance.setOverride(true);
    appearance.setOverride(true);  // no change, no announcement
    appearance.setOverride(false);
    QObject::disconnect(connection);
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    // A named colour follows the current appearance.
    const DynamicColor text(SystemColor::text);
    EXPECT_EQ(text.resolved(), systemColor(SystemColor::text, false));
    appearance.setOverride(true);
    EXPECT_EQ(text.resolved(), systemColor(SystemColor::text, true));
}

TEST_F(AppearanceTest, DarkPaletteMeansDarkAppearance) {
    auto& appearance = Appearance::shared();
    const QPalette original = QApplication::palette();
    std::vector<bool> seen;
    auto connection = QObject::connect(&appearance, &Appearance::changed,
                                       [&](bool dark) { seen.push_back(dark); });
    QPalette dark = original;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    QApplication::setPalette(dark);
    EXPECT_TRUE(appearance.isDark());
    QPalette light = original;
    light.setColor(QPalette::Window, QColor(240, 240, 240));
    QApplication::setPalette(light);
    EXPECT_FALSE(appearance.isDark());
    QApplication::setPalette(original);
    QObject::disconnect(connection);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(seen[seen.size() - 2]);
    EXPECT_FALSE(seen.back());
}

TEST_F(AppearanceTest, SystemColoursDifferByAppearance) {
    for (SystemColor c : {SystemColor::label, SystemColor::secondaryLabel, SystemColor::link,
                          SystemColor::systemRed, SystemColor::systemBlue, SystemColor::text}) {
        EXPECT_NE(systemColor(c, true), systemColor(c, false)) << systemColorName(c);
    }
    EXPECT_EQ(systemColor(SystemColor::white, true), systemColor(SystemColor::white, false));
}

TEST_F(AppearanceTest, AlphaComponentScalesNamedColoursAndReplacesFixedOnes) {
    const DynamicColor accent = DynamicColor(SystemColor::controlAccent).withAlphaComponent(0.15);
    EXPECT_NEAR(accent.resolved(false).alphaF(), 0.15, 0.01);
    EXPECT_EQ(accent.systemColor(), SystemColor::controlAccent);
    const DynamicColor grey = DynamicColor::white(0.6, 0.7);
    EXPECT_NEAR(grey.resolved(true).alphaF(), 0.7, 0.01);
    EXPECT_NEAR(grey.withAlphaComponent(0.2).resolved(true).alphaF(), 0.2, 0.01);
    EXPECT_EQ(grey.resolved(true), grey.resolved(false));
}

TEST_F(AppearanceTest, named_colour_with_alpha_component_replaces_its_alpha) {
    // The separator has an alpha of its own; "separator at alpha 0.15" means 0.15, not 0.015.
    const DynamicColor guide = DynamicColor(SystemColor::separator).withAlphaComponent(0.15);
    EXPECT_NEAR(guide.resolved(false).alphaF(), 0.15, 0.01);
    EXPECT_NEAR(guide.resolved(true).alphaF(), 0.15, 0.01);
    EXPECT_NEAR(DynamicColor(SystemColor::separator, 0.5).resolved(false).alphaF(), 0.05, 0.01);
}

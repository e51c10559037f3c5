#pragma once
#include <QColor>
#include <string_view>

namespace CarvexPlatform {

// The named system colours the application draws with. Each has a light and a dark value; the
// values follow the desktop conventions the application was designed against.
enum class SystemColor {
    label,
    secondaryLabel,
    tertiaryLabel,
    quaternaryLabel,
    text,
    textBackground,
    windowBackground,
    controlBackground,
    controlText,
    disabledControlText,
    separator,
    link,
    controlAccent,
    selectedTextBackground,
    white,
    black,
    clear,
    systemRed,
    systemOrange,
    systemYellow,
    systemGreen,
    systemMint,
    systemTeal,
    systemCyan,
    systemBlue,
    systemIndigo,
    systemPurple,
    systemPink,
    systemBrown,
    systemGray,
};

// The colour of `color` in the dark or the light appearance.
QColor systemColor(SystemColor color, bool isDark);

// The colour of `color` in the application's current appearance (`Appearance::shared()`).
QColor systemColor(SystemColor color);

// The platform name of the colour ("labelColor", "systemRedColor", ...).
std::string_view systemColorName(SystemColor color);

}  // namespace CarvexPlatform

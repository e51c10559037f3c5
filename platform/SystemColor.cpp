#include "platform/SystemColor.h"

#include "platform/Appearance.h"

namespace CarvexPlatform {

namespace {

struct ColorPair {
    QColor light;
    QColor dark;
};

QColor rgb(int r, int g, int b, double alpha = 1.0) {
    QColor c(r, g, b);
    c.setAlphaF(static_cast<float>(alpha));
    return c;
}

QColor grey(double white, double alpha) {
    QColor c;
    c.setRgbF(static_cast<float>(white), static_cast<float>(white), static_cast<float>(white),
              static_cast<float>(alpha));
    return c;
}

ColorPair pairFor(SystemColor color) {
    switch (color) {
        case SystemColor::label: return {grey(0, 0.85), grey(1, 0.85)};
        case SystemColor::secondaryLabel: return {grey(0, 0.5), grey(1, 0.55)};
        case SystemColor::tertiaryLabel: return {grey(0, 0.26), grey(1, 0.25)};
        case SystemColor::quaternaryLabel: return {grey(0, 0.1), grey(1, 0.1)};
        case SystemColor::text: return {grey(0, 1), grey(1, 1)};
        case SystemColor::textBackground: return {grey(1, 1), rgb(30, 30, 30)};
        case SystemColor::windowBackground: return {rgb(236, 236, 236), rgb(50, 50, 50)};
        case SystemColor::controlBackground: return {grey(1, 1), rgb(30, 30, 30)};
        case SystemColor::controlText: return {grey(0, 0.85), grey(1, 0.85)};
        case SystemColor::disabledControlText: return {grey(0, 0.25), grey(1, 0.25)};
        case SystemColor::separator: return {grey(0, 0.1), grey(1, 0.1)};
        case SystemColor::link: return {rgb(0, 104, 218), rgb(65, 156, 255)};
        case SystemColor::controlAccent: return {rgb(0, 122, 255), rgb(10, 132, 255)};
        case SystemColor::selectedTextBackground: return {rgb(179, 215, 255), rgb(63, 99, 139)};
        case SystemColor::white: return {grey(1, 1), grey(1, 1)};
        case SystemColor::black: return {grey(0, 1), grey(0, 1)};
        case SystemColor::clear: return {grey(0, 0), grey(0, 0)};
        case SystemColor::systemRed: return {rgb(255, 59, 48), rgb(255, 69, 58)};
        case SystemColor::systemOrange: return {rgb(255, 149, 0), rgb(255, 159, 10)};
        case SystemColor::systemYellow: return {rgb(255, 204, 0), rgb(255, 214, 10)};
        case SystemColor::systemGreen: return {rgb(40, 205, 65), rgb(50, 215, 75)};
        case SystemColor::systemMint: return {rgb(0, 199, 190), rgb(99, 230, 226)};
        case SystemColor::systemTeal: return {rgb(89, 173, 196), rgb(106, 196, 220)};
        case SystemColor::systemCyan: return {rgb(85, 190, 240), rgb(90, 200, 245)};
        case SystemColor::systemBlue: return {rgb(0, 122, 255), rgb(10, 132, 255)};
        case SystemColor::systemIndigo: return {rgb(88, 86, 214), rgb(94, 92, 230)};
        case SystemColor::systemPurple: return {rgb(175, 82, 222), rgb(191, 90, 242)};
        case SystemColor::systemPink: return {rgb(255, 45, 85), rgb(255, 55, 95)};
        case SystemColor::systemBrown: return {rgb(162, 132, 94), rgb(172, 142, 104)};
        case SystemColor::systemGray: return {rgb(142, 142, 147), rgb(152, 152, 157)};
    }
    return {grey(0, 1), grey(1, 1)};
}

}  // namespace

QColor systemColor(SystemColor color, bool isDark) {
    const ColorPair pair = pairFor(color);
    return isDark ? pair.dark : pair.light;
}

QColor systemColor(SystemColor color) { return systemColor(color, Appearance::shared().isDark()); }

std::string_view systemColorName(SystemColor color) {
    switch (color) {
        case SystemColor::label: return "labelColor";
        case SystemColor::secondaryLabel: return "secondaryLabelColor";
        case SystemColor::tertiaryLabel: return "tertiaryLabelColor";
        case SystemColor::quaternaryLabel: return "quaternaryLabelColor";
        case SystemColor::text: return "textColor";
        case SystemColor::textBackground: return "textBackgroundColor";
        case SystemColor::windowBackground: return "windowBackgroundColor";
        case SystemColor::controlBackground: return "controlBackgroundColor";
        case SystemColor::controlText: return "controlTextColor";
        case SystemColor::disabledControlText: return "disabledControlTextColor";
        case SystemColor::separator: return "separatorColor";
        case SystemColor::link: return "linkColor";
        case SystemColor::controlAccent: return "controlAccentColor";
        case SystemColor::selectedTextBackground: return "selectedTextBackgroundColor";
        case SystemColor::white: return "whiteColor";
        case SystemColor::black: return "blackColor";
        case SystemColor::clear: return "clearColor";
        case SystemColor::systemRed: return "systemRedColor";
        case SystemColor::systemOrange: return "systemOrangeColor";
        case SystemColor::systemYellow: return "systemYellowColor";
        case SystemColor::systemGreen: return "systemGreenColor";
        case SystemColor::systemMint: return "systemMintColor";
        case SystemColor::systemTeal: return "systemTealColor";
        case SystemColor::systemCyan: return "systemCyanColor";
        case SystemColor::systemBlue: return "systemBlueColor";
        case SystemColor::systemIndigo: return "systemIndigoColor";
        case SystemColor::systemPurple: return "systemPurpleColor";
        case SystemColor::systemPink: return "systemPinkColor";
        case SystemColor::systemBrown: return "systemBrownColor";
        case SystemColor::systemGray: return "systemGrayColor";
    }
    return "";
}

}  // namespace CarvexPlatform

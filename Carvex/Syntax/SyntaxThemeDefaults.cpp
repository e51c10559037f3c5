#include "Carvex/Syntax/SyntaxThemeDefaults.h"

namespace Carvex::SyntaxThemeDefaults {

using CarvexPlatform::DynamicColor;
using CarvexPlatform::SystemColor;

namespace {

DynamicColor rgb(double red, double green, double blue)
{
    return DynamicColor::rgb(red, green, blue);
}

DynamicColor white(double white, double alpha)
{
    return DynamicColor::white(white, alpha);
}

DynamicColor named(SystemColor color, double alphaFactor = 1.0)
{
    return DynamicColor(color, alphaFactor);
}

} // namespace

const DynamicColor& darkString()
{
    static const DynamicColor color = rgb(0.82, 0.51, 0.93);
    return color;
}

const DynamicColor& lightString()
{
    static const DynamicColor color = rgb(0.5, 0.08, 0.57);
    return color;
}

const DynamicColor& darkNumber()
{
    static const DynamicColor color = rgb(0.56, 0.84, 0.97);
    return color;
}

const DynamicColor& lightNumber()
{
    static const DynamicColor color = rgb(0.07, 0.0, 0.67);
    return color;
}

const DynamicColor& darkBoolean()
{
    static const DynamicColor color = rgb(0.99, 0.37, 0.53);
    return color;
}

const DynamicColor& lightBoolean()
{
    static const DynamicColor color = rgb(0.5, 0.08, 0.57);
    return color;
}

const DynamicColor& darkNull()
{
    static const DynamicColor color = rgb(0.99, 0.37, 0.53);
    return color;
}

const DynamicColor& lightNull()
{
    static const DynamicColor color = rgb(0.5, 0.08, 0.57);
    return color;
}

const DynamicColor& darkPunctuation()
{
    static const DynamicColor color = rgb(0.67, 0.67, 0.67);
    return color;
}

const DynamicColor& lightPunctuation()
{
    static const DynamicColor color = rgb(0.22, 0.22, 0.22);
    return color;
}

const DynamicColor& darkKey()
{
    static const DynamicColor color = rgb(0.35, 0.82, 0.8);
    return color;
}

const DynamicColor& lightKey()
{
    static const DynamicColor color = rgb(0.55, 0.05, 0.05);
    return color;
}

const DynamicColor& darkComment()
{
    static const DynamicColor color = rgb(0.42, 0.58, 0.44);
    return color;
}

const DynamicColor& lightComment()
{
    static const DynamicColor color = rgb(0.25, 0.38, 0.27);
    return color;
}

const DynamicColor& darkIndicator()
{
    static const DynamicColor color = rgb(0.99, 0.8, 0.36);
    return color;
}

const DynamicColor& lightIndicator()
{
    static const DynamicColor color = rgb(0.48, 0.33, 0.0);
    return color;
}

const DynamicColor& darkDefault()
{
    static const DynamicColor color = named(SystemColor::text);
    return color;
}

const DynamicColor& lightDefault()
{
    static const DynamicColor color = named(SystemColor::text);
    return color;
}

const DynamicColor& darkLink()
{
    static const DynamicColor color = named(SystemColor::link);
    return color;
}

const DynamicColor& lightLink()
{
    static const DynamicColor color = named(SystemColor::link);
    return color;
}

const DynamicColor& darkGhostText()
{
    static const DynamicColor color = white(0.6, 0.7);
    return color;
}

const DynamicColor& lightGhostText()
{
    static const DynamicColor color = white(0.4, 0.7);
    return color;
}

const DynamicColor& darkSnippetText()
{
    static const DynamicColor color = rgb(0.99, 0.85, 0.4);
    return color;
}

const DynamicColor& lightSnippetText()
{
    static const DynamicColor color = rgb(0.6, 0.45, 0.0);
    return color;
}

const DynamicColor& darkSnippetInputText()
{
    static const DynamicColor color = named(SystemColor::white);
    return color;
}

const DynamicColor& lightSnippetInputText()
{
    static const DynamicColor color = named(SystemColor::black);
    return color;
}

const DynamicColor& darkPlaceholderActiveBackground()
{
    static const DynamicColor color = white(0.25, 1);
    return color;
}

const DynamicColor& lightPlaceholderActiveBackground()
{
    static const DynamicColor color = rgb(0.85, 0.92, 1.0);
    return color;
}

const DynamicColor& darkPlaceholderActiveBorder()
{
    static const DynamicColor color = named(SystemColor::white);
    return color;
}

const DynamicColor& lightPlaceholderActiveBorder()
{
    static const DynamicColor color = rgb(0.2, 0.4, 0.8);
    return color;
}

const DynamicColor& darkPlaceholderActiveText()
{
    static const DynamicColor color = named(SystemColor::white);
    return color;
}

const DynamicColor& lightPlaceholderActiveText()
{
    static const DynamicColor color = rgb(0.2, 0.4, 0.8);
    return color;
}

const DynamicColor& darkPlaceholderInactiveBackground()
{
    static const DynamicColor color = white(0.1, 1);
    return color;
}

const DynamicColor& lightPlaceholderInactiveBackground()
{
    static const DynamicColor color = white(0.92, 1);
    return color;
}

const DynamicColor& darkPlaceholderInactiveBorder()
{
    static const DynamicColor color = white(0.5, 1);
    return color;
}

const DynamicColor& lightPlaceholderInactiveBorder()
{
    static const DynamicColor color = white(0.6, 1);
    return color;
}

const DynamicColor& darkPlaceholderInactiveText()
{
    static const DynamicColor color = white(0.5, 1);
    return color;
}

const DynamicColor& lightPlaceholderInactiveText()
{
    static const DynamicColor color = white(0.45, 1);
    return color;
}

const DynamicColor& darkActiveIndentGuide()
{
    static const DynamicColor color = white(0.5, 0.5);
    return color;
}

const DynamicColor& lightActiveIndentGuide()
{
    static const DynamicColor color = white(0.3, 0.5);
    return color;
}

const DynamicColor& darkTabButtonActiveBackground()
{
    static const DynamicColor color = named(SystemColor::controlAccent, 0.15);
    return color;
}

const DynamicColor& lightTabButtonActiveBackground()
{
    static const DynamicColor color = named(SystemColor::controlAccent, 0.15);
    return color;
}

const DynamicColor& darkTabButtonActiveText()
{
    static const DynamicColor color = named(SystemColor::controlAccent);
    return color;
}

const DynamicColor& lightTabButtonActiveText()
{
    static const DynamicColor color = named(SystemColor::controlAccent);
    return color;
}

const DynamicColor& darkTabButtonInactiveText()
{
    static const DynamicColor color = named(SystemColor::secondaryLabel);
    return color;
}

const DynamicColor& lightTabButtonInactiveText()
{
    static const DynamicColor color = named(SystemColor::secondaryLabel);
    return color;
}

const DynamicColor& defaultColor(SyntaxThemePreferenceKey key, bool isDark)
{
    using K = SyntaxThemePreferenceKey;
    switch (key) {
    case K::stringColor: return isDark ? darkString() : lightString();
    case K::numberColor: return isDark ? darkNumber() : lightNumber();
    case K::booleanColor: return isDark ? darkBoolean() : lightBoolean();
    case K::nullColor: return isDark ? darkNull() : lightNull();
    case K::punctuationColor: return isDark ? darkPunctuation() : lightPunctuation();
    case K::keyColor: return isDark ? darkKey() : lightKey();
    case K::commentColor: return isDark ? darkComment() : lightComment();
    case K::indicatorColor: return isDark ? darkIndicator() : lightIndicator();
    case K::defaultColor: return isDark ? darkDefault() : lightDefault();
    case K::linkColor: return isDark ? darkLink() : lightLink();
    case K::ghostTextColor: return isDark ? darkGhostText() : lightGhostText();
    case K::snippetTextColor: return isDark ? darkSnippetText() : lightSnippetText();
    case K::snippetInputTextColor: return isDark ? darkSnippetInputText() : lightSnippetInputText();
    case K::placeholderActiveBackground: return isDark ? darkPlaceholderActiveBackground() : lightPlaceholderActiveBackground();
    case K::placeholderActiveBorder: return isDark ? darkPlaceholderActiveBorder() : lightPlaceholderActiveBorder();
    case K::placeholderActiveText: return isDark ? darkPlaceholderActiveText() : lightPlaceholderActiveText();
    case K::placeholderInactiveBackground: return isDark ? darkPlaceholderInactiveBackground() : lightPlaceholderInactiveBackground();
    case K::placeholderInactiveBorder: return isDark ? darkPlaceholderInactiveBorder() : lightPlaceholderInactiveBorder();
    case K::placeholderInactiveText: return isDark ? darkPlaceholderInactiveText() : lightPlaceholderInactiveText();
    case K::activeIndentGuideColor: return isDark ? darkActiveIndentGuide() : lightActiveIndentGuide();
    case K::tabButtonActiveBackground: return isDark ? darkTabButtonActiveBackground() : lightTabButtonActiveBackground();
    case K::tabButtonActiveText: return isDark ? darkTabButtonActiveText() : lightTabButtonActiveText();
    case K::tabButtonInactiveText: return isDark ? darkTabButtonInactiveText() : lightTabButtonInactiveText();
    }
    return isDark ? darkDefault() : lightDefault();
}

} // namespace Carvex::SyntaxThemeDefaults

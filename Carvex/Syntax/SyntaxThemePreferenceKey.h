#pragma once

#include "Carvex/Syntax/SyntaxTokenType.h"

#include "kit/core/RawValue.h"

#include <QString>

#include <array>
#include <optional>
#include <string_view>

namespace Carvex {

// The 23 user-editable colours of code views: eight colour token kinds, the others colour
// editor decorations. Each is stored once per appearance.
enum class SyntaxThemePreferenceKey {
    stringColor,
    numberColor,
    booleanColor,
    nullColor,
    punctuationColor,
    keyColor,
    commentColor,
    indicatorColor,
    defaultColor,
    linkColor,
    ghostTextColor,
    snippetTextColor,
    snippetInputTextColor,
    placeholderActiveBackground,
    placeholderActiveBorder,
    placeholderActiveText,
    placeholderInactiveBackground,
    placeholderInactiveBorder,
    placeholderInactiveText,
    activeIndentGuideColor,
    tabButtonActiveBackground,
    tabButtonActiveText,
    tabButtonInactiveText,
};

// Every key, in declaration order.
inline constexpr std::array<SyntaxThemePreferenceKey, 23> allSyntaxThemePreferenceKeys = {
    SyntaxThemePreferenceKey::stringColor,
    SyntaxThemePreferenceKey::numberColor,
    SyntaxThemePreferenceKey::booleanColor,
    SyntaxThemePreferenceKey::nullColor,
    SyntaxThemePreferenceKey::punctuationColor,
    SyntaxThemePreferenceKey::keyColor,
    SyntaxThemePreferenceKey::commentColor,
    SyntaxThemePreferenceKey::indicatorColor,
    SyntaxThemePreferenceKey::defaultColor,
    SyntaxThemePreferenceKey::linkColor,
    SyntaxThemePreferenceKey::ghostTextColor,
    SyntaxThemePreferenceKey::snippetTextColor,
    SyntaxThemePreferenceKey::snippetInputTextColor,
    SyntaxThemePreferenceKey::placeholderActiveBackground,
    SyntaxThemePreferenceKey::placeholderActiveBorder,
    SyntaxThemePreferenceKey::placeholderActiveText,
    SyntaxThemePreferenceKey::placeholderInactiveBackground,
    SyntaxThemePreferenceKey::placeholderInactiveBorder,
    SyntaxThemePreferenceKey::placeholderInactiveText,
    SyntaxThemePreferenceKey::activeIndentGuideColor,
    SyntaxThemePreferenceKey::tabButtonActiveBackground,
    SyntaxThemePreferenceKey::tabButtonActiveText,
    SyntaxThemePreferenceKey::tabButtonInactiveText,
};

// "syntaxTheme." followed by the case name.
std::string_view rawValue(SyntaxThemePreferenceKey key);

// The label shown to the user, e.g. "Links ($ref)".
QString displayName(SyntaxThemePreferenceKey key);

// The token kind the key colours; nothing for the decoration keys. `keyColor` answers `key` but
// colours `jsonKey` tokens as well.
std::optional<SyntaxTokenType> tokenType(SyntaxThemePreferenceKey key);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::SyntaxThemePreferenceKey> fromRawValue<Carvex::SyntaxThemePreferenceKey>(std::string_view text);
} // namespace VoziZazIreCore

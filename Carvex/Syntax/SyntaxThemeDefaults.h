#pragma once

#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"

#include "platform/DynamicColor.h"

// The built-in colours of the 23 theme keys, one constant per key and appearance, each created once
// on first use (safe from any thread). Named system colours stay dynamic and resolve against the
// appearance they are drawn in.
namespace Carvex::SyntaxThemeDefaults {

// The built-in colour of `key` for the dark or the light appearance.
const CarvexPlatform::DynamicColor& defaultColor(SyntaxThemePreferenceKey key, bool isDark);

const CarvexPlatform::DynamicColor& darkString();
const CarvexPlatform::DynamicColor& lightString();
const CarvexPlatform::DynamicColor& darkNumber();
const CarvexPlatform::DynamicColor& lightNumber();
const CarvexPlatform::DynamicColor& darkBoolean();
const CarvexPlatform::DynamicColor& lightBoolean();
const CarvexPlatform::DynamicColor& darkNull();
const CarvexPlatform::DynamicColor& lightNull();
const CarvexPlatform::DynamicColor& darkPunctuation();
const CarvexPlatform::DynamicColor& lightPunctuation();
const CarvexPlatform::DynamicColor& darkKey();
const CarvexPlatform::DynamicColor& lightKey();
const CarvexPlatform::DynamicColor& darkComment();
const CarvexPlatform::DynamicColor& lightComment();
const CarvexPlatform::DynamicColor& darkIndicator();
const CarvexPlatform::DynamicColor& lightIndicator();
const CarvexPlatform::DynamicColor& darkDefault();
const CarvexPlatform::DynamicColor& lightDefault();
const CarvexPlatform::DynamicColor& darkLink();
const CarvexPlatform::DynamicColor& lightLink();
const CarvexPlatform::DynamicColor& darkGhostText();
const CarvexPlatform::DynamicColor& lightGhostText();
const CarvexPlatform::DynamicColor& darkSnippetText();
const CarvexPlatform::DynamicColor& lightSnippetText();
const CarvexPlatform::DynamicColor& darkSnippetInputText();
const CarvexPlatform::DynamicColor& lightSnippetInputText();
const CarvexPlatform::DynamicColor& darkPlaceholderActiveBackground();
const CarvexPlatform::DynamicColor& lightPlaceholderActiveBackground();
const CarvexPlatform::DynamicColor& darkPlaceholderActiveBorder();
const CarvexPlatform::DynamicColor& lightPlaceholderActiveBorder();
const CarvexPlatform::DynamicColor& darkPlaceholderActiveText();
const CarvexPlatform::DynamicColor& lightPlaceholderActiveText();
const CarvexPlatform::DynamicColor& darkPlaceholderInactiveBackground();
const CarvexPlatform::DynamicColor& lightPlaceholderInactiveBackground();
const CarvexPlatform::DynamicColor& darkPlaceholderInactiveBorder();
const CarvexPlatform::DynamicColor& lightPlaceholderInactiveBorder();
const CarvexPlatform::DynamicColor& darkPlaceholderInactiveText();
const CarvexPlatform::DynamicColor& lightPlaceholderInactiveText();
const CarvexPlatform::DynamicColor& darkActiveIndentGuide();
const CarvexPlatform::DynamicColor& lightActiveIndentGuide();
const CarvexPlatform::DynamicColor& darkTabButtonActiveBackground();
const CarvexPlatform::DynamicColor& lightTabButtonActiveBackground();
const CarvexPlatform::DynamicColor& darkTabButtonActiveText();
const CarvexPlatform::DynamicColor& lightTabButtonActiveText();
const CarvexPlatform::DynamicColor& darkTabButtonInactiveText();
const CarvexPlatform::DynamicColor& lightTabButtonInactiveText();

} // namespace Carvex::SyntaxThemeDefaults

#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"

namespace Carvex {

namespace {

struct KeyInfo {
    std::string_view rawValue;
    std::string_view displayName;
    std::optional<SyntaxTokenType> tokenType;
};

KeyInfo info(SyntaxThemePreferenceKey key)
{
    using K = SyntaxThemePreferenceKey;
    using T = SyntaxTokenType;
    switch (key) {
    case K::stringColor: return {"syntaxTheme.stringColor", "Strings", T::string};
    case K::numberColor: return {"syntaxTheme.numberColor", "Numbers", T::number};
    case K::booleanColor: return {"syntaxTheme.booleanColor", "Booleans", T::boolean};
    case K::nullColor: return {"syntaxTheme.nullColor", "Null", T::null};
    case K::punctuationColor: return {"syntaxTheme.punctuationColor", "Punctuation", T::punctuation};
    case K::keyColor: return {"syntaxTheme.keyColor", "Keys", T::key};
    case K::commentColor: return {"syntaxTheme.commentColor", "Comments", T::comment};
    case K::indicatorColor: return {"syntaxTheme.indicatorColor", "Indicators", T::indicator};
    case K::defaultColor: return {"syntaxTheme.defaultColor", "Default Text", std::nullopt};
    case K::linkColor: return {"syntaxTheme.linkColor", "Links ($ref)", std::nullopt};
    case K::ghostTextColor: return {"syntaxTheme.ghostTextColor", "Ghost Suggestions", std::nullopt};
    case K::snippetTextColor: return {"syntaxTheme.snippetTextColor", "Snippet Text", std::nullopt};
    case K::snippetInputTextColor: return {"syntaxTheme.snippetInputTextColor", "Snippet Input", std::nullopt};
    case K::placeholderActiveBackground:
        return {"syntaxTheme.placeholderActiveBackground", "Placeholder Active Background", std::nullopt};
    case K::placeholderActiveBorder:
        return {"syntaxTheme.placeholderActiveBorder", "Placeholder Active Border", std::nullopt};
    case K::placeholderActiveText:
        return {"syntaxTheme.placeholderActiveText", "Placeholder Active Text", std::nullopt};
    case K::placeholderInactiveBackground:
        return {"syntaxTheme.placeholderInactiveBackground", "Placeholder Inactive Background", std::nullopt};
    case K::placeholderInactiveBorder:
        return {"syntaxTheme.placeholderInactiveBorder", "Placeholder Inactive Border", std::nullopt};
    case K::placeholderInactiveText:
        return {"syntaxTheme.placeholderInactiveText", "Placeholder Inactive Text", std::nullopt};
    case K::activeIndentGuideColor: return {"syntaxTheme.activeIndentGuideColor", "Active Indent Guide", std::nullopt};
    case K::tabButtonActiveBackground:
        return {"syntaxTheme.tabButtonActiveBackground", "Tab Button Active Background", std::nullopt};
    case K::tabButtonActiveText: return {"syntaxTheme.tabButtonActiveText", "Tab Button Active Text", std::nullopt};
    case K::tabButtonInactiveText:
        return {"syntaxTheme.tabButtonInactiveText", "Tab Button Inactive Text", std::nullopt};
    }
    return {"", "", std::nullopt};
}

} // namespace

std::string_view rawValue(SyntaxThemePreferenceKey key)
{
    return info(key).rawValue;
}

QString displayName(SyntaxThemePreferenceKey key)
{
    const std::string_view name = info(key).displayName;
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

std::optional<SyntaxTokenType> tokenType(SyntaxThemePreferenceKey key)
{
    return info(key).tokenType;
}

} // namespace Carvex

template<>
std::optional<Carvex::SyntaxThemePreferenceKey>
VoziZazIreCore::fromRawValue<Carvex::SyntaxThemePreferenceKey>(std::string_view text)
{
    for (Carvex::SyntaxThemePreferenceKey key : Carvex::allSyntaxThemePreferenceKeys) {
        if (Carvex::rawValue(key) == text)
            return key;
    }
    return std::nullopt;
}

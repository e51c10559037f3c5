#include "Carvex/Syntax/SyntaxTheme.h"

#include "Carvex/Syntax/SyntaxThemeDefaults.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"

#include <QBrush>
#include <QFontDatabase>

namespace Carvex {

namespace {

QTextCharFormat attributesWith(const QFont& font, const QColor& foreground)
{
    QTextCharFormat format;
    format.setFont(font);
    format.setForeground(QBrush(foreground));
    return format;
}

SyntaxTheme builtIn(bool isDark)
{
    return SyntaxTheme::build([isDark](SyntaxThemePreferenceKey key) {
        return SyntaxThemeDefaults::defaultColor(key, isDark).resolved(isDark);
    });
}

} // namespace

SyntaxTheme::SyntaxTheme(std::map<SyntaxTokenType, Attributes> attributes, Attributes defaultAttributes)
    : attributes_(std::move(attributes)), defaultAttributes_(std::move(defaultAttributes))
{
}

SyntaxTheme SyntaxTheme::inFont(const QFont& font) const
{
    std::map<SyntaxTokenType, Attributes> attributes = attributes_;
    for (auto& entry : attributes) {
        entry.second.setFont(font);
    }
    Attributes defaults = defaultAttributes_;
    defaults.setFont(font);
    return SyntaxTheme(std::move(attributes), std::move(defaults));
}

const SyntaxTheme::Attributes& SyntaxTheme::attributes(SyntaxTokenType type) const
{
    const auto found = attributes_.find(type);
    return found != attributes_.end() ? found->second : defaultAttributes_;
}

// Kept for the life of the process and never destroyed: fonts must not outlive the application
// object in static destructors.
const SyntaxTheme& SyntaxTheme::darkDefault()
{
    static const SyntaxTheme* const theme = new SyntaxTheme(builtIn(true));
    return *theme;
}

const SyntaxTheme& SyntaxTheme::lightDefault()
{
    static const SyntaxTheme* const theme = new SyntaxTheme(builtIn(false));
    return *theme;
}

SyntaxTheme SyntaxTheme::fromPreferences(bool isDark)
{
    return SyntaxThemePreferencesStore::shared().buildTheme(isDark);
}

QFont SyntaxTheme::editorFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(13);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

SyntaxTheme SyntaxTheme::build(const std::function<QColor(SyntaxThemePreferenceKey)>& colorFor)
{
    using K = SyntaxThemePreferenceKey;
    using T = SyntaxTokenType;
    const QFont font = editorFont();
    const Attributes defaults = attributesWith(font, colorFor(K::defaultColor));
    std::map<T, Attributes> attributes;
    const std::pair<T, K> entries[] = {
        {T::string, K::stringColor},   {T::number, K::numberColor},           {T::boolean, K::booleanColor},
        {T::null, K::nullColor},       {T::punctuation, K::punctuationColor}, {T::jsonKey, K::keyColor},
        {T::key, K::keyColor},         {T::comment, K::commentColor},         {T::indicator, K::indicatorColor},
    };
    for (const auto& [type, key] : entries)
        attributes.emplace(type, attributesWith(font, colorFor(key)));
    attributes.emplace(T::unknown, defaults);
    return SyntaxTheme(std::move(attributes), defaults);
}

} // namespace Carvex

#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"

#include "Carvex/Syntax/ColorArchive.h"
#include "Carvex/Syntax/SyntaxThemeDefaults.h"

namespace Carvex {

using K = SyntaxThemePreferenceKey;

SyntaxThemePreferencesStore::SyntaxThemePreferencesStore(std::shared_ptr<CarvexPlatform::Settings> defaults)
    : defaults_(std::move(defaults))
{
}

SyntaxThemePreferencesStore& SyntaxThemePreferencesStore::shared()
{
    static SyntaxThemePreferencesStore* const store = new SyntaxThemePreferencesStore();
    return *store;
}

QString SyntaxThemePreferencesStore::settingsKey(SyntaxThemePreferenceKey key, bool isDark) const
{
    const std::string_view raw = rawValue(key);
    return QString::fromUtf8(raw.data(), qsizetype(raw.size())) + (isDark ? darkSuffix_ : lightSuffix_);
}

QColor SyntaxThemePreferencesStore::color(SyntaxThemePreferenceKey key, bool isDark) const
{
    const QByteArray data = defaults_->data(settingsKey(key, isDark));
    if (!data.isEmpty()) {
        if (std::optional<QColor> stored = ColorArchive::unarchive(data))
            return *stored;
    }
    return SyntaxThemeDefaults::defaultColor(key, isDark).resolved(isDark);
}

void SyntaxThemePreferencesStore::setColor(const QColor& color, SyntaxThemePreferenceKey key, bool isDark)
{
    const QByteArray data = ColorArchive::archive(color);
    if (data.isEmpty())
        return;
    defaults_->setData(settingsKey(key, isDark), data);
}

void SyntaxThemePreferencesStore::resetColor(SyntaxThemePreferenceKey key, bool isDark)
{
    defaults_->remove(settingsKey(key, isDark));
}

bool SyntaxThemePreferencesStore::isCustomized(SyntaxThemePreferenceKey key, bool isDark) const
{
    return defaults_->contains(settingsKey(key, isDark));
}

void SyntaxThemePreferencesStore::resetAllColors()
{
    for (SyntaxThemePreferenceKey key : allSyntaxThemePreferenceKeys) {
        defaults_->remove(settingsKey(key, true));
        defaults_->remove(settingsKey(key, false));
    }
}

SyntaxTheme SyntaxThemePreferencesStore::buildTheme(bool isDark) const
{
    return SyntaxTheme::build([this, isDark](SyntaxThemePreferenceKey key) { return color(key, isDark); });
}

QColor SyntaxThemePreferencesStore::linkColor(bool isDark) const { return color(K::linkColor, isDark); }
QColor SyntaxThemePreferencesStore::ghostTextColor(bool isDark) const { return color(K::ghostTextColor, isDark); }
QColor SyntaxThemePreferencesStore::snippetTextColor(bool isDark) const { return color(K::snippetTextColor, isDark); }
QColor SyntaxThemePreferencesStore::snippetInputTextColor(bool isDark) const
{
    return color(K::snippetInputTextColor, isDark);
}
QColor SyntaxThemePreferencesStore::placeholderActiveBackgroundColor(bool isDark) const
{
    return color(K::placeholderActiveBackground, isDark);
}
QColor SyntaxThemePreferencesStore::placeholderActiveBorderColor(bool isDark) const
{
    return color(K::placeholderActiveBorder, isDark);
}
QColor SyntaxThemePreferencesStore::placeholderActiveTextColor(bool isDark) const
{
    return color(K::placeholderActiveText, isDark);
}
QColor SyntaxThemePreferencesStore::placeholderInactiveBackgroundColor(bool isDark) const
{
    return color(K::placeholderInactiveBackground, isDark);
}
QColor SyntaxThemePreferencesStore::placeholderInactiveBorderColor(bool isDark) const
{
    return color(K::placeholderInactiveBorder, isDark);
}
QColor SyntaxThemePreferencesStore::placeholderInactiveTextColor(bool isDark) const
{
    return color(K::placeholderInactiveText, isDark);
}
QColor SyntaxThemePreferencesStore::activeIndentGuideColor(bool isDark) const
{
    return color(K::activeIndentGuideColor, isDark);
}
QColor SyntaxThemePreferencesStore::tabButtonActiveBackgroundColor(bool isDark) const
{
    return color(K::tabButtonActiveBackground, isDark);
}
QColor SyntaxThemePreferencesStore::tabButtonActiveTextColor(bool isDark) const
{
    return color(K::tabButtonActiveText, isDark);
}
QColor SyntaxThemePreferencesStore::tabButtonInactiveTextColor(bool isDark) const
{
    return color(K::tabButtonInactiveText, isDark);
}

} // namespace Carvex

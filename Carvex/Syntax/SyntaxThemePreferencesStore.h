#pragma once

#include "Carvex/Syntax/SyntaxTheme.h"
#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"

#include "platform/Settings.h"

#include <QColor>
#include <QString>

#include <memory>

namespace Carvex {

// The user's 23 theme colours for each appearance, kept in the settings under
// "syntaxTheme.<key>.dark" and "syntaxTheme.<key>.light" (46 keys). An absent or unreadable value
// means the built-in colour. The single source of these colours for every view that draws code or
// editor decorations; callers pass the appearance themselves. Posts no notification: whoever
// changes colours announces it. Main thread only.
class SyntaxThemePreferencesStore {
public:
    explicit SyntaxThemePreferencesStore(
        std::shared_ptr<CarvexPlatform::Settings> defaults = CarvexPlatform::Settings::standard());

    // The store over the standard settings, created on first use.
    static SyntaxThemePreferencesStore& shared();

    const std::shared_ptr<CarvexPlatform::Settings>& defaults() const { return defaults_; }
    const QString& darkSuffix() const { return darkSuffix_; }
    const QString& lightSuffix() const { return lightSuffix_; }

    // The settings key of `key` for the appearance, e.g. "syntaxTheme.stringColor.dark".
    QString settingsKey(SyntaxThemePreferenceKey key, bool isDark) const;

    // The stored colour, or the built-in one (resolved for the appearance) when nothing readable
    // is stored. Never fails.
    QColor color(SyntaxThemePreferenceKey key, bool isDark) const;
    // Stores the colour; an invalid colour cannot be stored and is ignored.
    void setColor(const QColor& color, SyntaxThemePreferenceKey key, bool isDark);
    // Removes the one stored colour of `key` for the appearance.
    void resetColor(SyntaxThemePreferenceKey key, bool isDark);
    // Whether anything is stored under the key for the appearance (readable or not).
    bool isCustomized(SyntaxThemePreferenceKey key, bool isDark) const;
    // Removes the stored colours of every key for both appearances.
    void resetAllColors();

    // The theme of the appearance from the current colours.
    SyntaxTheme buildTheme(bool isDark) const;

    // The decoration colours.
    QColor linkColor(bool isDark) const;
    QColor ghostTextColor(bool isDark) const;
    QColor snippetTextColor(bool isDark) const;
    QColor snippetInputTextColor(bool isDark) const;
    QColor placeholderActiveBackgroundColor(bool isDark) const;
    QColor placeholderActiveBorderColor(bool isDark) const;
    QColor placeholderActiveTextColor(bool isDark) const;
    QColor placeholderInactiveBackgroundColor(bool isDark) const;
    QColor placeholderInactiveBorderColor(bool isDark) const;
    QColor placeholderInactiveTextColor(bool isDark) const;
    QColor activeIndentGuideColor(bool isDark) const;
    QColor tabButtonActiveBackgroundColor(bool isDark) const;
    QColor tabButtonActiveTextColor(bool isDark) const;
    QColor tabButtonInactiveTextColor(bool isDark) const;

private:
    std::shared_ptr<CarvexPlatform::Settings> defaults_;
    QString darkSuffix_ = QStringLiteral(".dark");
    QString lightSuffix_ = QStringLiteral(".light");
};

} // namespace Carvex

#pragma once

#include "Carvex/Syntax/SyntaxThemePreferenceKey.h"
#include "Carvex/Syntax/SyntaxTokenType.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>

#include <functional>
#include <map>

namespace Carvex {

// The text attributes the highlighter paints on each kind of token for one appearance, plus the
// default attributes for text outside tokens and for kinds without an entry. Each entry of a
// built theme holds exactly the font and the foreground colour.
class SyntaxTheme {
public:
    using Attributes = QTextCharFormat;

    SyntaxTheme(std::map<SyntaxTokenType, Attributes> attributes, Attributes defaultAttributes);

    const std::map<SyntaxTokenType, Attributes>& attributes() const { return attributes_; }
    const Attributes& defaultAttributes() const { return defaultAttributes_; }

    // The entry of `type`, or the default attributes when the theme has none.
    const Attributes& attributes(SyntaxTokenType type) const;

    // The same colours with every entry, the default attributes included, in `font`.
    SyntaxTheme inFont(const QFont& font) const;

    // The built-in themes, from the built-in colours alone (the user's choices are ignored).
    // Created once on first use; they need the GUI application for the font.
    static const SyntaxTheme& darkDefault();
    static const SyntaxTheme& lightDefault();

    // The shared preference store's theme for the appearance.
    static SyntaxTheme fromPreferences(bool isDark);

    // The font of every entry: the monospaced system font, 13 points, regular weight.
    static QFont editorFont();

    // A theme whose entries take their foreground from `colorFor`: one entry per token kind, both
    // key kinds from `keyColor`, `unknown` identical to the default attributes.
    static SyntaxTheme build(const std::function<QColor(SyntaxThemePreferenceKey)>& colorFor);

    bool operator==(const SyntaxTheme& other) const = default;

private:
    std::map<SyntaxTokenType, Attributes> attributes_;
    Attributes defaultAttributes_;
};

} // namespace Carvex

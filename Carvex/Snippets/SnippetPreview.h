#pragma once

#include "Carvex/Syntax/SyntaxTheme.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringView>
#include <QTextLayout>

namespace Carvex {

// A snippet template as the completion details show it: the text with its placeholders replaced by
// their default texts, and the formats to lay over it. The formats come in layers, each later range
// taking precedence where it overlaps an earlier one (as `QTextLayout::setFormats` merges them):
// the base font and colour over the whole text, then the token colours, then the default texts in
// the snippet input colour with a single underline.
struct SnippetPreview {
    QString text;
    QList<QTextLayout::FormatRange> formats;
};

// The preview of `templateText` for the appearance `isDark`, coloured by `theme` (only the
// foreground of its entries is used) and with the default texts in `snippetInputTextColor`. Text
// that starts, after spaces and line breaks, with "{", "[" or a double quote is read as JSON, any
// other as YAML.
SnippetPreview makeSnippetPreview(QStringView templateText, bool isDark, const SyntaxTheme& theme,
                                  const QColor& snippetInputTextColor);

// The same with the theme and the snippet input colour of the shared syntax-colour store.
SnippetPreview makeSnippetPreview(QStringView templateText, bool isDark);

// The base font of a preview: the monospaced system font, 11 points, regular weight.
QFont snippetPreviewFont();

}  // namespace Carvex

#include "Carvex/Snippets/SnippetPreview.h"

#include "Carvex/Snippets/SnippetPlaceholders.h"
#include "Carvex/Syntax/JSONLexer.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "Carvex/Syntax/YAMLLexer.h"

#include <QBrush>
#include <QFontDatabase>

namespace Carvex {

namespace {

bool readsAsJSON(QStringView text) {
    for (const QChar c : text) {
        if (c.isSpace()) continue;
        return c == u'{' || c == u'[' || c == u'"';
    }
    return false;
}

QTextLayout::FormatRange formatRange(qsizetype start, qsizetype length, QTextCharFormat format) {
    QTextLayout::FormatRange range;
    range.start = int(start);
    range.length = int(length);
    range.format = std::move(format);
    return range;
}

}  // namespace

QFont snippetPreviewFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(11);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

SnippetPreview makeSnippetPreview(QStringView templateText, bool isDark, const SyntaxTheme& theme,
                                  const QColor& snippetInputTextColor) {
    SnippetPlaceholders parsed = parseSnippetPlaceholders(templateText, 0);
    SnippetPreview preview{std::move(parsed.displayText), {}};
    const qsizetype size = preview.text.size();

    QTextCharFormat base;
    base.setFont(snippetPreviewFont());
    base.setForeground(QBrush(isDark ? QColor(Qt::white) : QColor(Qt::black)));
    preview.formats.push_back(formatRange(0, size, base));

    const bool json = readsAsJSON(preview.text);
    const std::vector<SyntaxToken> tokens = json ? JSONLexer().tokenize(preview.text) : YAMLLexer().tokenize(preview.text);
    preview.formats.reserve(qsizetype(1 + tokens.size() + parsed.placeholders.size()));
    for (const SyntaxToken& token : tokens) {
        if (token.range.location < 0 || token.range.length <= 0 || token.range.end() > size) continue;
        const QTextCharFormat& attributes = theme.attributes(token.type);
        if (!attributes.hasProperty(QTextFormat::ForegroundBrush)) continue;
        QTextCharFormat colour;
        colour.setForeground(attributes.foreground());
        preview.formats.push_back(formatRange(token.range.location, token.range.length, colour));
    }

    QTextCharFormat input;
    input.setForeground(QBrush(snippetInputTextColor));
    input.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    for (const Placeholder& placeholder : parsed.placeholders) {
        const TextRange& range = placeholder.range;
        if (range.location < 0 || range.end() > size) continue;
        preview.formats.push_back(formatRange(range.location, range.length, input));
    }
    return preview;
}

SnippetPreview makeSnippetPreview(QStringView templateText, bool isDark) {
    const SyntaxThemePreferencesStore& store = SyntaxThemePreferencesStore::shared();
    return makeSnippetPreview(templateText, isDark, store.buildTheme(isDark), store.snippetInputTextColor(isDark));
}

}  // namespace Carvex

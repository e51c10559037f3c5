#include "Carvex/Snippets/SnippetPlaceholderScanner.h"

#include <QChar>

namespace Carvex {

namespace {

// The length in units of the decimal digit starting at `at` (1, or 2 for a surrogate pair), or 0.
qsizetype digitLength(QStringView text, qsizetype at) {
    const QChar c = text[at];
    if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
        const char32_t scalar = QChar::surrogateToUcs4(c, text[at + 1]);
        return QChar::category(scalar) == QChar::Number_DecimalDigit ? 2 : 0;
    }
    return c.category() == QChar::Number_DecimalDigit ? 1 : 0;
}

}  // namespace

std::optional<qsizetype> SnippetPlaceholderScanner::closingBrace(qsizetype from) {
    if (noBraceLeft_) return std::nullopt;
    if (knownBrace_ >= from) return knownBrace_;
    const qsizetype found = text_.indexOf(u'}', from);
    if (found < 0) {
        noBraceLeft_ = true;
        return std::nullopt;
    }
    knownBrace_ = found;
    return found;
}

std::optional<SnippetPlaceholderScanner::Match> SnippetPlaceholderScanner::next() {
    const qsizetype size = text_.size();
    const QChar* units = text_.data();
    while (position_ + 1 < size) {
        if (units[position_] != u'$' || units[position_ + 1] != u'{') {
            ++position_;
            continue;
        }
        const qsizetype start = position_;
        qsizetype at = start + 2;
        while (at < size) {
            const qsizetype length = digitLength(text_, at);
            if (length == 0) break;
            at += length;
        }
        const qsizetype digitsEnd = at;
        if (digitsEnd == start + 2 || digitsEnd >= size || text_[digitsEnd] != u':') {
            position_ = start + 1;
            continue;
        }
        const qsizetype defaultStart = digitsEnd + 1;
        const std::optional<qsizetype> brace = closingBrace(defaultStart);
        if (!brace) break;
        if (*brace == defaultStart) {
            position_ = start + 1;
            continue;
        }
        position_ = *brace + 1;
        return Match{TextRange{start, position_ - start}, TextRange{start + 2, digitsEnd - start - 2},
                     TextRange{defaultStart, *brace - defaultStart}};
    }
    position_ = size;
    return std::nullopt;
}

}  // namespace Carvex

#include "Carvex/Validation/ValidationRangeConverter.h"

#include <algorithm>

namespace Carvex {

namespace {

bool isTokenCharacter(QChar c) {
    if (c.isSurrogate()) {
        return false;
    }
    if (c.isLetterOrNumber() || c.isMark()) {
        return true;
    }
    const char16_t u = c.unicode();
    return u == u'$' || u == u'-' || u == u'.' || u == u'/' || u == u'_';
}

// The units of the grapheme cluster at `index`: a mark never ends inside a character.
qsizetype clusterLength(QStringView text, qsizetype index) {
    return std::max<qsizetype>(
        TextPositionConverter::advanceClusters(text, index, text.size(), 1) - index, 1);
}

// The token at `index`, or the character there when it starts no token.
qsizetype markLength(QStringView text, qsizetype index) {
    const qsizetype token = ValidationRangeConverter::tokenLength(text, index);
    return token > 1 ? token : std::max(token, clusterLength(text, index));
}

}  // namespace

void ValidationRangeConverter::buildCache(QStringView text) { positions_.reset(text); }

void ValidationRangeConverter::invalidateCache() { positions_.clear(); }

void ValidationRangeConverter::ensureCache(QStringView text) {
    const QStringView cached = positions_.text();
    if (!positions_.hasText() || cached.utf16() != text.utf16() || cached.size() != text.size()) {
        positions_.reset(text);
    }
}

std::optional<std::pair<qsizetype, qsizetype>> ValidationRangeConverter::place(
    const SourceLocation& location, QStringView text) {
    ensureCache(text);
    const auto start = positions_.position(location.line, location.column);
    if (!start || *start >= text.size()) {
        return std::nullopt;
    }
    const qsizetype lineRest = std::max<qsizetype>(*positions_.lineEnd(location.line) - *start, 1);
    return std::make_pair(*start, lineRest);
}

std::optional<TextRange> ValidationRangeConverter::convertToNSRange(
    const SourceLocation& start, const std::optional<SourceLocation>& end, QStringView text) {
    const auto placed = place(start, text);
    if (!placed) {
        return std::nullopt;
    }
    const auto [location, lineRest] = *placed;
    if (end) {
        if (const auto stop = positions_.position(end->line, end->column); stop && *stop > location) {
            return TextRange{location, std::max<qsizetype>(1, std::min(text.size(), *stop) - location)};
        }
    }
    return TextRange{location, std::min(lineRest, markLength(text, location))};
}

std::optional<TextRange> ValidationRangeConverter::convertToNSRange(const SourceLocation& location,
                                                                    QStringView text,
                                                                    bool expandToToken) {
    const auto placed = place(location, text);
    if (!placed) {
        return std::nullopt;
    }
    const auto [start, lineRest] = *placed;
    const qsizetype token = expandToToken ? markLength(text, start) : clusterLength(text, start);
    return TextRange{start, std::min(lineRest, token)};
}

qsizetype ValidationRangeConverter::tokenLength(QStringView text, qsizetype index) {
    if (index < 0 || index >= text.size()) {
        return 1;
    }
    qsizetype i = index;
    while (i < text.size() && isTokenCharacter(text[i])) {
        ++i;
    }
    return std::max<qsizetype>(i - index, 1);
}

}  // namespace Carvex

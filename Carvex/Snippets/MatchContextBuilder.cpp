#include "Carvex/Snippets/MatchContextBuilder.h"

#include "Carvex/CaretContext/CaretLine.h"
#include "Carvex/CaretContext/UnitSearch.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace Carvex::MatchContextBuilder {

namespace {

// White space as the regular expression class \s takes it (the Unicode White_Space property).
// Surrogates, paired or not, are never white space.
bool isWhiteSpace(char16_t unit) {
    if (unit < 0x80) return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
    return u_isUWhiteSpace(UChar32(unit));
}

// The start of the line holding the character at `index` (0 ≤ index < length). A line feed right
// after a carriage return ends the same line as the return.
qsizetype startOfLineHolding(QStringView text, qsizetype index) {
    const char16_t* units = text.utf16();
    qsizetype searchEnd = index;
    if (units[index] == u'\n' && index > 0 && units[index - 1] == u'\r') --searchEnd;
    return UnitSearch::afterLastLineTerminator(units, 0, searchEnd);
}

// Columns of the leading spaces (1) and tabs (2) from `from`.
qsizetype leadingColumns(QStringView text, qsizetype from) {
    qsizetype columns = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u' ') {
            columns += 1;
        } else if (text[i] == u'\t') {
            columns += 2;
        } else {
            break;
        }
    }
    return columns;
}

QString withoutQuotes(QStringView text, FileFormat format) {
    QString out = text.toString();
    if (format == FileFormat::json) out.remove(u'"');
    return out;
}

}  // namespace

QStringView trailingWord(QStringView part) {
    qsizetype end = part.size();
    while (end > 0 && isWhiteSpace(part[end - 1].unicode())) --end;
    if (end == 0) return {};
    qsizetype start = end;
    while (start > 0 && !isWhiteSpace(part[start - 1].unicode())) --start;
    return part.sliced(start);
}

QString lastKeyword(QStringView text, qsizetype cursor, FileFormat format) {
    if (cursor < 1 || cursor > text.size()) return {};
    const qsizetype start = startOfLineHolding(text, cursor - 1);
    return withoutQuotes(CaretLine::trimmed(trailingWord(text.sliced(start, cursor - start))), format);
}

int indentLevel(QStringView text, qsizetype cursor) {
    if (cursor < 1 || cursor > text.size()) return 0;
    const qsizetype columns = leadingColumns(text, startOfLineHolding(text, cursor - 1));
    return int(std::min<qsizetype>(columns / 2, std::numeric_limits<int>::max()));
}

QString baseIndent(QStringView text, qsizetype position) {
    if (position < 1 || position > text.size()) return QStringLiteral("  ");
    const qsizetype start = startOfLineHolding(text, position - 1);
    qsizetype end = start;
    while (end < text.size() && (text[end] == u' ' || text[end] == u'\t')) ++end;
    return text.sliced(start, end - start).toString();
}

QStringList parentPath(QStringView text, qsizetype cursor, FileFormat format) {
    if (cursor < 1) return {};
    const QStringView before = text.first(std::min(cursor, text.size()));
    std::vector<std::pair<qsizetype, QStringView>> stack;
    const auto popFrom = [&stack](qsizetype indent) {
        while (!stack.empty() && stack.back().first >= indent) stack.pop_back();
    };
    qsizetype lineStart = 0;
    for (qsizetype lineEnd = before.indexOf(u'\n'); lineEnd >= 0; lineEnd = before.indexOf(u'\n', lineStart)) {
        const QStringView line = before.sliced(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        const QStringView trimmed = CaretLine::trimmed(line);
        if (trimmed.isEmpty()) continue;
        const qsizetype indent = leadingColumns(line, 0);
        if (format == FileFormat::json &&
            (trimmed == u"}" || trimmed == u"}," || trimmed == u"]" || trimmed == u"],")) {
            popFrom(indent);
            continue;
        }
        const qsizetype colon = trimmed.indexOf(u':');
        if (colon < 0) continue;
        popFrom(indent);
        stack.emplace_back(indent, trimmed.first(colon));
    }
    QStringList path;
    path.reserve(qsizetype(stack.size()));
    for (const auto& [indent, key] : stack) path.push_back(withoutQuotes(key, format));
    return path;
}

std::optional<MatchContext> build(const QString& text, qsizetype cursor, FileFormat format) {
    QString keyword = lastKeyword(text, cursor, format);
    if (keyword.isEmpty()) return std::nullopt;
    return MatchContext{.text = text,
                        .cursorPosition = cursor,
                        .lastKeyword = std::move(keyword),
                        .indentLevel = indentLevel(text, cursor),
                        .parentPath = parentPath(text, cursor, format),
                        .fileFormat = format};
}

}  // namespace Carvex::MatchContextBuilder

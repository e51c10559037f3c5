#include "Carvex/Snippets/InlineSnippetInsertion.h"

#include "Carvex/CaretContext/CaretLine.h"
#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/Snippets/MatchContextBuilder.h"
#include "Carvex/Snippets/SnippetPlaceholders.h"

#include <QChar>

#include <algorithm>
#include <optional>
#include <vector>

namespace Carvex {

namespace {

// Indentation that the layout writes in front of the body's later lines, in UTF-16 units over all
// of them, past which a suggestion is not offered.
constexpr qsizetype kMaxIndentationUnits = qsizetype(1) << 20;

bool isBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }

bool isHorizontalSpace(QChar c) {
    if (c == u' ' || c == u'\t') return true;
    return c.unicode() >= 0x80 && c.category() == QChar::Separator_Space;
}

bool isBlankLine(QStringView line) { return std::all_of(line.begin(), line.end(), isHorizontalSpace); }

qsizetype leadingRun(QStringView line) {
    qsizetype n = 0;
    while (n < line.size() && isBlank(line[n].unicode())) ++n;
    return n;
}

// The length of the list-item markers ("- ", "-\t", "- - " and the blanks after them) at the start
// of `rest` followed by `next` (the line's text still to come), when content follows them on the
// line; 0 otherwise. The walk stops past `limit` units, answering where it stopped.
qsizetype itemMarkers(QStringView rest, QStringView next, qsizetype limit) {
    const char16_t* const units = rest.utf16();
    const qsizetype size = rest.size();
    qsizetype i = 0;
    // Within `rest` the walk reads its units directly; a marker that reaches its end goes on in `next`.
    while (i + 1 < size && units[i] == u'-' && isBlank(units[i + 1])) {
        if (i > limit) return i;
        i += 2;
        while (i < size && isBlank(units[i])) ++i;
    }
    if (i + 1 < size || next.isEmpty()) return i < size ? i : 0;
    const auto at = [&](qsizetype k) { return k < size ? units[k] : next[k - size].unicode(); };
    const qsizetype total = size + next.size();
    while (i + 1 < total && at(i) == u'-' && isBlank(at(i + 1))) {
        if (i > limit) return i;
        i += 2;
        while (i < total && isBlank(at(i))) ++i;
    }
    return i < total ? i : 0;
}

// The length of the key a body begins with, its colon included: `"name":` in JSON, `name:` in
// YAML (the colon followed by a blank or the end of the line). None when the body begins with
// anything else, or with a key that holds a placeholder (it cannot have been typed).
std::optional<qsizetype> ownKeyLength(QStringView firstLine, FileFormat format) {
    if (firstLine.isEmpty()) return std::nullopt;
    qsizetype colon = -1;
    if (format == FileFormat::json) {
        if (firstLine[0] != u'"') return std::nullopt;
        const LineReading::Quoted key = LineReading::quoted(firstLine, 0, LineReading::Quoting::json);
        qsizetype i = key.end;
        while (i < firstLine.size() && isBlank(firstLine[i].unicode())) ++i;
        if (key.closed && i < firstLine.size() && firstLine[i] == u':') colon = i;
    } else {
        // A key as the line reading finds it (a quoted one read whole), at the line's start.
        const QChar first = firstLine[0];
        if (isHorizontalSpace(first) || first == u'-' || first == u'[' || first == u'{' || first == u'#' ||
            first == u':') {
            return std::nullopt;
        }
        if (const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(firstLine)) colon = key->colon;
    }
    if (colon < 0 || firstLine.first(colon).contains(u"${")) return std::nullopt;
    return colon + 1;
}

// The shortest leading run of spaces and tabs among the non-blank lines of `lines`, or 0.
qsizetype commonIndentation(QStringView lines) {
    std::optional<qsizetype> common;
    for (qsizetype start = 0; start <= lines.size();) {
        qsizetype end = lines.indexOf(u'\n', start);
        if (end < 0) end = lines.size();
        const QStringView line = lines.sliced(start, end - start);
        if (!isBlankLine(line)) common = std::min(common.value_or(line.size()), leadingRun(line));
        start = end + 1;
    }
    return common.value_or(0);
}

// Indentation that puts a line's text under position `column` of `line`, then `extra` spaces: the
// line's leading spaces and tabs as they are, then a space for each character up to `column`. None
// when it would be longer than `limit` units.
std::optional<QString> indentUnder(QStringView line, qsizetype column, qsizetype extra, qsizetype limit) {
    const qsizetype lead = std::min(leadingRun(line), column);
    // Each character takes one unit or two: refuse at once what cannot fit.
    if (lead + extra + (column - lead + 1) / 2 > limit) return std::nullopt;
    qsizetype spaces = extra;
    for (qsizetype i = lead; i < column; ++i) {
        if (!line[i].isLowSurrogate() || i == lead || !line[i - 1].isHighSurrogate()) ++spaces;
    }
    if (lead + spaces > limit) return std::nullopt;
    QString out;
    out.reserve(lead + spaces);
    out.append(line.first(lead));
    out.append(QString(spaces, u' '));
    return out;
}

// Lays out the body's later lines (`later`, each after a "\n") after `firstLine`. A non-blank line
// loses `dropped` leading characters; the columns of its remaining leading run (a tab counting
// two) give its depth, written as `unit` once per two columns after `base`. In YAML a line that
// opens a list item with content on it anchors the lines of that item: they are measured from
// the item's first key, which the output puts right after the dash and its blanks. Blank lines
// are kept as they are.
QString layOut(QStringView firstLine, QStringView later, QStringView base, QStringView unit, qsizetype dropped,
               FileFormat format) {
    struct Anchor {
        qsizetype column;  // the item's first key in the body
        QString indent;    // and in the output
    };
    std::vector<Anchor> items;
    QString out = firstLine.toString();
    qsizetype start = 0;
    while (start <= later.size()) {
        qsizetype end = later.indexOf(u'\n', start);
        if (end < 0) end = later.size();
        QStringView line = later.sliced(start, end - start);
        start = end + 1;
        out += u'\n';
        if (isBlankLine(line)) {
            out += line;
            continue;
        }
        if (line.size() >= dropped) line = line.sliced(dropped);
        const qsizetype run = leadingRun(line);
        qsizetype columns = 0;
        for (qsizetype i = 0; i < run; ++i) columns += line[i] == u'\t' ? 2 : 1;
        const QStringView rest = line.sliced(run);
        while (!items.empty() && items.back().column > columns) items.pop_back();
        const qsizetype indentStart = out.size();
        if (items.empty()) {
            out += base;
            for (qsizetype level = columns / 2; level > 0; --level) out += unit;
        } else {
            out += items.back().indent;
            for (qsizetype level = (columns - items.back().column) / 2; level > 0; --level) out += unit;
        }
        if (format == FileFormat::yaml) {
            if (const qsizetype markers = itemMarkers(rest, {}, rest.size()); markers > 0) {
                items.push_back({columns + markers, out.sliced(indentStart) + QString(markers, u' ')});
            }
        }
        out += rest;
    }
    return out;
}

}  // namespace

std::optional<InlineSnippetInsertion> InlineSnippetInsertion::make(QStringView text, const SnippetSuggestion& suggestion,
                                                                   const IndentationStyle& indentUnit,
                                                                   FileFormat format) {
    const qsizetype point = suggestion.insertionPoint;
    if (point < 0 || point > text.size()) return std::nullopt;
    if (point > 0 && point < text.size() && text[point - 1].isHighSurrogate() && text[point].isLowSurrogate()) {
        return std::nullopt;
    }

    const QStringView content = suggestion.template_.content;
    const qsizetype firstBreak = content.indexOf(u'\n');
    const QStringView firstLine = firstBreak < 0 ? content : content.first(firstBreak);
    const bool hasLater = firstBreak >= 0;
    const QStringView later = hasLater ? content.sliced(firstBreak + 1) : QStringView();
    const qsizetype laterLines = hasLater ? later.count(u'\n') + 1 : 0;
    const QString unit = indentUnit.indentString();

    // The caret's line up to the point.
    const qsizetype lineStart = CaretLine::lineStart(text, point);
    const QStringView typed = text.sliced(lineStart, point - lineStart);

    InlineSnippetInsertion insertion;
    insertion.replaceStart = point;
    insertion.replaceEnd = point;
    // Guards against a caret indented by megabytes: the base stands before every later line.
    const qsizetype deepest = laterLines > 0 ? kMaxIndentationUnits / laterLines - unit.size() : text.size() + 1;
    const auto tooDeep = [&](const QString& base) { return base.size() > deepest; };

    // A body that brings its own key, after a trigger that typed it.
    qsizetype typedEnd = typed.size();
    while (typedEnd > 0 && isBlank(typed[typedEnd - 1].unicode())) --typedEnd;
    const std::optional<qsizetype> keyLength = ownKeyLength(firstLine, format);
    if (keyLength && typedEnd >= *keyLength && typed.sliced(typedEnd - *keyLength, *keyLength) == firstLine.first(*keyLength)) {
        const qsizetype keyStart = typedEnd - *keyLength;
        insertion.replaceStart = lineStart + keyStart;
        // The key's column: for YAML the item's first key on the line, after any dashes.
        qsizetype column = keyStart;
        if (format == FileFormat::yaml) {
            const qsizetype lead = leadingRun(typed);
            column = std::min(keyStart, lead + itemMarkers(typed.sliced(lead), {}, deepest));
        }
        const std::optional<QString> base = indentUnder(typed, column, 0, deepest);
        if (!base) return std::nullopt;
        // The key as typed, with the blanks typed after it standing for the body's own.
        const QStringView blanks = typed.sliced(typedEnd);
        QStringView value = firstLine.sliced(*keyLength);
        if (!blanks.isEmpty()) value = value.sliced(leadingRun(value));
        QString first = firstLine.first(*keyLength).toString();
        first.append(blanks).append(value);
        insertion.snippetText = hasLater ? layOut(first, later, *base, unit, 0, format) : first;
    } else if (format == FileFormat::yaml) {
        // Does the caret's line, with the body's first line after it, continue a list item? Then the
        // item's first key, not the line's indentation, is what the body's lines stand under.
        const qsizetype lead = leadingRun(typed);
        // The markers may end in the body's first line ("-" typed, " name: x" to come).
        const qsizetype markers = lead < typed.size() ? itemMarkers(typed.sliced(lead), firstLine, deepest) : 0;
        QString base;
        if (markers > 0) {
            const qsizetype keyColumn = lead + markers;
            const std::optional<QString> itemBase =
                indentUnder(typed, std::min(keyColumn, typed.size()), std::max<qsizetype>(keyColumn - typed.size(), 0),
                            deepest);
            if (!itemBase) return std::nullopt;
            base = *itemBase;
            // A value under the item's key goes a unit deeper; a body that goes on with the item's
            // own keys stays at its first key.
            if (isBlankLine(firstLine)) base += unit;
        } else {
            base = MatchContextBuilder::baseIndent(text, point) + unit;
        }
        if (tooDeep(base)) return std::nullopt;
        insertion.snippetText = hasLater ? layOut(firstLine, later, base, unit, commonIndentation(later), format)
                                         : content.toString();
    } else {
        const QString base = MatchContextBuilder::baseIndent(text, point);
        if (tooDeep(base)) return std::nullopt;
        insertion.snippetText = SnippetSuggestion::render(content, base, indentUnit, format);
    }

    const QString display = parseSnippetPlaceholders(insertion.snippetText, insertion.replaceStart).displayText;
    insertion.ghostText = display.sliced(std::min(display.size(), point - insertion.replaceStart));
    if (insertion.ghostText.isEmpty()) return std::nullopt;
    return insertion;
}

}  // namespace Carvex

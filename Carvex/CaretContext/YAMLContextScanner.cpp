#include "Carvex/CaretContext/YAMLContextScanner.h"

#include "Carvex/CaretContext/CaretLine.h"
#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/CaretContext/UnitSearch.h"

#include <QChar>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <unordered_map>

namespace Carvex {

namespace {

bool outside(QStringView text, qsizetype caret)
{
    return caret < 0 || caret > text.size();
}

// One line as a range of the text, its terminator excluded, with what every walk asks of it.
struct Line {
    qsizetype start;
    qsizetype end;
    qsizetype indentation; // a space counts 1, a tab 2, up to the first other unit
    qsizetype lead;        // offset of the first unit that is no horizontal space (end when none)
};

// Steps from line to line without splitting the whole text, so that a walk costs only the lines
// it visits.
class Lines {
public:
    explicit Lines(QStringView text) : text_(text) {}

    Line at(qsizetype position) const
    {
        Line line{CaretLine::lineStart(text_, position), CaretLine::lineEnd(text_, position), 0, 0};
        const char16_t* units = text_.utf16();
        qsizetype i = line.start;
        for (; i < line.end && (units[i] == u' ' || units[i] == u'\t'); ++i)
            line.indentation += units[i] == u' ' ? 1 : 2;
        while (i < line.end && CaretLine::isHorizontalSpace(units[i]))
            ++i;
        line.lead = i;
        return line;
    }
    std::optional<Line> above(Line line) const
    {
        if (line.start == 0)
            return std::nullopt;
        return at(line.start - 1);
    }
    // The nearest line above indented at most `limit`; lines that begin with more spaces are passed
    // over without being read further.
    std::optional<Line> aboveIndentedAtMost(Line line, qsizetype limit) const
    {
        if (line.start == 0)
            return std::nullopt;
        const char16_t* units = text_.utf16();
        const qsizetype length = text_.size();
        const auto shallow = [&](qsizetype start) {
            qsizetype i = start;
            while (i < length && i - start <= limit && units[i] == u' ')
                ++i;
            return i - start <= limit;
        };
        // The line above ends with the terminator at line.start - 1.
        const qsizetype terminator = UnitSearch::lastLineTerminatorWhere(
            units, 0, line.start - 1, [&](qsizetype at) { return shallow(at + 1); });
        if (terminator >= 0)
            return at(terminator + 1);
        if (shallow(0))
            return at(0);
        return std::nullopt;
    }
    std::optional<Line> below(Line line) const
    {
        const qsizetype next = line.end + 1;
        if (next >= text_.size())
            return std::nullopt;
        return at(next);
    }
    // The next line that starts with neither a space nor a tab; those are passed over unread.
    std::optional<Line> belowAtMargin(Line line) const
    {
        const char16_t* units = text_.utf16();
        qsizetype next = line.end + 1;
        while (next < text_.size()) {
            if (units[next] != u' ' && units[next] != u'\t')
                return at(next);
            next = CaretLine::lineEnd(text_, next) + 1;
        }
        return std::nullopt;
    }
    // The line list's caret line: the line holding the caret, except that a caret after a final
    // terminator, or outside the text, falls on the last line.
    std::optional<Line> caretLine(qsizetype caret) const
    {
        const qsizetype length = text_.size();
        if (length == 0)
            return std::nullopt;
        const bool endsWithTerminator = CaretLine::isTerminator(text_[length - 1].unicode());
        if (caret >= 0 && caret <= length && !(caret == length && endsWithTerminator))
            return at(caret);
        return at(endsWithTerminator ? length - 1 : length);
    }
    Line first() const { return at(0); }

    QStringView content(Line line) const { return text_.sliced(line.start, line.end - line.start); }
    QStringView trimmed(Line line) const { return CaretLine::trimmed(content(line)); }
    static qsizetype indentation(Line line) { return line.indentation; }
    bool isBlankOrComment(Line line) const { return line.lead == line.end || text_[line.lead] == u'#'; }
    bool isDash(Line line) const { return line.lead < line.end && text_[line.lead] == u'-'; }

private:
    QStringView text_;
};

bool isBlankOrComment(QStringView trimmed)
{
    return trimmed.isEmpty() || trimmed.front() == u'#';
}

bool isDash(QStringView trimmed)
{
    return !trimmed.isEmpty() && trimmed.front() == u'-';
}

// The name of the key of a line's text after its dashes, as the line reading finds it: a quoted key
// means its text with the escapes read (an empty one stays a key); an empty plain key is none. A
// plain key still enclosed in matching quotes (a quote left open: "''': x") loses them, a doubled
// quote in single ones reading as one.
std::optional<QString> keyName(QStringView text)
{
    const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(text);
    if (!key)
        return std::nullopt;
    const QStringView raw = key->name.raw;
    if (key->name.quoting != LineReading::Quoting::plain)
        return LineReading::decoded(key->name);
    if (raw.size() >= 2 && LineReading::isQuote(raw.front()) && raw.back() == raw.front()) {
        const LineReading::Quoting quoting =
            raw.front() == u'"' ? LineReading::Quoting::plain : LineReading::Quoting::yamlSingle;
        return LineReading::decoded({raw.sliced(1, raw.size() - 2), quoting});
    }
    if (raw.isEmpty())
        return std::nullopt;
    return raw.toString();
}

QStringView withoutDash(QStringView trimmed)
{
    return isDash(trimmed) ? CaretLine::trimmed(trimmed.sliced(1)) : trimmed;
}

bool isPrefixUnit(char16_t unit)
{
    return unit == u'_' || unit == u'-' || unit == u'$' || QChar::isLetterOrNumber(char32_t(unit));
}

bool isSequenceKey(QStringView key)
{
    static constexpr const char16_t* keys[] = {u"allOf", u"anyOf",    u"oneOf", u"servers", u"parameters",
                                               u"tags",  u"security", u"enum",  u"required", u"examples"};
    for (const char16_t* name : keys) {
        if (key == QStringView(name))
            return true;
    }
    return false;
}

bool isScalarSequenceKey(QStringView key)
{
    return key == u"required" || key == u"enum";
}

bool opensBlock(QStringView trimmed)
{
    return YAMLContextScanner::withoutTrailingComment(trimmed).endsWith(u':');
}

// The key of the nearest line above `line`, by indentation: blank and comment lines and lines at
// the caret line's indentation or deeper are passed over, so are dash lines without a key; the
// first other line gives its key or nothing. `onlyKeyLines` asks that line to end with ":". The
// items of a list may stand at its key's own column: for a dash line, a key line at its column
// that opens a block is its parent, past the other items.
std::optional<QString> parentKey(const Lines& lines, Line line, bool onlyKeyLines)
{
    const qsizetype ci = lines.indentation(line);
    const bool item = lines.isDash(line);
    for (std::optional<Line> above = lines.aboveIndentedAtMost(line, ci); above;
         above = lines.aboveIndentedAtMost(*above, ci)) {
        if (lines.isBlankOrComment(*above))
            continue;
        const QStringView t = lines.trimmed(*above);
        const qsizetype indentation = lines.indentation(*above);
        if (item && indentation == ci && !isDash(t) && opensBlock(t))
            return YAMLContextScanner::extractKeyFromLine(lines.content(*above));
        if (indentation >= ci)
            continue;
        if (onlyKeyLines) {
            if (opensBlock(t))
                return YAMLContextScanner::extractKeyFromLine(lines.content(*above));
            if (isDash(t))
                continue;
            return std::nullopt;
        }
        if (std::optional<QString> key = YAMLContextScanner::extractKeyFromLine(lines.content(*above)))
            return key;
        if (isDash(t))
            continue;
        return std::nullopt;
    }
    return std::nullopt;
}

bool isBlankUnit(QChar unit)
{
    return unit == u' ' || unit == u'\t';
}

// "|" or ">" with at most one indentation indicator (1 to 9) and one chomping indicator ("-", "+"),
// in either order.
bool isBlockScalarIndicator(QStringView token)
{
    if (token.isEmpty() || token.size() > 3 || (token[0] != u'|' && token[0] != u'>'))
        return false;
    bool digit = false;
    bool chomping = false;
    for (const QChar unit : token.sliced(1)) {
        if (unit >= u'1' && unit <= u'9' && !digit)
            digit = true;
        else if ((unit == u'-' || unit == u'+') && !chomping)
            chomping = true;
        else
            return false;
    }
    return true;
}

// Whether a value (trimmed, its comment removed) opens a block scalar: tags ("!t") and anchors
// ("&a"), then the indicator.
bool isBlockScalarHeader(QStringView value)
{
    qsizetype start = 0;
    while (start < value.size()) {
        qsizetype end = start;
        while (end < value.size() && !isBlankUnit(value[end]))
            ++end;
        const QStringView token = value.sliced(start, end - start);
        if (end == value.size())
            return isBlockScalarIndicator(token);
        if (token.front() != u'!' && token.front() != u'&')
            return false;
        start = end;
        while (start < value.size() && isBlankUnit(value[start]))
            ++start;
    }
    return false;
}

// Whether a "|" or ">" stands among the units, eight at a time where the processor allows.
bool holdsBar(const char16_t* units, qsizetype length)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i bar = _mm_set1_epi16(u'|');
    const __m128i greater = _mm_set1_epi16(u'>');
    for (; i + 8 <= length; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
        if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(chunk, bar), _mm_cmpeq_epi16(chunk, greater))) != 0)
            return true;
    }
#endif
    for (; i < length; ++i) {
        if (units[i] == u'|' || units[i] == u'>')
            return true;
    }
    return false;
}

// The key before that colon, trimmed; none without one.
struct Frame {
    QString key;
    qsizetype indentation;
    bool isSequence;
    qsizetype index;
};

int clampedIndex(qsizetype count)
{
    return int(std::clamp<qsizetype>(count - 1, 0, std::numeric_limits<int>::max()));
}

} // namespace

namespace {

// The keys of the sequence item holding the caret line; the text of block scalars in it is passed
// over.
QSet<QString> keysOfSequenceItem(const Lines& lines, Line current, qsizetype ci, bool caretOnDash)
{
    QSet<QString> keys;
    Line start = current;
    if (!caretOnDash) {
        for (std::optional<Line> line = lines.above(current); line; line = lines.above(*line)) {
            if (lines.isBlankOrComment(*line) || lines.indentation(*line) >= ci)
                continue;
            if (lines.isDash(*line))
                start = *line;
            break;
        }
    }
    const qsizetype itemIndentation = lines.indentation(start);
    Line end = current;
    for (std::optional<Line> line = lines.below(current); line; line = lines.below(*line)) {
        if (lines.isBlankOrComment(*line))
            continue;
        const qsizetype indentation = lines.indentation(*line);
        // An item ends at the next item of its sequence, at a line of the enclosing block,
        // and at an item of an enclosing sequence.
        if (indentation <= itemIndentation)
            break;
        end = *line;
    }
    const QStringView startText = lines.trimmed(start);
    if (isDash(startText)) {
        if (std::optional<QString> key = YAMLContextScanner::extractKeyFromDashLine(startText))
            keys.insert(*key);
    }
    std::optional<qsizetype> block = YAMLContextScanner::blockScalarColumn(lines.content(start));
    for (std::optional<Line> line = lines.below(start); line && line->start <= end.start;
         line = lines.below(*line)) {
        if (lines.isBlankOrComment(*line))
            continue;
        const qsizetype indentation = lines.indentation(*line);
        if (block && indentation > *block)
            continue;
        block = YAMLContextScanner::blockScalarColumn(lines.content(*line));
        if (indentation < itemIndentation + 2)
            continue;
        if (std::optional<QString> key = YAMLContextScanner::extractKeyFromLine(lines.content(*line)))
            keys.insert(*key);
    }
    return keys;
}

// The keys of the block mapping holding the caret line. Dash lines at its column are the items of
// a list written at its key's column, never keys of the mapping.
QSet<QString> keysOfMapping(const Lines& lines, Line current, qsizetype ci)
{
    QSet<QString> keys;
    std::optional<qsizetype> parentIndentation;
    Line blockStart = lines.first();
    // At the left margin no line lies further left: the block is the whole text.
    for (std::optional<Line> line = ci > 0 ? lines.above(current) : std::nullopt; line; line = lines.above(*line)) {
        if (lines.isBlankOrComment(*line))
            continue;
        const qsizetype indentation = lines.indentation(*line);
        if (indentation < ci) {
            parentIndentation = indentation;
            blockStart = *lines.below(*line); // the caret line at least follows it
            break;
        }
    }
    // At the margin only lines at the margin count: indented ones are passed over unread.
    const bool marginOnly = ci == 0 && !parentIndentation;
    for (std::optional<Line> line = blockStart; line;
         line = marginOnly ? lines.belowAtMargin(*line) : lines.below(*line)) {
        if (lines.isBlankOrComment(*line))
            continue;
        const qsizetype indentation = lines.indentation(*line);
        if (parentIndentation && line->start > current.start && indentation <= *parentIndentation)
            break;
        if ((indentation == ci || (!parentIndentation && indentation == 0)) && !lines.isDash(*line)) {
            if (std::optional<QString> key = YAMLContextScanner::extractKeyFromLine(lines.content(*line)))
                keys.insert(*key);
        }
    }
    return keys;
}

// Whether a caret line that is no dash line lies in a sequence item: a dash line to its left comes
// first on the way up. Dash lines at its own column are the items of a list whose key, at that
// column too, is a sibling; when no such key comes before a line further left (or the top), they are
// items the caret line follows, as before.
bool isInsideSequenceItem(const Lines& lines, Line current, qsizetype ci)
{
    if (ci == 0) {
        // Nothing lies further left: the walk would end with what the first line at the margin is.
        for (std::optional<Line> line = lines.first(); line && line->start < current.start;
             line = lines.belowAtMargin(*line)) {
            if (!lines.isBlankOrComment(*line) && lines.indentation(*line) == 0)
                return lines.isDash(*line);
        }
        return false;
    }
    bool itemsAtColumn = false;
    for (std::optional<Line> line = lines.aboveIndentedAtMost(current, ci); line;
         line = lines.aboveIndentedAtMost(*line, ci)) {
        if (lines.isBlankOrComment(*line))
            continue;
        const qsizetype indentation = lines.indentation(*line);
        if (indentation > ci)
            continue;
        if (lines.isDash(*line)) {
            if (indentation < ci)
                return true;
            itemsAtColumn = true;
        } else if (indentation < ci) {
            return itemsAtColumn;
        } else {
            itemsAtColumn = false;
        }
    }
    return itemsAtColumn;
}

// The walk up from the caret line: its ancestors, outermost first, and the block scalar whose text
// it is. Each ancestor is the nearest key line to the left of the one below it; a dash line to the
// left starts a sequence, whose key may stand at the dash's own column. A block scalar's header met
// on the way makes what was found below it text: the walk starts again from the header's key.
struct Ancestry {
    std::vector<Frame> frames;
    std::optional<Line> blockHeader;
    std::optional<QString> blockKey;
};

Ancestry walkUp(const Lines& lines, Line current)
{
    Ancestry result;
    const qsizetype ci = lines.indentation(current);
    // Only lines indented at most `target` can change the walk (dash lines deeper than it are
    // counted for indentations it never asks about again). Once the target reaches the margin
    // nothing is left to find, unless a sequence there still looks for its key.
    std::unordered_map<qsizetype, qsizetype> dashesBelow;
    qsizetype target = ci;
    bool isSequence = false;
    qsizetype dashIndentation = 0;
    if (lines.isDash(current)) {
        // The caret's own item.
        isSequence = true;
        dashIndentation = ci;
        ++dashesBelow[ci];
    }
    const auto nextAbove = [&](Line line) {
        return target > 0 || isSequence ? lines.aboveIndentedAtMost(line, target) : std::nullopt;
    };
    for (std::optional<Line> line = nextAbove(current); line; line = nextAbove(*line)) {
        if (lines.isBlankOrComment(*line))
            continue;
        const qsizetype indentation = lines.indentation(*line);
        const QStringView content = lines.content(*line);
        if (lines.isDash(*line)) {
            if (indentation < target) {
                const std::optional<qsizetype> column = YAMLContextScanner::blockScalarColumn(content);
                if (column && *column < target) {
                    result.frames.clear();
                    result.blockHeader = *line;
                    result.blockKey.reset();
                    if (*column > indentation) {
                        result.blockKey = YAMLContextScanner::extractKeyFromLine(content);
                        if (result.blockKey)
                            result.frames.push_back({*result.blockKey, *column, false, 0});
                    }
                }
                isSequence = true;
                dashIndentation = indentation;
                target = indentation;
            }
            ++dashesBelow[indentation];
            continue;
        }
        const bool listKey = isSequence && indentation == dashIndentation && opensBlock(lines.trimmed(*line));
        if (indentation >= target && !listKey)
            continue;
        std::optional<QString> key = YAMLContextScanner::extractKeyFromLine(content);
        if (!key)
            continue;
        if (!listKey && YAMLContextScanner::blockScalarColumn(content)) {
            result.frames.clear();
            result.blockHeader = *line;
            result.blockKey = key;
            result.frames.push_back({std::move(*key), indentation, false, 0});
        } else {
            qsizetype index = 0;
            if (isSequence) {
                const auto found = dashesBelow.find(dashIndentation);
                index = clampedIndex(found == dashesBelow.end() ? 0 : found->second);
            }
            result.frames.push_back({std::move(*key), indentation, isSequence, index});
        }
        if (indentation == 0)
            break;
        target = indentation;
        isSequence = false;
    }
    std::reverse(result.frames.begin(), result.frames.end());
    return result;
}

std::vector<PathComponent> pathOfFrames(std::vector<Frame>& frames)
{
    std::vector<PathComponent> path;
    for (Frame& frame : frames) {
        path.push_back(PathComponent::forKey(std::move(frame.key), path));
        if (frame.isSequence)
            path.push_back(PathComponent::index(int(frame.index)));
    }
    return path;
}

std::optional<YAMLContextScanner::BlockScalar> blockScalarOf(const Ancestry& ancestry)
{
    if (!ancestry.blockHeader)
        return std::nullopt;
    return YAMLContextScanner::BlockScalar{ancestry.blockHeader->start, ancestry.blockKey};
}

} // namespace

qsizetype YAMLContextScanner::countLeadingIndentation(QStringView line)
{
    qsizetype columns = 0;
    for (QChar unit : line) {
        if (unit == u' ')
            columns += 1;
        else if (unit == u'\t')
            columns += 2;
        else
            break;
    }
    return columns;
}

std::optional<QString> YAMLContextScanner::extractKeyFromLine(QStringView line)
{
    const QStringView t = CaretLine::trimmed(line);
    if (isBlankOrComment(t))
        return std::nullopt;
    return keyName(withoutDash(t));
}

std::optional<QString> YAMLContextScanner::extractKeyFromDashLine(QStringView trimmedLine)
{
    if (!isDash(trimmedLine))
        return std::nullopt;
    return keyName(trimmedLine.sliced(1));
}

qsizetype YAMLContextScanner::keyColon(QStringView text)
{
    const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(text);
    return key ? key->colon : -1;
}

QStringView YAMLContextScanner::withoutTrailingComment(QStringView trimmedLine)
{
    qsizetype end = LineReading::yamlCommentStart(trimmedLine);
    if (end == trimmedLine.size())
        return trimmedLine;
    while (end > 0 && isBlankUnit(trimmedLine[end - 1]))
        --end;
    return trimmedLine.first(end);
}

std::vector<YAMLContextScanner::LineInfo> YAMLContextScanner::splitLines(QStringView text)
{
    std::vector<LineInfo> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = CaretLine::lineEnd(text, start);
        lines.push_back({text.sliced(start, end - start).toString(), start});
        start = end + 1;
    }
    return lines;
}

std::optional<std::size_t> YAMLContextScanner::lineIndex(const std::vector<LineInfo>& lines, qsizetype caretLocation)
{
    if (lines.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].startOffset <= caretLocation && caretLocation <= lines[i].startOffset + lines[i].content.size())
            return i;
    }
    return lines.size() - 1;
}

YAMLContextScanner::CaretScan YAMLContextScanner::scanToCaret(QStringView text, qsizetype caretLocation) const
{
    if (outside(text, caretLocation))
        return {};
    const Lines lines(text);
    const std::optional<Line> current = lines.caretLine(caretLocation);
    if (!current)
        return {};
    const QStringView t = lines.trimmed(*current);
    const qsizetype ci = lines.indentation(*current);
    // A line at the left margin lives in the root mapping, unless it is an item of a list written
    // at its key's column ("---" and "-1" are none).
    const bool item = t == u"-" || (t.size() > 1 && t.front() == u'-' && isBlankUnit(t[1]));
    if (!t.isEmpty() && ci == 0 && t.front() != u'#' && !item)
        return {};

    Ancestry ancestry = walkUp(lines, *current);
    // The caret line itself, when it is structure: a key that opens a nested block is part of
    // the path.
    if (!ancestry.blockHeader && !isBlankOrComment(t) && withoutTrailingComment(t).endsWith(u':')) {
        if (std::optional<QString> key = extractKeyFromLine(lines.content(*current)))
            ancestry.frames.push_back({std::move(*key), ci, false, 0});
    }
    CaretScan scan;
    scan.blockScalar = blockScalarOf(ancestry);
    scan.path = pathOfFrames(ancestry.frames);
    return scan;
}

std::vector<PathComponent> YAMLContextScanner::extractPath(QStringView text, qsizetype caretLocation) const
{
    return scanToCaret(text, caretLocation).path;
}

std::optional<YAMLContextScanner::BlockScalar> YAMLContextScanner::enclosingBlockScalar(QStringView text,
                                                                                         qsizetype caretLocation) const
{
    if (outside(text, caretLocation))
        return std::nullopt;
    const Lines lines(text);
    const std::optional<Line> current = lines.caretLine(caretLocation);
    // A line at the margin is never indented beyond a header.
    if (!current || lines.indentation(*current) == 0)
        return std::nullopt;
    return blockScalarOf(walkUp(lines, *current));
}

CursorRole YAMLContextScanner::detectRole(QStringView text, qsizetype caretLocation) const
{
    return detectRole(text, caretLocation, enclosingBlockScalar(text, caretLocation));
}

CursorRole YAMLContextScanner::detectRole(QStringView text, qsizetype caretLocation,
                                          const std::optional<BlockScalar>& block) const
{
    if (outside(text, caretLocation))
        return CursorRole::unknown;
    if (block)
        return block->key ? CursorRole::mappingValue : CursorRole::sequenceItem;
    const Lines lines(text);
    const Line line = lines.at(caretLocation);
    const QStringView before = text.sliced(line.start, caretLocation - line.start);
    const QStringView t = CaretLine::trimmed(before);

    if (isDash(t)) {
        const QStringView rest = CaretLine::trimmed(t.sliced(1));
        if (rest.isEmpty())
            return CursorRole::sequenceItem;
        // A mapping item only by the colon that ends a key: "- \"a:b\"" and "- a:b" are scalars.
        if (keyColon(rest) >= 0)
            return CursorRole::mappingValue;
        const std::optional<QString> parent = parentKey(lines, line, false);
        return parent && isScalarSequenceKey(*parent) ? CursorRole::sequenceItem : CursorRole::mappingKey;
    }
    if (t.endsWith(u':') || before.endsWith(u": "))
        return CursorRole::mappingValue;
    // The caret before or after the colon that ends the line's key; a colon in a scalar ("a:b",
    // "'x: y'", "{a: b}") is none.
    const QStringView body = text.sliced(line.lead, line.end - line.lead);
    const qsizetype dashes = LineReading::afterDashes(body);
    const qsizetype colon = keyColon(body.sliced(dashes));
    if (colon >= 0)
        return line.lead + dashes + colon < caretLocation ? CursorRole::mappingValue : CursorRole::mappingKey;
    if (!t.isEmpty())
        return CursorRole::mappingKey;
    for (std::optional<Line> above = lines.above(line); above; above = lines.above(*above)) {
        const QStringView at = lines.trimmed(*above);
        if (isBlankOrComment(at))
            continue;
        if (at.endsWith(u':')) {
            const std::optional<QString> key = extractKeyFromLine(lines.content(*above));
            if (key && isSequenceKey(*key))
                return CursorRole::sequenceItem;
        }
        return CursorRole::mappingKey;
    }
    return CursorRole::mappingKey;
}

QString YAMLContextScanner::extractPrefix(QStringView text, qsizetype caretLocation) const
{
    if (caretLocation < 1 || caretLocation > text.size())
        return QString();
    const char16_t* units = text.utf16();
    qsizetype start = caretLocation;
    while (start > 0 && isPrefixUnit(units[start - 1]))
        --start;
    return text.sliced(start, caretLocation - start).toString();
}

CompletionHints YAMLContextScanner::extractHints(QStringView text, qsizetype caretLocation) const
{
    return extractHints(text, caretLocation, enclosingBlockScalar(text, caretLocation));
}

CompletionHints YAMLContextScanner::extractHints(QStringView text, qsizetype caretLocation,
                                                 const std::optional<BlockScalar>& block) const
{
    if (outside(text, caretLocation))
        return CompletionHints::default_();
    const Line line = Lines(text).at(caretLocation);
    const QStringView before = text.sliced(line.start, caretLocation - line.start);

    // The comment and the quoted scalar at the caret as the line reading finds them: a quote inside
    // a plain scalar ("it's") opens nothing, a doubled quote ("'it''") closes nothing.
    CompletionHints hints;
    hints.isInComment = LineReading::yamlCommentStart(before) < before.size();
    hints.isInString = !hints.isInComment && LineReading::quotedHolding(text, caretLocation, false).has_value();
    if (block) {
        // A block scalar's text is a string, and a "#" in it is text.
        hints.isInComment = false;
        hints.isInString = true;
    }
    const QStringView indentation = CaretLine::leadingWhitespace(text.sliced(line.start, line.end - line.start));
    hints.currentIndentation = indentation.toString();
    hints.indentationDepth = CaretLine::indentationDepth(indentation);
    return hints;
}

QString YAMLContextScanner::getCurrentLine(QStringView text, qsizetype caretLocation) const
{
    return CaretLine::getCurrentLine(text, caretLocation);
}

std::optional<QString> YAMLContextScanner::extractCurrentKey(QStringView text, qsizetype caretLocation) const
{
    return extractCurrentKey(text, caretLocation, enclosingBlockScalar(text, caretLocation));
}

std::optional<QString> YAMLContextScanner::extractCurrentKey(QStringView text, qsizetype caretLocation,
                                                             const std::optional<BlockScalar>& block) const
{
    const Lines lines(text);
    if (block) {
        if (block->key)
            return block->key;
        // An item that is the scalar: the key of its list.
        return parentKey(lines, lines.at(block->headerStart), true);
    }
    const QString currentLine = CaretLine::getCurrentLine(text, caretLocation);
    const QStringView u = withoutDash(CaretLine::trimmed(currentLine));
    if (const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(u)) {
        const QString name = LineReading::decoded(key->name);
        if (name.isEmpty())
            return std::nullopt;
        return name;
    }
    const std::optional<Line> current = lines.caretLine(caretLocation);
    if (!current)
        return std::nullopt;
    return parentKey(lines, *current, true);
}

QSet<QString> YAMLContextScanner::extractExistingKeys(QStringView text, qsizetype caretLocation) const
{
    return extractExistingKeys(text, caretLocation, enclosingBlockScalar(text, caretLocation));
}

QSet<QString> YAMLContextScanner::extractExistingKeys(QStringView text, qsizetype caretLocation,
                                                      const std::optional<BlockScalar>& block) const
{
    if (outside(text, caretLocation) || block)
        return {};
    const Lines lines(text);
    const std::optional<Line> current = lines.caretLine(caretLocation);
    if (!current)
        return {};
    const qsizetype ci = lines.indentation(*current);
    if (lines.isDash(*current))
        return keysOfSequenceItem(lines, *current, ci, true);
    if (isInsideSequenceItem(lines, *current, ci))
        return keysOfSequenceItem(lines, *current, ci, false);
    return keysOfMapping(lines, *current, ci);
}

std::optional<qsizetype> YAMLContextScanner::blockScalarColumn(QStringView line)
{
    // A header ends with its indicator, or with a comment: most lines are passed over here.
    qsizetype last = line.size();
    while (last > 0 && isBlankUnit(line[last - 1]))
        --last;
    if (last == 0)
        return std::nullopt;
    qsizetype token = last;
    while (token > 0 && last - token < 4 && !isBlankUnit(line[token - 1]))
        --token;
    const bool endsWithIndicator = last - token <= 3 && (line[token] == u'|' || line[token] == u'>');
    if (!endsWithIndicator && !holdsBar(line.utf16(), line.size()))
        return std::nullopt;
    qsizetype column = 0;
    qsizetype i = 0;
    for (; i < line.size() && (line[i] == u' ' || line[i] == u'\t'); ++i)
        column += line[i] == u' ' ? 1 : 2;
    while (i < line.size() && CaretLine::isHorizontalSpace(line[i].unicode()))
        ++i;
    std::optional<qsizetype> dashColumn;
    while (i < line.size() && line[i] == u'-' && (i + 1 == line.size() || isBlankUnit(line[i + 1]))) {
        dashColumn = column;
        ++i;
        ++column;
        for (; i < line.size() && isBlankUnit(line[i]); ++i)
            column += line[i] == u' ' ? 1 : 2;
    }
    // Most lines are passed over at their key's colon: no indicator, tag or anchor follows it.
    const auto opensValue = [](QChar unit) { return unit == u'|' || unit == u'>' || unit == u'!' || unit == u'&'; };
    const QStringView raw = line.sliced(i);
    if (raw.isEmpty())
        return std::nullopt;
    if (!opensValue(raw.front())) {
        const qsizetype colon = keyColon(raw);
        if (colon <= 0)
            return std::nullopt;
        qsizetype value = colon + 1;
        while (value < raw.size() && isBlankUnit(raw[value]))
            ++value;
        if (value == raw.size() || !opensValue(raw[value]))
            return std::nullopt;
    }
    const QStringView rest = withoutTrailingComment(CaretLine::trimmed(raw));
    if (rest.isEmpty())
        return std::nullopt;
    if (rest.front() == u'|' || rest.front() == u'>')
        return dashColumn && isBlockScalarHeader(rest) ? dashColumn : std::nullopt;
    if (dashColumn && (rest.front() == u'!' || rest.front() == u'&') && isBlockScalarHeader(rest))
        return dashColumn;
    const qsizetype colon = keyColon(rest);
    if (colon < 0 || colon == 0)
        return std::nullopt;
    if (isBlockScalarHeader(CaretLine::trimmed(rest.sliced(colon + 1))))
        return column;
    return std::nullopt;
}

} // namespace Carvex

#include "Carvex/CaretContext/LineReading.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace Carvex::LineReading {

namespace {

bool isJSONSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

Quoting yamlQuoting(QChar quote)
{
    return quote == u'"' ? Quoting::yamlDouble : Quoting::yamlSingle;
}

// The value of `count` hexadecimal digits at `at`; none when they are not all there.
std::optional<char32_t> hexValue(QStringView text, qsizetype at, int count)
{
    if (at + count > text.size())
        return std::nullopt;
    char32_t value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t unit = text[at + i].unicode();
        char32_t digit = 0;
        if (unit >= u'0' && unit <= u'9')
            digit = unit - u'0';
        else if (unit >= u'a' && unit <= u'f')
            digit = unit - u'a' + 10;
        else if (unit >= u'A' && unit <= u'F')
            digit = unit - u'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

void appendCodePoint(QString& out, char32_t c)
{
    if (c > 0x10FFFF)
        c = 0xFFFD;
    const char32_t one[] = {c};
    out.append(QString::fromUcs4(one, 1));
}

// The text of a double-quoted YAML scalar or a JSON string, its escapes decoded. An escape that the
// format does not know stays as written.
QString decodedEscapes(QStringView raw, bool yaml)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 >= raw.size()) {
            out.append(c);
            continue;
        }
        const char16_t e = raw[i + 1].unicode();
        int digits = 0;
        std::optional<char16_t> simple;
        switch (e) {
        case u'"': simple = u'"'; break;
        case u'\\': simple = u'\\'; break;
        case u'/': simple = u'/'; break;
        case u'b': simple = 0x08; break;
        case u'f': simple = 0x0C; break;
        case u'n': simple = 0x0A; break;
        case u'r': simple = 0x0D; break;
        case u't': simple = 0x09; break;
        case u'u': digits = 4; break;
        default:
            if (yaml) {
                switch (e) {
                case u'0': simple = 0x00; break;
                case u'a': simple = 0x07; break;
                case u'v': simple = 0x0B; break;
                case u'e': simple = 0x1B; break;
                case u' ': simple = u' '; break;
                case u'\t': simple = 0x09; break;
                case u'N': simple = 0x85; break;
                case u'_': simple = 0xA0; break;
                case u'L': simple = 0x2028; break;
                case u'P': simple = 0x2029; break;
                case u'x': digits = 2; break;
                case u'U': digits = 8; break;
                default: break;
                }
            }
            break;
        }
        if (digits > 0) {
            if (const std::optional<char32_t> value = hexValue(raw, i + 2, digits)) {
                if (digits == 4)
                    out.append(QChar(static_cast<char16_t>(*value))); // a surrogate's halves come one by one
                else
                    appendCodePoint(out, *value);
                i += 1 + digits;
                continue;
            }
        } else if (simple) {
            out.append(QChar(*simple));
            ++i;
            continue;
        }
        out.append(c); // unknown: as written
    }
    return out;
}

// Whether a "#" at `at` starts a comment: at the start or after a blank.
bool startsComment(QStringView text, qsizetype at)
{
    return text[at] == u'#' && (at == 0 || isBlank(text[at - 1]));
}

bool isFlowIndicator(QChar c)
{
    return c == u',' || c == u'[' || c == u']' || c == u'{' || c == u'}';
}

// Where a walk over a YAML line stopped: at a comment's "#", where a visitor asked, or at the end.
struct WalkEnd {
    enum class Why { end, comment, asked };
    Why why = Why::end;
    qsizetype at = 0;
};

// Walks a YAML line's text from `from` as a reader reads it: a quote opens a scalar only where a
// scalar begins (the start, after a sequence dash or "?", a key's colon, a flow bracket or comma, an
// anchor or a tag), and is read whole by `quoted`; a quote inside a plain scalar is its text. Calls
// `onQuoted(open, read)` for each quoted scalar and `onFlowClose(at, depth)` for each closing flow
// bracket, with the depth left; either stops the walk by answering true. `onFlowOpen(at)` hears of
// each opening flow bracket. A block scalar's header makes the rest plain text up to a comment.
// `openFlows` flow collections that lines above left open hold the walk's start.
struct IgnoreFlowOpen {
    void operator()(qsizetype) const {}
};
template<class OnQuoted, class OnFlowClose, class OnFlowOpen = IgnoreFlowOpen>
WalkEnd walkYAML(QStringView text, qsizetype from, OnQuoted onQuoted, OnFlowClose onFlowClose,
                 OnFlowOpen onFlowOpen = {}, qsizetype openFlows = 0)
{
    enum class State { scalarStart, plain, afterQuoted };
    State state = State::scalarStart;
    qsizetype flow = openFlows;
    const auto indicatorAt = [&](qsizetype at) {
        return at + 1 >= text.size() || isBlank(text[at + 1]) || (flow > 0 && isFlowIndicator(text[at + 1]));
    };
    qsizetype i = from;
    while (i < text.size()) {
        const QChar c = text[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == u'#' && (i == from || isBlank(text[i - 1]))) {
            return WalkEnd{WalkEnd::Why::comment, i};
        } else if (flow > 0 && c == u',') {
            state = State::scalarStart;
            ++i;
        } else if (flow > 0 && (c == u']' || c == u'}')) {
            --flow;
            state = State::afterQuoted;
            if (onFlowClose(i, int(std::min<qsizetype>(flow, std::numeric_limits<int>::max()))))
                return WalkEnd{WalkEnd::Why::asked, i};
            ++i;
        } else if (c == u':' && (state == State::afterQuoted || indicatorAt(i))) {
            state = State::scalarStart;
            ++i;
        } else if (state != State::scalarStart) {
            state = State::plain;
            ++i;
        } else if ((c == u'-' || c == u'?') && indicatorAt(i)) {
            ++i;
        } else if (isQuote(c)) {
            const Quoted read = quoted(text, i, yamlQuoting(c));
            if (onQuoted(i, read))
                return WalkEnd{WalkEnd::Why::asked, i};
            i = read.end;
            state = State::afterQuoted;
        } else if (c == u'[' || c == u'{') {
            onFlowOpen(i);
            ++flow;
            ++i;
        } else if (c == u'&' || c == u'!') {
            while (i < text.size() && !isBlank(text[i]) && !(flow > 0 && isFlowIndicator(text[i])))
                ++i;
        } else {
            state = State::plain; // a block scalar's indicator too: what follows it is no scalar
            ++i;
        }
    }
    return WalkEnd{WalkEnd::Why::end, text.size()};
}

// The caret's line: its start and its end (the line feed, or the text's end).
std::pair<qsizetype, qsizetype> lineAround(QStringView text, qsizetype caret)
{
    const qsizetype start = caret > 0 ? text.lastIndexOf(u'\n', caret - 1) + 1 : 0;
    const qsizetype feed = text.indexOf(u'\n', caret);
    return {start, feed < 0 ? text.size() : feed};
}

// Calls `visit` with each quoted scalar of the caret's line, left to right, until it answers true:
// in JSON every string, in YAML those `walkYAML` finds. The walk ends after a scalar the line leaves
// open.
template<class Visit>
void forEachQuotedOnLine(QStringView text, qsizetype caret, bool json, Visit visit)
{
    const auto [start, end] = lineAround(text, caret);
    const QStringView line = text.first(end);
    const auto found = [&, end = end](qsizetype open, const Quoted& read) {
        const LineQuoted scalar{open, read.closed ? read.end - 1 : -1, read.scalar.quoting, read.closed ? read.end : end};
        return visit(scalar) || !read.closed;
    };
    if (json) {
        for (qsizetype open = line.indexOf(u'"', start); open >= 0; open = line.indexOf(u'"', open)) {
            const Quoted read = quoted(line, open, Quoting::json);
            if (found(open, read))
                break;
            open = read.end;
        }
    } else {
        walkYAML(line, start, found, [](qsizetype, int) { return false; });
    }
}

// The start of the line that opened the outermost YAML flow collection the line at `lineStart`
// continues; -1 when it continues none. A continuation line stands deeper than the line that opened
// the collection, and so does every line between them: the opener is among the nearest lines above
// that stand less deep, each less deep than the one below it, as long as each leaves a collection open.
// The nearest line above at the caret line's own column that leaves one open is continued too, with
// only deeper lines between: a line that leaves a collection open can be followed by nothing else.
qsizetype yamlFlowOpenerAbove(QStringView text, qsizetype lineStart)
{
    const auto indentationAt = [&](qsizetype start, qsizetype end) {
        qsizetype i = start;
        while (i < end && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
        return i;
    };
    qsizetype limit = indentationAt(lineStart, lineAround(text, lineStart).second) - lineStart;
    qsizetype opener = -1;
    bool nearest = true;
    for (qsizetype feed = lineStart - 1; feed >= 0 && (limit > 0 || nearest);) {
        const qsizetype start = feed > 0 ? text.lastIndexOf(u'\n', feed - 1) + 1 : 0;
        const qsizetype end = feed;
        feed = start - 1;
        const qsizetype lead = indentationAt(start, end);
        if (lead == end || isBlank(text[lead]) || text[lead] == u'#')
            continue;
        const qsizetype indentation = lead - start;
        if (indentation > limit || (indentation == limit && !nearest))
            continue;
        const bool level = indentation == limit;
        nearest = false;
        qsizetype depth = 0;
        walkYAML(
            text.first(end), start, [](qsizetype, const Quoted&) { return false; },
            [&](qsizetype, int left) {
                depth = left;
                return false;
            },
            [&](qsizetype) { ++depth; });
        if (depth == 0) {
            if (level)
                continue;
            break;
        }
        opener = start;
        limit = indentation;
    }
    return opener;
}

} // namespace

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

QStringView trimmedBlanks(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.sliced(start, end - start);
}

QString decoded(Scalar scalar)
{
    switch (scalar.quoting) {
    case Quoting::plain: return scalar.raw.toString();
    case Quoting::yamlSingle: {
        QString text = scalar.raw.toString();
        text.replace(QStringLiteral("''"), QStringLiteral("'"));
        return text;
    }
    case Quoting::yamlDouble: return decodedEscapes(scalar.raw, true);
    case Quoting::json: return decodedEscapes(scalar.raw, false);
    }
    return scalar.raw.toString();
}

bool readsAs(Scalar scalar, QStringView name)
{
    const bool plainText = scalar.quoting == Quoting::plain
        || (scalar.quoting == Quoting::yamlSingle ? !scalar.raw.contains(u'\'') : !scalar.raw.contains(u'\\'));
    return plainText ? scalar.raw == name : decoded(scalar) == name;
}

Quoted quoted(QStringView text, qsizetype open, Quoting quoting)
{
    const QChar quote = text[open];
    const bool single = quoting == Quoting::yamlSingle;
    const bool json = quoting == Quoting::json;
    qsizetype i = open + 1;
    while (i < text.size()) {
        const QChar c = text[i];
        if (json && (c == u'\n' || c == u'\r'))
            break; // a JSON string ends with its line
        if (!single && c == u'\\') {
            i += 2;
        } else if (c == quote) {
            if (single && i + 1 < text.size() && text[i + 1] == quote)
                i += 2;
            else
                return Quoted{Scalar{text.sliced(open + 1, i - open - 1), quoting}, i + 1, true};
        } else {
            ++i;
        }
    }
    i = std::min(i, text.size());
    return Quoted{Scalar{text.sliced(open + 1, i - open - 1), quoting}, i, false};
}

Flow flowCollection(QStringView text, qsizetype open)
{
    Flow flow{text.size(), false};
    walkYAML(text, open, [](qsizetype, const Quoted&) { return false; }, [&](qsizetype at, int depth) {
        if (depth > 0)
            return false;
        flow = Flow{at + 1, true};
        return true;
    });
    return flow;
}

qsizetype afterDashes(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'-' && (i + 1 == text.size() || isBlank(text[i + 1]))) {
        ++i;
        while (i < text.size() && isBlank(text[i]))
            ++i;
    }
    return i;
}

std::optional<YAMLKey> yamlKey(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    if (start == text.size())
        return std::nullopt;
    qsizetype from = start;
    const QChar first = text[start];
    if (isQuote(first)) {
        const Quoted key = quoted(text, start, yamlQuoting(first));
        if (key.closed) {
            qsizetype after = key.end;
            while (after < text.size() && isBlank(text[after]))
                ++after;
            if (after < text.size() && text[after] == u':')
                return YAMLKey{key.scalar, after};
            from = key.end;
        } else {
            // A quote left open is no quoting yet: the key ends at the first colon that can end one.
            from = start + 1;
        }
    } else if (first == u'{' || first == u'[') {
        const Flow flow = flowCollection(text, start);
        if (!flow.closed)
            return std::nullopt;
        from = flow.end;
    }
    for (qsizetype i = from; i < text.size(); ++i) {
        if (startsComment(text, i))
            return std::nullopt;
        if (text[i] == u':' && (i + 1 == text.size() || isBlank(text[i + 1])))
            return YAMLKey{Scalar{trimmedBlanks(text.sliced(start, i - start)), Quoting::plain}, i};
    }
    return std::nullopt;
}

YAMLItem yamlItem(QStringView text)
{
    text = trimmedBlanks(text);
    if (!text.isEmpty() && isQuote(text.front())) {
        const Quoted item = quoted(text, 0, yamlQuoting(text.front()));
        return YAMLItem{item.scalar, !item.closed};
    }
    if (!text.isEmpty() && (text.front() == u'{' || text.front() == u'[')) {
        const Flow flow = flowCollection(text, 0);
        return YAMLItem{Scalar{text.first(flow.end), Quoting::plain}, !flow.closed};
    }
    return YAMLItem{Scalar{trimmedBlanks(text.first(yamlCommentStart(text))), Quoting::plain}, false};
}

qsizetype yamlCommentStart(QStringView text)
{
    const WalkEnd walk = walkYAML(text, 0, [](qsizetype, const Quoted&) { return false; },
                                  [](qsizetype, int) { return false; });
    return walk.why == WalkEnd::Why::comment ? walk.at : text.size();
}

std::optional<qsizetype> yamlPlainValueStart(QStringView text, qsizetype caret, QStringView key)
{
    if (caret < 0 || caret > text.size())
        return std::nullopt;
    const auto [start, end] = lineAround(text, caret);
    const QStringView line = text.sliced(start, end - start);
    qsizetype lead = 0;
    while (lead < line.size() && isBlank(line[lead]))
        ++lead;
    lead += afterDashes(line.sliced(lead));
    const std::optional<YAMLKey> found = yamlKey(line.sliced(lead));
    if (!found || !readsAs(found->name, key))
        return std::nullopt;
    qsizetype value = lead + found->colon + 1;
    while (value < line.size() && isBlank(line[value]))
        ++value;
    const qsizetype at = caret - start;
    if (at <= value || isQuote(line[value]) || line[value] == u'{' || line[value] == u'[')
        return std::nullopt;
    if (yamlCommentStart(line.sliced(value)) < at - value)
        return std::nullopt;
    return start + value;
}

QuotedAtCaret quotedAtCaret(QStringView text, qsizetype caret, bool json)
{
    QuotedAtCaret answer;
    if (caret < 0 || caret > text.size())
        return answer;
    std::optional<LineQuoted> last;
    forEachQuotedOnLine(text, caret, json, [&](const LineQuoted& scalar) {
        if (scalar.open >= caret)
            return true;
        if (caret <= (scalar.close >= 0 ? scalar.close : scalar.end)) {
            answer.holding = scalar;
            return true;
        }
        last = scalar;
        return false;
    });
    if (answer.holding || !last)
        return answer;
    qsizetype i = last->end;
    while (i < caret && isBlank(text[i]))
        ++i;
    answer.followsClosed = i == caret;
    return answer;
}

std::vector<Scalar> yamlFlowItems(QStringView text, qsizetype open)
{
    std::vector<Scalar> items;
    const qsizetype end = lineAround(text, open).second;
    text = text.first(end);
    const auto endsItem = [&](qsizetype at) {
        return at == end || text[at] == u',' || text[at] == u']' || text[at] == u'}' || text[at] == u'['
            || text[at] == u'{' || startsComment(text, at);
    };
    qsizetype i = open + 1;
    while (i < end) {
        while (i < end && isBlank(text[i]))
            ++i;
        if (i == end || text[i] == u']' || text[i] == u'}' || startsComment(text, i))
            break;
        const QChar c = text[i];
        std::optional<Scalar> item;
        if (c == u',') {
            ++i;
            continue;
        }
        if (c == u'[' || c == u'{') {
            i = flowCollection(text, i).end;
        } else if (isQuote(c)) {
            const Quoted read = quoted(text, i, yamlQuoting(c));
            if (read.closed)
                item = read.scalar;
            i = read.end;
        } else {
            const qsizetype start = i;
            while (!endsItem(i) && !(text[i] == u':' && (i + 1 == end || isBlank(text[i + 1]))))
                ++i;
            item = Scalar{trimmedBlanks(text.sliced(start, i - start)), Quoting::plain};
        }
        // What stands before the next comma makes the item an entry, or more than one scalar.
        while (i < end && isBlank(text[i]))
            ++i;
        if (item && (i == end || text[i] == u',' || text[i] == u']' || startsComment(text, i)))
            items.push_back(*item);
        while (!endsItem(i))
            ++i;
        if (i < end && (text[i] == u'[' || text[i] == u'{'))
            i = flowCollection(text, i).end;
    }
    return items;
}

YAMLFlowAtCaret yamlFlowAtCaret(QStringView text, qsizetype caret)
{
    YAMLFlowAtCaret answer;
    if (caret < 0 || caret > text.size())
        return answer;
    const qsizetype start = lineAround(text, caret).first;
    std::vector<qsizetype> open;
    qsizetype closedAt = -1;
    const auto onQuoted = [](qsizetype, const Quoted&) { return false; };
    const auto onClose = [&](qsizetype at, int depth) {
        open.pop_back();
        if (depth == 0)
            closedAt = at + 1;
        return false;
    };
    const auto onOpen = [&](qsizetype at) { open.push_back(at); };
    // The collections that lines above opened and left open, from the line that opened the outermost.
    for (qsizetype line = yamlFlowOpenerAbove(text, start); line >= 0 && line < start;) {
        const qsizetype end = lineAround(text, line).second;
        walkYAML(text.first(end), line, onQuoted, onClose, onOpen, qsizetype(open.size()));
        line = end + 1;
    }
    closedAt = -1;
    const WalkEnd walk = walkYAML(text.first(caret), start, onQuoted, onClose, onOpen, qsizetype(open.size()));
    if (walk.why == WalkEnd::Why::comment)
        return answer;
    if (!open.empty()) {
        answer.depth = qsizetype(open.size());
        answer.innermost = open.back();
        answer.outermost = open.front();
        return answer;
    }
    if (closedAt < 0)
        return answer;
    qsizetype i = closedAt;
    while (i < caret && isBlank(text[i]))
        ++i;
    answer.followsClosed = i == caret;
    return answer;
}

std::optional<LineQuoted> quotedHolding(QStringView text, qsizetype caret, bool json)
{
    return quotedAtCaret(text, caret, json).holding;
}

std::optional<Scalar> jsonKey(QStringView line)
{
    for (qsizetype open = line.indexOf(u'"'); open >= 0; open = line.indexOf(u'"', open)) {
        const Quoted string = quoted(line, open, Quoting::json);
        if (!string.closed)
            return std::nullopt;
        qsizetype after = string.end;
        while (after < line.size() && isJSONSpace(line[after]))
            ++after;
        if (after < line.size() && line[after] == u':')
            return string.scalar;
        open = string.end;
    }
    return std::nullopt;
}

std::vector<Scalar> jsonStrings(QStringView text)
{
    std::vector<Scalar> found;
    for (qsizetype open = text.indexOf(u'"'); open >= 0; open = text.indexOf(u'"', open)) {
        const Quoted string = quoted(text, open, Quoting::json);
        if (!string.closed) {
            if (string.end >= text.size())
                break;
            open = string.end; // cut by its line's end
            continue;
        }
        found.push_back(string.scalar);
        open = string.end;
    }
    return found;
}

JSONArrayStrings jsonArrayStrings(QStringView text, qsizetype open)
{
    JSONArrayStrings result;
    qsizetype depth = 0;
    qsizetype i = open;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'"') {
            const Quoted string = quoted(text, i, Quoting::json);
            i = string.end;
            if (!string.closed || depth != 1)
                continue;
            qsizetype after = i;
            while (after < text.size() && isJSONSpace(text[after]))
                ++after;
            if (after == text.size() || text[after] != u':')
                result.strings.push_back(string.scalar);
            continue;
        }
        if (c == u'[' || c == u'{') {
            ++depth;
        } else if (c == u']' || c == u'}') {
            if (--depth == 0) {
                result.closed = true;
                break;
            }
        }
        ++i;
    }
    return result;
}

} // namespace Carvex::LineReading

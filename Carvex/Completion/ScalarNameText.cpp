#include "Carvex/Completion/ScalarNameText.h"

#include "Carvex/Conversion/YAMLTextEmitter.h"

#include <QByteArray>

#include <string_view>
#include <utility>

namespace Carvex::ScalarNameText {

namespace {

// A space, a tab, or the carriage return of a CRLF line: what ends a plain scalar before a colon.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

bool isJSONSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
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

// The scalar quoted from `open` (a quote) and the position after its closing quote; none when the text
// ends before the closing quote.
struct QuotedRead {
    Scalar scalar;
    qsizetype end;
};

std::optional<QuotedRead> readQuoted(QStringView text, qsizetype open, Quoting quoting)
{
    const QChar quote = text[open];
    const bool single = quoting == Quoting::yamlSingle;
    qsizetype i = open + 1;
    while (i < text.size()) {
        const QChar c = text[i];
        if (!single && c == u'\\') {
            i += 2;
        } else if (c == quote) {
            if (single && i + 1 < text.size() && text[i + 1] == quote) {
                i += 2;
            } else {
                return QuotedRead{Scalar{text.sliced(open + 1, i - open - 1), quoting}, i + 1};
            }
        } else {
            ++i;
        }
    }
    return std::nullopt;
}

std::optional<QuotedRead> readYAMLQuoted(QStringView text)
{
    if (text.isEmpty() || (text.front() != u'"' && text.front() != u'\''))
        return std::nullopt;
    return readQuoted(text, 0, text.front() == u'"' ? Quoting::yamlDouble : Quoting::yamlSingle);
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

} // namespace

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

std::optional<Scalar> yamlKey(QStringView text)
{
    qsizetype from = 0;
    if (const std::optional<QuotedRead> quoted = readYAMLQuoted(text)) {
        qsizetype after = quoted->end;
        while (after < text.size() && isBlank(text[after]))
            ++after;
        if (after < text.size() && text[after] == u':')
            return quoted->scalar;
        from = quoted->end;
    }
    for (qsizetype colon = text.indexOf(u':', from); colon >= 0; colon = text.indexOf(u':', colon + 1)) {
        if (colon + 1 == text.size() || isBlank(text[colon + 1])) {
            const QStringView key = trimmedBlanks(text.first(colon));
            if (key.isEmpty())
                return std::nullopt;
            return Scalar{key, Quoting::plain};
        }
    }
    return std::nullopt;
}

Scalar yamlItem(QStringView text)
{
    text = trimmedBlanks(text);
    if (const std::optional<QuotedRead> quoted = readYAMLQuoted(text))
        return quoted->scalar;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'#' && (i == 0 || isBlank(text[i - 1]))) {
            text = trimmedBlanks(text.first(i));
            break;
        }
    }
    return Scalar{text, Quoting::plain};
}

std::optional<Scalar> jsonKey(QStringView line)
{
    for (qsizetype open = line.indexOf(u'"'); open >= 0; open = line.indexOf(u'"', open)) {
        const std::optional<QuotedRead> string = readQuoted(line, open, Quoting::json);
        if (!string)
            return std::nullopt;
        qsizetype after = string->end;
        while (after < line.size() && isJSONSpace(line[after]))
            ++after;
        if (after < line.size() && line[after] == u':')
            return string->scalar;
        open = string->end;
    }
    return std::nullopt;
}

std::vector<Scalar> jsonStrings(QStringView text)
{
    std::vector<Scalar> found;
    for (qsizetype open = text.indexOf(u'"'); open >= 0; open = text.indexOf(u'"', open)) {
        const std::optional<QuotedRead> string = readQuoted(text, open, Quoting::json);
        if (!string)
            break;
        found.push_back(string->scalar);
        open = string->end;
    }
    return found;
}

std::optional<QChar> openYAMLQuote(QStringView text, qsizetype caret)
{
    if (caret < 0 || caret > text.size())
        return std::nullopt;
    qsizetype start = caret;
    while (start > 0 && text[start - 1] != u'\n')
        --start;
    std::optional<QChar> quote;
    for (qsizetype i = start; i < caret; ++i) {
        const QChar c = text[i];
        if (quote) {
            if (*quote == u'"' && c == u'\\')
                ++i;
            else if (c == *quote)
                quote.reset();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        }
    }
    return quote;
}

QString yamlScalar(const QString& name)
{
    const QByteArray utf8 = name.toUtf8();
    const std::string_view bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (!YAMLTextEmitter::textNeedsQuotes(bytes))
        return name;
    const QString doubleQuoted = QString::fromStdString(YAMLTextEmitter::quoted(bytes));
    // Double quotes escape every quote and backslash; when no other character takes an escape, single
    // quotes write the name as it is, a single quote doubled.
    const qsizetype escapedQuotes = name.count(u'"') + name.count(u'\\');
    if (escapedQuotes > 0 && doubleQuoted.size() == name.size() + 2 + escapedQuotes)
        return u'\'' + yamlQuotedContent(name, u'\'') + u'\'';
    return doubleQuoted;
}

QString yamlQuotedContent(const QString& name, QChar quote)
{
    if (quote == u'\'') {
        QString text = name;
        text.replace(QStringLiteral("'"), QStringLiteral("''"));
        return text;
    }
    const QByteArray utf8 = name.toUtf8();
    const QString quoted = QString::fromStdString(
        YAMLTextEmitter::quoted(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
    return quoted.sliced(1, quoted.size() - 2);
}

QString jsonString(QStringView name)
{
    return u'"' + jsonStringContent(name) + u'"';
}

QString jsonStringContent(QStringView name)
{
    QString result;
    result.reserve(name.size());
    for (QChar c : name) {
        if (c == u'"' || c == u'\\') {
            result.append(u'\\');
            result.append(c);
        } else if (c.unicode() < 0x20) {
            result.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
        } else {
            result.append(c);
        }
    }
    return result;
}

namespace {

bool isFlowIndicator(QChar c)
{
    return c == u',' || c == u'[' || c == u']' || c == u'{' || c == u'}';
}

// Calls `visit` with each quoted scalar of the line [start, end) of `text`, left to right, until it
// answers true. JSON: every string. YAML: a quote where a scalar begins (the line's start, after a
// sequence dash, a key's colon, a flow bracket or comma, an anchor or a tag); a quote inside a plain
// scalar is its text, and a comment or a block scalar's header ends the walk.
template<class Visit>
void forEachQuotedOnLine(QStringView text, qsizetype start, qsizetype end, bool json, Visit visit)
{
    const QStringView line = text.first(end);
    const auto quoted = [&](qsizetype open, Quoting quoting) {
        const std::optional<QuotedRead> read = readQuoted(line, open, quoting);
        const LineQuoted found{open, read ? read->end - 1 : -1, quoting, read ? read->end : end};
        return std::pair{visit(found), found.close};
    };
    if (json) {
        for (qsizetype i = start; i < end; ++i) {
            if (text[i] != u'"')
                continue;
            const auto [stop, close] = quoted(i, Quoting::json);
            if (stop || close < 0)
                return;
            i = close;
        }
        return;
    }
    enum class State { scalarStart, plain, afterQuoted };
    State state = State::scalarStart;
    int flow = 0;
    const auto indicatorAt = [&](qsizetype at) {
        return at + 1 >= end || isBlank(text[at + 1]) || (flow > 0 && isFlowIndicator(text[at + 1]));
    };
    qsizetype i = start;
    while (i < end) {
        const QChar c = text[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (c == u'#' && (i == start || isBlank(text[i - 1])))
            return;
        if (flow > 0 && c == u',') {
            state = State::scalarStart;
            ++i;
            continue;
        }
        if (flow > 0 && (c == u']' || c == u'}')) {
            --flow;
            state = State::afterQuoted;
            ++i;
            continue;
        }
        if (c == u':' && (state == State::afterQuoted || indicatorAt(i))) {
            state = State::scalarStart;
            ++i;
            continue;
        }
        if (state != State::scalarStart) {
            state = State::plain;
            ++i;
            continue;
        }
        if ((c == u'-' || c == u'?') && indicatorAt(i)) {
            ++i;
        } else if (c == u'"' || c == u'\'') {
            const auto [stop, close] = quoted(i, c == u'"' ? Quoting::yamlDouble : Quoting::yamlSingle);
            if (stop || close < 0)
                return;
            i = close + 1;
            state = State::afterQuoted;
        } else if (c == u'[' || c == u'{') {
            ++flow;
            ++i;
        } else if (c == u'&' || c == u'!') {
            while (i < end && !isBlank(text[i]) && !(flow > 0 && isFlowIndicator(text[i])))
                ++i;
        } else if ((c == u'|' || c == u'>') && flow == 0) {
            return;
        } else {
            state = State::plain;
            ++i;
        }
    }
}

// The caret's line: its start and its end (the line feed, or the text's end).
std::pair<qsizetype, qsizetype> lineAround(QStringView text, qsizetype caret)
{
    const qsizetype start = caret > 0 ? text.lastIndexOf(u'\n', caret - 1) + 1 : 0;
    const qsizetype feed = text.indexOf(u'\n', caret);
    return {start, feed < 0 ? text.size() : feed};
}

} // namespace

std::optional<LineQuoted> quotedScalarHolding(QStringView text, qsizetype caret, bool json)
{
    if (caret < 0 || caret > text.size())
        return std::nullopt;
    const auto [start, end] = lineAround(text, caret);
    std::optional<LineQuoted> holding;
    forEachQuotedOnLine(text, start, end, json, [&, end = end](const LineQuoted& scalar) {
        if (scalar.open >= caret)
            return true;
        if (caret <= (scalar.close >= 0 ? scalar.close : end)) {
            holding = scalar;
            return true;
        }
        return false;
    });
    return holding;
}

bool followsClosedQuotedScalar(QStringView text, qsizetype caret, bool json)
{
    if (caret < 0 || caret > text.size())
        return false;
    const auto [start, end] = lineAround(text, caret);
    std::optional<LineQuoted> last;
    bool holds = false;
    forEachQuotedOnLine(text, start, end, json, [&](const LineQuoted& scalar) {
        if (scalar.open >= caret)
            return true;
        if (scalar.close < 0 || caret <= scalar.close) {
            holds = true;
            return true;
        }
        last = scalar;
        return false;
    });
    if (holds || !last)
        return false;
    for (qsizetype i = last->end; i < caret; ++i) {
        if (!isBlank(text[i]))
            return false;
    }
    return true;
}

QString quotedScalar(const QString& name, Quoting quoting)
{
    switch (quoting) {
    case Quoting::json: return jsonString(name);
    case Quoting::plain: return yamlScalar(name);
    case Quoting::yamlSingle: {
        // Single quotes write every character as it is but a quote, which they double; they cannot
        // write what double quotes escape, other than a quote or a backslash.
        const QString content = yamlQuotedContent(name, u'"');
        if (content.size() == name.size() + name.count(u'"') + name.count(u'\\'))
            return u'\'' + yamlQuotedContent(name, u'\'') + u'\'';
        break;
    }
    case Quoting::yamlDouble: break;
    }
    return u'"' + yamlQuotedContent(name, u'"') + u'"';
}

} // namespace Carvex::ScalarNameText

#include "Carvex/Completion/ScalarNameText.h"

#include "Carvex/Conversion/YAMLTextEmitter.h"

#include <QByteArray>

#include <string_view>
#include <utility>

namespace Carvex::ScalarNameText {

QString decoded(Scalar scalar)
{
    return LineReading::decoded(scalar);
}

bool readsAs(Scalar scalar, QStringView name)
{
    return LineReading::readsAs(scalar, name);
}

std::optional<Scalar> yamlKey(QStringView text)
{
    const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(text);
    if (!key || (key->name.quoting == Quoting::plain && key->name.raw.isEmpty()))
        return std::nullopt;
    return key->name;
}

Scalar yamlItem(QStringView text)
{
    return LineReading::yamlItem(text).scalar;
}

std::optional<Scalar> jsonKey(QStringView line)
{
    return LineReading::jsonKey(line);
}

std::vector<Scalar> jsonStrings(QStringView text)
{
    return LineReading::jsonStrings(text);
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

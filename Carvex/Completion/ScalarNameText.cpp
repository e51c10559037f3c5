#include "Carvex/Completion/ScalarNameText.h"

#include "Carvex/Conversion/YAMLTextEmitter.h"

#include <QByteArray>

#include <string_view>

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
    const std::optional<LineReading::LineQuoted> scalar = LineReading::quotedHolding(text, caret, false);
    if (!scalar)
        return std::nullopt;
    return scalar->quoting == Quoting::yamlDouble ? QChar(u'"') : QChar(u'\'');
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

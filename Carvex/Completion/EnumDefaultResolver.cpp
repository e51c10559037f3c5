#include "Carvex/Completion/EnumDefaultResolver.h"

#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/Completion/RawTextLines.h"
#include "Carvex/Completion/ScalarNameText.h"

namespace Carvex {

namespace {

using Lines = std::vector<QStringView>;

// The first line at which the running length (each line plus its line feed) passes the caret; line 0
// when none does (a caret past the end or before the start).
std::size_t caretLineIndex(const Lines& lines, qsizetype caretLocation)
{
    qsizetype sum = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        sum += lines[i].size() + 1;
        if (sum > caretLocation)
            return i;
    }
    return 0;
}

enum class KeyTest { enumLine, other, end };

KeyTest yamlKeyTest(QStringView line, qsizetype caretIndentation)
{
    const QStringView trimmed = RawTextLines::trimSpacesAndTabs(line);
    if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
        return KeyTest::other;
    const qsizetype indentation = RawTextLines::leadingSpaces(line);
    if (indentation < caretIndentation && !trimmed.startsWith(u'-'))
        return KeyTest::end;
    if (indentation != caretIndentation)
        return KeyTest::other;
    const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(trimmed);
    if (key && LineReading::readsAs(key->name, u"enum"))
        return KeyTest::enumLine;
    return KeyTest::other;
}

// The key of a JSON line when it is "enum".
std::optional<LineReading::Scalar> jsonEnumKey(QStringView line)
{
    const std::optional<LineReading::Scalar> key = LineReading::jsonKey(line);
    if (key && LineReading::readsAs(*key, u"enum"))
        return key;
    return std::nullopt;
}

bool isJSONSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace

QStringList EnumDefaultResolver::filterByPrefix(const QStringList& values, const QString& prefix)
{
    if (prefix.isEmpty())
        return values;
    qsizetype start = 0;
    qsizetype end = prefix.size();
    auto isQuote = [](QChar c) { return c == u'"' || c == u'\''; };
    while (start < end && isQuote(prefix[start]))
        ++start;
    while (end > start && isQuote(prefix[end - 1]))
        --end;
    if (start == end)
        return values;
    const QString needle = prefix.sliced(start, end - start).toLower();
    QStringList kept;
    for (const QString& value : values) {
        if (value.toLower().startsWith(needle))
            kept << value;
    }
    return kept;
}

int EnumDefaultResolver::jsonBracketDelta(QStringView line)
{
    const RawTextLines::BracketTally tally = RawTextLines::tallyBrackets(line);
    return tally.opening - tally.closing;
}

std::vector<EnumDefaultResolver::YAMLValue> EnumDefaultResolver::findQuotedEnumValuesYAML(QStringView text,
                                                                                         qsizetype caretLocation)
{
    const Lines lines = RawTextLines::split(text);
    const std::size_t caretLine = caretLineIndex(lines, caretLocation);
    const qsizetype caretIndentation = RawTextLines::leadingSpaces(lines[caretLine]);

    std::optional<std::size_t> enumLine;
    for (std::size_t i = caretLine; i-- > 0;) {
        const KeyTest test = yamlKeyTest(lines[i], caretIndentation);
        if (test == KeyTest::end)
            break;
        if (test == KeyTest::enumLine) {
            enumLine = i;
            break;
        }
    }
    if (!enumLine) {
        for (std::size_t i = caretLine + 1; i < lines.size(); ++i) {
            const KeyTest test = yamlKeyTest(lines[i], caretIndentation);
            if (test == KeyTest::end)
                break;
            if (test == KeyTest::enumLine) {
                enumLine = i;
                break;
            }
        }
    }
    if (!enumLine)
        return {};

    std::vector<YAMLValue> values;
    for (std::size_t i = *enumLine + 1; i < lines.size(); ++i) {
        const QStringView trimmed = RawTextLines::trimSpacesAndTabs(lines[i]);
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        // The items stand deeper than "enum", or at its own column.
        const qsizetype indentation = RawTextLines::leadingSpaces(lines[i]);
        if (indentation < caretIndentation || (indentation == caretIndentation && !trimmed.startsWith(u'-')))
            break;
        if (!trimmed.startsWith(u'-'))
            continue;
        // Each item read as a scalar: a quoted one whole, its escapes read; a plain one without its comment.
        const LineReading::Scalar value = LineReading::yamlItem(trimmed.sliced(1)).scalar;
        if (value.quoting == LineReading::Quoting::plain && value.raw.isEmpty())
            continue;
        const char16_t quote = value.quoting == LineReading::Quoting::yamlDouble ? u'"'
            : value.quoting == LineReading::Quoting::yamlSingle                ? u'\''
                                                                                 : char16_t(0);
        values.push_back({LineReading::decoded(value), quote, value.raw.toString()});
    }
    return values;
}

QStringList EnumDefaultResolver::findEnumValuesYAML(QStringView text, qsizetype caretLocation)
{
    QStringList values;
    for (const YAMLValue& value : findQuotedEnumValuesYAML(text, caretLocation))
        values << value.text;
    return values;
}

QStringList EnumDefaultResolver::findEnumValuesJSON(QStringView text, qsizetype caretLocation)
{
    // One pass finds the lines and their bracket balances; the searches then walk the balances.
    Lines lines;
    std::vector<int> balance;
    for (qsizetype start = 0; start >= 0;) {
        const RawTextLines::JSONLineRead read = RawTextLines::readJSONLine(text, start);
        const qsizetype end = read.next < 0 ? text.size() : read.next - 1;
        lines.push_back(text.sliced(start, end - start));
        balance.push_back(read.tally.opening - read.tally.closing);
        start = read.next;
    }
    const std::size_t caretLine = caretLineIndex(lines, caretLocation);
    long long depthAtCaret = 0;
    for (std::size_t i = 0; i < caretLine; ++i)
        depthAtCaret += balance[i];

    std::optional<std::size_t> enumLine;
    long long depth = depthAtCaret;
    for (std::size_t i = caretLine; i-- > 0;) {
        depth -= balance[i];
        if (depth == depthAtCaret && jsonEnumKey(lines[i])) {
            enumLine = i;
            break;
        }
        if (depth < depthAtCaret - 1)
            break;
    }
    if (!enumLine) {
        depth = depthAtCaret + balance[caretLine];
        for (std::size_t i = caretLine + 1; i < lines.size(); ++i) {
            depth += balance[i];
            if (depth == depthAtCaret && jsonEnumKey(lines[i])) {
                enumLine = i;
                break;
            }
            if (depth < depthAtCaret - 1)
                break;
        }
    }
    if (!enumLine)
        return {};

    // The list is read as JSON from its bracket on: each string standing directly in it is a value,
    // its escapes read, over as many lines as it runs.
    const std::optional<LineReading::Scalar> key = jsonEnumKey(lines[*enumLine]);
    qsizetype at = key->raw.utf16() - text.utf16() + key->raw.size() + 1;
    while (at < text.size() && isJSONSpace(text[at]))
        ++at;
    if (at == text.size() || text[at] != u':')
        return {};
    ++at;
    while (at < text.size() && isJSONSpace(text[at]))
        ++at;
    if (at == text.size() || text[at] != u'[')
        return {};
    QStringList values;
    for (const LineReading::Scalar& value : LineReading::jsonArrayStrings(text, at).strings)
        values << LineReading::decoded(value);
    return values;
}

std::vector<CompletionItem> EnumDefaultResolver::suggestions(const CompletionContext& context,
                                                             const QString& text) const
{
    if (context.role != CursorRole::mappingValue || !context.currentKey || *context.currentKey != u"default")
        return {};
    const bool json = context.format == DocumentFormat::json;
    const bool inString = context.hints.isInString;

    // Each value with the text to insert for it. A YAML value written in quotes keeps them when
    // inserted outside a string: inserting "200" or 'true' bare would make a number or a boolean of it.
    // JSON values are written back as JSON strings; in a YAML quote the user opened, as that quote's
    // content.
    QStringList values;
    QStringList inserts;
    if (json) {
        values = findEnumValuesJSON(text, context.caretLocation);
        for (const QString& value : values)
            inserts << (inString ? ScalarNameText::jsonStringContent(value) : ScalarNameText::jsonString(value));
    } else {
        const std::optional<QChar> quote =
            inString ? ScalarNameText::openYAMLQuote(text, context.caretLocation) : std::nullopt;
        for (const YAMLValue& value : findQuotedEnumValuesYAML(text, context.caretLocation)) {
            values << value.text;
            if (quote)
                inserts << ScalarNameText::yamlQuotedContent(value.text, *quote);
            else if (value.quote && !inString)
                inserts << QChar(value.quote) + value.raw + QChar(value.quote);
            else
                inserts << value.text;
        }
    }
    if (values.isEmpty())
        return {};
    const QStringList kept = filterByPrefix(values, context.prefix);
    std::vector<CompletionItem> items;
    items.reserve(static_cast<std::size_t>(kept.size()));
    // filterByPrefix keeps order, so the kept values are matched to their inserts by walking both.
    qsizetype source = 0;
    for (const QString& value : kept) {
        while (source < values.size() && values[source] != value)
            ++source;
        const QString& insert = source < values.size() ? inserts[source++] : value;
        items.emplace_back(value, insert, CompletionItemKind::value, std::nullopt, QStringLiteral("Enum value"),
                           std::nullopt, 100, false, false, std::nullopt);
    }
    return items;
}

} // namespace Carvex

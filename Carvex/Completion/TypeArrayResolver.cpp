#include "Carvex/Completion/TypeArrayResolver.h"

#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/Completion/OpenAPI31Tables.h"
#include "Carvex/Completion/QuotedTextScanner.h"
#include "Carvex/Completion/RawTextLines.h"

namespace Carvex {

namespace {

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

template<class Stack, class KeyOf>
bool stackEquals(const Stack& stack, const QStringList& keys, KeyOf keyOf)
{
    if (stack.size() != static_cast<std::size_t>(keys.size()))
        return false;
    for (std::size_t i = 0; i < stack.size(); ++i) {
        if (!LineReading::readsAs(keyOf(stack[i]), keys[static_cast<qsizetype>(i)]))
            return false;
    }
    return true;
}

// The key a trimmed JSON line begins with: a string, not empty, that a colon follows.
std::optional<LineReading::Scalar> leadingJSONKey(QStringView trimmed)
{
    if (!trimmed.startsWith(u'"'))
        return std::nullopt;
    const LineReading::Quoted key = LineReading::quoted(trimmed, 0, LineReading::Quoting::json);
    if (!key.closed || key.scalar.raw.isEmpty())
        return std::nullopt;
    qsizetype after = key.end;
    while (after < trimmed.size() && QuotedTextScanner::isPatternSpace(trimmed[after].unicode()))
        ++after;
    if (after == trimmed.size() || trimmed[after] != u':')
        return std::nullopt;
    return key.scalar;
}

} // namespace

QSet<QString> TypeArrayResolver::existingTypesYAML(QStringView text, const QStringList& pathKeys)
{
    QSet<QString> found;
    std::vector<LineReading::Scalar> stack;
    bool inType = false;
    qsizetype typeIndentation = 0;
    RawTextLines::forEachLine(text, [&](QStringView line) {
        const QStringView trimmed = RawTextLines::trimSpacesAndTabs(line);
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            return;
        const qsizetype indentation = RawTextLines::leadingSpaces(line);
        if (inType) {
            // The items stand deeper than "type", or at its own column.
            const bool item = trimmed.startsWith(u'-');
            if (indentation > typeIndentation || (item && indentation == typeIndentation)) {
                if (item) {
                    found.insert(RawTextLines::trimSpacesAndTabs(trimmed.sliced(1)).toString());
                    return;
                }
            } else if (!item) {
                inType = false;
            }
        }
        // The key ends at the colon that ends a key, past quotes and flow collections.
        const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(trimmed);
        if (!key)
            return;
        // Levels are taken to be two spaces apart.
        while (!stack.empty() && 2 * static_cast<qsizetype>(stack.size()) - 2 >= indentation)
            stack.pop_back();
        stack.push_back(key->name);
        if (stackEquals(stack, pathKeys, [](LineReading::Scalar name) { return name; })) {
            inType = true;
            typeIndentation = indentation;
        }
    });
    return found;
}

QSet<QString> TypeArrayResolver::existingTypesJSON(QStringView text, const QStringList& pathKeys)
{
    struct Entry {
        LineReading::Scalar key;
        qsizetype indentation;
    };
    QSet<QString> found;
    std::vector<Entry> stack;
    bool inArray = false;
    qsizetype balance = 0;
    auto addAll = [&found](QStringView part) {
        for (QStringView value : QuotedTextScanner::quotedTexts(part))
            found.insert(value.toString());
    };
    RawTextLines::forEachLine(text, [&](QStringView line) {
        const QStringView trimmed = RawTextLines::trimSpacesAndTabs(line);
        if (trimmed.isEmpty())
            return;
        const qsizetype indentation = RawTextLines::leadingSpacesAndTabs(line);
        if (inArray) {
            balance += RawTextLines::count(trimmed, u'[') - RawTextLines::count(trimmed, u']');
            if (!trimmed.contains(u':'))
                addAll(trimmed);
            if (balance >= 1)
                return;
            inArray = false;
        }
        if (trimmed.startsWith(u']'))
            return;
        if (trimmed.startsWith(u'}')) {
            while (!stack.empty() && stack.back().indentation >= indentation)
                stack.pop_back();
            return;
        }
        const std::optional<LineReading::Scalar> key = leadingJSONKey(trimmed);
        if (!key)
            return;
        while (!stack.empty() && stack.back().indentation >= indentation)
            stack.pop_back();
        stack.push_back({*key, indentation});
        const qsizetype bracket = trimmed.indexOf(u'[');
        if (bracket >= 0 && stackEquals(stack, pathKeys, [](const Entry& entry) { return entry.key; })) {
            balance = RawTextLines::count(trimmed, u'[') - RawTextLines::count(trimmed, u']');
            addAll(trimmed.sliced(bracket + 1));
            inArray = balance >= 1;
        } else {
            inArray = false;
        }
    });
    return found;
}

std::vector<CompletionItem> TypeArrayResolver::suggestions(const CompletionContext& context, const QString& text,
                                                           OpenAPIVersion version) const
{
    if (version != OpenAPIVersion::openAPI31 || context.role != CursorRole::sequenceItem)
        return {};
    const std::vector<PathComponent> path = strippingTrailingIndices(context.path);
    if (path.empty() || !path.back().isKey(u"type"))
        return {};
    QStringList pathKeys;
    pathKeys.reserve(static_cast<qsizetype>(path.size()));
    for (const PathComponent& component : path)
        pathKeys << component.text();
    const bool json = context.format == DocumentFormat::json;
    const QSet<QString> existing = json ? existingTypesJSON(text, pathKeys) : existingTypesYAML(text, pathKeys);

    qsizetype start = 0;
    qsizetype end = context.prefix.size();
    while (start < end && isQuote(context.prefix[start]))
        ++start;
    while (end > start && isQuote(context.prefix[end - 1]))
        --end;
    const QString needle = context.prefix.sliced(start, end - start).toLower();

    std::vector<CompletionItem> items;
    for (const CompletionItem& row : OpenAPI31Tables::schemaTypeValues()) {
        if (existing.contains(row.label))
            continue;
        if (!needle.isEmpty() && !row.label.toLower().startsWith(needle))
            continue;
        if (!json) {
            items.push_back(row);
            continue;
        }
        QString insertText = context.hints.isInString ? row.label : u'"' + row.label + u'"';
        items.emplace_back(row.label, std::move(insertText), row.kind, std::nullopt, row.description, row.detail,
                           row.priority, row.requiresColon, row.requiresValue, std::nullopt);
    }
    return items;
}

} // namespace Carvex

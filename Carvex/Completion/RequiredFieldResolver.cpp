#include "Carvex/Completion/RequiredFieldResolver.h"

#include "Carvex/Completion/EnumDefaultResolver.h"
#include "Carvex/Completion/QuotedTextScanner.h"
#include "Carvex/Completion/RawTextLines.h"

#include <optional>

namespace Carvex {

namespace {

QStringList keyTexts(const std::vector<PathComponent>& path)
{
    QStringList keys;
    keys.reserve(static_cast<qsizetype>(path.size()));
    for (const PathComponent& component : path)
        keys << component.text();
    return keys;
}

// The key path of the lines of a YAML text: a stack of (indentation, key), levels told apart by
// indentation alone. A sequence item such as "- name: x" has the key "- name".
class YAMLKeyPath {
public:
    // The key of a trimmed line: the text before its first colon, trimmed; none without a colon.
    static std::optional<QStringView> keyOf(QStringView trimmed)
    {
        const qsizetype colon = trimmed.indexOf(u':');
        if (colon < 0)
            return std::nullopt;
        return RawTextLines::trimSpacesAndTabs(trimmed.first(colon));
    }

    void push(qsizetype indentation, QStringView key)
    {
        while (!stack_.empty() && stack_.back().indentation >= indentation)
            stack_.pop_back();
        stack_.push_back({indentation, key});
    }

    bool equals(const QStringList& path) const
    {
        if (stack_.size() != static_cast<std::size_t>(path.size()))
            return false;
        for (std::size_t i = 0; i < stack_.size(); ++i) {
            if (stack_[i].key != path[static_cast<qsizetype>(i)])
                return false;
        }
        return true;
    }

private:
    struct Entry {
        qsizetype indentation;
        QStringView key;
    };
    std::vector<Entry> stack_;
};

// The key path of the lines of a JSON text: a stack of (depth, key), the depth being the bracket
// depth at the start of the key's line.
class JSONKeyPath {
public:
    void push(long long depth, QStringView key)
    {
        while (!stack_.empty() && stack_.back().depth >= depth)
            stack_.pop_back();
        stack_.push_back({depth, key});
    }

    std::size_t size() const { return stack_.size(); }

    // True when the first path.size() keys equal the path and the stack holds `extra` more.
    bool equals(const QStringList& path, std::size_t extra = 0) const
    {
        if (stack_.size() != static_cast<std::size_t>(path.size()) + extra)
            return false;
        for (qsizetype i = 0; i < path.size(); ++i) {
            if (stack_[static_cast<std::size_t>(i)].key != path[i])
                return false;
        }
        return true;
    }

private:
    struct Entry {
        long long depth;
        QStringView key;
    };
    std::vector<Entry> stack_;
};

bool readsAsListLine(QStringView trimmed)
{
    return !trimmed.contains(u':') || (trimmed.startsWith(u'"') && !trimmed.contains(u"\":"));
}

void insertQuotedTexts(QSet<QString>& set, QStringView text)
{
    for (QStringView value : QuotedTextScanner::quotedTexts(text))
        set.insert(value.toString());
}

} // namespace

std::pair<int, int> RequiredFieldResolver::jsonBracketCounts(QStringView line)
{
    int opening = 0;
    int closing = 0;
    bool inString = false;
    qsizetype stringStart = -1;
    auto count = [&](QChar c) {
        if (c == u'{' || c == u'[')
            ++opening;
        else if (c == u'}' || c == u']')
            ++closing;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inString) {
            if (c == u'\\')
                ++i;
            else if (c == u'"')
                inString = false;
            continue;
        }
        if (c == u'"') {
            inString = true;
            stringStart = i;
        } else {
            count(c);
        }
    }
    if (inString) {
        for (qsizetype i = stringStart + 1; i < line.size(); ++i)
            count(line[i]);
    }
    return {opening, closing};
}

QStringList RequiredFieldResolver::findPropertyNamesYAML(QStringView text, const QStringList& path)
{
    QStringList names;
    YAMLKeyPath keyPath;
    bool inside = false;
    qsizetype targetIndentation = 0;
    std::optional<qsizetype> childIndentation;
    for (QStringView line : RawTextLines::split(text)) {
        const QStringView trimmed = RawTextLines::trimSpacesAndTabs(line);
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const std::optional<QStringView> key = YAMLKeyPath::keyOf(trimmed);
        if (!key)
            continue;
        const qsizetype indentation = RawTextLines::leadingSpaces(line);
        if (inside && indentation <= targetIndentation) {
            inside = false;
            childIndentation.reset();
        }
        keyPath.push(indentation, *key);
        if (keyPath.equals(path)) {
            inside = true;
            targetIndentation = indentation;
            childIndentation.reset();
        } else if (inside && indentation > targetIndentation
                   && (!childIndentation || *childIndentation == indentation)) {
            names << key->toString();
            childIndentation = indentation;
        }
    }
    return names;
}

QSet<QString> RequiredFieldResolver::findExistingRequiredYAML(QStringView text, const QStringList& path)
{
    QSet<QString> listed;
    YAMLKeyPath keyPath;
    bool inside = false;
    qsizetype listIndentation = 0;
    auto handleKey = [&](QStringView trimmed, qsizetype indentation) {
        const std::optional<QStringView> key = YAMLKeyPath::keyOf(trimmed);
        if (!key)
            return;
        keyPath.push(indentation, *key);
        if (keyPath.equals(path)) {
            inside = true;
            listIndentation = indentation;
        }
    };
    for (QStringView line : RawTextLines::split(text)) {
        const QStringView trimmed = RawTextLines::trimSpacesAndTabs(line);
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const qsizetype indentation = RawTextLines::leadingSpaces(line);
        if (!inside) {
            handleKey(trimmed, indentation);
        } else if (indentation > listIndentation) {
            if (trimmed.startsWith(u'-'))
                listed.insert(RawTextLines::trimSpacesAndTabs(trimmed.sliced(1)).toString());
            else
                handleKey(trimmed, indentation);
        } else if (trimmed.startsWith(u'-')) {
            handleKey(trimmed, indentation);
        } else {
            inside = false;
            handleKey(trimmed, indentation);
        }
    }
    return listed;
}

QStringList RequiredFieldResolver::findPropertyNamesJSON(QStringView text, const QStringList& path)
{
    QStringList names;
    JSONKeyPath keyPath;
    long long depth = 0;
    bool inside = false;
    long long memberDepth = 0;
    for (QStringView line : RawTextLines::split(text)) {
        const QStringView trimmed = RawTextLines::trimWhitespace(line);
        if (trimmed.isEmpty())
            continue;
        const long long start = depth;
        const auto [opening, closing] = jsonBracketCounts(trimmed);
        if (const std::optional<QStringView> key = QuotedTextScanner::firstKey(trimmed)) {
            keyPath.push(start, *key);
            if (keyPath.equals(path)) {
                inside = true;
                memberDepth = start + opening;
            } else if (inside && start == memberDepth && keyPath.equals(path, 1)) {
                names << key->toString();
            }
        }
        depth += opening - closing;
        if (inside && depth < memberDepth)
            inside = false;
    }
    return names;
}

QSet<QString> RequiredFieldResolver::findExistingRequiredJSON(QStringView text, const QStringList& path)
{
    QSet<QString> listed;
    JSONKeyPath keyPath;
    long long depth = 0;
    bool inside = false;
    long long balance = 0;
    for (QStringView line : RawTextLines::split(text)) {
        const QStringView trimmed = RawTextLines::trimWhitespace(line);
        if (trimmed.isEmpty())
            continue;
        const auto [opening, closing] = jsonBracketCounts(trimmed);
        if (inside) {
            balance += opening - closing;
            if (readsAsListLine(trimmed))
                insertQuotedTexts(listed, trimmed);
            if (balance >= 1) {
                depth += opening - closing;
                continue;
            }
            inside = false;
        }
        if (const std::optional<QStringView> key = QuotedTextScanner::firstKey(trimmed)) {
            keyPath.push(depth, *key);
            const qsizetype bracket = trimmed.indexOf(u'[');
            if (bracket >= 0 && keyPath.equals(path)) {
                balance = opening - closing;
                insertQuotedTexts(listed, trimmed.sliced(bracket + 1));
                inside = balance > 0;
            }
        }
        depth += opening - closing;
    }
    return listed;
}

QStringList RequiredFieldResolver::findPropertyNames(QStringView text, const std::vector<PathComponent>& requiredPath,
                                                     DocumentFormat format)
{
    if (requiredPath.empty())
        return {};
    QStringList properties = keyTexts(requiredPath);
    properties.last() = QStringLiteral("properties");
    return format == DocumentFormat::json ? findPropertyNamesJSON(text, properties)
                                          : findPropertyNamesYAML(text, properties);
}

std::vector<CompletionItem> RequiredFieldResolver::suggestions(const CompletionContext& context,
                                                               const QString& text) const
{
    if (context.role != CursorRole::sequenceItem)
        return {};
    const std::vector<PathComponent> path = strippingTrailingIndices(context.path);
    if (path.empty() || !path.back().isKey(u"required"))
        return {};
    const bool json = context.format == DocumentFormat::json;
    const QStringList declared = findPropertyNames(text, path, context.format);
    if (declared.isEmpty())
        return {};
    const QStringList requiredKeys = keyTexts(path);
    const QSet<QString> listed = json ? findExistingRequiredJSON(text, requiredKeys)
                                      : findExistingRequiredYAML(text, requiredKeys);
    QStringList missing;
    for (const QString& name : declared) {
        if (!listed.contains(name))
            missing << name;
    }
    std::vector<CompletionItem> items;
    for (const QString& name : EnumDefaultResolver::filterByPrefix(missing, context.prefix)) {
        QString insertText = json && !context.hints.isInString ? u'"' + name + u'"' : name;
        items.emplace_back(name, std::move(insertText), CompletionItemKind::property, std::nullopt,
                           QStringLiteral("Property from schema"), std::nullopt, 100, false, false, std::nullopt);
    }
    return items;
}

} // namespace Carvex

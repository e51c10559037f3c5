#include "Carvex/Completion/RequiredFieldResolver.h"

#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/Completion/EnumDefaultResolver.h"
#include "Carvex/Completion/RawTextLines.h"
#include "Carvex/Completion/ScalarNameText.h"

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

using ScalarNameText::Scalar;

// The key of a YAML line. A key after a sequence dash ("- name: x") opens a level of the path but
// names none of its keys.
struct YAMLKey {
    Scalar name;
    bool afterDash = false;
};

// The key path of the lines of a YAML text: a stack of (indentation, key), levels told apart by
// indentation alone.
class YAMLKeyPath {
public:
    // The key of a trimmed line, read as ScalarNameText::yamlKey reads it after the line's dashes.
    static std::optional<YAMLKey> keyOf(QStringView trimmed)
    {
        const qsizetype dashes = LineReading::afterDashes(trimmed);
        const bool afterDash = dashes > 0;
        const std::optional<Scalar> key = ScalarNameText::yamlKey(trimmed.sliced(dashes));
        if (!key)
            return std::nullopt;
        return YAMLKey{*key, afterDash};
    }

    void push(qsizetype indentation, const YAMLKey& key)
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
            const YAMLKey& key = stack_[i].key;
            if (key.afterDash || !ScalarNameText::readsAs(key.name, path[static_cast<qsizetype>(i)]))
                return false;
        }
        return true;
    }

private:
    struct Entry {
        qsizetype indentation;
        YAMLKey key;
    };
    std::vector<Entry> stack_;
};

// The key path of the lines of a JSON text: a stack of (depth, key), the depth being the bracket
// depth at the start of the key's line.
class JSONKeyPath {
public:
    void push(long long depth, Scalar key)
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
            if (!ScalarNameText::readsAs(stack_[static_cast<std::size_t>(i)].key, path[i]))
                return false;
        }
        return true;
    }

private:
    struct Entry {
        long long depth;
        Scalar key;
    };
    std::vector<Entry> stack_;
};

void insertJSONStrings(QSet<QString>& set, QStringView text)
{
    for (const Scalar& value : ScalarNameText::jsonStrings(text))
        set.insert(ScalarNameText::decoded(value));
}

// What the YAML scans need of a non-empty, non-comment line.
struct YAMLLine {
    QStringView trimmed;
    qsizetype indentation;
    std::optional<YAMLKey> key;
};

template<class Visit>
void forEachYAMLLine(QStringView text, Visit visit)
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        const QStringView line = end < 0 ? text.sliced(start) : text.sliced(start, end - start);
        const QStringView trimmed = RawTextLines::trimSpacesAndTabs(line);
        if (!trimmed.isEmpty() && !trimmed.startsWith(u'#'))
            visit(YAMLLine{trimmed, RawTextLines::leadingSpaces(line), YAMLKeyPath::keyOf(trimmed)});
        if (end < 0)
            return;
        start = end + 1;
    }
}

// What the JSON scans need of a non-empty line: the line trimmed, its brackets and its first key.
struct JSONLine {
    QStringView trimmed;
    int opening;
    int closing;
    std::optional<Scalar> key;
};

template<class Visit>
void forEachJSONLine(QStringView text, Visit visit)
{
    qsizetype start = 0;
    while (start >= 0) {
        RawTextLines::JSONLineRead read = RawTextLines::readJSONLine(text, start);
        start = read.next;
        if (read.trimmed.isEmpty())
            continue;
        if (read.tally.openString >= 0) {
            // The line ends inside a string: its brackets count as well.
            for (QChar c : read.trimmed.sliced(read.tally.openString + 1)) {
                if (c == u'{' || c == u'[')
                    ++read.tally.opening;
                else if (c == u'}' || c == u']')
                    ++read.tally.closing;
            }
        }
        visit(JSONLine{read.trimmed, read.tally.opening, read.tally.closing, ScalarNameText::jsonKey(read.trimmed)});
    }
}

// The direct members of the mapping at the path, in document order.
class PropertyNamesYAML {
public:
    explicit PropertyNamesYAML(const QStringList& path) : path_(path) {}

    void feed(const YAMLLine& line)
    {
        if (!line.key)
            return;
        if (inside_ && line.indentation <= targetIndentation_) {
            inside_ = false;
            childIndentation_.reset();
        }
        keyPath_.push(line.indentation, *line.key);
        if (keyPath_.equals(path_)) {
            inside_ = true;
            targetIndentation_ = line.indentation;
            childIndentation_.reset();
        } else if (inside_ && line.indentation > targetIndentation_
                   && (!childIndentation_ || *childIndentation_ == line.indentation)) {
            if (!line.key->afterDash)
                names << ScalarNameText::decoded(line.key->name);
            childIndentation_ = line.indentation;
        }
    }

    QStringList names;

private:
    const QStringList& path_;
    YAMLKeyPath keyPath_;
    bool inside_ = false;
    qsizetype targetIndentation_ = 0;
    std::optional<qsizetype> childIndentation_;
};

// The items of the sequence at the path, as written after their dash.
class ExistingRequiredYAML {
public:
    explicit ExistingRequiredYAML(const QStringList& path) : path_(path) {}

    void feed(const YAMLLine& line)
    {
        if (!inside_) {
            handleKey(line);
        } else if (line.indentation > listIndentation_
                   || (line.indentation == listIndentation_ && line.trimmed.startsWith(u'-'))) {
            // The items stand deeper than "required", or at its own column.
            if (line.trimmed.startsWith(u'-'))
                listed.insert(ScalarNameText::decoded(ScalarNameText::yamlItem(line.trimmed.sliced(1))));
            else
                handleKey(line);
        } else if (line.trimmed.startsWith(u'-')) {
            handleKey(line);
        } else {
            inside_ = false;
            handleKey(line);
        }
    }

    QSet<QString> listed;

private:
    void handleKey(const YAMLLine& line)
    {
        if (!line.key)
            return;
        keyPath_.push(line.indentation, *line.key);
        if (keyPath_.equals(path_)) {
            inside_ = true;
            listIndentation_ = line.indentation;
            insertFlowItems(line.trimmed);
        }
    }

    // The items of a flow sequence written as the key's value on its line ("required: [a, b]").
    void insertFlowItems(QStringView trimmed)
    {
        const std::optional<LineReading::YAMLKey> key = LineReading::yamlKey(trimmed);
        if (!key)
            return;
        qsizetype value = key->colon + 1;
        while (value < trimmed.size() && LineReading::isBlank(trimmed[value]))
            ++value;
        if (value == trimmed.size() || trimmed[value] != u'[')
            return;
        for (const Scalar& item : LineReading::yamlFlowItems(trimmed, value))
            listed.insert(ScalarNameText::decoded(item));
    }

    const QStringList& path_;
    YAMLKeyPath keyPath_;
    bool inside_ = false;
    qsizetype listIndentation_ = 0;
};

// The members of the object at the path, at its member depth, in document order.
class PropertyNamesJSON {
public:
    explicit PropertyNamesJSON(const QStringList& path) : path_(path) {}

    void feed(const JSONLine& line)
    {
        const long long start = depth_;
        if (line.key) {
            keyPath_.push(start, *line.key);
            if (keyPath_.equals(path_)) {
                inside_ = true;
                memberDepth_ = start + line.opening;
            } else if (inside_ && start == memberDepth_ && keyPath_.equals(path_, 1)) {
                names << ScalarNameText::decoded(*line.key);
            }
        }
        depth_ += line.opening - line.closing;
        if (inside_ && depth_ < memberDepth_)
            inside_ = false;
    }

    QStringList names;

private:
    const QStringList& path_;
    JSONKeyPath keyPath_;
    long long depth_ = 0;
    bool inside_ = false;
    long long memberDepth_ = 0;
};

// The strings of the list opened at the path, over as many lines as it runs.
class ExistingRequiredJSON {
public:
    explicit ExistingRequiredJSON(const QStringList& path) : path_(path) {}

    void feed(const JSONLine& line)
    {
        const int delta = line.opening - line.closing;
        if (inside_) {
            balance_ += delta;
            if (!line.key)
                insertJSONStrings(listed, line.trimmed);
            if (balance_ >= 1) {
                depth_ += delta;
                return;
            }
            inside_ = false;
        }
        if (line.key) {
            keyPath_.push(depth_, *line.key);
            const qsizetype bracket = line.trimmed.indexOf(u'[');
            if (bracket >= 0 && keyPath_.equals(path_)) {
                balance_ = delta;
                insertJSONStrings(listed, line.trimmed.sliced(bracket + 1));
                inside_ = balance_ > 0;
            }
        }
        depth_ += delta;
    }

    QSet<QString> listed;

private:
    const QStringList& path_;
    JSONKeyPath keyPath_;
    long long depth_ = 0;
    bool inside_ = false;
    long long balance_ = 0;
};

} // namespace

std::pair<int, int> RequiredFieldResolver::jsonBracketCounts(QStringView line)
{
    RawTextLines::BracketTally tally = RawTextLines::tallyBrackets(line);
    if (tally.openString >= 0) {
        // The line ends inside a string: its brackets count as well.
        for (QChar c : line.sliced(tally.openString + 1)) {
            if (c == u'{' || c == u'[')
                ++tally.opening;
            else if (c == u'}' || c == u']')
                ++tally.closing;
        }
    }
    return {tally.opening, tally.closing};
}

QStringList RequiredFieldResolver::findPropertyNamesYAML(QStringView text, const QStringList& path)
{
    PropertyNamesYAML scan(path);
    forEachYAMLLine(text, [&](const YAMLLine& line) { scan.feed(line); });
    return scan.names;
}

QSet<QString> RequiredFieldResolver::findExistingRequiredYAML(QStringView text, const QStringList& path)
{
    ExistingRequiredYAML scan(path);
    forEachYAMLLine(text, [&](const YAMLLine& line) { scan.feed(line); });
    return scan.listed;
}

QStringList RequiredFieldResolver::findPropertyNamesJSON(QStringView text, const QStringList& path)
{
    PropertyNamesJSON scan(path);
    forEachJSONLine(text, [&](const JSONLine& line) { scan.feed(line); });
    return scan.names;
}

QSet<QString> RequiredFieldResolver::findExistingRequiredJSON(QStringView text, const QStringList& path)
{
    ExistingRequiredJSON scan(path);
    forEachJSONLine(text, [&](const JSONLine& line) { scan.feed(line); });
    return scan.listed;
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
    // One walk over the lines feeds both scans: the declared names and the names already listed.
    QStringList properties = keyTexts(path);
    const QStringList requiredKeys = properties;
    properties.last() = QStringLiteral("properties");
    QStringList declared;
    QSet<QString> listed;
    if (json) {
        PropertyNamesJSON names(properties);
        ExistingRequiredJSON existing(requiredKeys);
        forEachJSONLine(text, [&](const JSONLine& line) {
            names.feed(line);
            existing.feed(line);
        });
        declared = std::move(names.names);
        listed = std::move(existing.listed);
    } else {
        PropertyNamesYAML names(properties);
        ExistingRequiredYAML existing(requiredKeys);
        forEachYAMLLine(text, [&](const YAMLLine& line) {
            names.feed(line);
            existing.feed(line);
        });
        declared = std::move(names.names);
        listed = std::move(existing.listed);
    }
    QStringList missing;
    for (const QString& name : declared) {
        if (!listed.contains(name))
            missing << name;
    }
    // In a string the name goes in as the string's content; in YAML, a block scalar's text as it is.
    const bool inString = context.hints.isInString;
    const std::optional<QChar> quote =
        inString && !json ? ScalarNameText::openYAMLQuote(text, context.caretLocation) : std::nullopt;
    std::vector<CompletionItem> items;
    for (const QString& name : EnumDefaultResolver::filterByPrefix(missing, context.prefix)) {
        QString insertText = json ? (inString ? ScalarNameText::jsonStringContent(name) : ScalarNameText::jsonString(name))
            : quote               ? ScalarNameText::yamlQuotedContent(name, *quote)
            : inString            ? name
                                  : ScalarNameText::yamlScalar(name);
        items.emplace_back(name, std::move(insertText), CompletionItemKind::property, std::nullopt,
                           QStringLiteral("Property from schema"), std::nullopt, 100, false, false, std::nullopt);
    }
    return items;
}

} // namespace Carvex

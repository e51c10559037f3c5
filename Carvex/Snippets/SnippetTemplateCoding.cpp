#include "Carvex/Snippets/SnippetTemplateCoding.h"

#include "Carvex/Conversion/JSONTextWriter.h"
#include "Carvex/Conversion/PlainValueTree.h"
#include "Carvex/Conversion/StrictJSONReader.h"

#include <cmath>
#include <limits>

namespace Carvex {

namespace {

using Index = PlainValueTree::Index;
using Kind = PlainValueTree::Kind;

// A member's value: none when the key is missing or its value is null.
std::optional<Index> member(const PlainValueTree& tree, Index dictionary, std::string_view key) {
    for (std::size_t i = 0, n = tree.count(dictionary); i < n; ++i) {
        if (tree.key(dictionary, i) != key) continue;
        const Index v = tree.value(dictionary, i);
        if (tree.kind(v) == Kind::null) return std::nullopt;
        return v;
    }
    return std::nullopt;
}

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

bool readText(const PlainValueTree& tree, Index v, QString& out) {
    if (tree.kind(v) != Kind::text) return false;
    out = toQString(tree.text(v));
    return true;
}

bool readTexts(const PlainValueTree& tree, Index v, QStringList& out) {
    if (tree.kind(v) != Kind::list) return false;
    out.clear();
    for (std::size_t i = 0, n = tree.count(v); i < n; ++i) {
        QString text;
        if (!readText(tree, tree.element(v, i), text)) return false;
        out.push_back(std::move(text));
    }
    return true;
}

bool readInt(const PlainValueTree& tree, Index v, int& out) {
    switch (tree.kind(v)) {
    case Kind::integer: {
        const std::int64_t n = tree.integer(v);
        if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max()) return false;
        out = int(n);
        return true;
    }
    case Kind::real: {
        const double d = tree.real(v);
        if (!std::isfinite(d) || std::trunc(d) != d) return false;
        if (d < double(std::numeric_limits<int>::min()) || d > double(std::numeric_limits<int>::max())) return false;
        out = int(d);
        return true;
    }
    default:
        return false;  // texts, booleans, collections and numbers beyond 64 bits
    }
}

// Reads an optional member with `read`; false when it is present with a value `read` refuses.
template <typename T, typename Read>
bool readOptional(const PlainValueTree& tree, Index dictionary, std::string_view key, std::optional<T>& out, Read read) {
    const auto v = member(tree, dictionary, key);
    if (!v) return true;
    T value{};
    if (!read(tree, *v, value)) return false;
    out = std::move(value);
    return true;
}

template <typename T, typename Read>
bool readRequired(const PlainValueTree& tree, Index dictionary, std::string_view key, T& out, Read read) {
    const auto v = member(tree, dictionary, key);
    return v && read(tree, *v, out);
}

std::optional<TemplateContext> readContext(const PlainValueTree& tree, Index v, bool& ok) {
    ok = tree.kind(v) == Kind::dictionary;
    if (!ok) return std::nullopt;
    TemplateContext context;
    ok = readOptional(tree, v, "parentPath", context.parentPath, readTexts) &&
         readOptional(tree, v, "requiredParent", context.requiredParent, readText) &&
         readOptional(tree, v, "immediateParent", context.immediateParent, readText) &&
         readOptional(tree, v, "minIndentLevel", context.minIndentLevel, readInt);
    return context;
}

void appendKey(std::string& out, bool& first, int indent, std::string_view key) {
    out += first ? "\n" : ",\n";
    first = false;
    out.append(std::size_t(indent), ' ');
    JSONTextWriter::appendString(out, key);
    out += ": ";
}

void appendText(std::string& out, const QString& text) { JSONTextWriter::appendString(out, text.toStdString()); }

void appendTexts(std::string& out, const QStringList& texts, int indent) {
    if (texts.isEmpty()) {
        out += "[]";
        return;
    }
    out += "[";
    for (qsizetype i = 0; i < texts.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out.append(std::size_t(indent + 2), ' ');
        appendText(out, texts[i]);
    }
    out += "\n";
    out.append(std::size_t(indent), ' ');
    out += "]";
}

}  // namespace

std::optional<SnippetTemplate> SnippetTemplateCoding::decode(std::string_view json) {
    PlainValueTree tree;
    try {
        tree = StrictJSONReader(json).read();
    } catch (const StrictJSONReader::SyntaxError&) {
        return std::nullopt;
    }
    const Index root = tree.root();
    if (tree.empty() || tree.kind(root) != Kind::dictionary) return std::nullopt;

    SnippetTemplate result;
    if (!readRequired(tree, root, "id", result.id, readText) ||
        !readRequired(tree, root, "name", result.name, readText) ||
        !readRequired(tree, root, "triggerKeywords", result.triggerKeywords, readTexts) ||
        !readRequired(tree, root, "content", result.content, readText) ||
        !readRequired(tree, root, "openAPIVersion", result.openAPIVersion, readText))
        return std::nullopt;
    if (const auto context = member(tree, root, "context")) {
        bool ok = false;
        result.context = readContext(tree, *context, ok);
        if (!ok) return std::nullopt;
    }
    std::optional<int> depthScore;
    if (!readOptional(tree, root, "depthScore", depthScore, readInt)) return std::nullopt;
    result.depthScore = depthScore.value_or(0);
    return result;
}

std::string SnippetTemplateCoding::encode(const SnippetTemplate& snippet) {
    std::string out = "{";
    bool first = true;
    appendKey(out, first, 2, "id");
    appendText(out, snippet.id);
    appendKey(out, first, 2, "name");
    appendText(out, snippet.name);
    appendKey(out, first, 2, "triggerKeywords");
    appendTexts(out, snippet.triggerKeywords, 2);
    if (snippet.context) {
        const TemplateContext& c = *snippet.context;
        appendKey(out, first, 2, "context");
        out += "{";
        bool innerFirst = true;
        if (c.parentPath) {
            appendKey(out, innerFirst, 4, "parentPath");
            appendTexts(out, *c.parentPath, 4);
        }
        if (c.requiredParent) {
            appendKey(out, innerFirst, 4, "requiredParent");
            appendText(out, *c.requiredParent);
        }
        if (c.immediateParent) {
            appendKey(out, innerFirst, 4, "immediateParent");
            appendText(out, *c.immediateParent);
        }
        if (c.minIndentLevel) {
            appendKey(out, innerFirst, 4, "minIndentLevel");
            out += std::to_string(*c.minIndentLevel);
        }
        out += innerFirst ? "}" : "\n  }";
    }
    appendKey(out, first, 2, "content");
    appendText(out, snippet.content);
    appendKey(out, first, 2, "openAPIVersion");
    appendText(out, snippet.openAPIVersion);
    appendKey(out, first, 2, "depthScore");
    out += std::to_string(snippet.depthScore);
    out += "\n}";
    return out;
}

const QRegularExpression& SnippetTemplateCoding::placeholderPattern() {
    static const QRegularExpression pattern(QStringLiteral("\\$\\{(\\d+):([^}]+)\\}"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

int SnippetTemplateCoding::placeholderIndex(QStringView digits) {
    if (digits.isEmpty()) return 0;
    std::int64_t value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') return 0;  // other scripts' digits that \d also takes
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<int>::max()) return 0;
    }
    return int(value);
}

}  // namespace Carvex

#include "Carvex/Completion/SnippetCompletionProvider.h"

namespace Carvex {

namespace {

CompletionItem itemFor(const SnippetTemplate& snippet, bool bodyOnly) {
    const QString label = SnippetCompletionProvider::displayLabel(snippet);
    return CompletionItem(label, label, CompletionItemKind::snippet, snippet.name, snippet.name, std::nullopt,
                          snippet.depthScore - 100, false, false,
                          SnippetMetadata{snippet.id, bodyOnly, snippet.content, snippet.openAPIVersion});
}

bool isHorizontalSpace(QChar c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::vector<CompletionItem> SnippetCompletionProvider::suggestions(const CompletionContext& context,
                                                                   const std::vector<SnippetTemplate>& templates) const {
    if (context.role != CursorRole::mappingKey) return {};
    QStringList path;
    path.reserve(qsizetype(context.path.size()));
    for (const PathComponent& component : context.path) path.push_back(component.text());
    if (context.prefix.isEmpty() && !path.isEmpty() && context.existingKeys.isEmpty()) {
        auto bodyOnly = bodyOnlySuggestions(path.last(), path, templates);
        if (!bodyOnly.empty()) return bodyOnly;
    }
    return fullSuggestions(path, templates);
}

std::vector<CompletionItem> SnippetCompletionProvider::bodyOnlySuggestions(const QString& lastKey, const QStringList& path,
                                                                           const std::vector<SnippetTemplate>& templates) {
    const QString key = lastKey + u':';
    const QStringList parentPath = path.mid(0, std::max<qsizetype>(0, path.size() - 1));
    const int level = int(path.size()) - 1;
    std::vector<CompletionItem> items;
    for (const SnippetTemplate& snippet : templates) {
        bool triggered = false;
        for (const QString& keyword : snippet.triggerKeywords)
            if (key.endsWith(keyword)) triggered = true;  // an equal text ends with itself
        if (triggered && contextMatches(snippet, parentPath, level)) items.push_back(itemFor(snippet, true));
    }
    return items;
}

std::vector<CompletionItem> SnippetCompletionProvider::fullSuggestions(const QStringList& path,
                                                                       const std::vector<SnippetTemplate>& templates) {
    std::vector<CompletionItem> items;
    for (const SnippetTemplate& snippet : templates)
        if (contextMatches(snippet, path, int(path.size()))) items.push_back(itemFor(snippet, false));
    return items;
}

QString SnippetCompletionProvider::displayLabel(const SnippetTemplate& snippet) {
    QString text = snippet.triggerKeywords.isEmpty() ? snippet.id : snippet.triggerKeywords.first();
    if (text.endsWith(u':')) text.chop(1);
    qsizetype begin = 0, end = text.size();
    while (begin < end && isHorizontalSpace(text[begin])) ++begin;
    while (end > begin && isHorizontalSpace(text[end - 1])) --end;
    text = text.mid(begin, end - begin);
    if (text.startsWith(QStringLiteral("- "))) text.remove(0, 2);
    return text.isEmpty() ? snippet.id : text;
}

bool SnippetCompletionProvider::contextMatches(const SnippetTemplate& snippet, const QStringList& path, int indentLevel) {
    if (!snippet.context) return true;
    const TemplateContext& c = *snippet.context;
    if (c.immediateParent && (path.isEmpty() || path.last() != *c.immediateParent)) return false;
    if (c.minIndentLevel && *c.minIndentLevel > indentLevel) return false;
    if (c.requiredParent && !path.contains(*c.requiredParent)) return false;
    if (c.parentPath) {
        if (path.size() < c.parentPath->size()) return false;
        for (qsizetype i = 0; i < c.parentPath->size(); ++i)
            if (path[i] != (*c.parentPath)[i]) return false;
    }
    return true;
}

}  // namespace Carvex

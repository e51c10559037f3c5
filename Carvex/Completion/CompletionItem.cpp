#include "Carvex/Completion/CompletionItem.h"

#include "Carvex/Completion/CompletionTextOrder.h"

#include <QHash>

#include <utility>

namespace Carvex {

CompletionItem::CompletionItem(QString label, std::optional<QString> insertText, CompletionItemKind kind,
                               std::optional<QString> shortDescription, std::optional<QString> description,
                               std::optional<QString> detail, int priority, bool requiresColon, bool requiresValue,
                               std::optional<SnippetMetadata> snippetMetadata)
    : id(QUuid::createUuid())
    , label(std::move(label))
    , insertText(insertText ? std::move(*insertText) : this->label)
    , kind(kind)
    , shortDescription(std::move(shortDescription))
    , description(std::move(description))
    , detail(std::move(detail))
    , priority(priority)
    , requiresColon(requiresColon)
    , requiresValue(requiresValue)
    , snippetMetadata(std::move(snippetMetadata))
{
}

std::size_t CompletionItem::hash() const
{
    return qHash(id);
}

bool operator<(const CompletionItem& a, const CompletionItem& b)
{
    if (a.priority != b.priority)
        return a.priority > b.priority;
    return compareCompletionTexts(a.label, b.label) < 0;
}

} // namespace Carvex

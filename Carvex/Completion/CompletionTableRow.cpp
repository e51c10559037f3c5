#include "Carvex/Completion/CompletionTableRow.h"

namespace Carvex {

namespace {

std::optional<QString> optionalText(const char* text)
{
    return text ? std::optional<QString>(QString::fromUtf8(text)) : std::nullopt;
}

} // namespace

std::vector<CompletionItem> buildCompletionTable(std::span<const CompletionTableRow> rows)
{
    std::vector<CompletionItem> items;
    items.reserve(rows.size());
    for (const CompletionTableRow& row : rows) {
        items.emplace_back(QString::fromUtf8(row.label), optionalText(row.insertText), row.kind,
                           optionalText(row.shortDescription), optionalText(row.description),
                           optionalText(row.detail), row.priority, row.requiresColon, row.requiresValue,
                           std::nullopt);
    }
    return items;
}

} // namespace Carvex

#pragma once

#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/Completion/CompletionItemKind.h"

#include <span>
#include <vector>

namespace Carvex {

// One row of a fixed proposal table as compiled into the program; a table becomes CompletionItems
// (each with a fresh id) the first time it is read. Texts are UTF-8; null means none.
struct CompletionTableRow {
    const char* label;
    const char* insertText; // null: the label
    CompletionItemKind kind;
    int priority;
    bool requiresColon;
    bool requiresValue;
    const char* shortDescription;
    const char* detail;
    const char* description;
};

// The rows as proposals, allocated once at their final size.
std::vector<CompletionItem> buildCompletionTable(std::span<const CompletionTableRow> rows);

} // namespace Carvex

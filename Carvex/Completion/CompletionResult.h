#pragma once

#include "Carvex/CaretContext/CompletionContext.h"
#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/Completion/GrammarContext.h"
#include "Carvex/Completion/OpenAPIVersion.h"

#include <vector>

namespace Carvex {

// The completion engine's answer. Built memberwise in field order, or as empty(context).
struct CompletionResult {
    // The version whose grammar answered.
    OpenAPIVersion version = OpenAPIVersion::openAPI31;
    // The context after the engine's refinement.
    CompletionContext context;
    // What the grammar classified the caret as; empty on the early exits.
    std::vector<GrammarContext> grammarContexts;
    // The proposals, sorted ascending by the item order.
    std::vector<CompletionItem> items;
    bool isIncomplete = false;

    // Version 3.1, the given context, nothing classified, no items, complete.
    static CompletionResult empty(CompletionContext context);

    bool operator==(const CompletionResult& other) const = default;
};

} // namespace Carvex

#pragma once

#include "Carvex/CaretContext/CompletionContext.h"
#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/CaretContext/CursorRole.h"
#include "Carvex/CaretContext/DocumentFormat.h"
#include "Carvex/Completion/GrammarContext.h"
#include "Carvex/Completion/OpenAPIVersion.h"

#include <QString>

#include <optional>
#include <vector>

namespace Carvex {

// The structure of one OpenAPI version: names the object at the caret and proposes its keys and values.
class OpenAPIGrammar {
public:
    virtual ~OpenAPIGrammar() = default;

    virtual OpenAPIVersion version() const = 0;
    // The classification of the context's path: always exactly one context; the empty path is the root.
    virtual std::vector<GrammarContext> classify(const CompletionContext& context) const = 0;
    // Key proposals for role mappingKey, list-item proposals for sequenceItem, value proposals otherwise;
    // in table order (the engine filters and sorts).
    virtual std::vector<CompletionItem> suggestions(GrammarContext context, CursorRole role,
                                                    const std::optional<QString>& currentKey,
                                                    DocumentFormat format) const = 0;
};

} // namespace Carvex

#pragma once

#include "Carvex/CaretContext/CompletionContext.h"
#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/Completion/GrammarContext.h"
#include "Carvex/Completion/ReferenceIndex.h"

#include <QStringView>

#include <vector>

namespace Carvex {

// Proposes `$ref` pointers from a reference index; never fails. `text` is the document the index was
// built from: it tells which quote opened a YAML string at the caret.
class ReferenceResolving {
public:
    virtual ~ReferenceResolving() = default;
    virtual std::vector<CompletionItem> suggestions(const CompletionContext& context,
                                                    const std::vector<GrammarContext>& grammarContexts,
                                                    const ReferenceIndex& index, QStringView text = {}) const = 0;
};

} // namespace Carvex

#pragma once

#include "Carvex/Completion/ReferenceResolving.h"

namespace Carvex {

// One proposal per component of the expected kind, labelled with its pointer, narrowed by the
// typed prefix. Only the context, the index and the text matter; the grammar contexts are not read.
// The pointer is inserted as a JSON or YAML string that reads back as the pointer: quoted and escaped,
// or, in a string the author opened, escaped as that string's content.
class ReferenceResolver final : public ReferenceResolving {
public:
    std::vector<CompletionItem> suggestions(const CompletionContext& context,
                                            const std::vector<GrammarContext>& grammarContexts,
                                            const ReferenceIndex& index, QStringView text = {}) const override;

    // Per kind: the proposal's priority, its item kind and the word its description starts with
    // ("Requestbody": the raw value with only its first letter in upper case).
    static int priority(ReferenceKind kind);
    static CompletionItemKind itemKind(ReferenceKind kind);
    static QString descriptionWord(ReferenceKind kind);
};

} // namespace Carvex

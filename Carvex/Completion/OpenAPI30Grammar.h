#pragma once

#include "Carvex/Completion/OpenAPIGrammar.h"
#include "Carvex/CaretContext/ReferenceKind.h"

namespace Carvex {

// The OpenAPI 3.0 grammar: classifies caret paths and proposes from the OpenAPI30Tables.
class OpenAPI30Grammar final : public OpenAPIGrammar {
public:
    explicit OpenAPI30Grammar(OpenAPIVersion version = OpenAPIVersion::openAPI30) : version_(version) {}

    OpenAPIVersion version() const override { return version_; }
    std::vector<GrammarContext> classify(const CompletionContext& context) const override;
    std::vector<CompletionItem> suggestions(GrammarContext context, CursorRole role,
                                            const std::optional<QString>& currentKey,
                                            DocumentFormat format) const override;
    // The kind of component a `$ref` in these contexts should point to.
    std::optional<ReferenceKind> expectedReferenceKind(const std::vector<GrammarContext>& contexts) const;

private:
    OpenAPIVersion version_;
};

} // namespace Carvex

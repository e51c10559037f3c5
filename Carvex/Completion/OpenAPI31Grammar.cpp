#include "Carvex/Completion/OpenAPI31Grammar.h"

#include "Carvex/Completion/GrammarPathClassifier.h"

namespace Carvex {

std::vector<GrammarContext> OpenAPI31Grammar::classify(const CompletionContext& context) const
{
    return {GrammarPathClassifier::classify(context.path, OpenAPIVersion::openAPI31)};
}

std::vector<CompletionItem> OpenAPI31Grammar::suggestions(GrammarContext, CursorRole, const std::optional<QString>&,
                                                        DocumentFormat) const
{
    return {};
}

std::optional<ReferenceKind> OpenAPI31Grammar::expectedReferenceKind(const std::vector<GrammarContext>& contexts) const
{
    return GrammarPathClassifier::expectedReferenceKind(contexts);
}

} // namespace Carvex

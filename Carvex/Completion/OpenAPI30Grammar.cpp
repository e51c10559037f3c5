#include "Carvex/Completion/OpenAPI30Grammar.h"

#include "Carvex/Completion/GrammarPathClassifier.h"

namespace Carvex {

std::vector<GrammarContext> OpenAPI30Grammar::classify(const CompletionContext& context) const
{
    return {GrammarPathClassifier::classify(context.path, OpenAPIVersion::openAPI30)};
}

std::vector<CompletionItem> OpenAPI30Grammar::suggestions(GrammarContext, CursorRole, const std::optional<QString>&,
                                                        DocumentFormat) const
{
    return {};
}

std::optional<ReferenceKind> OpenAPI30Grammar::expectedReferenceKind(const std::vector<GrammarContext>& contexts) const
{
    return GrammarPathClassifier::expectedReferenceKind(contexts);
}

} // namespace Carvex

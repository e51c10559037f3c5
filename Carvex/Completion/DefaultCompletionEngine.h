#pragma once

#include "Carvex/CaretContext/CursorLocationService.h"
#include "Carvex/Completion/CompletionEngine.h"
#include "Carvex/Completion/EnumDefaultResolver.h"
#include "Carvex/Completion/OpenAPI30Grammar.h"
#include "Carvex/Completion/OpenAPI31Grammar.h"
#include "Carvex/Completion/ReferenceIndexer.h"
#include "Carvex/Completion/ReferenceResolver.h"
#include "Carvex/Completion/RequiredFieldResolver.h"
#include "Carvex/Completion/SnippetCompletionProvider.h"
#include "Carvex/Completion/TypeArrayResolver.h"
#include "Carvex/Snippets/SnippetTemplate.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace Carvex {

// The completion engine: chooses the grammar by the version the text declares, asks the cursor
// service where the caret stands, and gathers proposals from the resolvers, the grammar's tables and
// the snippet templates; then drops present keys, narrows by the typed prefix and sorts. Holds no
// state between requests; its services are values without state.
class DefaultCompletionEngine final : public CompletionEngine {
public:
    CursorLocationService cursorService;
    OpenAPI31Grammar grammar31{OpenAPIVersion::openAPI31};
    OpenAPI30Grammar grammar30{OpenAPIVersion::openAPI30};
    ReferenceIndexer referenceIndexer;
    ReferenceResolver referenceResolver;
    RequiredFieldResolver requiredFieldResolver;
    TypeArrayResolver typeArrayResolver;
    EnumDefaultResolver enumDefaultResolver;
    SnippetCompletionProvider snippetProvider;

    // completions() with no templates.
    CompletionResult complete(const QString& text, qsizetype caretLocation, DocumentFormat format) const override;

    // The full request, with the snippet templates of the document's catalogue. Never fails.
    CompletionResult completions(const QString& text, qsizetype caretLocation, DocumentFormat format,
                                 const std::vector<SnippetTemplate>& snippetTemplates) const;

    // 3.0 when the text holds, anywhere and in any letter case, a 3.0 declaration: "openapi" (bare,
    // or in double quotes before a quoted value), white space, ":", white space, and "3.0" (plain or
    // after one quote, ' or "); 3.1 otherwise. White space is Unicode White_Space. One pass over the text.
    static OpenAPIVersion detectVersion(QStringView text);

    // "type", "in", "format", "scheme", "style" or "default", in any letter case: keys whose quoted
    // values still get proposals.
    static bool isValueKey(QStringView key);
};

} // namespace Carvex

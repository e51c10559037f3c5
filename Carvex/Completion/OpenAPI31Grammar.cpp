#include "Carvex/Completion/OpenAPI31Grammar.h"

#include "Carvex/Completion/GrammarPathClassifier.h"
#include "Carvex/Completion/GrammarProposals.h"
#include "Carvex/Completion/OpenAPI31Tables.h"

namespace Carvex {

namespace {

const GrammarProposals::Tables& tables()
{
    static const GrammarProposals::Tables all{
        &OpenAPI31Tables::rootKeys,
        &OpenAPI31Tables::infoKeys,
        &OpenAPI31Tables::contactKeys,
        &OpenAPI31Tables::licenseKeys,
        &OpenAPI31Tables::serverKeys,
        &OpenAPI31Tables::serverVariableKeys,
        &OpenAPI31Tables::pathItemKeys,
        &OpenAPI31Tables::operationKeys,
        &OpenAPI31Tables::parameterKeys,
        &OpenAPI31Tables::parameterInValues,
        &OpenAPI31Tables::requestBodyKeys,
        &OpenAPI31Tables::mediaTypeKeys,
        &OpenAPI31Tables::responseKeys,
        &OpenAPI31Tables::httpStatusCodes,
        &OpenAPI31Tables::componentsKeys,
        &OpenAPI31Tables::schemaKeys,
        &OpenAPI31Tables::schemaTypeValues,
        &OpenAPI31Tables::securitySchemeKeys,
        &OpenAPI31Tables::securitySchemeTypeValues,
        &OpenAPI31Tables::oAuthFlowsKeys,
        &OpenAPI31Tables::oAuthFlowKeys,
        &OpenAPI31Tables::tagKeys,
        &OpenAPI31Tables::externalDocsKeys,
        &OpenAPI31Tables::exampleKeys,
        &OpenAPI31Tables::headerKeys,
        &OpenAPI31Tables::linkKeys,
        &OpenAPI31Tables::discriminatorKeys,
        &OpenAPI31Tables::xmlKeys,
        &OpenAPI31Tables::mediaTypes,
        &OpenAPI31Tables::booleanValues,
        &OpenAPI31Tables::formatValues,
        &OpenAPI31Tables::objectStructure,
        &OpenAPI31Tables::arrayStructure,
        &OpenAPI31Tables::yamlArrayItem,
        &OpenAPI31Tables::yamlObjectStart,
        &OpenAPI31Tables::yamlSchemaArrayItems,
        &OpenAPI31Tables::yamlServerArrayItems,
        &OpenAPI31Tables::yamlParameterArrayItems,
        &OpenAPI31Tables::yamlTagArrayItems,
        &OpenAPI31Tables::yamlSecurityArrayItems,
        &OpenAPI31Tables::styleValues,
        &OpenAPI31Tables::securitySchemeInValues,
        &OpenAPI31Tables::httpSchemeValues};
    return all;
}

} // namespace

std::vector<GrammarContext> OpenAPI31Grammar::classify(const CompletionContext& context) const
{
    return {GrammarPathClassifier::classify(context.path, OpenAPIVersion::openAPI31)};
}

std::vector<CompletionItem> OpenAPI31Grammar::suggestions(GrammarContext context, CursorRole role,
                                                        const std::optional<QString>& currentKey,
                                                        DocumentFormat format) const
{
    return GrammarProposals::suggestions(tables(), OpenAPIVersion::openAPI31, context, role, currentKey, format);
}

std::optional<ReferenceKind> OpenAPI31Grammar::expectedReferenceKind(const std::vector<GrammarContext>& contexts) const
{
    return GrammarPathClassifier::expectedReferenceKind(contexts);
}

} // namespace Carvex

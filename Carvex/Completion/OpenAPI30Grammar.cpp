#include "Carvex/Completion/OpenAPI30Grammar.h"

#include "Carvex/Completion/GrammarPathClassifier.h"
#include "Carvex/Completion/GrammarProposals.h"
#include "Carvex/Completion/OpenAPI30Tables.h"

namespace Carvex {

namespace {

const GrammarProposals::Tables& tables()
{
    static const GrammarProposals::Tables all{
        &OpenAPI30Tables::rootKeys,
        &OpenAPI30Tables::infoKeys,
        &OpenAPI30Tables::contactKeys,
        &OpenAPI30Tables::licenseKeys,
        &OpenAPI30Tables::serverKeys,
        &OpenAPI30Tables::serverVariableKeys,
        &OpenAPI30Tables::pathItemKeys,
        &OpenAPI30Tables::operationKeys,
        &OpenAPI30Tables::parameterKeys,
        &OpenAPI30Tables::parameterInValues,
        &OpenAPI30Tables::requestBodyKeys,
        &OpenAPI30Tables::mediaTypeKeys,
        &OpenAPI30Tables::responseKeys,
        &OpenAPI30Tables::httpStatusCodes,
        &OpenAPI30Tables::componentsKeys,
        &OpenAPI30Tables::schemaKeys,
        &OpenAPI30Tables::schemaTypeValues,
        &OpenAPI30Tables::securitySchemeKeys,
        &OpenAPI30Tables::securitySchemeTypeValues,
        &OpenAPI30Tables::oAuthFlowsKeys,
        &OpenAPI30Tables::oAuthFlowKeys,
        &OpenAPI30Tables::tagKeys,
        &OpenAPI30Tables::externalDocsKeys,
        &OpenAPI30Tables::exampleKeys,
        &OpenAPI30Tables::headerKeys,
        &OpenAPI30Tables::linkKeys,
        &OpenAPI30Tables::discriminatorKeys,
        &OpenAPI30Tables::xmlKeys,
        &OpenAPI30Tables::mediaTypes,
        &OpenAPI30Tables::booleanValues,
        &OpenAPI30Tables::formatValues,
        &OpenAPI30Tables::objectStructure,
        &OpenAPI30Tables::arrayStructure,
        &OpenAPI30Tables::yamlArrayItem,
        &OpenAPI30Tables::yamlObjectStart,
        &OpenAPI30Tables::yamlSchemaArrayItems,
        &OpenAPI30Tables::yamlServerArrayItems,
        &OpenAPI30Tables::yamlParameterArrayItems,
        &OpenAPI30Tables::yamlTagArrayItems,
        &OpenAPI30Tables::yamlSecurityArrayItems,
        &OpenAPI30Tables::styleValues,
        &OpenAPI30Tables::securitySchemeInValues,
        &OpenAPI30Tables::httpSchemeValues};
    return all;
}

} // namespace

std::vector<GrammarContext> OpenAPI30Grammar::classify(const CompletionContext& context) const
{
    return {GrammarPathClassifier::classify(context.path, OpenAPIVersion::openAPI30)};
}

std::vector<CompletionItem> OpenAPI30Grammar::suggestions(GrammarContext context, CursorRole role,
                                                        const std::optional<QString>& currentKey,
                                                        DocumentFormat format) const
{
    return GrammarProposals::suggestions(tables(), OpenAPIVersion::openAPI30, context, role, currentKey, format);
}

std::optional<ReferenceKind> OpenAPI30Grammar::expectedReferenceKind(const std::vector<GrammarContext>& contexts) const
{
    return GrammarPathClassifier::expectedReferenceKind(contexts);
}

} // namespace Carvex

#include "Carvex/Completion/OpenAPI31Tables.h"

#include "Carvex/Completion/OpenAPI31TableRows.h"

// A function-local static is the once-only guard: its initialisation runs once, and threads that
// arrive meanwhile wait for it.

namespace Carvex::OpenAPI31Tables {

const std::vector<CompletionItem>& rootKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::rootKeys);
    return table;
}

const std::vector<CompletionItem>& infoKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::infoKeys);
    return table;
}

const std::vector<CompletionItem>& contactKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::contactKeys);
    return table;
}

const std::vector<CompletionItem>& licenseKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::licenseKeys);
    return table;
}

const std::vector<CompletionItem>& serverKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::serverKeys);
    return table;
}

const std::vector<CompletionItem>& serverVariableKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::serverVariableKeys);
    return table;
}

const std::vector<CompletionItem>& pathItemKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::pathItemKeys);
    return table;
}

const std::vector<CompletionItem>& operationKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::operationKeys);
    return table;
}

const std::vector<CompletionItem>& parameterKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::parameterKeys);
    return table;
}

const std::vector<CompletionItem>& parameterInValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::parameterInValues);
    return table;
}

const std::vector<CompletionItem>& requestBodyKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::requestBodyKeys);
    return table;
}

const std::vector<CompletionItem>& mediaTypeKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::mediaTypeKeys);
    return table;
}

const std::vector<CompletionItem>& responseKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::responseKeys);
    return table;
}

const std::vector<CompletionItem>& httpStatusCodes()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::httpStatusCodes);
    return table;
}

const std::vector<CompletionItem>& componentsKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::componentsKeys);
    return table;
}

const std::vector<CompletionItem>& schemaKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::schemaKeys);
    return table;
}

const std::vector<CompletionItem>& schemaTypeValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::schemaTypeValues);
    return table;
}

const std::vector<CompletionItem>& schemaFormatValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::schemaFormatValues);
    return table;
}

const std::vector<CompletionItem>& securitySchemeKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::securitySchemeKeys);
    return table;
}

const std::vector<CompletionItem>& securitySchemeTypeValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::securitySchemeTypeValues);
    return table;
}

const std::vector<CompletionItem>& oAuthFlowsKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::oAuthFlowsKeys);
    return table;
}

const std::vector<CompletionItem>& oAuthFlowKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::oAuthFlowKeys);
    return table;
}

const std::vector<CompletionItem>& tagKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::tagKeys);
    return table;
}

const std::vector<CompletionItem>& externalDocsKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::externalDocsKeys);
    return table;
}

const std::vector<CompletionItem>& exampleKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::exampleKeys);
    return table;
}

const std::vector<CompletionItem>& headerKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::headerKeys);
    return table;
}

const std::vector<CompletionItem>& linkKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::linkKeys);
    return table;
}

const std::vector<CompletionItem>& discriminatorKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::discriminatorKeys);
    return table;
}

const std::vector<CompletionItem>& xmlKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::xmlKeys);
    return table;
}

const std::vector<CompletionItem>& mediaTypes()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::mediaTypes);
    return table;
}

const std::vector<CompletionItem>& booleanValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::booleanValues);
    return table;
}

const std::vector<CompletionItem>& formatValues()
{
    static const std::vector<CompletionItem>& table = schemaFormatValues();
    return table;
}

const std::vector<CompletionItem>& objectStructure()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::objectStructure);
    return table;
}

const std::vector<CompletionItem>& arrayStructure()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::arrayStructure);
    return table;
}

const std::vector<CompletionItem>& yamlArrayItem()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::yamlArrayItem);
    return table;
}

const std::vector<CompletionItem>& yamlObjectStart()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::yamlObjectStart);
    return table;
}

const std::vector<CompletionItem>& yamlSchemaArrayItems()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::yamlSchemaArrayItems);
    return table;
}

const std::vector<CompletionItem>& yamlServerArrayItems()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::yamlServerArrayItems);
    return table;
}

const std::vector<CompletionItem>& yamlParameterArrayItems()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::yamlParameterArrayItems);
    return table;
}

const std::vector<CompletionItem>& yamlTagArrayItems()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::yamlTagArrayItems);
    return table;
}

const std::vector<CompletionItem>& yamlSecurityArrayItems()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::yamlSecurityArrayItems);
    return table;
}

const std::vector<CompletionItem>& styleValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::styleValues);
    return table;
}

const std::vector<CompletionItem>& securitySchemeInValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::securitySchemeInValues);
    return table;
}

const std::vector<CompletionItem>& httpSchemeValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(OpenAPI31TableRows::httpSchemeValues);
    return table;
}

std::vector<std::span<const CompletionTableRow>> ownTableRows()
{
    return {OpenAPI31TableRows::rootKeys, OpenAPI31TableRows::infoKeys, OpenAPI31TableRows::contactKeys, OpenAPI31TableRows::licenseKeys, OpenAPI31TableRows::serverKeys, OpenAPI31TableRows::serverVariableKeys, OpenAPI31TableRows::pathItemKeys, OpenAPI31TableRows::operationKeys, OpenAPI31TableRows::parameterKeys, OpenAPI31TableRows::parameterInValues, OpenAPI31TableRows::requestBodyKeys, OpenAPI31TableRows::mediaTypeKeys, OpenAPI31TableRows::responseKeys, OpenAPI31TableRows::httpStatusCodes, OpenAPI31TableRows::componentsKeys, OpenAPI31TableRows::schemaKeys, OpenAPI31TableRows::schemaTypeValues, OpenAPI31TableRows::schemaFormatValues, OpenAPI31TableRows::securitySchemeKeys, OpenAPI31TableRows::securitySchemeTypeValues, OpenAPI31TableRows::oAuthFlowsKeys, OpenAPI31TableRows::oAuthFlowKeys, OpenAPI31TableRows::tagKeys, OpenAPI31TableRows::externalDocsKeys, OpenAPI31TableRows::exampleKeys, OpenAPI31TableRows::headerKeys, OpenAPI31TableRows::linkKeys, OpenAPI31TableRows::discriminatorKeys, OpenAPI31TableRows::xmlKeys, OpenAPI31TableRows::mediaTypes, OpenAPI31TableRows::booleanValues, OpenAPI31TableRows::objectStructure, OpenAPI31TableRows::arrayStructure, OpenAPI31TableRows::yamlArrayItem, OpenAPI31TableRows::yamlObjectStart, OpenAPI31TableRows::yamlSchemaArrayItems, OpenAPI31TableRows::yamlServerArrayItems, OpenAPI31TableRows::yamlParameterArrayItems, OpenAPI31TableRows::yamlTagArrayItems, OpenAPI31TableRows::yamlSecurityArrayItems, OpenAPI31TableRows::styleValues, OpenAPI31TableRows::securitySchemeInValues, OpenAPI31TableRows::httpSchemeValues};
}

} // namespace Carvex::OpenAPI31Tables

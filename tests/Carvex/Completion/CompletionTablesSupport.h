#pragma once

#include "Carvex/Completion/OpenAPI30Tables.h"
#include "Carvex/Completion/OpenAPI31Tables.h"

#include <string>
#include <vector>

namespace CompletionTablesSupport {

using Table = const std::vector<Carvex::CompletionItem>& (*)();

struct NamedTable {
    const char* name;
    Table read;
};

// The 44 tables of a namespace, in declaration order.
inline const std::vector<NamedTable>& tables31()
{
    using namespace Carvex;
    static const std::vector<NamedTable> all{
        {"rootKeys", &OpenAPI31Tables::rootKeys},
        {"infoKeys", &OpenAPI31Tables::infoKeys},
        {"contactKeys", &OpenAPI31Tables::contactKeys},
        {"licenseKeys", &OpenAPI31Tables::licenseKeys},
        {"serverKeys", &OpenAPI31Tables::serverKeys},
        {"serverVariableKeys", &OpenAPI31Tables::serverVariableKeys},
        {"pathItemKeys", &OpenAPI31Tables::pathItemKeys},
        {"operationKeys", &OpenAPI31Tables::operationKeys},
        {"parameterKeys", &OpenAPI31Tables::parameterKeys},
        {"parameterInValues", &OpenAPI31Tables::parameterInValues},
        {"requestBodyKeys", &OpenAPI31Tables::requestBodyKeys},
        {"mediaTypeKeys", &OpenAPI31Tables::mediaTypeKeys},
        {"responseKeys", &OpenAPI31Tables::responseKeys},
        {"httpStatusCodes", &OpenAPI31Tables::httpStatusCodes},
        {"componentsKeys", &OpenAPI31Tables::componentsKeys},
        {"schemaKeys", &OpenAPI31Tables::schemaKeys},
        {"schemaTypeValues", &OpenAPI31Tables::schemaTypeValues},
        {"schemaFormatValues", &OpenAPI31Tables::schemaFormatValues},
        {"securitySchemeKeys", &OpenAPI31Tables::securitySchemeKeys},
        {"securitySchemeTypeValues", &OpenAPI31Tables::securitySchemeTypeValues},
        {"oAuthFlowsKeys", &OpenAPI31Tables::oAuthFlowsKeys},
        {"oAuthFlowKeys", &OpenAPI31Tables::oAuthFlowKeys},
        {"tagKeys", &OpenAPI31Tables::tagKeys},
        {"externalDocsKeys", &OpenAPI31Tables::externalDocsKeys},
        {"exampleKeys", &OpenAPI31Tables::exampleKeys},
        {"headerKeys", &OpenAPI31Tables::headerKeys},
        {"linkKeys", &OpenAPI31Tables::linkKeys},
        {"discriminatorKeys", &OpenAPI31Tables::discriminatorKeys},
        {"xmlKeys", &OpenAPI31Tables::xmlKeys},
        {"mediaTypes", &OpenAPI31Tables::mediaTypes},
        {"booleanValues", &OpenAPI31Tables::booleanValues},
        {"formatValues", &OpenAPI31Tables::formatValues},
        {"objectStructure", &OpenAPI31Tables::objectStructure},
        {"arrayStructure", &OpenAPI31Tables::arrayStructure},
        {"yamlArrayItem", &OpenAPI31Tables::yamlArrayItem},
        {"yamlObjectStart", &OpenAPI31Tables::yamlObjectStart},
        {"yamlSchemaArrayItems", &OpenAPI31Tables::yamlSchemaArrayItems},
        {"yamlServerArrayItems", &OpenAPI31Tables::yamlServerArrayItems},
        {"yamlParameterArrayItems", &OpenAPI31Tables::yamlParameterArrayItems},
        {"yamlTagArrayItems", &OpenAPI31Tables::yamlTagArrayItems},
        {"yamlSecurityArrayItems", &OpenAPI31Tables::yamlSecurityArrayItems},
        {"styleValues", &OpenAPI31Tables::styleValues},
        {"securitySchemeInValues", &OpenAPI31Tables::securitySchemeInValues},
        {"httpSchemeValues", &OpenAPI31Tables::httpSchemeValues}};
    return all;
}

inline const std::vector<NamedTable>& tables30()
{
    using namespace Carvex;
    static const std::vector<NamedTable> all{
        {"rootKeys", &OpenAPI30Tables::rootKeys},
        {"infoKeys", &OpenAPI30Tables::infoKeys},
        {"contactKeys", &OpenAPI30Tables::contactKeys},
        {"licenseKeys", &OpenAPI30Tables::licenseKeys},
        {"serverKeys", &OpenAPI30Tables::serverKeys},
        {"serverVariableKeys", &OpenAPI30Tables::serverVariableKeys},
        {"pathItemKeys", &OpenAPI30Tables::pathItemKeys},
        {"operationKeys", &OpenAPI30Tables::operationKeys},
        {"parameterKeys", &OpenAPI30Tables::parameterKeys},
        {"parameterInValues", &OpenAPI30Tables::parameterInValues},
        {"requestBodyKeys", &OpenAPI30Tables::requestBodyKeys},
        {"mediaTypeKeys", &OpenAPI30Tables::mediaTypeKeys},
        {"responseKeys", &OpenAPI30Tables::responseKeys},
        {"httpStatusCodes", &OpenAPI30Tables::httpStatusCodes},
        {"componentsKeys", &OpenAPI30Tables::componentsKeys},
        {"schemaKeys", &OpenAPI30Tables::schemaKeys},
        {"schemaTypeValues", &OpenAPI30Tables::schemaTypeValues},
        {"schemaFormatValues", &OpenAPI30Tables::schemaFormatValues},
        {"securitySchemeKeys", &OpenAPI30Tables::securitySchemeKeys},
        {"securitySchemeTypeValues", &OpenAPI30Tables::securitySchemeTypeValues},
        {"oAuthFlowsKeys", &OpenAPI30Tables::oAuthFlowsKeys},
        {"oAuthFlowKeys", &OpenAPI30Tables::oAuthFlowKeys},
        {"tagKeys", &OpenAPI30Tables::tagKeys},
        {"externalDocsKeys", &OpenAPI30Tables::externalDocsKeys},
        {"exampleKeys", &OpenAPI30Tables::exampleKeys},
        {"headerKeys", &OpenAPI30Tables::headerKeys},
        {"linkKeys", &OpenAPI30Tables::linkKeys},
        {"discriminatorKeys", &OpenAPI30Tables::discriminatorKeys},
        {"xmlKeys", &OpenAPI30Tables::xmlKeys},
        {"mediaTypes", &OpenAPI30Tables::mediaTypes},
        {"booleanValues", &OpenAPI30Tables::booleanValues},
        {"formatValues", &OpenAPI30Tables::formatValues},
        {"objectStructure", &OpenAPI30Tables::objectStructure},
        {"arrayStructure", &OpenAPI30Tables::arrayStructure},
        {"yamlArrayItem", &OpenAPI30Tables::yamlArrayItem},
        {"yamlObjectStart", &OpenAPI30Tables::yamlObjectStart},
        {"yamlSchemaArrayItems", &OpenAPI30Tables::yamlSchemaArrayItems},
        {"yamlServerArrayItems", &OpenAPI30Tables::yamlServerArrayItems},
        {"yamlParameterArrayItems", &OpenAPI30Tables::yamlParameterArrayItems},
        {"yamlTagArrayItems", &OpenAPI30Tables::yamlTagArrayItems},
        {"yamlSecurityArrayItems", &OpenAPI30Tables::yamlSecurityArrayItems},
        {"styleValues", &OpenAPI30Tables::styleValues},
        {"securitySchemeInValues", &OpenAPI30Tables::securitySchemeInValues},
        {"httpSchemeValues", &OpenAPI30Tables::httpSchemeValues}};
    return all;
}

} // namespace CompletionTablesSupport

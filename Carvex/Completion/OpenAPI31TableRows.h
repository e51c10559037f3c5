#pragma once

#include "Carvex/Completion/CompletionTableRow.h"

#include <span>

namespace Carvex::OpenAPI31TableRows {

// The compiled rows of every OpenAPI 3.1 table (the shared ones included), in declaration order.
extern const std::span<const CompletionTableRow> rootKeys;
extern const std::span<const CompletionTableRow> infoKeys;
extern const std::span<const CompletionTableRow> contactKeys;
extern const std::span<const CompletionTableRow> licenseKeys;
extern const std::span<const CompletionTableRow> serverKeys;
extern const std::span<const CompletionTableRow> serverVariableKeys;
extern const std::span<const CompletionTableRow> pathItemKeys;
extern const std::span<const CompletionTableRow> operationKeys;
extern const std::span<const CompletionTableRow> parameterKeys;
extern const std::span<const CompletionTableRow> parameterInValues;
extern const std::span<const CompletionTableRow> requestBodyKeys;
extern const std::span<const CompletionTableRow> mediaTypeKeys;
extern const std::span<const CompletionTableRow> responseKeys;
extern const std::span<const CompletionTableRow> httpStatusCodes;
extern const std::span<const CompletionTableRow> componentsKeys;
extern const std::span<const CompletionTableRow> schemaKeys;
extern const std::span<const CompletionTableRow> schemaTypeValues;
extern const std::span<const CompletionTableRow> schemaFormatValues;
extern const std::span<const CompletionTableRow> securitySchemeKeys;
extern const std::span<const CompletionTableRow> securitySchemeTypeValues;
extern const std::span<const CompletionTableRow> oAuthFlowsKeys;
extern const std::span<const CompletionTableRow> oAuthFlowKeys;
extern const std::span<const CompletionTableRow> tagKeys;
extern const std::span<const CompletionTableRow> externalDocsKeys;
extern const std::span<const CompletionTableRow> exampleKeys;
extern const std::span<const CompletionTableRow> headerKeys;
extern const std::span<const CompletionTableRow> linkKeys;
extern const std::span<const CompletionTableRow> discriminatorKeys;
extern const std::span<const CompletionTableRow> xmlKeys;
extern const std::span<const CompletionTableRow> mediaTypes;
extern const std::span<const CompletionTableRow> booleanValues;
extern const std::span<const CompletionTableRow> objectStructure;
extern const std::span<const CompletionTableRow> arrayStructure;
extern const std::span<const CompletionTableRow> yamlArrayItem;
extern const std::span<const CompletionTableRow> yamlObjectStart;
extern const std::span<const CompletionTableRow> yamlSchemaArrayItems;
extern const std::span<const CompletionTableRow> yamlServerArrayItems;
extern const std::span<const CompletionTableRow> yamlParameterArrayItems;
extern const std::span<const CompletionTableRow> yamlTagArrayItems;
extern const std::span<const CompletionTableRow> yamlSecurityArrayItems;
extern const std::span<const CompletionTableRow> styleValues;
extern const std::span<const CompletionTableRow> securitySchemeInValues;
extern const std::span<const CompletionTableRow> httpSchemeValues;

} // namespace Carvex::OpenAPI31TableRows

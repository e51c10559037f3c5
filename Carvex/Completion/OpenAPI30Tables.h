#pragma once

#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/Completion/CompletionTableRow.h"

#include <span>
#include <vector>

namespace Carvex {

// The fixed proposals of the OpenAPI 3.0 grammar. Each table is built on its first read, under a
// once-only guard of its own, with a fresh id per row, and kept for the process; every read returns
// the stored array. Thirty-four tables are the very arrays of OpenAPI31Tables (same rows, same ids).
namespace OpenAPI30Tables {

const std::vector<CompletionItem>& rootKeys();
const std::vector<CompletionItem>& infoKeys();
const std::vector<CompletionItem>& contactKeys();
const std::vector<CompletionItem>& licenseKeys();
const std::vector<CompletionItem>& serverKeys();
const std::vector<CompletionItem>& serverVariableKeys();
const std::vector<CompletionItem>& pathItemKeys();
const std::vector<CompletionItem>& operationKeys();
const std::vector<CompletionItem>& parameterKeys();
const std::vector<CompletionItem>& parameterInValues();
const std::vector<CompletionItem>& requestBodyKeys();
const std::vector<CompletionItem>& mediaTypeKeys();
const std::vector<CompletionItem>& responseKeys();
const std::vector<CompletionItem>& httpStatusCodes();
const std::vector<CompletionItem>& componentsKeys();
const std::vector<CompletionItem>& schemaKeys();
const std::vector<CompletionItem>& schemaTypeValues();
const std::vector<CompletionItem>& schemaFormatValues();
const std::vector<CompletionItem>& securitySchemeKeys();
const std::vector<CompletionItem>& securitySchemeTypeValues();
const std::vector<CompletionItem>& oAuthFlowsKeys();
const std::vector<CompletionItem>& oAuthFlowKeys();
const std::vector<CompletionItem>& tagKeys();
const std::vector<CompletionItem>& externalDocsKeys();
const std::vector<CompletionItem>& exampleKeys();
const std::vector<CompletionItem>& headerKeys();
const std::vector<CompletionItem>& linkKeys();
const std::vector<CompletionItem>& discriminatorKeys();
const std::vector<CompletionItem>& xmlKeys();
const std::vector<CompletionItem>& mediaTypes();
const std::vector<CompletionItem>& booleanValues();
const std::vector<CompletionItem>& formatValues();
const std::vector<CompletionItem>& objectStructure();
const std::vector<CompletionItem>& arrayStructure();
const std::vector<CompletionItem>& yamlArrayItem();
const std::vector<CompletionItem>& yamlObjectStart();
const std::vector<CompletionItem>& yamlSchemaArrayItems();
const std::vector<CompletionItem>& yamlServerArrayItems();
const std::vector<CompletionItem>& yamlParameterArrayItems();
const std::vector<CompletionItem>& yamlTagArrayItems();
const std::vector<CompletionItem>& yamlSecurityArrayItems();
const std::vector<CompletionItem>& styleValues();
const std::vector<CompletionItem>& securitySchemeInValues();
const std::vector<CompletionItem>& httpSchemeValues();

// The rows of each table this namespace builds itself, in declaration order: what its first reads
// turn into proposals (for measuring that cost).
std::vector<std::span<const CompletionTableRow>> ownTableRows();

} // namespace OpenAPI30Tables

} // namespace Carvex

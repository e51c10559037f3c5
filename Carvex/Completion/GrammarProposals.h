#pragma once

#include "Carvex/Completion/CompletionItem.h"
#include "Carvex/CaretContext/CursorRole.h"
#include "Carvex/CaretContext/DocumentFormat.h"
#include "Carvex/Completion/GrammarContext.h"
#include "Carvex/Completion/OpenAPIVersion.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace Carvex {

// Key, value and list-item proposals from the fixed tables, the same dispatch for both grammars;
// each grammar hands in its own namespace's tables, and the version adds its own key sets.
namespace GrammarProposals {

using Table = const std::vector<CompletionItem>& (*)();

struct Tables {
    Table rootKeys, infoKeys, contactKeys, licenseKeys, serverKeys, serverVariableKeys, pathItemKeys, operationKeys,
        parameterKeys, parameterInValues, requestBodyKeys, mediaTypeKeys, responseKeys, httpStatusCodes,
        componentsKeys, schemaKeys, schemaTypeValues, securitySchemeKeys, securitySchemeTypeValues, oAuthFlowsKeys,
        oAuthFlowKeys, tagKeys, externalDocsKeys, exampleKeys, headerKeys, linkKeys, discriminatorKeys, xmlKeys,
        mediaTypes, booleanValues, formatValues, objectStructure, arrayStructure, yamlArrayItem, yamlObjectStart,
        yamlSchemaArrayItems, yamlServerArrayItems, yamlParameterArrayItems, yamlTagArrayItems,
        yamlSecurityArrayItems, styleValues, securitySchemeInValues, httpSchemeValues;
};

std::vector<CompletionItem> suggestions(const Tables& tables, OpenAPIVersion version, GrammarContext context,
                                        CursorRole role, const std::optional<QString>& currentKey,
                                        DocumentFormat format);

// A key that stands for a response: a whole decimal number from 100 to 599 (sign and leading zeros
// allowed), "1XX" to "5XX" in any case, or "default" in any case.
bool isResponseCodeKey(QStringView key);
// A key that names a media type: two non-empty pieces around "/", the first a known top-level type or "*".
bool isMediaTypeKey(QStringView key);

} // namespace GrammarProposals

} // namespace Carvex

#include "Carvex/Completion/OpenAPI30Tables.h"

#include "Carvex/Completion/OpenAPI31Tables.h"

// A function-local static is the once-only guard. The shared tables keep a reference to the 3.1
// array, built first if need be, so both grammars show the same rows with the same ids.

namespace Carvex::OpenAPI30Tables {

namespace rows {

using Kind = CompletionItemKind;

constexpr CompletionTableRow kRootKeys[] = {
    {"openapi", nullptr, Kind::property, 100, true, true,
     nullptr, "REQUIRED. String (3.0.x)",
     "OpenAPI specification version"},
    {"info", nullptr, Kind::property, 99, true, false,
     nullptr, "REQUIRED. Info Object",
     "API metadata"},
    {"servers", nullptr, Kind::property, 85, true, false,
     nullptr, "Array of Server Objects",
     "Server information"},
    {"paths", nullptr, Kind::property, 98, true, false,
     nullptr, "REQUIRED. Paths Object",
     "API endpoints"},
    {"components", nullptr, Kind::property, 90, true, false,
     nullptr, "Components Object",
     "Reusable components"},
    {"security", nullptr, Kind::property, 80, true, false,
     nullptr, "Array of Security Requirement Objects",
     "Security requirements"},
    {"tags", nullptr, Kind::property, 78, true, false,
     nullptr, "Array of Tag Objects",
     "Tag definitions"},
    {"externalDocs", nullptr, Kind::property, 60, true, false,
     nullptr, "External Documentation Object",
     "External documentation"},
};
const std::span<const CompletionTableRow> rootKeys{kRootKeys};

constexpr CompletionTableRow kInfoKeys[] = {
    {"title", nullptr, Kind::property, 100, true, true,
     nullptr, "REQUIRED. String",
     "API title"},
    {"description", nullptr, Kind::property, 90, true, true,
     nullptr, "String (CommonMark)",
     "API description"},
    {"termsOfService", nullptr, Kind::property, 70, true, true,
     nullptr, "String (URL)",
     "Terms of service URL"},
    {"contact", nullptr, Kind::property, 75, true, false,
     nullptr, "Contact Object",
     "Contact information"},
    {"license", nullptr, Kind::property, 80, true, false,
     nullptr, "License Object",
     "License information"},
    {"version", nullptr, Kind::property, 99, true, true,
     nullptr, "REQUIRED. String",
     "API version"},
};
const std::span<const CompletionTableRow> infoKeys{kInfoKeys};

constexpr CompletionTableRow kLicenseKeys[] = {
    {"name", nullptr, Kind::property, 100, true, true,
     nullptr, "REQUIRED. String",
     "License name"},
    {"url", nullptr, Kind::property, 85, true, true,
     nullptr, "String (URL)",
     "License URL"},
};
const std::span<const CompletionTableRow> licenseKeys{kLicenseKeys};

constexpr CompletionTableRow kMediaTypeKeys[] = {
    {"schema", nullptr, Kind::property, 100, true, false,
     nullptr, "Schema Object",
     "Content schema"},
    {"example", nullptr, Kind::property, 85, true, true,
     nullptr, "Any",
     "Example value"},
    {"examples", nullptr, Kind::property, 80, true, false,
     nullptr, "Map of Example Objects",
     "Example values"},
    {"encoding", nullptr, Kind::property, 70, true, false,
     nullptr, "Map of Encoding Objects",
     "Encoding information"},
};
const std::span<const CompletionTableRow> mediaTypeKeys{kMediaTypeKeys};

constexpr CompletionTableRow kComponentsKeys[] = {
    {"schemas", nullptr, Kind::property, 100, true, false,
     nullptr, "Map of Schema Objects",
     "Reusable schemas"},
    {"responses", nullptr, Kind::property, 90, true, false,
     nullptr, "Map of Response Objects",
     "Reusable responses"},
    {"parameters", nullptr, Kind::property, 85, true, false,
     nullptr, "Map of Parameter Objects",
     "Reusable parameters"},
    {"examples", nullptr, Kind::property, 70, true, false,
     nullptr, "Map of Example Objects",
     "Reusable examples"},
    {"requestBodies", nullptr, Kind::property, 80, true, false,
     nullptr, "Map of Request Body Objects",
     "Reusable request bodies"},
    {"headers", nullptr, Kind::property, 75, true, false,
     nullptr, "Map of Header Objects",
     "Reusable headers"},
    {"securitySchemes", nullptr, Kind::property, 88, true, false,
     nullptr, "Map of Security Scheme Objects",
     "Security scheme definitions"},
    {"links", nullptr, Kind::property, 65, true, false,
     nullptr, "Map of Link Objects",
     "Reusable links"},
    {"callbacks", nullptr, Kind::property, 60, true, false,
     nullptr, "Map of Callback Objects",
     "Reusable callbacks"},
};
const std::span<const CompletionTableRow> componentsKeys{kComponentsKeys};

constexpr CompletionTableRow kSchemaKeys[] = {
    {"$ref", nullptr, Kind::link, 100, true, true,
     nullptr, "String",
     "Reference to schema"},
    {"type", nullptr, Kind::property, 99, true, true,
     nullptr, "String",
     "Data type"},
    {"title", nullptr, Kind::property, 70, true, true,
     nullptr, "String",
     "Schema title"},
    {"description", nullptr, Kind::property, 80, true, true,
     nullptr, "String",
     "Schema description"},
    {"format", nullptr, Kind::property, 85, true, true,
     nullptr, "String",
     "Data format"},
    {"default", nullptr, Kind::property, 65, true, true,
     nullptr, "Any",
     "Default value"},
    {"enum", nullptr, Kind::property, 75, true, false,
     nullptr, "Array",
     "Enumerated values"},
    {"properties", nullptr, Kind::property, 95, true, false,
     nullptr, "Map of Schema Objects",
     "Object properties"},
    {"required", nullptr, Kind::property, 90, true, false,
     nullptr, "Array of String",
     "Required properties"},
    {"additionalProperties", nullptr, Kind::property, 55, true, false,
     nullptr, "Schema Object or Boolean",
     "Additional properties schema"},
    {"items", nullptr, Kind::property, 88, true, false,
     nullptr, "Schema Object",
     "Array items schema"},
    {"allOf", nullptr, Kind::property, 78, true, false,
     nullptr, "Array of Schema Objects",
     "All of composition"},
    {"oneOf", nullptr, Kind::property, 77, true, false,
     nullptr, "Array of Schema Objects",
     "One of composition"},
    {"anyOf", nullptr, Kind::property, 76, true, false,
     nullptr, "Array of Schema Objects",
     "Any of composition"},
    {"not", nullptr, Kind::property, 50, true, false,
     nullptr, "Schema Object",
     "Not composition"},
    {"nullable", nullptr, Kind::property, 72, true, true,
     nullptr, "Boolean",
     "Allow null value"},
    {"discriminator", nullptr, Kind::property, 45, true, false,
     nullptr, "Discriminator Object",
     "Discriminator for polymorphism"},
    {"readOnly", nullptr, Kind::property, 42, true, true,
     nullptr, "Boolean",
     "Read-only flag"},
    {"writeOnly", nullptr, Kind::property, 41, true, true,
     nullptr, "Boolean",
     "Write-only flag"},
    {"example", nullptr, Kind::property, 68, true, true,
     nullptr, "Any",
     "Example value"},
    {"deprecated", nullptr, Kind::property, 35, true, true,
     nullptr, "Boolean",
     "Deprecation flag"},
    {"xml", nullptr, Kind::property, 30, true, false,
     nullptr, "XML Object",
     "XML representation"},
    {"externalDocs", nullptr, Kind::property, 25, true, false,
     nullptr, "External Documentation Object",
     "External documentation"},
    {"minLength", nullptr, Kind::property, 52, true, true,
     nullptr, "Integer",
     "Minimum string length"},
    {"maxLength", nullptr, Kind::property, 51, true, true,
     nullptr, "Integer",
     "Maximum string length"},
    {"pattern", nullptr, Kind::property, 48, true, true,
     nullptr, "String (regex)",
     "Regex pattern"},
    {"minimum", nullptr, Kind::property, 54, true, true,
     nullptr, "Number",
     "Minimum value"},
    {"maximum", nullptr, Kind::property, 53, true, true,
     nullptr, "Number",
     "Maximum value"},
    {"exclusiveMinimum", nullptr, Kind::property, 44, true, true,
     nullptr, "Boolean",
     "Exclusive minimum flag"},
    {"exclusiveMaximum", nullptr, Kind::property, 43, true, true,
     nullptr, "Boolean",
     "Exclusive maximum flag"},
    {"multipleOf", nullptr, Kind::property, 38, true, true,
     nullptr, "Number",
     "Multiple of value"},
    {"minItems", nullptr, Kind::property, 47, true, true,
     nullptr, "Integer",
     "Minimum array items"},
    {"maxItems", nullptr, Kind::property, 46, true, true,
     nullptr, "Integer",
     "Maximum array items"},
    {"uniqueItems", nullptr, Kind::property, 36, true, true,
     nullptr, "Boolean",
     "Unique items flag"},
    {"minProperties", nullptr, Kind::property, 33, true, true,
     nullptr, "Integer",
     "Minimum properties"},
    {"maxProperties", nullptr, Kind::property, 32, true, true,
     nullptr, "Integer",
     "Maximum properties"},
};
const std::span<const CompletionTableRow> schemaKeys{kSchemaKeys};

constexpr CompletionTableRow kSchemaTypeValues[] = {
    {"string", nullptr, Kind::schema, 100, false, false,
     nullptr, nullptr,
     "String type"},
    {"number", nullptr, Kind::schema, 90, false, false,
     nullptr, nullptr,
     "Number type (float)"},
    {"integer", nullptr, Kind::schema, 95, false, false,
     nullptr, nullptr,
     "Integer type"},
    {"boolean", nullptr, Kind::schema, 85, false, false,
     nullptr, nullptr,
     "Boolean type"},
    {"array", nullptr, Kind::schema, 88, false, false,
     nullptr, nullptr,
     "Array type"},
    {"object", nullptr, Kind::schema, 92, false, false,
     nullptr, nullptr,
     "Object type"},
};
const std::span<const CompletionTableRow> schemaTypeValues{kSchemaTypeValues};

constexpr CompletionTableRow kSchemaFormatValues[] = {
    {"date", nullptr, Kind::value, 90, false, false,
     nullptr, nullptr,
     "Full date (RFC 3339)"},
    {"date-time", nullptr, Kind::value, 100, false, false,
     nullptr, nullptr,
     "Date and time (RFC 3339)"},
    {"email", nullptr, Kind::value, 88, false, false,
     nullptr, nullptr,
     "Email address"},
    {"hostname", nullptr, Kind::value, 70, false, false,
     nullptr, nullptr,
     "Internet hostname"},
    {"ipv4", nullptr, Kind::value, 75, false, false,
     nullptr, nullptr,
     "IPv4 address"},
    {"ipv6", nullptr, Kind::value, 74, false, false,
     nullptr, nullptr,
     "IPv6 address"},
    {"uri", nullptr, Kind::value, 82, false, false,
     nullptr, nullptr,
     "URI (RFC 3986)"},
    {"uuid", nullptr, Kind::value, 86, false, false,
     nullptr, nullptr,
     "UUID"},
    {"password", nullptr, Kind::value, 80, false, false,
     nullptr, nullptr,
     "Password (UI hint)"},
    {"byte", nullptr, Kind::value, 72, false, false,
     nullptr, nullptr,
     "Base64 encoded"},
    {"binary", nullptr, Kind::value, 71, false, false,
     nullptr, nullptr,
     "Binary data"},
    {"int32", nullptr, Kind::value, 92, false, false,
     nullptr, nullptr,
     "32-bit integer"},
    {"int64", nullptr, Kind::value, 91, false, false,
     nullptr, nullptr,
     "64-bit integer"},
    {"float", nullptr, Kind::value, 83, false, false,
     nullptr, nullptr,
     "Float"},
    {"double", nullptr, Kind::value, 84, false, false,
     nullptr, nullptr,
     "Double"},
};
const std::span<const CompletionTableRow> schemaFormatValues{kSchemaFormatValues};

constexpr CompletionTableRow kSecuritySchemeTypeValues[] = {
    {"apiKey", nullptr, Kind::value, 100, false, false,
     nullptr, nullptr,
     "API key authentication"},
    {"http", nullptr, Kind::value, 95, false, false,
     nullptr, nullptr,
     "HTTP authentication"},
    {"oauth2", nullptr, Kind::value, 90, false, false,
     nullptr, nullptr,
     "OAuth 2.0"},
    {"openIdConnect", nullptr, Kind::value, 85, false, false,
     nullptr, nullptr,
     "OpenID Connect"},
};
const std::span<const CompletionTableRow> securitySchemeTypeValues{kSecuritySchemeTypeValues};

} // namespace rows

const std::vector<CompletionItem>& rootKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(rows::rootKeys);
    return table;
}

const std::vector<CompletionItem>& infoKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(rows::infoKeys);
    return table;
}

const std::vector<CompletionItem>& contactKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::contactKeys();
    return table;
}

const std::vector<CompletionItem>& licenseKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(rows::licenseKeys);
    return table;
}

const std::vector<CompletionItem>& serverKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::serverKeys();
    return table;
}

const std::vector<CompletionItem>& serverVariableKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::serverVariableKeys();
    return table;
}

const std::vector<CompletionItem>& pathItemKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::pathItemKeys();
    return table;
}

const std::vector<CompletionItem>& operationKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::operationKeys();
    return table;
}

const std::vector<CompletionItem>& parameterKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::parameterKeys();
    return table;
}

const std::vector<CompletionItem>& parameterInValues()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::parameterInValues();
    return table;
}

const std::vector<CompletionItem>& requestBodyKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::requestBodyKeys();
    return table;
}

const std::vector<CompletionItem>& mediaTypeKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(rows::mediaTypeKeys);
    return table;
}

const std::vector<CompletionItem>& responseKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::responseKeys();
    return table;
}

const std::vector<CompletionItem>& httpStatusCodes()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::httpStatusCodes();
    return table;
}

const std::vector<CompletionItem>& componentsKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(rows::componentsKeys);
    return table;
}

const std::vector<CompletionItem>& schemaKeys()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(rows::schemaKeys);
    return table;
}

const std::vector<CompletionItem>& schemaTypeValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(rows::schemaTypeValues);
    return table;
}

const std::vector<CompletionItem>& schemaFormatValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(rows::schemaFormatValues);
    return table;
}

const std::vector<CompletionItem>& securitySchemeKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::securitySchemeKeys();
    return table;
}

const std::vector<CompletionItem>& securitySchemeTypeValues()
{
    static const std::vector<CompletionItem> table = buildCompletionTable(rows::securitySchemeTypeValues);
    return table;
}

const std::vector<CompletionItem>& oAuthFlowsKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::oAuthFlowsKeys();
    return table;
}

const std::vector<CompletionItem>& oAuthFlowKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::oAuthFlowKeys();
    return table;
}

const std::vector<CompletionItem>& tagKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::tagKeys();
    return table;
}

const std::vector<CompletionItem>& externalDocsKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::externalDocsKeys();
    return table;
}

const std::vector<CompletionItem>& exampleKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::exampleKeys();
    return table;
}

const std::vector<CompletionItem>& headerKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::headerKeys();
    return table;
}

const std::vector<CompletionItem>& linkKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::linkKeys();
    return table;
}

const std::vector<CompletionItem>& discriminatorKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::discriminatorKeys();
    return table;
}

const std::vector<CompletionItem>& xmlKeys()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::xmlKeys();
    return table;
}

const std::vector<CompletionItem>& mediaTypes()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::mediaTypes();
    return table;
}

const std::vector<CompletionItem>& booleanValues()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::booleanValues();
    return table;
}

const std::vector<CompletionItem>& formatValues()
{
    static const std::vector<CompletionItem>& table = schemaFormatValues();
    return table;
}

const std::vector<CompletionItem>& objectStructure()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::objectStructure();
    return table;
}

const std::vector<CompletionItem>& arrayStructure()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::arrayStructure();
    return table;
}

const std::vector<CompletionItem>& yamlArrayItem()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::yamlArrayItem();
    return table;
}

const std::vector<CompletionItem>& yamlObjectStart()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::yamlObjectStart();
    return table;
}

const std::vector<CompletionItem>& yamlSchemaArrayItems()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::yamlSchemaArrayItems();
    return table;
}

const std::vector<CompletionItem>& yamlServerArrayItems()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::yamlServerArrayItems();
    return table;
}

const std::vector<CompletionItem>& yamlParameterArrayItems()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::yamlParameterArrayItems();
    return table;
}

const std::vector<CompletionItem>& yamlTagArrayItems()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::yamlTagArrayItems();
    return table;
}

const std::vector<CompletionItem>& yamlSecurityArrayItems()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::yamlSecurityArrayItems();
    return table;
}

const std::vector<CompletionItem>& styleValues()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::styleValues();
    return table;
}

const std::vector<CompletionItem>& securitySchemeInValues()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::securitySchemeInValues();
    return table;
}

const std::vector<CompletionItem>& httpSchemeValues()
{
    static const std::vector<CompletionItem>& table = OpenAPI31Tables::httpSchemeValues();
    return table;
}

std::vector<std::span<const CompletionTableRow>> ownTableRows()
{
    return {rows::rootKeys, rows::infoKeys, rows::licenseKeys, rows::mediaTypeKeys, rows::componentsKeys, rows::schemaKeys, rows::schemaTypeValues, rows::schemaFormatValues, rows::securitySchemeTypeValues};
}

} // namespace Carvex::OpenAPI30Tables

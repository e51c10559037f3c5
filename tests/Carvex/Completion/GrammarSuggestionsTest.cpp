#include "Carvex/Completion/OpenAPI30Grammar.h"
#include "Carvex/Completion/OpenAPI30Tables.h"
#include "Carvex/Completion/OpenAPI31Grammar.h"
#include "Carvex/Completion/OpenAPI31Tables.h"

#include <gtest/gtest.h>

#include <QStringList>

using Carvex::CompletionItem;
using Carvex::CursorRole;
using Carvex::DocumentFormat;
using Carvex::GrammarContext;
using Case = GrammarContext::Case;
using Table = const std::vector<CompletionItem>& (*)();
namespace T30 = Carvex::OpenAPI30Tables;
namespace T31 = Carvex::OpenAPI31Tables;

namespace {

const Carvex::OpenAPI30Grammar grammar30;
const Carvex::OpenAPI31Grammar grammar31;

QStringList labels(const std::vector<CompletionItem>& items)
{
    QStringList out;
    for (const CompletionItem& item : items)
        out << item.label;
    return out;
}

std::string joined(const std::vector<CompletionItem>& items)
{
    return labels(items).join(" | ").toStdString();
}

// The same rows, ids included.
bool sameRows(const std::vector<CompletionItem>& a, const std::vector<CompletionItem>& b)
{
    return a == b;
}

struct KeyRow {
    Case context;
    Table in30;
    Table in31;
};

TEST(GrammarSuggestions, keyTablePerContextInBothGrammars)
{
    const KeyRow rows[] = {
        {Case::openAPIRoot, T30::rootKeys, T31::rootKeys},
        {Case::infoObject, T30::infoKeys, T31::infoKeys},
        {Case::contactObject, T30::contactKeys, T31::contactKeys},
        {Case::licenseObject, T30::licenseKeys, T31::licenseKeys},
        {Case::serversArray, nullptr, nullptr},
        {Case::serverObject, T30::serverKeys, T31::serverKeys},
        {Case::serverVariableObject, T30::serverVariableKeys, T31::serverVariableKeys},
        {Case::pathsObject, nullptr, nullptr},
        {Case::pathItemObject, T30::pathItemKeys, T31::pathItemKeys},
        {Case::operationObject, T30::operationKeys, T31::operationKeys},
        {Case::parametersArray, nullptr, nullptr},
        {Case::parameterObject, T30::parameterKeys, T31::parameterKeys},
        {Case::requestBodyObject, T30::requestBodyKeys, T31::requestBodyKeys},
        {Case::contentObject, T30::mediaTypes, T31::mediaTypes},
        {Case::mediaTypeObject, T30::mediaTypeKeys, T31::mediaTypeKeys},
        {Case::responsesObject, T30::httpStatusCodes, T31::httpStatusCodes},
        {Case::responseObject, T30::responseKeys, T31::responseKeys},
        {Case::headersObject, nullptr, nullptr},
        {Case::headerObject, T30::headerKeys, T31::headerKeys},
        {Case::linksObject, nullptr, nullptr},
        {Case::linkObject, T30::linkKeys, T31::linkKeys},
        {Case::callbacksObject, nullptr, nullptr},
        {Case::callbackObject, T30::pathItemKeys, T31::pathItemKeys},
        {Case::componentsObject, T30::componentsKeys, T31::componentsKeys},
        {Case::componentSchemas, nullptr, nullptr},
        {Case::componentResponses, nullptr, nullptr},
        {Case::componentParameters, nullptr, nullptr},
        {Case::componentExamples, nullptr, nullptr},
        {Case::componentRequestBodies, nullptr, nullptr},
        {Case::componentHeaders, nullptr, nullptr},
        {Case::componentSecuritySchemes, nullptr, nullptr},
        {Case::componentLinks, nullptr, nullptr},
        {Case::componentCallbacks, nullptr, nullptr},
        {Case::componentPathItems, nullptr, nullptr},
        {Case::schemaObject, T30::schemaKeys, T31::schemaKeys},
        {Case::schemaProperties, nullptr, nullptr},
        {Case::schemaItems, T30::schemaKeys, T31::schemaKeys},
        {Case::examplesObject, nullptr, nullptr},
        {Case::exampleObject, T30::exampleKeys, T31::exampleKeys},
        {Case::securityRequirementObject, nullptr, nullptr},
        {Case::securitySchemeObject, T30::securitySchemeKeys, T31::securitySchemeKeys},
        {Case::oAuthFlowsObject, T30::oAuthFlowsKeys, T31::oAuthFlowsKeys},
        {Case::oAuthFlowObject, T30::oAuthFlowKeys, T31::oAuthFlowKeys},
        {Case::externalDocsObject, T30::externalDocsKeys, T31::externalDocsKeys},
        {Case::tagsArray, nullptr, nullptr},
        {Case::tagObject, T30::tagKeys, T31::tagKeys},
        {Case::discriminatorObject, T30::discriminatorKeys, T31::discriminatorKeys},
        {Case::xmlObject, T30::xmlKeys, T31::xmlKeys},
        {Case::referenceObject, nullptr, nullptr},
        {Case::unknown, nullptr, nullptr},
    };
    ASSERT_EQ(std::size(rows), std::size_t(GrammarContext::caseCount));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const KeyRow& row = rows[i];
        ASSERT_EQ(static_cast<std::size_t>(row.context), i);
        const std::string name(Carvex::caseName(row.context));
        for (DocumentFormat format : {DocumentFormat::yaml, DocumentFormat::json}) {
            const auto got30 = grammar30.suggestions(row.context, CursorRole::mappingKey, QString("x"), format);
            const auto got31 = grammar31.suggestions(row.context, CursorRole::mappingKey, std::nullopt, format);
            EXPECT_TRUE(sameRows(got30, row.in30 ? row.in30() : std::vector<CompletionItem>{})) << "3.0 " << name;
            EXPECT_TRUE(sameRows(got31, row.in31 ? row.in31() : std::vector<CompletionItem>{})) << "3.1 " << name;
        }
    }
    for (Carvex::ParameterLocation location : Carvex::allParameterLocations) {
        EXPECT_TRUE(sameRows(grammar31.suggestions(GrammarContext::parameterObject(location), CursorRole::mappingKey,
                                                   std::nullopt, DocumentFormat::yaml),
                             T31::parameterKeys()));
    }
    EXPECT_FALSE(labels(grammar30.suggestions(Case::componentsObject, CursorRole::mappingKey, std::nullopt,
                                              DocumentFormat::yaml))
                     .contains("pathItems"));
}

struct ValueRow {
    const char* name;
    GrammarContext context;
    const char* key; // null: no current key
    DocumentFormat format;
    std::string in30;
    std::string in31;
};

TEST(GrammarSuggestions, valueProposalsPerKeyVersionAndFormat)
{
    const std::string types30 = "string | number | integer | boolean | array | object";
    const std::string types31 = types30 + " | null";
    const std::string booleans = "true | false";
    const std::string object = "{}";
    const DocumentFormat yaml = DocumentFormat::yaml;
    const DocumentFormat json = DocumentFormat::json;
    const ValueRow rows[] = {
        {"type in a schema, yaml", Case::schemaObject, "type", yaml, types30, types31 + " | []"},
        {"type in a schema, json", Case::schemaObject, "type", json, types30, types31 + " | []"},
        {"type in a security scheme", Case::securitySchemeObject, "type", yaml,
         "apiKey | http | oauth2 | openIdConnect", "apiKey | http | mutualTLS | oauth2 | openIdConnect"},
        {"in of a parameter", GrammarContext::parameterObject(std::nullopt), "in", yaml, "query | header | path | cookie",
         "query | header | path | cookie"},
        {"in of a security scheme", Case::securitySchemeObject, "in", json, "query | header | cookie",
         "query | header | cookie"},
        {"readOnly in any case", Case::schemaObject, "READONLY", yaml, booleans, booleans},
        {"exclusiveMinimum", Case::schemaObject, "exclusiveMinimum", yaml, booleans, ""},
        {"exclusive", Case::schemaObject, "exclusive", yaml, "", booleans},
        {"required in a request body", Case::requestBodyObject, "required", yaml, booleans, booleans},
        {"required in a schema, yaml", Case::schemaObject, "required", yaml, "- (array item)", "- (array item)"},
        {"required in a schema, json", Case::schemaProperties, "required", json, "[]", "[]"},
        {"scheme", Case::securitySchemeObject, "scheme", yaml,
         "basic | bearer | digest | hoba | mutual | negotiate | oauth | scram-sha-1 | scram-sha-256 | vapid",
         "basic | bearer | digest | hoba | mutual | negotiate | oauth | scram-sha-1 | scram-sha-256 | vapid"},
        {"style", GrammarContext::parameterObject(std::nullopt), "style", yaml,
         "matrix | label | form | simple | spaceDelimited | pipeDelimited | deepObject",
         "matrix | label | form | simple | spaceDelimited | pipeDelimited | deepObject"},
        {"status code with leading zero", Case::responsesObject, "0200", json, object, object},
        {"status code with plus sign", Case::responsesObject, "+200", json, object, object},
        {"99 is no status code", Case::responsesObject, "99", json, "", ""},
        {"600 is no status code", Case::responsesObject, "600", json, "", ""},
        {"4XX", Case::responsesObject, "4xx", json, object, object},
        {"Default", Case::responsesObject, "Default", json, object, object},
        {"status code in yaml offers nothing", Case::responsesObject, "404", yaml, "", ""},
        {"any media type", Case::contentObject, "*/*", json, object, object},
        {"one-piece media type", Case::contentObject, "application/", json, "", ""},
        {"unknown top-level media type", Case::contentObject, "foo/bar", json, "", ""},
        {"path", Case::unknown, "/pets", json, object, object},
        {"schemas", Case::componentsObject, "schemas", json, object, object},
        {"a named schema", Case::componentSchemas, "Pet", json, object, object},
        {"a named schema in yaml", Case::componentSchemas, "Pet", yaml, "", ""},
        {"a named path item", Case::componentPathItems, "Shared", json, "", object},
        {"pathItems key", Case::componentsObject, "pathItems", json, "", object},
        {"example", Case::schemaObject, "example", json, "", ""},
        {"description", Case::infoObject, "description", json, "", ""},
        {"no current key", Case::schemaObject, nullptr, json, "", ""},
        {"servers list, yaml", Case::openAPIRoot, "servers", yaml, "- url:", "- url:"},
        {"tags list, json", Case::openAPIRoot, "tags", json, "[]", "[]"},
        {"tags list at the root, yaml", Case::openAPIRoot, "tags", yaml, "- name:", "- name:"},
        {"tags list of an operation, yaml", Case::operationObject, "tags", yaml, "- (array item)", "- (array item)"},
        {"enum list, yaml", Case::schemaObject, "enum", yaml, "- (array item)", "- (array item)"},
        {"allOf list, yaml", Case::schemaObject, "allOf", yaml, "- $ref: | - type:", "- $ref: | - type:"},
    };
    for (const ValueRow& row : rows) {
        const std::optional<QString> key = row.key ? std::optional<QString>(row.key) : std::nullopt;
        EXPECT_EQ(joined(grammar30.suggestions(row.context, CursorRole::mappingValue, key, row.format)), row.in30)
            << "3.0 " << row.name;
        EXPECT_EQ(joined(grammar31.suggestions(row.context, CursorRole::unknown, key, row.format)), row.in31)
            << "3.1 " << row.name;
    }
    EXPECT_TRUE(sameRows(grammar30.suggestions(Case::schemaObject, CursorRole::mappingValue, QString("format"), yaml),
                         T30::schemaFormatValues()));
    EXPECT_TRUE(sameRows(grammar31.suggestions(Case::schemaObject, CursorRole::mappingValue, QString("Format"), yaml),
                         T31::schemaFormatValues()));
}

TEST(GrammarSuggestions, yamlListsStartOnTheNextLineAndRowsAreMadeAnew)
{
    const auto parameters = grammar31.suggestions(Case::operationObject, CursorRole::mappingValue,
                                                  QString("parameters"), DocumentFormat::yaml);
    ASSERT_EQ(parameters.size(), 2u);
    EXPECT_EQ(parameters[0].insertText, "\n  - $ref: ");
    EXPECT_EQ(parameters[1].insertText, "\n  - name: \n  in: ");
    EXPECT_NE(parameters[0].id, T31::yamlParameterArrayItems()[0].id);
    EXPECT_FALSE(parameters[0].shortDescription);
    EXPECT_EQ(parameters[0].detail, T31::yamlParameterArrayItems()[0].detail);
    EXPECT_EQ(parameters[0].description, T31::yamlParameterArrayItems()[0].description);

    const auto types = grammar31.suggestions(Case::schemaObject, CursorRole::mappingValue, QString("type"),
                                             DocumentFormat::yaml);
    const CompletionItem& array = types.back();
    EXPECT_EQ(array.insertText, "[]");
    EXPECT_EQ(array.kind, Carvex::CompletionItemKind::snippet);
    EXPECT_EQ(array.description, "Type array (3.1)");
    EXPECT_EQ(array.detail, "Array of types, e.g. [string, null]");
    EXPECT_EQ(array.priority, 80);
    const auto again = grammar31.suggestions(Case::schemaObject, CursorRole::mappingValue, QString("type"),
                                             DocumentFormat::yaml);
    EXPECT_NE(again.back().id, array.id);
    EXPECT_EQ(again.front().id, types.front().id); // table rows keep theirs
}

TEST(GrammarSuggestions, sequenceItemProposals)
{
    struct Row {
        const char* name;
        GrammarContext context;
        const char* key;
        std::string yaml;
        std::string json;
    };
    const Row rows[] = {
        {"root tags", Case::openAPIRoot, "tags", "- name:", "{}"},
        {"tags array", Case::tagsArray, "tags", "- name:", "{}"},
        {"operation tags", Case::operationObject, "tags", "", ""},
        {"operation security", Case::operationObject, "security", "- (security requirement)", "{}"},
        {"security elsewhere", Case::pathItemObject, "security", "", ""},
        {"enum", Case::schemaObject, "enum", "", ""},
        {"required", Case::schemaObject, "required", "", ""},
        {"allOf", Case::unknown, "anyOf", "- $ref: | - type:", "{}"},
        {"servers", Case::unknown, "Servers", "- url:", "{}"},
        {"parameters", Case::unknown, "parameters", "- $ref: | - name:", "{}"},
        {"other key in a schema", Case::schemaObject, "x", "- $ref: | - type:", "{}"},
        {"schema properties", Case::schemaProperties, nullptr, "", ""},
        {"servers array", Case::serversArray, nullptr, "- url:", "{}"},
        {"security requirement", Case::securityRequirementObject, nullptr, "- (security requirement)", "{}"},
        {"parameter", GrammarContext::parameterObject(Carvex::ParameterLocation::path), nullptr, "- $ref: | - name:",
         "{}"},
        {"parameters array", Case::parametersArray, nullptr, "- $ref: | - name:", "{}"},
        {"schema items", Case::schemaItems, nullptr, "- $ref: | - type:", "{}"},
        {"info", Case::infoObject, nullptr, "", ""},
    };
    for (const Row& row : rows) {
        const std::optional<QString> key = row.key ? std::optional<QString>(row.key) : std::nullopt;
        for (const Carvex::OpenAPIGrammar* grammar :
             std::initializer_list<const Carvex::OpenAPIGrammar*>{&grammar30, &grammar31}) {
            EXPECT_EQ(joined(grammar->suggestions(row.context, CursorRole::sequenceItem, key, DocumentFormat::yaml)),
                      row.yaml)
                << row.name;
            EXPECT_EQ(joined(grammar->suggestions(row.context, CursorRole::sequenceItem, key, DocumentFormat::unknown)),
                      row.json)
                << row.name;
        }
    }
    // List items are the table rows themselves.
    EXPECT_TRUE(sameRows(grammar31.suggestions(Case::tagsArray, CursorRole::sequenceItem, std::nullopt,
                                               DocumentFormat::yaml),
                         T31::yamlTagArrayItems()));
}

} // namespace

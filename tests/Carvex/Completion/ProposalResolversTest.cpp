#include "Carvex/Completion/EnumDefaultResolver.h"
#include "Carvex/Completion/OpenAPI31Tables.h"
#include "Carvex/Completion/RequiredFieldResolver.h"
#include "Carvex/Completion/TypeArrayResolver.h"

#include <gtest/gtest.h>

#include <QStringList>

using Carvex::CompletionContext;
using Carvex::CompletionItem;
using Carvex::CursorRole;
using Carvex::DocumentFormat;
using Carvex::OpenAPIVersion;
using Carvex::PathComponent;
using Path = std::vector<PathComponent>;

namespace {

PathComponent K(const char* name) { return PathComponent::key(name); }
PathComponent D(const char* name) { return PathComponent::dynamicKey(name); }
PathComponent I(int position) { return PathComponent::index(position); }

// The text with "|" marking the caret, which is removed.
struct Marked {
    QString text;
    qsizetype caret;
};

Marked marked(const char* source)
{
    QString text = QString::fromUtf8(source);
    const qsizetype caret = text.indexOf(u'|');
    if (caret >= 0)
        text.remove(caret, 1);
    return {text, caret < 0 ? text.size() : caret};
}

CompletionContext context(DocumentFormat format, CursorRole role, Path path, qsizetype caret = 0,
                          std::optional<QString> key = std::nullopt, QString prefix = {}, bool inString = false)
{
    CompletionContext result;
    result.format = format;
    result.role = role;
    result.path = std::move(path);
    result.caretLocation = caret;
    result.currentKey = std::move(key);
    result.prefix = std::move(prefix);
    result.hints.isInString = inString;
    return result;
}

std::string summary(const std::vector<CompletionItem>& items)
{
    QStringList out;
    for (const CompletionItem& item : items)
        out << (item.label == item.insertText ? item.label : item.label + "=" + item.insertText);
    return out.join(" | ").toStdString();
}

const Path kTypeItem{K("components"), K("schemas"), D("Pet"), K("type"), I(2)};

TEST(TypeArrayResolver, proposesTheTypesNotYetListed)
{
    struct Row {
        const char* name;
        DocumentFormat format;
        const char* text;
        Path path;
        QString prefix;
        bool inString;
        std::string expected;
    };
    const char* yamlList = "components:\n  schemas:\n    Pet:\n      type:\n        - string\n        - null\n        - \n";
    const char* jsonList = "{\n  \"components\": {\n    \"schemas\": {\n      \"Pet\": {\n        \"type\": [\"string\",\n"
                           "          \"null\"\n        ], \"x\": 1\n      }\n    }\n  }\n}\n";
    const Row rows[] = {
        {"yaml block list", DocumentFormat::yaml, yamlList, kTypeItem, "", false, "number | integer | boolean | array | object"},
        {"unknown format reads as yaml", DocumentFormat::unknown, yamlList, kTypeItem, "", false,
         "number | integer | boolean | array | object"},
        {"yaml quoted item stays proposed", DocumentFormat::yaml,
         "components:\n  schemas:\n    Pet:\n      type:\n        - \"string\"\n", kTypeItem, "", false,
         "string | number | integer | boolean | array | object | null"},
        {"yaml flow list removes nothing", DocumentFormat::yaml,
         "components:\n  schemas:\n    Pet:\n      type: [string, null]\n", kTypeItem, "", false,
         "string | number | integer | boolean | array | object | null"},
        {"yaml items at the key's column are read", DocumentFormat::yaml,
         "components:\n  schemas:\n    Pet:\n      type:\n      - string\n", kTypeItem, "", false,
         "number | integer | boolean | array | object | null"},
        {"yaml prefix with a quote", DocumentFormat::yaml, yamlList, kTypeItem, "\"in", false, "integer"},
        {"yaml prefix of quotes only", DocumentFormat::yaml, yamlList, kTypeItem, "'\"", false,
         "number | integer | boolean | array | object"},
        {"json multi-line list", DocumentFormat::json, jsonList, kTypeItem, "", true, "number | integer | boolean | array | object"},
        {"json quoted outside a string", DocumentFormat::json, jsonList, kTypeItem, "i", false, "integer=\"integer\""},
        {"json words after the bracket on the key line", DocumentFormat::json,
         "{\n  \"components\": {\n    \"schemas\": {\n      \"Pet\": {\n        \"type\": [\"string\"], \"z\": \"object\"\n",
         kTypeItem, "", true, "number | integer | boolean | array | null"},
        {"list inside an allOf item", DocumentFormat::yaml,
         "components:\n  schemas:\n    Pet:\n      allOf:\n        - type:\n            - string\n",
         {K("components"), K("schemas"), D("Pet"), K("allOf"), I(0), K("type"), I(1)}, "", false,
         "string | number | integer | boolean | array | object | null"},
        // Keys read as the line reading reads them: a plain name holding a colon, a JSON name an escape.
        {"yaml name holding a colon", DocumentFormat::yaml,
         "components:\n  schemas:\n    a:b:\n      type:\n        - string\n",
         {K("components"), K("schemas"), D("a:b"), K("type"), I(1)}, "", false,
         "number | integer | boolean | array | object | null"},
        {"json name holding an escaped quote", DocumentFormat::json,
         "{\n  \"components\": {\n    \"schemas\": {\n      \"a\\\"b\": {\n        \"type\": [\"string\",\n",
         {K("components"), K("schemas"), D("a\"b"), K("type"), I(1)}, "", true,
         "number | integer | boolean | array | object | null"},
        {"a dynamic key named type does not count", DocumentFormat::yaml, yamlList,
         {K("components"), K("schemas"), D("type"), I(0)}, "", false, ""},
    };
    const Carvex::TypeArrayResolver resolver;
    for (const Row& row : rows) {
        const auto items = resolver.suggestions(
            context(row.format, CursorRole::sequenceItem, row.path, 0, std::nullopt, row.prefix, row.inString),
            row.text, OpenAPIVersion::openAPI31);
        EXPECT_EQ(summary(items), row.expected) << row.name;
    }
    EXPECT_TRUE(resolver.suggestions(context(DocumentFormat::yaml, CursorRole::sequenceItem, kTypeItem), yamlList,
                                     OpenAPIVersion::openAPI30)
                    .empty());
    for (CursorRole role : {CursorRole::mappingKey, CursorRole::mappingValue, CursorRole::unknown})
        EXPECT_TRUE(resolver.suggestions(context(DocumentFormat::yaml, role, kTypeItem), yamlList,
                                         OpenAPIVersion::openAPI31)
                        .empty());
    // YAML rows are the table's; JSON rows are made anew without a short description.
    const auto yaml = resolver.suggestions(context(DocumentFormat::yaml, CursorRole::sequenceItem, kTypeItem), "",
                                           OpenAPIVersion::openAPI31);
    EXPECT_EQ(yaml.at(0), Carvex::OpenAPI31Tables::schemaTypeValues().at(0));
    const auto json = resolver.suggestions(context(DocumentFormat::json, CursorRole::sequenceItem, kTypeItem), "",
                                           OpenAPIVersion::openAPI31);
    EXPECT_FALSE(json.at(0).shortDescription);
    EXPECT_EQ(json.at(0).description, yaml.at(0).description);
    EXPECT_NE(json.at(0).id, yaml.at(0).id);
}

TEST(EnumDefaultResolver, proposesTheSiblingEnumValues)
{
    struct Row {
        const char* name;
        DocumentFormat format;
        const char* text; // "|" marks the caret
        QString prefix;
        bool inString;
        std::string expected;
    };
    const Row rows[] = {
        {"yaml enum above, quotes kept when inserted", DocumentFormat::yaml,
         "Status:\n  type: string\n  enum:\n    - available\n    - \"200\"\n    - 'true'\n    # note\n\n  default: |\n",
         "", false, "available | 200=\"200\" | true='true'"},
        {"yaml inside a string inserts bare values", DocumentFormat::yaml,
         "Status:\n  enum:\n    - available\n    - \"200\"\n  default: \"|\n", "", true, "available | 200"},
        {"yaml enum below", DocumentFormat::yaml, "S:\n  default: |\n  type: string\n  enum:\n    - a\n    - b\nT:\n",
         "", false, "a | b"},
        {"yaml flow list on the key line", DocumentFormat::yaml, "S:\n  enum: [a, b]\n  default: |\n", "", false, ""},
        {"yaml list at the key's column", DocumentFormat::yaml, "S:\n  enum:\n  - a\n  - 'b'\n  default: |\n", "",
         false, "a | b='b'"},
        {"yaml a lower dash line does not end the search", DocumentFormat::yaml,
         "- name: a\n  enum:\n    - x\n- name: b\n  default: |\n", "", false, "x"},
        {"yaml search ends at a lower key", DocumentFormat::yaml, "A:\n  enum:\n    - a\nB:\n  default: |\n", "", false,
         ""},
        {"yaml prefix with a quote", DocumentFormat::yaml,
         "S:\n  enum:\n    - Active\n    - acme\n    - beta\n  default: \"Ac|\n", "\"Ac", false,
         "Active | acme"},
        {"yaml prefix of quotes only", DocumentFormat::yaml, "S:\n  enum:\n    - a\n    - b\n  default: '\"|\n",
         "'\"", false, "a | b"},
        {"json one-line enum before", DocumentFormat::json,
         "{\n  \"type\": \"string\",\n  \"enum\": [\"a\", \"b\"],\n  \"default\": |\n}\n", "", false,
         "a=\"a\" | b=\"b\""},
        {"json inside a string", DocumentFormat::json, "{\n  \"enum\": [\"a\", \"b\"],\n  \"default\": \"|\n}\n", "",
         true, "a | b"},
        {"json one-line enum after", DocumentFormat::json,
         "{\n  \"default\": \"|\",\n  \"enum\": [\"a\", \"b\"]\n}\n", "", true, "a | b"},
        {"json multi-line enum before", DocumentFormat::json,
         "{\n  \"enum\": [\n    \"x\",\n    \"y\"\n  ],\n  \"default\": \"|\"\n}\n", "", true, "x | y"},
        {"json multi-line enum after is not found", DocumentFormat::json,
         "{\n  \"default\": \"|\",\n  \"enum\": [\n    \"x\"\n  ]\n}\n", "", true, ""},
        {"json numbers give nothing", DocumentFormat::json, "{\n  \"enum\": [1, 2, 3],\n  \"default\": |\n}\n", "",
         false, ""},
        {"json nested enum is another schema's", DocumentFormat::json,
         "{\n  \"items\": {\"enum\": [\"a\"]},\n  \"default\": |\n}\n", "", false, ""},
        // Each listed value read as a JSON string, its escapes read, and written back as one.
        {"json escaped quote, one value per line", DocumentFormat::json,
         R"({
  "enum": [
    "\"dq\"",
    "a\\b"
  ],
  "default": |
})", "", false, R"("dq"="\"dq\"" | a\b="a\\b")"},
        {"json escaped quote inline, commas and colons in strings", DocumentFormat::json,
         R"({
  "enum": ["\"dq\"", "x, y", "k\": v", "\u00e9"],
  "default": |
})", "", false, R"("dq"="\"dq\"" | x, y="x, y" | k": v="k\": v" | é="é")"},
        {"json escaped quote inside a string", DocumentFormat::json,
         R"({
  "enum": ["\"dq\""],
  "default": "|
})", "", true, R"("dq"=\"dq\")"},
        {"json bracket in a string does not end the list", DocumentFormat::json,
         "{\n  \"enum\": [\n    \"a]\",\n    \"b\"\n  ],\n  \"default\": |\n}\n", "", false,
         "a]=\"a]\" | b=\"b\""},
        {"yaml escapes read, written as they stand", DocumentFormat::yaml,
         "S:\n  enum:\n    - \"\\\"dq\\\"\"\n    - 'it''s' # c\n    - {a: b}\n  default: |\n", "", false,
         R"("dq"="\"dq\"" | it's='it''s' | {a: b})"},
        {"yaml in an opened double quote", DocumentFormat::yaml,
         "S:\n  enum:\n    - \"\\\"dq\\\"\"\n    - 'it''s'\n  default: \"|\n", "", true, R"("dq"=\"dq\" | it's)"},
    };
    const Carvex::EnumDefaultResolver resolver;
    for (const Row& row : rows) {
        const Marked input = marked(row.text);
        const auto items = resolver.suggestions(context(row.format, CursorRole::mappingValue, {}, input.caret,
                                                        QString("default"), row.prefix, row.inString),
                                                input.text);
        EXPECT_EQ(summary(items), row.expected) << row.name;
        for (const CompletionItem& item : items) {
            EXPECT_EQ(item.description, "Enum value") << row.name;
            EXPECT_EQ(item.priority, 100);
            EXPECT_EQ(item.kind, Carvex::CompletionItemKind::value);
        }
    }
    const Marked yaml = marked("S:\n  enum:\n    - a\n  default: |\n");
    EXPECT_TRUE(resolver.suggestions(context(DocumentFormat::yaml, CursorRole::mappingKey, {}, yaml.caret,
                                             QString("default")),
                                     yaml.text)
                    .empty());
    EXPECT_TRUE(resolver.suggestions(context(DocumentFormat::yaml, CursorRole::mappingValue, {}, yaml.caret,
                                             QString("Default")),
                                     yaml.text)
                    .empty());
    EXPECT_EQ(Carvex::EnumDefaultResolver::findEnumValuesYAML(u"enum:\n  - a\ndefault: x\n", 1'000'000),
              QStringList());
    EXPECT_EQ(Carvex::EnumDefaultResolver::findEnumValuesYAML(u"default: x\nenum:\n  - a\n", 1'000'000),
              QStringList({"a"}));
    EXPECT_EQ(Carvex::EnumDefaultResolver::jsonBracketDelta(u"{\"a[\": [\"\\\"]\", {"), 3);
}

const Path kRequiredItem{K("components"), K("schemas"), D("Pet"), K("required"), I(1)};

TEST(RequiredFieldResolver, proposesDeclaredPropertiesNotYetRequired)
{
    struct Row {
        const char* name;
        DocumentFormat format;
        const char* text;
        Path path;
        QString prefix;
        bool inString;
        std::string expected;
    };
    const char* yaml = "components:\n  schemas:\n    Pet:\n      type: object\n      required:\n        - id\n"
                       "        - na\n      properties:\n        id:\n          type: integer\n        name:\n"
                       "          type: string\n        tag:\n          type: string\n";
    const char* json = "{\n  \"components\": {\n    \"schemas\": {\n      \"Pet\": {\n        \"required\": [\"id\", ],\n"
                       "        \"properties\": {\n          \"id\": {\"type\": \"integer\"},\n          \"name\": {\n"
                       "            \"type\": \"string\"\n          },\n          \"tag\": {}\n        }\n      }\n    }\n  }\n}\n";
    const Row rows[] = {
        {"yaml missing names in declaration order", DocumentFormat::yaml, yaml, kRequiredItem, "", false,
         "name | tag"},
        {"yaml prefix", DocumentFormat::yaml, yaml, kRequiredItem, "'T", false, "tag"},
        {"yaml quoted listed name is not proposed again", DocumentFormat::yaml,
         "S:\n  required:\n    - \"id\"\n  properties:\n    id: {}\n", {D("S"), K("required"), I(1)}, "", false, ""},
        {"yaml items at the key's column are listed", DocumentFormat::yaml,
         "S:\n  required:\n  - id\n  properties:\n    id: {}\n    name: {}\n", {D("S"), K("required"), I(1)}, "", false,
         "name"},
        {"yaml required inside an allOf item", DocumentFormat::yaml,
         "S:\n  allOf:\n    - required:\n        - a\n      properties:\n        b: {}\n",
         {D("S"), K("allOf"), I(0), K("required"), I(1)}, "", false, ""},
        {"json only members at the member depth", DocumentFormat::json, json, kRequiredItem, "", false,
         "name=\"name\" | tag=\"tag\""},
        {"json inside a string", DocumentFormat::json, json, kRequiredItem, "", true, "name | tag"},
        {"json multi-line required list", DocumentFormat::json,
         "{\n  \"required\": [\n    \"a\",\n    \"b\"\n  ],\n  \"properties\": {\n    \"a\": 1,\n    \"b\": 2,\n"
         "    \"c\": 3\n  }\n}\n",
         {K("required"), I(2)}, "", true, "c"},
        {"json properties brace on the next line", DocumentFormat::json,
         "{\n  \"required\": [],\n  \"properties\":\n  {\n    \"a\": {}\n  }\n}\n", {K("required"), I(0)}, "", true, ""},
        {"a list that is not required", DocumentFormat::yaml, yaml,
         {K("components"), K("schemas"), D("Pet"), K("enum"), I(0)}, "", false, ""},
    };
    const Carvex::RequiredFieldResolver resolver;
    for (const Row& row : rows) {
        const auto items = resolver.suggestions(
            context(row.format, CursorRole::sequenceItem, row.path, 0, std::nullopt, row.prefix, row.inString),
            row.text);
        EXPECT_EQ(summary(items), row.expected) << row.name;
        for (const CompletionItem& item : items) {
            EXPECT_EQ(item.description, "Property from schema") << row.name;
            EXPECT_EQ(item.kind, Carvex::CompletionItemKind::property);
        }
    }
    EXPECT_TRUE(resolver.suggestions(context(DocumentFormat::yaml, CursorRole::mappingKey, kRequiredItem), yaml).empty());
    const auto counts = Carvex::RequiredFieldResolver::jsonBracketCounts(u"{ \"a\": [1, \"x{[");
    EXPECT_EQ(counts, std::make_pair(4, 0));
}

// Hostile texts and carets: every resolver answers, partially or with nothing, in one pass.
TEST(ProposalResolvers, badInputNeverBreaksThem)
{
    QString deepYAML;
    for (int i = 0; i < 100'000; ++i)
        deepYAML += QString(i % 200, u' ') + "k:\n";
    const QString texts[] = {
        "",
        "enum:\r  - a\r  default: x\rrequired:\r  - b\r",
        QString(5'000'000, u'"'),
        "\"enum\": [" + QString(2'000'000, u'"') + QString(1'000'000, u':'),
        QString(100'000, u'{') + "\"required\": [\"a\"" + QString(100'000, u'['),
        QString(100'000, u'}') + QString(100'000, u']'),
        deepYAML,
        "default: \"\nenum:\n  - \"\n  - '\n",
    };
    const qsizetype carets[] = {-5, 0, 3, 1'000'000'000};
    for (const QString& text : texts) {
        for (DocumentFormat format : {DocumentFormat::yaml, DocumentFormat::json}) {
            for (qsizetype caret : carets) {
                const auto enums = Carvex::EnumDefaultResolver().suggestions(
                    context(format, CursorRole::mappingValue, {}, caret, QString("default")), text);
                for (const CompletionItem& item : enums)
                    EXPECT_TRUE(text.contains(item.label));
            }
            const auto required = Carvex::RequiredFieldResolver().suggestions(
                context(format, CursorRole::sequenceItem, {K("required"), I(0)}), text);
            for (const CompletionItem& item : required)
                EXPECT_TRUE(text.contains(item.label));
            EXPECT_LE(Carvex::TypeArrayResolver()
                          .suggestions(context(format, CursorRole::sequenceItem, {K("type"), I(0)}), text,
                                       OpenAPIVersion::openAPI31)
                          .size(),
                      7u);
        }
    }
}

} // namespace

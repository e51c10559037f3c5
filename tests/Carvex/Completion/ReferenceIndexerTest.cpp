#include "Carvex/Completion/ReferenceIndexer.h"

#include <gtest/gtest.h>

#include <QStringList>

using Carvex::DocumentFormat;
using Carvex::ReferenceIndex;
using Carvex::ReferenceIndexer;
using Carvex::ReferenceKind;
using Carvex::ReferenceTarget;

namespace {

// The index written as "kind name; kind name", entries in kind declaration order and scan order;
// an entry without names shows as "kind -".
std::string summary(const ReferenceIndex& index)
{
    std::string out;
    for (const auto& [kind, list] : index.targetsByKind) {
        if (list.empty()) {
            out += (out.empty() ? "" : "; ") + std::string(Carvex::rawValue(kind)) + " -";
        }
        for (const ReferenceTarget& target : list)
            out += (out.empty() ? "" : "; ") + std::string(Carvex::rawValue(kind)) + " " + target.name.toStdString();
    }
    return out;
}

struct Row {
    const char* name;
    DocumentFormat format;
    const char* text;
    const char* expected;
};

TEST(ReferenceIndexer, collectsComponentNamesAsTheScansRead)
{
    const Row rows[] = {
        {"yaml schemas in order", DocumentFormat::yaml,
         "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type: object\n    User:\n      type: string\n",
         "schema Pet; schema User"},
        {"yaml empty section", DocumentFormat::yaml, "components:\n  schemas: {}\n", "schema -"},
        {"yaml x-extra selects no kind", DocumentFormat::yaml,
         "components:\n  schemas:\n    A: {}\n  x-extra:\n    Hidden: {}\n  responses:\n    NotFound: {}\n",
         "schema A; response NotFound"},
        {"yaml indented components line", DocumentFormat::yaml, " components:\n  schemas:\n    Pet: {}\n", ""},
        {"yaml four-space indentation", DocumentFormat::yaml, "components:\n    schemas:\n        Pet: {}\n",
         "schema Pet"},
        {"yaml space before colon", DocumentFormat::yaml, "components:\n  schemas :\n    Pet :\n", "schema Pet"},
        {"yaml space inside a key", DocumentFormat::yaml, "components:\n  schemas:\n    My Pet:\n", "schema My Pet"},
        {"yaml quoted keys", DocumentFormat::yaml,
         "components:\n  schemas:\n    \"My Pet\":\n    'A' :\n    \"\":\n    \"open:\n    'x' y:\n",
         "schema My Pet; schema A; schema "},
        {"yaml quoted key reads its escapes", DocumentFormat::yaml,
         "components:\n  schemas:\n    \"a\\\\b\": {}\n", "schema a\\b"},
        {"yaml comments and blank lines keep the block", DocumentFormat::yaml,
         "components:\n  schemas:\n\n# note\n    Pet: {}\n    # Cat:\n    Dog: {}\n", "schema Pet; schema Dog"},
        {"yaml line at indentation 0 ends the block", DocumentFormat::yaml,
         "components:\n  schemas:\n    Pet: {}\npaths:\n  schemas:\n    Late: {}\n", "schema Pet"},
        {"yaml same name twice and two sections", DocumentFormat::yaml,
         "components:\n  schemas:\n    A: {}\n    A: {}\n  schemas:\n    B: {}\n", "schema A; schema A; schema B"},
        {"yaml deeper and odd indentation add nothing", DocumentFormat::yaml,
         "components:\n  schemas:\n   Odd: {}\n    Pet:\n      properties:\n        id: {}\n     Five: {}\n",
         "schema Pet"},
        {"yaml sequence item is no key", DocumentFormat::yaml, "components:\n  schemas:\n    - Pet:\n", "schema -"},
        {"yaml crlf line ends", DocumentFormat::yaml, "components:\r\n  schemas:\r\n    Pet: {}\r\n", "schema Pet"},
        {"yaml cr-only line ends", DocumentFormat::yaml, "components:\r  parameters:\r    limit:\r", "parameter limit"},
        {"yaml unicode line separator", DocumentFormat::yaml,
         "components:\u2028  links:\u2029    next: {}", "link next"},
        {"yaml all sections", DocumentFormat::yaml,
         "components:\n  schemas:\n    S:\n  responses:\n    R:\n  parameters:\n    P:\n  requestBodies:\n    B:\n"
         "  headers:\n    H:\n  securitySchemes:\n    K:\n  pathItems:\n    I:\n  examples:\n    E:\n  links:\n"
         "    L:\n  callbacks:\n    C:\n",
         "schema S; response R; parameter P; requestBody B; header H; securityScheme K; pathItem I; example E; link L; "
         "callback C"},
        {"json object values only", DocumentFormat::json,
         R"({"components": {"schemas": {"Pet": {"type": "object"}, "Id": "string"}}})", "schema Pet"},
        {"json escaped quote read", DocumentFormat::json,
         R"({"components": {"schemas": {"a\"b": {}}}})", "schema a\"b"},
        {"json broken string dropped", DocumentFormat::json,
         "{\"components\": {\"schemas\": {\"bro\n\"Pet\": {}}}}", "schema Pet"},
        {"json quote with combining mark is no quote", DocumentFormat::json,
         "{\"components\": {\"schemas\": {\"Caf\"\u0301\": {}}}}", "schema Caf\"\u0301"},
        {"json components at any depth", DocumentFormat::json,
         R"({"x": {"components": {"responses": {"Gone": {}}}}, "components": {"headers": {"H": {}}}})",
         "response Gone; header H"},
        {"json unknown section", DocumentFormat::json,
         R"({"components": {"x-extra": {"A": {}}, "links": {"L": {}}}})", "link L"},
        {"json empty section", DocumentFormat::json, R"({"components": {"callbacks": {}}})", "callback -"},
        {"json arrays between", DocumentFormat::json,
         R"({"components": {"schemas": {"A": {"enum": [1, {"x": 2}]}, "B": {}}}})", "schema A; schema B"},
        {"json text before the first brace", DocumentFormat::json, R"("components" {"schemas": {"A": {}}})", ""},
        {"unknown format starting with a brace", DocumentFormat::unknown,
         "\n\n  {\"components\": {\"schemas\": {\"Pet\": {}}}}", "schema Pet"},
        {"unknown format with a yaml key", DocumentFormat::unknown, "components:\n  schemas:\n    Pet: {}\n",
         "schema Pet"},
        {"empty text", DocumentFormat::json, "", ""},
    };
    const ReferenceIndexer indexer;
    for (const Row& row : rows)
        EXPECT_EQ(summary(indexer.buildIndex(QString::fromUtf8(row.text), row.format)), row.expected) << row.name;
}

// The YAML scan reads its steps from the document: sections at the indentation of the first line
// under "components:", names at that of the first line under a known section, a multiple of the
// section's. Lines between the steps or above the sections' level add nothing and end nothing.
TEST(ReferenceIndexer, yamlStepsAreReadFromTheDocument)
{
    const Row rows[] = {
        {"four spaces", DocumentFormat::yaml,
         "components:\n    schemas:\n        Pet:\n            type: object\n        User: {}\n"
         "    responses:\n        Gone: {}\n",
         "schema Pet; schema User; response Gone"},
        {"three spaces", DocumentFormat::yaml,
         "components:\n   schemas:\n      Pet:\n         properties:\n            id: {}\n      User: {}\n",
         "schema Pet; schema User"},
        {"sections at two, names at six", DocumentFormat::yaml,
         "components:\n  schemas:\n      Pet:\n        type: object\n      User: {}\n", "schema Pet; schema User"},
        {"a line above the sections' level", DocumentFormat::yaml,
         "components:\n    schemas:\n  stray: 1\n        Pet: {}\n   x: 1\n        User: {}\n",
         "schema Pet; schema User"},
        {"lines between the steps", DocumentFormat::yaml,
         "components:\n    schemas:\n      Odd: {}\n        Pet:\n          a: 1\n        User: {}\n",
         "schema Pet; schema User"},
        {"an unknown section first", DocumentFormat::yaml,
         "components:\n    x-extra:\n      - item\n    schemas:\n        Pet: {}\n", "schema Pet"},
        {"each components block its own steps", DocumentFormat::yaml,
         "components:\n    schemas:\n        A: {}\npaths: {}\ncomponents:\n  schemas:\n    B: {}\n",
         "schema A; schema B"},
        {"quoted names read", DocumentFormat::yaml,
         "components:\n    schemas:\n        \"a\\\"b\\u00e9\": {}\n        'it''s': {}\n        \"x/y\": {}\n",
         "schema a\"b\u00e9; schema it's; schema x/y"},
        {"json names read", DocumentFormat::json,
         R"({"comp\u006fnents": {"sch\u0065mas": {"a\/b": {}, "\u00e9\\": {}}}})", "schema a/b; schema \u00e9\\"},
    };
    const ReferenceIndexer indexer;
    for (const Row& row : rows)
        EXPECT_EQ(summary(indexer.buildIndex(QString::fromUtf8(row.text), row.format)), row.expected) << row.name;
}

// A plain name ends where the YAML reader ends it, at the first colon followed by a blank or the end
// of the line: "a:b:" names a:b, "a b:" names a b. In every section, at every step.
TEST(ReferenceIndexer, yamlPlainNamesEndAtTheColonThatEndsAKey)
{
    const char* body = "components:\n"
                       "_schemas:\n"
                       "__a:b:\n"
                       "___type: string\n"
                       "__a b: {}\n"
                       "__'c: d': {}\n"
                       "__read:pets :\n"
                       "__x #y: {}\n"
                       "_responses:\n"
                       "__x:y: {}\n"
                       "_parameters:\n"
                       "__page size:\n"
                       "___in: query\n";
    for (int indent : {2, 3, 4}) {
        const QString text = QString::fromUtf8(body).replace(u'_', QString(indent, u' '));
        EXPECT_EQ(summary(ReferenceIndexer().buildIndex(text, DocumentFormat::yaml)),
                  "schema a:b; schema a b; schema c: d; schema read:pets; response x:y; parameter page size")
            << indent << " spaces";
    }
}

TEST(ReferenceIndexer, pointersAreEscaped)
{
    const ReferenceIndex index = ReferenceIndexer().buildIndex(
        "components:\n  schemas:\n    Pet:\n    \"a/b~c\":\n  securitySchemes:\n    oauth:\n", DocumentFormat::yaml);
    const auto& schemas = index.targets(ReferenceKind::schema);
    ASSERT_EQ(schemas.size(), 2u);
    EXPECT_EQ(schemas[0].pointer, "#/components/schemas/Pet");
    EXPECT_EQ(schemas[1].name, "a/b~c");
    EXPECT_EQ(schemas[1].pointer, "#/components/schemas/a~1b~0c");
    EXPECT_EQ(index.targets(ReferenceKind::securityScheme).at(0).pointer, "#/components/securitySchemes/oauth");
    EXPECT_EQ(Carvex::pointerPrefix(ReferenceKind::unknown), "#/components/");
    EXPECT_EQ(Carvex::referenceKindFromComponentsSection(u"requestBodies"), ReferenceKind::requestBody);
    EXPECT_EQ(Carvex::referenceKindFromComponentsSection(u"Schemas"), ReferenceKind::unknown);
    EXPECT_EQ(Carvex::referenceKindFromComponentsSection(u""), ReferenceKind::unknown);
}

TEST(ReferenceIndex, queriesOrderAndCount)
{
    ReferenceIndex index;
    index.targetsByKind[ReferenceKind::schema] = {ReferenceTarget(ReferenceKind::schema, "b"),
                                                  ReferenceTarget(ReferenceKind::schema, "A")};
    index.targetsByKind[ReferenceKind::callback] = {ReferenceTarget(ReferenceKind::callback, "z")};
    index.targetsByKind[ReferenceKind::link] = {};
    auto names = [](const std::vector<ReferenceTarget>& list) {
        QStringList out;
        for (const ReferenceTarget& target : list)
            out << QString::fromLatin1(Carvex::rawValue(target.kind).data()) + " " + target.name;
        return out;
    };
    EXPECT_EQ(names(index.allTargets()), QStringList({"callback z", "schema A", "schema b"}));
    EXPECT_EQ(names(index.targets(ReferenceKind::schema)), QStringList({"schema b", "schema A"}));
    EXPECT_EQ(names(index.targets(std::vector{ReferenceKind::schema, ReferenceKind::response, ReferenceKind::schema})),
              QStringList({"schema A", "schema A", "schema b", "schema b"}));
    EXPECT_TRUE(index.targets(ReferenceKind::response).empty());
    EXPECT_EQ(index.count(), 3u);
    EXPECT_FALSE(index.isEmpty());
    ReferenceIndex emptyEntries;
    emptyEntries.targetsByKind[ReferenceKind::schema] = {};
    EXPECT_TRUE(emptyEntries.isEmpty());
    EXPECT_EQ(emptyEntries.count(), 0u);
    EXPECT_NE(emptyEntries, ReferenceIndex{});

    EXPECT_FALSE(ReferenceTarget(ReferenceKind::pathItem, "a") < ReferenceTarget(ReferenceKind::parameter, "z"));
    EXPECT_TRUE(ReferenceTarget(ReferenceKind::parameter, "z") < ReferenceTarget(ReferenceKind::pathItem, "a"));
    EXPECT_NE(ReferenceTarget(ReferenceKind::schema, "A", "#/x"), ReferenceTarget(ReferenceKind::schema, "A"));
}

// Hostile texts: each scan is one linear pass and finds only what the rules allow.
TEST(ReferenceIndexer, badInputStaysLinearAndSafe)
{
    struct Hostile {
        const char* name;
        QString text;
    };
    const Hostile rows[] = {
        {"a million opening braces", QString(1'000'000, u'{')},
         {"a million closing braces", QString(1'000'000, u'}')},
         {"unterminated string", "{\"components\": {\"schemas\": {\"" + QString(1'000'000, u'a')},
         {"lone surrogates", QString(200'000, QChar(0xD800)) + "{\"components\":{\"schemas\":{\"A\":{}}}}"},
         {"one long line", "components:" + QString(5'000'000, u' ') + "x"},
         {"combining marks everywhere", QString(200'000, QChar(0x0301)).prepend("{\"")},
         {"backslash at the end", "{\"components\": {\"schemas\": {\"A\\"},
    };
    const ReferenceIndexer indexer;
    for (const Hostile& row : rows) {
        for (DocumentFormat format : {DocumentFormat::json, DocumentFormat::yaml, DocumentFormat::unknown}) {
            const ReferenceIndex index = indexer.buildIndex(row.text, format);
            EXPECT_LE(index.count(), 1u) << row.name;
        }
    }
}

} // namespace

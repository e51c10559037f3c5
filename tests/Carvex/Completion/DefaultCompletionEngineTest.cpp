#include "Carvex/Completion/DefaultCompletionEngine.h"

#include "Carvex/Completion/CompletionInsertion.h"

#include "CompletionEngineSupport.h"

#include <gtest/gtest.h>

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <memory>
#include <random>

using namespace Carvex;
using CompletionEngineSupport::caretText;
using CompletionEngineSupport::labelsOf;

namespace {

constexpr auto yaml = DocumentFormat::yaml;
constexpr auto json = DocumentFormat::json;

TEST(DefaultCompletionEngine, versionDeclarationsInEveryForm)
{
    struct Row {
        const char* name;
        const char* text;
        OpenAPIVersion version;
    };
    const Row rows[] = {
        {"JSON, double-quoted value", R"({"openapi": "3.0.3"})", OpenAPIVersion::openAPI30},
        {"JSON key, single-quoted value", R"({"OpenAPI" : '3.0'})", OpenAPIVersion::openAPI30},
        {"YAML plain value", "openapi: 3.0.1\n", OpenAPIVersion::openAPI30},
        {"YAML double-quoted, upper case", "OPENAPI: \"3.0.0\"\n", OpenAPIVersion::openAPI30},
        {"YAML single-quoted, mixed case", "openApi:\t'3.0.2'\n", OpenAPIVersion::openAPI30},
        {"white space around the colon", "openapi  :   3.0\n", OpenAPIVersion::openAPI30},
        {"line break before the value", "openapi:\n  3.0.0\n", OpenAPIVersion::openAPI30},
        {"no-break and ideographic spaces", "openapi\u00A0:\u30003.0", OpenAPIVersion::openAPI30},
        {"in a description", "openapi: 3.1.0\ninfo:\n  description: moved from openapi: 3.0 last year\n",
         OpenAPIVersion::openAPI30},
        {"3.01 begins with 3.0", "openapi: 3.01\n", OpenAPIVersion::openAPI30},
        {"at the very end", "x: 1\nopenapi: 3.0", OpenAPIVersion::openAPI30},
        {"3.1 declaration", "openapi: 3.1.0\n", OpenAPIVersion::openAPI31},
        {"3.10", "openapi: 3.10\n", OpenAPIVersion::openAPI31},
        {"no declaration", "info:\n  title: x\n", OpenAPIVersion::openAPI31},
        {"empty text", "", OpenAPIVersion::openAPI31},
        {"cut short", "openapi: 3.", OpenAPIVersion::openAPI31},
        {"JSON number value", R"({"openapi": 3.0})", OpenAPIVersion::openAPI31},
        {"single-quoted key", "'openapi': '3.0.0'\n", OpenAPIVersion::openAPI31},
        {"zero-width space is no white space", "openapi:\u200B3.0", OpenAPIVersion::openAPI31},
        {"equals sign", "openapi = 3.0", OpenAPIVersion::openAPI31},
        {"two quotes before the value", "openapi: ''3.0", OpenAPIVersion::openAPI31},
    };
    const DefaultCompletionEngine engine;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString text = QString::fromUtf8(row.text);
        EXPECT_EQ(DefaultCompletionEngine::detectVersion(text), row.version);
        EXPECT_EQ(engine.complete(text, text.size(), yaml).version, row.version);
    }
}

// The five declaration patterns as case-insensitive ICU regular expressions, tried in order: the
// answer the one-pass detection must give.
OpenAPIVersion versionByPatterns(const QString& text)
{
    static const std::vector<std::unique_ptr<icu::RegexPattern>> compiled = [] {
        const char16_t* const patterns[] = {
            uR"("openapi"\s*:\s*"3\.0)", uR"("openapi"\s*:\s*'3\.0)", uR"(openapi\s*:\s*"3\.0)",
            uR"(openapi\s*:\s*'3\.0)",   uR"(openapi\s*:\s*3\.0)",
        };
        std::vector<std::unique_ptr<icu::RegexPattern>> all;
        for (const char16_t* pattern : patterns) {
            UErrorCode status = U_ZERO_ERROR;
            all.emplace_back(icu::RegexPattern::compile(icu::UnicodeString(pattern), UREGEX_CASE_INSENSITIVE, status));
            if (U_FAILURE(status))
                all.back().reset();
        }
        return all;
    }();
    const icu::UnicodeString input(false, reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
    for (const auto& pattern : compiled) {
        if (!pattern)
            continue;
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
        if (U_SUCCESS(status) && matcher->find())
            return OpenAPIVersion::openAPI30;
    }
    return OpenAPIVersion::openAPI31;
}

TEST(DefaultCompletionEngine, versionDetectionAgreesWithTheDeclarationPatterns)
{
    // Texts built like a declaration, piece by piece, each piece drawn from near misses: key
    // spellings and look-alikes, quotes, every kind of white space and a few that are none,
    // versions; with noise around them and now and then a unit deleted.
    // Weighted so that about one text in twenty declares 3.0 and most others miss by one piece.
    const std::vector<QString> keys = {"openapi", "OpenAPI", "oPeNaPi", "OPENAPI", "openapi", "oopenapi",
                                       "xopenapi", "openap", "penapi", "openapİ", "openapı", "ｏｐｅｎａｐｉ"};
    const std::vector<QString> quotes = {"", "", "", "\"", "\"", "'", "\"\"", "`"};
    const std::vector<QString> spaces = {" ",      "\t",     "\n",     "\r\n",   "\v",     "\f",     "\u0085",
                                         "\u00A0", "\u1680", "\u2003", "\u200A", "\u2028", "\u2029", "\u202F",
                                         "\u205F", "\u3000", "\u200B", "\uFEFF", "\u180E", "\u0084", "\u00AD"};
    const std::vector<QString> colons = {":", ":", ":", ":", ":", ":", "", "=", "：", "::"};
    const std::vector<QString> versions = {"3.0", "3.0.3", "3.01", "3.0", "3.0.3", "3.01", "3.10",
                                           "3.1", "3",     "3.",   "30",  "3,0",   "３.0"};
    const std::vector<QString> noise = {"description: ", "x", "😀", "\"", "'", ":", "\n", "openapi", "3.0", "K", "ſ"};
    std::mt19937 random(20240607);
    const auto any = [&random](const std::vector<QString>& choices) { return choices[random() % choices.size()]; };
    const auto run = [&](const std::vector<QString>& choices, int most) {
        QString text;
        for (int count = int(random() % (most + 1)); count > 0; --count)
            text += any(choices);
        return text;
    };
    int declared = 0;
    constexpr int rounds = 20'000;
    for (int round = 0; round < rounds; ++round) {
        QString text = run(noise, 2);
        for (int declaration = 1 + int(random() % 2); declaration > 0; --declaration) {
            text += any(quotes) + any(keys) + any(quotes) + run(spaces, 2) + any(colons) + run(spaces, 2) + any(quotes)
                + any(versions) + run(noise, 2);
        }
        if (random() % 8 == 0 && !text.isEmpty())
            text.remove(qsizetype(random() % text.size()), 1);
        const OpenAPIVersion expected = versionByPatterns(text);
        declared += expected == OpenAPIVersion::openAPI30;
        ASSERT_EQ(DefaultCompletionEngine::detectVersion(text), expected) << text.toStdString();
    }
    // Both answers occur often enough for the comparison to mean something.
    EXPECT_GT(declared, rounds / 40);
    EXPECT_LT(declared, rounds - rounds / 20);
}

// A result with every proposal's id cleared, to compare two requests.
CompletionResult withoutIds(CompletionResult result)
{
    for (CompletionItem& item : result.items)
        item.id = QUuid();
    return result;
}

struct EngineRow {
    const char* name;
    DocumentFormat format;
    const char* text;
    // The labels in order, when given; otherwise the labels that must and must not appear.
    std::optional<QStringList> exactly = std::nullopt;
    QStringList includes = {};
    QStringList excludes = {};
    bool classified = true;
    bool referenceContext = false;
};

TEST(DefaultCompletionEngine, answersByCaretPlace)
{
    const QStringList typeNames31 = {"integer", "object", "number", "array", "boolean", "null"};
    const EngineRow rows[] = {
        {.name = "caret in a YAML comment", .format = yaml, .text = "openapi: 3.1.0\n# pa‸", .exactly = QStringList{},
         .classified = false},
        {.name = "comment after a key", .format = yaml, .text = "openapi: 3.1.0\ninfo: # ti‸\n",
         .exactly = QStringList{}, .classified = false},
        {.name = "quoted description value", .format = yaml,
         .text = "openapi: 3.1.0\ninfo:\n  description: \"ab‸\"\n", .exactly = QStringList{}, .classified = false},
        {.name = "quoted type value", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type: \"‸\"\n",
         .includes = {"string", "integer", "null"}},
        {.name = "quoted Format value", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      Format: '‸'\n",
         .includes = {"int32", "date-time"}},
        {.name = "quoted format value narrowed", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      format: \"int‸\"\n",
         .exactly = QStringList{"int32", "int64"}},
        {.name = "JSON key in quotes", .format = json, .text = "{\n  \"openapi\": \"3.1.0\",\n  \"‸\"\n}",
         .includes = {"info", "paths"}, .excludes = {"openapi"}},
        {.name = "JSON summary value", .format = json,
         .text = "{\n  \"openapi\": \"3.1.0\",\n  \"info\": {\"summary\": \"‸\"}\n}", .exactly = QStringList{},
         .classified = false},
        {.name = "JSON quoted type value", .format = json,
         .text = "{\"openapi\": \"3.1.0\", \"components\": {\"schemas\": {\"Pet\": {\"type\": \"‸\"}}}}",
         .includes = {"string", "integer"}},
        {.name = "YAML $ref value", .format = yaml,
         .text = "openapi: 3.1.0\npaths:\n  /a:\n    get:\n      responses:\n        '200':\n"
                 "          content:\n            application/json:\n              schema:\n"
                 "                $ref: ‸\ncomponents:\n  schemas:\n    Pet:\n      type: object\n"
                 "    Order:\n      type: object\n",
         .exactly = QStringList{"#/components/schemas/Order", "#/components/schemas/Pet"}, .referenceContext = true},
        {.name = "quoted $ref value narrowed by the resolver alone", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type: object\n    Order:\n"
                 "      $ref: '#/components/schemas/P‸'\n",
         .exactly = QStringList{"#/components/schemas/Pet"}, .referenceContext = true},
        {.name = "JSON $ref value", .format = json,
         .text = "{\"openapi\": \"3.1.0\", \"components\": {\"schemas\": {\"Pet\": {\"type\": \"object\"},\n"
                 "\"Order\": {\"$ref\": \"#/components/schemas/‸\"}}}}",
         .exactly = QStringList{"#/components/schemas/Order", "#/components/schemas/Pet"}, .referenceContext = true},
        {.name = "$ref in a named response's schema, 3.0", .format = yaml,
         .text = "openapi: 3.0.3\ncomponents:\n  responses:\n    R0:\n      description: d\n      content:\n"
                 "        application/json:\n          schema:\n            $ref: ‸\n  schemas:\n    Pet:\n"
                 "      type: object\n",
         .exactly = QStringList{"#/components/schemas/Pet"}, .referenceContext = true},
        {.name = "keys in a named response's schema", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  responses:\n    R0:\n      description: d\n      content:\n"
                 "        application/json:\n          schema:\n            ‸\n",
         .includes = {"type", "properties"}, .excludes = {"content", "headers", "links"}},
        {.name = "$ref of a header in a named response", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  responses:\n    R0:\n      description: d\n      headers:\n"
                 "        X-Rate:\n          $ref: ‸\n  headers:\n    Rate:\n      schema:\n        type: integer\n",
         .exactly = QStringList{"#/components/headers/Rate"}, .referenceContext = true},
        {.name = "JSON $ref in a named request body's schema", .format = json,
         .text = "{\"openapi\": \"3.0.3\", \"components\": {\"requestBodies\": {\"B\": {\"content\": "
                 "{\"application/json\": {\"schema\": {\"$ref\": \"‸\"}}}}},\n\"schemas\": {\"Pet\": {}}}}",
         .exactly = QStringList{"#/components/schemas/Pet"}, .referenceContext = true},
        {.name = "tags of an operation are names", .format = yaml,
         .text = "openapi: 3.1.0\npaths:\n  /a:\n    get:\n      tags: ‸\n", .exactly = QStringList{"- (array item)"}},
        {.name = "tags of the document are tag objects", .format = yaml, .text = "openapi: 3.1.0\ntags: ‸\n",
         .exactly = QStringList{"- name:"}},
        {.name = "$Ref is no reference", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      $Ref: ‸\n", .exactly = QStringList{}},
        {.name = "required item with properties", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type: object\n      properties:\n"
                 "        id:\n          type: integer\n        name:\n          type: string\n      required:\n"
                 "        - ‸\n",
         .exactly = QStringList{"id", "name"}},
        {.name = "required item without properties", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type: object\n      required:\n        - ‸\n",
         .exactly = QStringList{}},
        {.name = "type item, 3.1", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type:\n        - string\n        - ‸\n",
         .exactly = typeNames31},
        {.name = "type item, 3.0", .format = yaml,
         .text = "openapi: 3.0.1\ncomponents:\n  schemas:\n    Pet:\n      type:\n        - ‸\n",
         .exactly = QStringList{}},
        {.name = "default beside an enum", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type: string\n      enum:\n        - red\n"
                 "        - green\n      default: ‸\n",
         .exactly = QStringList{"green", "red"}},
        {.name = "present keys dropped", .format = yaml, .text = "openapi: 3.1.0\ninfo:\n  title: x\n‸\n",
         .includes = {"paths", "components"}, .excludes = {"openapi", "info"}},
        {.name = "prefix Pa at the root", .format = yaml, .text = "openapi: 3.1.0\nPa‸\n",
         .exactly = QStringList{"paths"}},
        {.name = "prefix Pa in an operation", .format = yaml,
         .text = "openapi: 3.1.0\npaths:\n  /a:\n    get:\n      Pa‸\n", .exactly = QStringList{"parameters"}},
        {.name = "prefix matching nothing", .format = yaml, .text = "openapi: 3.1.0\nZq‸\n", .exactly = QStringList{}},
        {.name = "keys around a list at its key's column", .format = yaml,
         .text = "openapi: 3.1.0\npaths:\n  /x:\n    get:\n      summary: S\n      tags:\n      - a\n"
                 "      operationId: x\n      ‸\n      deprecated: true\n",
         .includes = {"description", "responses"}, .excludes = {"summary", "tags", "operationId", "deprecated"}},
        {.name = "keys around a list one level deeper", .format = yaml,
         .text = "openapi: 3.1.0\npaths:\n  /x:\n    get:\n      summary: S\n      tags:\n        - a\n"
                 "      operationId: x\n      ‸\n      deprecated: true\n",
         .includes = {"description", "responses"}, .excludes = {"summary", "tags", "operationId", "deprecated"}},
        {.name = "required item, list at its key's column", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type: object\n      required:\n"
                 "      - id\n      - ‸\n      properties:\n        id:\n          type: integer\n        name:\n"
                 "          type: string\n",
         .exactly = QStringList{"name"}},
        {.name = "type item, list at its key's column", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type:\n      - string\n      - ‸\n",
         .exactly = QStringList{"integer", "object", "number", "array", "boolean", "null"}},
        {.name = "default beside an enum at its key's column", .format = yaml,
         .text = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pet:\n      type: string\n      enum:\n      - red\n"
                 "      - green\n      default: ‸\n",
         .exactly = QStringList{"green", "red"}},
        {.name = "text of a block scalar", .format = yaml,
         .text = "openapi: 3.1.0\npaths:\n  /x:\n    get:\n      description: >-\n        Steps:\n          ty‸\n",
         .exactly = QStringList{}, .classified = false},
        {.name = "parameter location", .format = yaml,
         .text = "openapi: 3.1.0\npaths:\n  /a:\n    get:\n      parameters:\n        - in: ‸\n",
         .exactly = QStringList{"query", "path", "header", "cookie"}},
    };
    const DefaultCompletionEngine engine;
    for (const EngineRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto [text, caret] = caretText(row.text);
        const CompletionResult result = engine.complete(text, caret, row.format);
        const QStringList labels = labelsOf(result.items);
        if (row.exactly) {
            EXPECT_EQ(labels.join(" | ").toStdString(), row.exactly->join(" | ").toStdString());
        }
        for (const QString& label : row.includes)
            EXPECT_TRUE(labels.contains(label)) << label.toStdString();
        for (const QString& label : row.excludes)
            EXPECT_FALSE(labels.contains(label)) << label.toStdString();
        EXPECT_EQ(result.grammarContexts.size(), row.classified ? 1u : 0u);
        EXPECT_EQ(result.context.hints.isRefValueContext, row.referenceContext);
        EXPECT_TRUE(CompletionEngineSupport::isSorted(result.items));
        EXPECT_FALSE(result.isIncomplete);
        // The request without templates is the full request with none.
        EXPECT_EQ(withoutIds(result), withoutIds(engine.completions(text, caret, row.format, {})));
    }
}

SnippetTemplate snippet(const char* id, QStringList triggers, std::optional<TemplateContext> context = std::nullopt)
{
    return SnippetTemplate{.id = id,
                           .name = QString::fromUtf8(id) + " snippet",
                           .triggerKeywords = std::move(triggers),
                           .context = std::move(context),
                           .content = "${1:value}",
                           .openAPIVersion = "3.0",
                           .depthScore = 50};
}

TEST(DefaultCompletionEngine, snippetsBesideTheirKeyOrAsBodies)
{
    const std::vector<SnippetTemplate> templates = {
        snippet("paths-full", {"paths:"}),
        snippet("zebra", {"zebra:"}),
        snippet("responses-body", {"responses:"}, TemplateContext{std::nullopt, QString("paths"), std::nullopt, std::nullopt}),
    };
    struct Row {
        const char* name;
        const char* text;
        // Labels with the snippets marked: "paths*" a full snippet, "responses+" a body-only one.
        QStringList labels;
    };
    const Row rows[] = {
        {"full snippet beside the key it writes", "openapi: 3.1.0\npa‸\n", {"paths", "paths*"}},
        {"full snippet gone with its key", "openapi: 3.1.0\npaths: {}\npa‸\n", {}},
        {"no snippet in a value", "openapi: ‸\n", {}},
        {"body-only snippet under an empty mapping", "openapi: 3.1.0\npaths:\n  /a:\n    get:\n      responses:\n        ‸\n",
         {"200", "201", "204", "400", "404", "401", "default", "403", "500", "responses+"}},
    };
    const DefaultCompletionEngine engine;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto [text, caret] = caretText(row.text);
        const CompletionResult result = engine.completions(text, caret, yaml, templates);
        QStringList labels;
        for (const CompletionItem& item : result.items) {
            const char* mark = !item.snippetMetadata ? "" : item.snippetMetadata->isBodyOnly ? "+" : "*";
            labels << item.label + QString::fromLatin1(mark);
        }
        EXPECT_EQ(labels.join(" | ").toStdString(), row.labels.join(" | ").toStdString());
        EXPECT_TRUE(CompletionEngineSupport::isSorted(result.items));
    }
}

} // namespace

namespace {

// A value word the grammar proposes goes into a JSON document as a string, so the document stays
// JSON; literals, structure rows and YAML stay bare, and so does a word typed inside quotes.
TEST(DefaultCompletionEngine, jsonValueWordsAreInsertedAsStrings)
{
    struct Row {
        const char* name;
        DocumentFormat format;
        const char* text;
        const char* label;
        const char* result; // the text after the row is inserted
    };
    const Row rows[] = {
        {"parameter location", json, "{\"openapi\": \"3.0.3\", \"x\": [{\"name\": \"id\", \"in\": ‸}]}", "path",
         "{\"openapi\": \"3.0.3\", \"x\": [{\"name\": \"id\", \"in\": \"path\"}]}"},
        {"location typed in part", json, "{\"openapi\": \"3.0.3\", \"x\": {\"in\": pa‸}}", "path",
         "{\"openapi\": \"3.0.3\", \"x\": {\"in\": \"path\"}}"},
        {"schema type, 3.1", json,
         "{\"openapi\": \"3.1.0\", \"components\": {\"schemas\": {\"Pet\": {\"type\": ‸}}}}", "object",
         "{\"openapi\": \"3.1.0\", \"components\": {\"schemas\": {\"Pet\": {\"type\": \"object\"}}}}"},
        {"style", json, "{\"openapi\": \"3.0.3\", \"x\": {\"style\": ‸}}", "deepObject",
         "{\"openapi\": \"3.0.3\", \"x\": {\"style\": \"deepObject\"}}"},
        {"format", json, "{\"openapi\": \"3.0.3\", \"x\": {\"format\": ‸}}", "date-time",
         "{\"openapi\": \"3.0.3\", \"x\": {\"format\": \"date-time\"}}"},
        {"boolean stays a literal", json, "{\"openapi\": \"3.0.3\", \"x\": {\"deprecated\": ‸}}", "true",
         "{\"openapi\": \"3.0.3\", \"x\": {\"deprecated\": true}}"},
        {"inside quotes the word alone", json, "{\"openapi\": \"3.0.3\", \"x\": {\"in\": \"q‸\"}}", "query",
         "{\"openapi\": \"3.0.3\", \"x\": {\"in\": \"query\"}}"},
        {"YAML stays plain", yaml, "openapi: 3.0.3\nx:\n  in: ‸\n", "header", "openapi: 3.0.3\nx:\n  in: header\n"},
    };
    const DefaultCompletionEngine engine;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto [text, caret] = caretText(row.text);
        const CompletionResult result = engine.complete(text, caret, row.format);
        const auto item = std::find_if(result.items.begin(), result.items.end(),
                                       [&](const CompletionItem& i) { return i.label == QString::fromUtf8(row.label); });
        ASSERT_NE(item, result.items.end()) << labelsOf(result.items).join(" | ").toStdString();
        const auto insertion = CompletionInsertion::ordinaryInsertion(
            text, TextRange{caret, 0}, row.format == json ? DocumentLanguage::json : DocumentLanguage::yaml, *item);
        ASSERT_TRUE(insertion);
        QString edited = text;
        edited.replace(insertion->range.location, insertion->range.length, insertion->text);
        EXPECT_EQ(edited.toStdString(), row.result);
    }
}

} // namespace

namespace {

// Past a closed quoted scalar, flow collection or JSON bracket nothing is proposed, however the
// scalar is quoted; in one still open (an escaped quote or a doubled single quote does not close it),
// what was typed since its quote, decoded, narrows the proposals.
TEST(DefaultCompletionEngine, scalarsAndCollectionsClosedBeforeTheCaretGetNothing)
{
    const char* yamlText = "openapi: 3.1.0\ncomponents:\n  schemas:\n    Pat: {}\n    Pet:\n      type: object\n"
                           "      properties:\n        k:\n          type: string\n          enum:\n"
                           "            - 'a\"b'\n            - \"it's\"\n          %1\n";
    const char* jsonText = "{\"openapi\": \"3.1.0\", \"components\": {\"schemas\": {\"Pat\": {},\n"
                           "\"Pet\": {\"properties\": {\"k\": {\n\"type\": \"string\",\n\"enum\": [\"ab\", \"it's\"],\n"
                           "%1\n}}}}}}";
    struct Row {
        const char* name;
        DocumentFormat format;
        const char* line;  // the caret at ‸
        QStringList labels;
    };
    const QStringList pointers = {"#/components/schemas/Pat", "#/components/schemas/Pet"};
    const Row rows[] = {
        {"YAML double-quoted pointer", yaml, "$ref: \"#/components/schemas/Pet\"‸", {}},
        {"YAML single-quoted pointer", yaml, "$ref: '#/components/schemas/Pet'‸", {}},
        {"YAML blanks after the scalar", yaml, "$ref: \"#/components/schemas/Pet\" \t‸", {}},
        {"YAML empty scalar", yaml, "$ref: \"\"‸", {}},
        {"YAML empty single-quoted scalar", yaml, "$ref: ''‸", {}},
        {"YAML open pointer", yaml, "$ref: \"#/components/schemas/P‸", pointers},
        {"YAML closing quote after the caret", yaml, "$ref: '#/components/schemas/P‸'", pointers},
        {"YAML escaped quote keeps double quotes open", yaml, "default: \"a\\\"‸", {"a\"b"}},
        {"YAML escaped backslash before the closing quote", yaml, "default: \"a\\\\\"‸", {}},
        {"YAML doubled quote keeps single quotes open", yaml, "default: 'it''‸", {"it's"}},
        {"YAML single quote closed", yaml, "default: 'it'‸", {}},
        {"YAML quoted key", yaml, "\"type\"‸", {}},
        {"JSON pointer", json, "\"$ref\": \"#/components/schemas/Pet\"‸", {}},
        {"JSON empty string", json, "\"$ref\": \"\"‸", {}},
        {"JSON escaped backslash before the closing quote", json, "\"$ref\": \"\\\\\"‸", {}},
        {"JSON escaped quote keeps the string open", json, "\"$ref\": \"\\\"‸", pointers},
        {"JSON open pointer", json, "\"$ref\": \"#/components/schemas/P‸", pointers},
        {"JSON key", json, "\"description\"‸", {}},
        {"JSON value typed in a string", json, "\"default\": \"it‸", {"it's"}},
        {"YAML flow sequence", yaml, "enum: [a, b]‸", {}},
        {"YAML flow mapping", yaml, "{a: b}‸", {}},
        {"YAML nested flows", yaml, "allOf: [{}]‸", {}},
        {"YAML blanks after a flow", yaml, "type: [string] \t‸", {}},
        {"YAML flow closed on a line below its key", yaml, "enum: [a,\n            b]‸", {}},
        {"YAML bracket quoted in the flow", yaml, "enum: [\"]\", b]‸", {}},
        {"JSON object", json, "\"example\": {\"deprecated\": false}‸", {}},
        {"JSON array, blanks after it", json, "\"enum\": [\"ab\"] ‸", {}},
    };
    const DefaultCompletionEngine engine;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString marked = QString::fromUtf8(row.format == json ? jsonText : yamlText).arg(QString::fromUtf8(row.line));
        const auto [text, caret] = caretText(marked.toUtf8().constData());
        EXPECT_EQ(labelsOf(engine.complete(text, caret, row.format).items), row.labels);
    }
}

} // namespace

namespace {

// Inside a YAML flow collection the line's block reading does not hold: only an item of a flow
// sequence that is a key's value gets proposals, those of an item of that key's list that may stand
// as a flow item: no key, block item or nested collection; a name holding a flow indicator quoted.
TEST(DefaultCompletionEngine, insideFlowCollectionsOnlyItemsOfAKeysSequenceAreOffered)
{
    const char* schema = "openapi: 3.1.0\ncomponents:\n  schemas:\n    S:\n      properties:\n        a: {}\n"
                         "        b,c: {}\n      %1\n";
    const char* parameters = "openapi: 3.1.0\npaths:\n  /a:\n    get:\n      parameters:\n        %1\n";
    struct Row {
        const char* name;
        const char* text;
        const char* line; // the caret at ‸
        QStringList inserted;
    };
    const QStringList types = {"string", "integer", "object", "number", "array", "boolean", "null"};
    const Row rows[] = {
        {"a key in a flow mapping of a parameter", parameters, "- {name: a, in: query, schema: {type: ‸}}", {}},
        {"a flow mapping's key", parameters, "- {name: a, ‸}", {}},
        {"a continued flow mapping", parameters, "- {name: a,\n          ‸", {}},
        {"required names", schema, "required: [‸]", {"a", "\"b,c\""}},
        {"required names, blanks about the caret", schema, "required: [ ‸ ]", {"a", "\"b,c\""}},
        {"a listed name is not offered again", schema, "required: [a, ‸]", {"\"b,c\""}},
        {"a quoted listed name", schema, "required: ['b,c', ‸]", {"a"}},
        {"a continued sequence", schema, "required: [a,\n        ‸", {"\"b,c\""}},
        {"a sequence continued at its key's column", schema, "required: [a,\n      ‸", {"\"b,c\""}},
        {"type names, no nested list", schema, "type: [string, ‸]", types},
        {"a nested sequence", schema, "type: [[‸]]", {}},
        {"a block item", schema, "allOf: [‸]", {}},
        {"a sequence that no key holds", schema, "required:\n        - [‸]", {}},
    };
    const DefaultCompletionEngine engine;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString marked = QString::fromUtf8(row.text).arg(QString::fromUtf8(row.line));
        const auto [text, caret] = caretText(marked.toUtf8().constData());
        QStringList inserted;
        for (const CompletionItem& item : engine.complete(text, caret, yaml).items)
            inserted << item.insertText;
        EXPECT_EQ(inserted, row.inserted);
    }
}

} // namespace

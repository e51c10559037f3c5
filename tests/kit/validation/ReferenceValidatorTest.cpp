#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/validation/ReferenceGraph.h"
#include "kit/validation/ValidationContext.h"
#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::messages;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;

const std::initializer_list<std::string_view> kRefCodes = {"REF-001", "REF-002", "REF-003", "REF-004"};

std::vector<std::string> refMessages(const std::string& text) {
  return messages(withCodes(validateYaml(text, true), kRefCodes));
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// ---------------------------------------------------------------------------------------------------------
// checkReference: one reference in a schema place and in a parameter place.

const char* kCheckDocument =
    "openapi: 3.0.3\n"
    "info: {title: t, version: '1'}\n"
    "paths:\n"
    "  /a:\n"
    "    get:\n"
    "      parameters:\n"
    "        - $ref: '{PARAMETER}'\n"
    "      responses:\n"
    "        '200':\n"
    "          description: ok\n"
    "          content:\n"
    "            application/json:\n"
    "              schema: {$ref: '{SCHEMA}'}\n"
    "{COMPONENTS}";

const char* kDeclared =
    "components:\n"
    "  schemas:\n"
    "    Pet: {type: object}\n"
    "    a/b: {type: string}\n"
    "    a~b: {type: string}\n"
    "    '~1': {type: string}\n"
    "  parameters:\n"
    "    Limit: {name: limit, in: query}\n"
    "  examples:\n"
    "    E: {value: 1}\n";

struct CheckRow {
  const char* name;
  const char* ref;
  bool inSchemaPlace;  // else in a parameter place
  std::vector<std::string> expected;
  bool withoutComponents = false;
};

void PrintTo(const CheckRow& row, std::ostream* os) { *os << row.name; }

class CheckReferenceTest : public testing::TestWithParam<CheckRow> {};

TEST_P(CheckReferenceTest, Messages) {
  const CheckRow& row = GetParam();
  std::string text = replaced(kCheckDocument, "{COMPONENTS}", row.withoutComponents ? "" : kDeclared);
  text = replaced(text, "{SCHEMA}", row.inSchemaPlace ? row.ref : "#/components/schemas/Pet");
  text = replaced(text, "{PARAMETER}", row.inSchemaPlace ? "#/components/parameters/Limit" : row.ref);
  EXPECT_EQ(refMessages(text), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckReferenceTest,
    testing::Values(
        CheckRow{"schema_in_schema_place", "#/components/schemas/Pet", true, {}},
        CheckRow{"schema_in_parameter_place",
                 "#/components/schemas/Pet",
                 false,
                 {"[REF-004] Reference type mismatch: '#/components/schemas/Pet' references a schemas but is used "
                  "where a parameters is expected."}},
        CheckRow{"missing_schema_in_parameter_place_gives_ref002_then_ref004",
                 "#/components/schemas/Missing",
                 false,
                 {"[REF-002] Reference target does not exist: '#/components/schemas/Missing'. Component 'Missing' not "
                  "found in components/schemas.",
                  "[REF-004] Reference type mismatch: '#/components/schemas/Missing' references a schemas but is used "
                  "where a parameters is expected."}},
        CheckRow{"definitions",
                 "#/definitions/Pet",
                 true,
                 {"[REF-001] Invalid reference format: '#/definitions/Pet'. Local references must point to "
                  "components."}},
        CheckRow{"components_only",
                 "#/components",
                 true,
                 {"[REF-001] Invalid reference format: '#/components'. Reference path is too short."}},
        CheckRow{"bare_root", "#/", true, {"[REF-001] Invalid reference format: '#/'. Reference path is too short."}},
        CheckRow{"only_slashes", "#////", true,
                 {"[REF-001] Invalid reference format: '#////'. Reference path is too short."}},
        CheckRow{"section_without_name",
                 "#/components/schemas",
                 true,
                 {"[REF-001] Invalid reference format: '#/components/schemas'. Component name is missing."}},
        CheckRow{"section_with_final_slash",
                 "#/components/schemas/",
                 true,
                 {"[REF-001] Invalid reference format: '#/components/schemas/'. Component name is missing."}},
        CheckRow{"empty_pieces_are_dropped", "#/components//schemas/Pet", true, {}},
        CheckRow{"pieces_after_the_name_are_ignored", "#/components/schemas/Pet/properties/id", true, {}},
        CheckRow{"escaped_slash", "#/components/schemas/a~1b", true, {}},
        CheckRow{"escaped_tilde", "#/components/schemas/a~0b", true, {}},
        CheckRow{"tilde_zero_one_is_tilde_one", "#/components/schemas/~01", true, {}},
        CheckRow{"unescaped_name_reported",
                 "#/components/schemas/x~1y~0z",
                 true,
                 {"[REF-002] Reference target does not exist: '#/components/schemas/x~1y~0z'. Component 'x/y~z' not "
                  "found in components/schemas."}},
        CheckRow{"without_components",
                 "#/components/schemas/Pet",
                 true,
                 {"[REF-002] Reference target does not exist: '#/components/parameters/Limit'. Component 'Limit' not "
                  "found in components/parameters.",
                  "[REF-002] Reference target does not exist: '#/components/schemas/Pet'. Component 'Pet' not found in "
                  "components/schemas."},
                 true},
        CheckRow{"examples_are_never_registered",
                 "#/components/examples/E",
                 true,
                 {"[REF-002] Reference target does not exist: '#/components/examples/E'. Component 'E' not found in "
                  "components/examples.",
                  "[REF-004] Reference type mismatch: '#/components/examples/E' references a examples but is used "
                  "where a schemas is expected."}},
        CheckRow{"relative_file",
                 "common.yaml#/Pet",
                 true,
                 {"[REF-001] Invalid reference format: 'common.yaml#/Pet'. References must start with '#/' for local "
                  "refs or a URL scheme for external refs."}},
        CheckRow{"empty_text",
                 "",
                 true,
                 {"[REF-001] Invalid reference format: ''. References must start with '#/' for local refs or a URL "
                  "scheme for external refs."}},
        CheckRow{"https_unchecked", "https://example.com/s.json#/components/schemas/Nope", true, {}},
        CheckRow{"http_unchecked", "http://example.com/s.json", true, {}},
        CheckRow{"file_unchecked", "file:///tmp/s.json", true, {}},
        CheckRow{"anchor_unchecked", "#pet", true, {}},
        CheckRow{"other_scheme_is_malformed",
                 "ftp://example.com/s.json",
                 true,
                 {"[REF-001] Invalid reference format: 'ftp://example.com/s.json'. References must start with '#/' for "
                  "local refs or a URL scheme for external refs."}}),
    [](const testing::TestParamInfo<CheckRow>& info) { return std::string(info.param.name); });

TEST(ReferenceRules, FindingIsPlacedAtTheReference) {
  std::string text = replaced(kCheckDocument, "{COMPONENTS}", kDeclared);
  text = replaced(text, "{SCHEMA}", "#/components/schemas/Missing");
  text = replaced(text, "{PARAMETER}", "#/components/parameters/Limit");
  const auto found = withCodes(validateYaml(text, true), kRefCodes);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(CarvexTest::where(found[0]), "/paths/~1a/get/responses/200/content/application~1json/schema/$ref 13:30");
  EXPECT_EQ(found[0].severity(), VoziZazIreCore::DiagnosticSeverity::error);
  EXPECT_FALSE(found[0].context());
}

TEST(ReferenceRules, NoFindingWithoutReferenceChecks) {
  std::string text = replaced(kCheckDocument, "{COMPONENTS}", "");
  text = replaced(replaced(text, "{SCHEMA}", "bad"), "{PARAMETER}", "bad");
  EXPECT_EQ(messages(withCodes(validateYaml(text, false), kRefCodes)), std::vector<std::string>{});
}

// ---------------------------------------------------------------------------------------------------------
// The walk: which places are visited, in which order. Every visited reference here is malformed, so each
// gives one REF-001 naming its text; "n*" references sit in places that must not be visited.

std::vector<std::string> malformedInOrder(const std::string& text) {
  std::vector<std::string> refs;
  for (const auto& message : refMessages(text)) {
    const auto open = message.find('\'');
    refs.push_back(message.substr(open + 1, message.find('\'', open + 1) - open - 1));
  }
  return refs;
}

TEST(ReferenceWalk, PlacesAndOrder30) {
  const std::string text =
      "openapi: 3.0.3\n"
      "info: {title: t, version: '1'}\n"
      "paths:\n"
      "  /a:\n"
      "    $ref: n0\n"
      "    parameters:\n"
      "      - $ref: p1\n"
      "      - {name: x, in: query, schema: {$ref: n1}}\n"
      "    post:\n"
      "      requestBody:\n"
      "        content:\n"
      "          application/json: {schema: {$ref: p13}}\n"
      "      responses: {'200': {description: ok}}\n"
      "    get:\n"
      "      callbacks:\n"
      "        cb: {$ref: p12}\n"
      "        inline: {'{$request.body#/url}': {post: {requestBody: {$ref: n2}, responses: {}}}}\n"
      "      parameters:\n"
      "        - $ref: p2\n"
      "        - {name: y, in: query, schema: {$ref: p3}}\n"
      "        - {name: z, in: query, schema: {properties: {a: {$ref: n3}}}}\n"
      "        - {name: w, in: query, content: {a/b: {schema: {$ref: n4}}}}\n"
      "      requestBody: {$ref: p4}\n"
      "      responses:\n"
      "        default: {$ref: p5}\n"
      "        '200':\n"
      "          description: ok\n"
      "          links:\n"
      "            L: {$ref: p11}\n"
      "          headers:\n"
      "            H: {$ref: p10}\n"
      "            H2: {schema: {$ref: n5}}\n"
      "          content:\n"
      "            application/json:\n"
      "              schema: {$ref: p6}\n"
      "              examples: {e: {$ref: n6}}\n"
      "              encoding: {a: {headers: {h: {$ref: n7}}}}\n"
      "            text/plain:\n"
      "              schema:\n"
      "                not: {$ref: p9}\n"
      "                allOf: [{$ref: p8}]\n"
      "                properties: {a: {$ref: p7}}\n"
      "components:\n"
      "  securitySchemes: {Sec: {$ref: n8}}\n"
      "  callbacks: {Cb: {$ref: n9}}\n"
      "  links: {Ln: {$ref: n10}}\n"
      "  examples: {Ex: {$ref: n11}}\n"
      "  headers: {Hd: {schema: {$ref: n12}}}\n"
      "  requestBodies:\n"
      "    Body: {content: {a/b: {schema: {$ref: c3}}}}\n"
      "  parameters:\n"
      "    Par: {name: a, in: query, schema: {$ref: c2}}\n"
      "    ParRef: {$ref: n13}\n"
      "  responses:\n"
      "    Resp: {description: d, content: {a/b: {schema: {$ref: c1}}}}\n"
      "    RespRef: {$ref: n14}\n"
      "  schemas:\n"
      "    Ref: {$ref: n15}\n"
      "    S:\n"
      "      not: {$ref: s7}\n"
      "      oneOf: [{$ref: s6}]\n"
      "      anyOf: [{$ref: s5}]\n"
      "      allOf: [{$ref: s4}, {properties: {deep: {items: {$ref: s4b}}}}]\n"
      "      additionalProperties: {$ref: s3}\n"
      "      items: {$ref: s2}\n"
      "      properties: {a: {$ref: s1}, b: {type: string}, c: {$ref: s1b}}\n"
      "    T: {additionalProperties: true, items: {not: {$ref: t1}}}\n";
  EXPECT_EQ(malformedInOrder(text),
            (std::vector<std::string>{"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9", "p10", "p11", "p12",
                                      "p13", "s1", "s1b", "s2", "s3", "s4", "s4b", "s5", "s6", "s7", "t1", "c1",
                                      "c2", "c3"}));
}

TEST(ReferenceWalk, PlacesAndOrder31) {
  const std::string text =
      "openapi: 3.1.0\n"
      "info: {title: t, version: '1'}\n"
      "paths:\n"
      "  /a:\n"
      "    get:\n"
      "      responses:\n"
      "        '200':\n"
      "          description: ok\n"
      "          content:\n"
      "            application/json:\n"
      "              schema:\n"
      "                else: {$ref: a9}\n"
      "                then: {$ref: a8}\n"
      "                if: {$ref: a7}\n"
      "                not: {$ref: a6}\n"
      "                oneOf: [{$ref: a5}]\n"
      "                additionalProperties: {$ref: a4}\n"
      "                prefixItems: [{$ref: a3}, {$ref: a3b}]\n"
      "                items: {$ref: a2}\n"
      "                properties: {a: {$ref: a1}}\n"
      "                contains: {$ref: n1}\n"
      "                unevaluatedItems: {$ref: n2}\n"
      "                patternProperties: {x: {$ref: n3}}\n"
      "                propertyNames: {$ref: n4}\n"
      "                unevaluatedProperties: {$ref: n5}\n"
      "                dependentSchemas: {x: {$ref: n6}}\n"
      "                contentSchema: {$ref: n7}\n"
      "webhooks:\n"
      "  inline:\n"
      "    post:\n"
      "      requestBody: {$ref: w2}\n"
      "      responses: {'200': {description: ok}}\n"
      "  byRef: {$ref: w1}\n"
      "components:\n"
      "  pathItems:\n"
      "    Item:\n"
      "      parameters: [{$ref: c1}]\n"
      "    ItemRef: {$ref: n8}\n";
  EXPECT_EQ(malformedInOrder(text), (std::vector<std::string>{"a1", "a2", "a3", "a3b", "a4", "a5", "a6", "a7", "a8",
                                                             "a9", "w2", "w1", "c1"}));
}

TEST(ReferenceWalk, DefaultResponseIsVisitedOnce) {
  const std::string text =
      "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get:\n      responses:\n"
      "        default: {$ref: '#/components/responses/Missing'}\n";
  EXPECT_EQ(refMessages(text), std::vector<std::string>{"[REF-002] Reference target does not exist: "
                                                        "'#/components/responses/Missing'. Component 'Missing' not "
                                                        "found in components/responses."});
}

// The section each place expects, seen through REF-004 on a reference into the undeclared section "zzz".
struct SectionRow {
  const char* name;
  const char* document;  // "{REF}" marks the reference
  const char* expected;
};

void PrintTo(const SectionRow& row, std::ostream* os) { *os << row.name; }

class ExpectedSectionTest : public testing::TestWithParam<SectionRow> {};

TEST_P(ExpectedSectionTest, Mismatch) {
  const std::string ref = "#/components/zzz/X";
  const std::string text = replaced(GetParam().document, "{REF}", ref);
  EXPECT_EQ(refMessages(text),
            (std::vector<std::string>{
                "[REF-002] Reference target does not exist: '" + ref + "'. Component 'X' not found in components/zzz.",
                "[REF-004] Reference type mismatch: '" + ref + "' references a zzz but is used where a " +
                    GetParam().expected + " is expected.",
            }));
}

#define OP30(body) \
  "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get:\n" body
#define RESPONSES "      responses: {'200': {description: ok}}\n"

INSTANTIATE_TEST_SUITE_P(
    Rows, ExpectedSectionTest,
    testing::Values(
        SectionRow{"path_item_parameter",
                   "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    parameters: [{$ref: '{REF}'}]\n",
                   "parameters"},
        SectionRow{"operation_parameter", OP30("      parameters: [{$ref: '{REF}'}]\n" RESPONSES), "parameters"},
        SectionRow{"parameter_schema",
                   OP30("      parameters: [{name: a, in: query, schema: {$ref: '{REF}'}}]\n" RESPONSES), "schemas"},
        SectionRow{"request_body", OP30("      requestBody: {$ref: '{REF}'}\n" RESPONSES), "requestBodies"},
        SectionRow{"request_body_schema",
                   OP30("      requestBody: {content: {a/b: {schema: {$ref: '{REF}'}}}}\n" RESPONSES), "schemas"},
        SectionRow{"response", OP30("      responses: {'200': {$ref: '{REF}'}}\n"), "responses"},
        SectionRow{"response_header",
                   OP30("      responses: {'200': {description: ok, headers: {H: {$ref: '{REF}'}}}}\n"), "headers"},
        SectionRow{"response_link", OP30("      responses: {'200': {description: ok, links: {L: {$ref: '{REF}'}}}}\n"),
                   "links"},
        SectionRow{"callback", OP30("      callbacks: {cb: {$ref: '{REF}'}}\n" RESPONSES), "callbacks"},
        SectionRow{"nested_schema",
                   "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n"
                   "    S: {properties: {a: {$ref: '{REF}'}}}\n",
                   "schemas"},
        SectionRow{"webhook",
                   "openapi: 3.1.0\ninfo: {title: t, version: '1'}\npaths: {}\nwebhooks:\n  w: {$ref: '{REF}'}\n",
                   "pathItems"}),
    [](const testing::TestParamInfo<SectionRow>& info) { return std::string(info.param.name); });

#undef OP30
#undef RESPONSES

// ---------------------------------------------------------------------------------------------------------
// REF-003: cycles among the component schemas through composition.

std::string withSchemas(std::string_view schemas, std::string_view version = "3.0.3") {
  return "openapi: " + std::string(version) + "\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n" +
         std::string(schemas);
}

struct CycleRow {
  const char* name;
  const char* schemas;
  std::vector<std::string> expected;  // the REF-003 messages
};

void PrintTo(const CycleRow& row, std::ostream* os) { *os << row.name; }

class CycleTest : public testing::TestWithParam<CycleRow> {};

TEST_P(CycleTest, Report) {
  for (const char* version : {"3.0.3", "3.1.0"})
    EXPECT_EQ(messages(withCodes(validateYaml(withSchemas(GetParam().schemas, version), true), {"REF-003"})),
              GetParam().expected)
        << version;
}

const std::string kCycle = "[REF-003] Circular reference detected in schema composition: ";

INSTANTIATE_TEST_SUITE_P(
    Rows, CycleTest,
    testing::Values(
        CycleRow{"lead_in_is_part_of_the_chain",
                 "    Pet: {allOf: [{$ref: '#/components/schemas/Owner'}]}\n"
                 "    Owner: {oneOf: [{$ref: '#/components/schemas/Home'}]}\n"
                 "    Home: {anyOf: [{$ref: '#/components/schemas/Owner'}]}\n",
                 {kCycle + "Pet -> Owner -> Home -> Owner"}},
        CycleRow{"self_reference", "    Pet: {allOf: [{$ref: '#/components/schemas/Pet'}]}\n", {kCycle + "Pet -> Pet"}},
        CycleRow{"two_cycles_report_one",
                 "    A: {allOf: [{$ref: '#/components/schemas/A'}]}\n"
                 "    B: {allOf: [{$ref: '#/components/schemas/B'}]}\n",
                 {kCycle + "A -> A"}},
        CycleRow{"properties_and_items_do_not_count",
                 "    A: {properties: {b: {$ref: '#/components/schemas/B'}}}\n"
                 "    B: {items: {$ref: '#/components/schemas/A'}, not: {$ref: '#/components/schemas/A'}}\n",
                 {}},
        CycleRow{"bare_reference_component_is_an_edge",
                 "    A: {$ref: '#/components/schemas/B'}\n"
                 "    B: {oneOf: [{type: string}, {$ref: '#/components/schemas/A'}]}\n",
                 {kCycle + "A -> B -> A"}},
        CycleRow{"inline_composition_is_followed",
                 "    A: {allOf: [{anyOf: [{oneOf: [{$ref: '#/components/schemas/B'}]}]}]}\n"
                 "    B: {allOf: [{$ref: '#/components/schemas/A'}]}\n",
                 {kCycle + "A -> B -> A"}},
        CycleRow{"acyclic_diamond",
                 "    A: {allOf: [{$ref: '#/components/schemas/B'}, {$ref: '#/components/schemas/C'}]}\n"
                 "    B: {allOf: [{$ref: '#/components/schemas/D'}]}\n"
                 "    C: {allOf: [{$ref: '#/components/schemas/D'}]}\n"
                 "    D: {type: string}\n",
                 {}},
        CycleRow{"visited_nodes_are_not_searched_again",
                 "    A: {allOf: [{$ref: '#/components/schemas/B'}]}\n"
                 "    B: {type: string}\n"
                 "    C: {allOf: [{$ref: '#/components/schemas/B'}, {$ref: '#/components/schemas/C'}]}\n",
                 {kCycle + "C -> C"}},
        CycleRow{"missing_target_ends_the_path",
                 "    A: {allOf: [{$ref: '#/components/schemas/Missing'}, {$ref: '#/components/parameters/A'}]}\n", {}},
        CycleRow{"reference_into_a_schema_ends_the_path",
                 "    A: {allOf: [{$ref: '#/components/schemas/A/properties/x'}]}\n", {}},
        CycleRow{"external_reference_ends_the_path", "    A: {allOf: [{$ref: 'other.yaml#/components/schemas/A'}]}\n",
                 {}},
        // Regression: the edge of an escaped name once matched no node, so this cycle went unreported.
        CycleRow{"escaped_name_closes_the_cycle",
                 "    a/b: {allOf: [{$ref: '#/components/schemas/c~0d'}]}\n"
                 "    c~d: {allOf: [{$ref: '#/components/schemas/a~1b'}]}\n",
                 {kCycle + "a/b -> c~d -> a/b"}}),
    [](const testing::TestParamInfo<CycleRow>& info) { return std::string(info.param.name); });

TEST(ReferenceCycle, PlacedAtTheFirstSchemaWithoutRangeAndBeforeOtherReferenceFindings) {
  const std::string text =
      "openapi: 3.0.3\ninfo: {title: t, version: '1'}\n"
      "paths:\n  /a:\n    get:\n      parameters: [{$ref: '#/components/parameters/Missing'}]\n"
      "      responses: {'200': {description: ok}}\n"
      "components:\n  schemas:\n"
      "    Pet: {allOf: [{$ref: '#/components/schemas/Pet'}, {$ref: bad}]}\n";
  const auto found = withCodes(validateYaml(text, true), kRefCodes);
  EXPECT_EQ(described(found),
            (std::vector<std::string>{
                "error " + kCycle + "Pet -> Pet @ #/components/schemas/Pet 0:0",
                "error [REF-002] Reference target does not exist: '#/components/parameters/Missing'. Component "
                "'Missing' not found in components/parameters. @ /paths/~1a/get/parameters/0/$ref 6:27",
                "error [REF-001] Invalid reference format: 'bad'. References must start with '#/' for local refs or a "
                "URL scheme for external refs. @ /components/schemas/Pet/allOf/1/$ref 10:62",
            }));
  ASSERT_FALSE(found.empty());
  EXPECT_FALSE(found[0].range());
}

// A chain of 10,000 schemas, each composing the next: the search keeps its own stack.
std::string chainOfSchemas(int length, bool closed) {
  std::string schemas;
  for (int i = 0; i < length; ++i) {
    const int next = i + 1 < length ? i + 1 : 0;
    schemas += "    S" + std::to_string(i) + ":\n      allOf:\n";
    if (i + 1 < length || closed) schemas += "        - $ref: '#/components/schemas/S" + std::to_string(next) + "'\n";
    else schemas += "        - type: string\n";
  }
  return withSchemas(schemas);
}

TEST(ReferenceCycle, TenThousandLongChainWithoutCycle) {
  EXPECT_EQ(refMessages(chainOfSchemas(10000, false)), std::vector<std::string>{});
}

TEST(ReferenceCycle, TenThousandLongCycle) {
  const auto found = refMessages(chainOfSchemas(10000, true));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(found[0].starts_with(kCycle + "S0 -> S1 -> S2 -> "));
  EXPECT_TRUE(found[0].ends_with(" -> S9998 -> S9999 -> S0"));
}

TEST(ReferenceCycle, GraphSearchOnAVeryLongChain) {
  VoziZazIreValidation::ReferenceGraph graph;
  constexpr int length = 200000;
  for (int i = 0; i < length; ++i) {
    std::string name(1, 'S');
    name += std::to_string(i);
    std::string edge = "#/components/schemas/S";
    edge += std::to_string((i + 1) % length);
    graph.addNode(name, {std::move(edge)});
  }
  const auto finding = graph.findCycle();
  ASSERT_TRUE(finding);
  EXPECT_EQ(*finding->jsonPointer(), "#/components/schemas/S0");
  EXPECT_TRUE(finding->message().ends_with(" -> S199999 -> S0"));
}

}  // namespace

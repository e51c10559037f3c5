#include <gtest/gtest.h>

#include "kit/validation/ReferenceGraph.h"
#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::messagesOf;
using CarvexTest::Row;

const CarvexTest::Codes kRefCodes = {"REF-001", "REF-002", "REF-003", "REF-004"};
const std::string kNotLocal = "References must start with '#/' for local refs or a URL scheme for external refs.";
const std::string kCycle = "[REF-003] Circular reference detected in schema composition: ";

std::vector<std::string> refMessages(const std::string& text) { return messagesOf(text, kRefCodes, true); }
std::string malformed(const std::string& ref, const std::string& why) {
  return "[REF-001] Invalid reference format: '" + ref + "'. " + why;
}
std::string missing(const std::string& ref, const std::string& name, const std::string& section) {
  return "[REF-002] Reference target does not exist: '" + ref + "'. Component '" + name + "' not found in components/" +
         section + ".";
}
std::string mismatch(const std::string& ref, const std::string& is, const std::string& expected) {
  return "[REF-004] Reference type mismatch: '" + ref + "' references a " + is + " but is used where a " + expected +
         " is expected.";
}

// One reference in a schema place (line 13) and one in a parameter place (line 7).
std::string checkDocument(const std::string& schemaRef, const std::string& parameterRef, bool withComponents = true) {
  return "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get:\n      parameters:\n"
         "        - $ref: '" +
         parameterRef +
         "'\n      responses:\n        '200':\n          description: ok\n"
         "          content:\n            application/json:\n              schema: {$ref: '" +
         schemaRef + "'}\n" +
         (withComponents ? "components:\n  schemas:\n    Pet: {type: object}\n    a/b: {type: string}\n"
                           "    a~b: {type: string}\n    '~1': {type: string}\n"
                           "  parameters:\n    Limit: {name: limit, in: query}\n  examples:\n    E: {value: 1}\n"
                         : "");
}

// Each row: the reference in the schema place.
class CheckReferenceTest : public CarvexTest::RowTest {};

TEST_P(CheckReferenceTest, Messages) {
  EXPECT_EQ(refMessages(checkDocument(GetParam().input, "#/components/parameters/Limit")), GetParam().expected);
}

const std::string kShort = "Reference path is too short.", kNoName = "Component name is missing.";

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckReferenceTest,
    testing::Values(
        Row{"schema_in_schema_place", "#/components/schemas/Pet", {}},
        Row{"definitions",
            "#/definitions/Pet",
            {malformed("#/definitions/Pet", "Local references must point to components.")}},
        Row{"components_only", "#/components", {malformed("#/components", kShort)}},
        Row{"bare_root", "#/", {malformed("#/", kShort)}}, Row{"only_slashes", "#////", {malformed("#////", kShort)}},
        Row{"section_without_name", "#/components/schemas", {malformed("#/components/schemas", kNoName)}},
        Row{"section_with_final_slash", "#/components/schemas/", {malformed("#/components/schemas/", kNoName)}},
        Row{"empty_pieces_are_dropped", "#/components//schemas/Pet", {}},
        Row{"pieces_after_the_name_are_ignored", "#/components/schemas/Pet/properties/id", {}},
        Row{"escaped_slash", "#/components/schemas/a~1b", {}}, Row{"escaped_tilde", "#/components/schemas/a~0b", {}},
        Row{"tilde_zero_one_is_tilde_one", "#/components/schemas/~01", {}},
        Row{"unescaped_name_reported",
            "#/components/schemas/x~1y~0z",
            {missing("#/components/schemas/x~1y~0z", "x/y~z", "schemas")}},
        Row{"examples_are_never_registered",
            "#/components/examples/E",
            {missing("#/components/examples/E", "E", "examples"),
             mismatch("#/components/examples/E", "examples", "schemas")}},
        Row{"relative_file", "common.yaml#/Pet", {malformed("common.yaml#/Pet", kNotLocal)}},
        Row{"empty_text", "", {malformed("", kNotLocal)}},
        Row{"https_unchecked", "https://example.com/s.json#/components/schemas/Nope", {}},
        Row{"http_unchecked", "http://example.com/s.json", {}}, Row{"file_unchecked", "file:///tmp/s.json", {}},
        Row{"anchor_unchecked", "#pet", {}},
        Row{"other_scheme_is_malformed",
            "ftp://example.com/s.json",
            {malformed("ftp://example.com/s.json", kNotLocal)}}),
    CarvexTest::rowName);

TEST(ReferenceRules, SchemaInAParameterPlaceIsAMismatchAfterItsMissingTarget) {
  EXPECT_EQ(refMessages(checkDocument("#/components/schemas/Pet", "#/components/schemas/Pet")),
            std::vector<std::string>{"[REF-004] Reference type mismatch: '#/components/schemas/Pet' references a "
                                     "schemas but is used where a parameters is expected."});
  EXPECT_EQ(refMessages(checkDocument("#/components/schemas/Pet", "#/components/schemas/Missing")),
            (std::vector<std::string>{missing("#/components/schemas/Missing", "Missing", "schemas"),
                                      mismatch("#/components/schemas/Missing", "schemas", "parameters")}));
}

TEST(ReferenceRules, WithoutComponentsEveryLocalReferenceIsMissingAndWithoutChecksNothingIsReported) {
  const std::string text = checkDocument("#/components/schemas/Pet", "#/components/parameters/Limit", false);
  EXPECT_EQ(refMessages(text),
            (std::vector<std::string>{
                "[REF-002] Reference target does not exist: '#/components/parameters/Limit'. Component 'Limit' not "
                "found in components/parameters.",
                missing("#/components/schemas/Pet", "Pet", "schemas")}));
  EXPECT_EQ(messagesOf(checkDocument("bad", "bad", false), kRefCodes, false), std::vector<std::string>{});
}

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
  const std::string text = R"(openapi: 3.0.3
info: {title: t, version: '1'}
paths:
  /a:
    $ref: n0
    parameters: [{$ref: p1}, {name: x, in: query, schema: {$ref: n1}}]
    post: {requestBody: {content: {application/json: {schema: {$ref: p13}}}}, responses: {'200': {description: ok}}}
    get:
      callbacks: {cb: {$ref: p12}, inline: {'{$request.body#/url}': {post: {requestBody: {$ref: n2}, responses: {}}}}}
      parameters:
        - $ref: p2
        - {name: y, in: query, schema: {$ref: p3}}
        - {name: z, in: query, schema: {properties: {a: {$ref: n3}}}}
        - {name: w, in: query, content: {a/b: {schema: {$ref: n4}}}}
      requestBody: {$ref: p4}
      responses:
        default: {$ref: p5}
        '200':
          description: ok
          links: {L: {$ref: p11}}
          headers: {H: {$ref: p10}, H2: {schema: {$ref: n5}}}
          content:
            application/json: {schema: {$ref: p6}, examples: {e: {$ref: n6}}, encoding: {a: {headers: {h: {$ref: n7}}}}}
            text/plain: {schema: {not: {$ref: p9}, allOf: [{$ref: p8}], properties: {a: {$ref: p7}}}}
components:
  securitySchemes: {Sec: {$ref: n8}}
  callbacks: {Cb: {$ref: n9}}
  links: {Ln: {$ref: n10}}
  examples: {Ex: {$ref: n11}}
  headers: {Hd: {schema: {$ref: n12}}}
  requestBodies: {Body: {content: {a/b: {schema: {$ref: c3}}}}}
  parameters: {Par: {name: a, in: query, schema: {$ref: c2}}, ParRef: {$ref: n13}}
  responses: {Resp: {description: d, content: {a/b: {schema: {$ref: c1}}}}, RespRef: {$ref: n14}}
  schemas:
    Ref: {$ref: n15}
    S: {not: {$ref: s7}, oneOf: [{$ref: s6}], anyOf: [{$ref: s5}],
        allOf: [{$ref: s4}, {properties: {deep: {items: {$ref: s4b}}}}], additionalProperties: {$ref: s3},
        items: {$ref: s2}, properties: {a: {$ref: s1}, b: {type: string}, c: {$ref: s1b}}}
    T: {additionalProperties: true, items: {not: {$ref: t1}}}
)";
  EXPECT_EQ(malformedInOrder(text), (std::vector<std::string>{"p1",  "p2",  "p3",  "p4",  "p5", "p6",  "p7", "p8", "p9",
                                                              "p10", "p11", "p12", "p13", "s1", "s1b", "s2", "s3", "s4",
                                                              "s4b", "s5",  "s6",  "s7",  "t1", "c1",  "c2", "c3"}));
}

TEST(ReferenceWalk, PlacesAndOrder31) {
  const std::string text = R"(openapi: 3.1.0
info: {title: t, version: '1'}
paths:
  /a:
    get:
      responses:
        '200':
          description: ok
          content:
            application/json:
              schema: {else: {$ref: a9}, then: {$ref: a8}, if: {$ref: a7}, not: {$ref: a6}, oneOf: [{$ref: a5}],
                additionalProperties: {$ref: a4}, prefixItems: [{$ref: a3}, {$ref: a3b}], items: {$ref: a2},
                properties: {a: {$ref: a1}}, contains: {$ref: n1}, unevaluatedItems: {$ref: n2},
                patternProperties: {x: {$ref: n3}}, propertyNames: {$ref: n4}, unevaluatedProperties: {$ref: n5},
                dependentSchemas: {x: {$ref: n6}}, contentSchema: {$ref: n7}}
webhooks:
  inline: {post: {requestBody: {$ref: w2}, responses: {'200': {description: ok}}}}
  byRef: {$ref: w1}
components:
  pathItems: {Item: {parameters: [{$ref: c1}]}, ItemRef: {$ref: n8}}
)";
  EXPECT_EQ(malformedInOrder(text),
            (std::vector<std::string>{"a1", "a2", "a3", "a3b", "a4", "a5", "a6", "a7", "a8", "a9", "w2", "w1", "c1"}));
}

// The section each place expects, seen through REF-004 on a reference into the undeclared section "zzz";
// the default response is visited once.
class ExpectedSectionTest : public testing::TestWithParam<CarvexTest::Row> {};

TEST_P(ExpectedSectionTest, Mismatch) {
  const std::string ref = "#/components/zzz/X";
  std::string text = GetParam().input;
  text.replace(text.find("{REF}"), 5, ref);
  EXPECT_EQ(refMessages(text),
            (std::vector<std::string>{missing(ref, "X", "zzz"), mismatch(ref, "zzz", GetParam().expected[0])}));
}

#define OP30(body) "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get:\n" body
#define RESPONSES "      responses: {'200': {description: ok}}\n"

INSTANTIATE_TEST_SUITE_P(
    Rows, ExpectedSectionTest,
    testing::Values(
        Row{"path_item_parameter",
            "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    parameters: [{$ref: '{REF}'}]\n",
            {"parameters"}},
        Row{"operation_parameter", OP30("      parameters: [{$ref: '{REF}'}]\n" RESPONSES), {"parameters"}},
        Row{"parameter_schema",
            OP30("      parameters: [{name: a, in: query, schema: {$ref: '{REF}'}}]\n" RESPONSES),
            {"schemas"}},
        Row{"request_body", OP30("      requestBody: {$ref: '{REF}'}\n" RESPONSES), {"requestBodies"}},
        Row{"request_body_schema",
            OP30("      requestBody: {content: {a/b: {schema: {$ref: '{REF}'}}}}\n" RESPONSES),
            {"schemas"}},
        Row{"response", OP30("      responses: {'200': {$ref: '{REF}'}}\n"), {"responses"}},
        Row{"default_response", OP30("      responses: {default: {$ref: '{REF}'}}\n"), {"responses"}},
        Row{"response_header",
            OP30("      responses: {'200': {description: ok, headers: {H: {$ref: '{REF}'}}}}\n"),
            {"headers"}},
        Row{"response_link",
            OP30("      responses: {'200': {description: ok, links: {L: {$ref: '{REF}'}}}}\n"),
            {"links"}},
        Row{"callback", OP30("      callbacks: {cb: {$ref: '{REF}'}}\n" RESPONSES), {"callbacks"}},
        Row{"nested_schema",
            "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n"
            "    S: {properties: {a: {$ref: '{REF}'}}}\n",
            {"schemas"}},
        Row{"webhook",
            "openapi: 3.1.0\ninfo: {title: t, version: '1'}\npaths: {}\nwebhooks:\n  w: {$ref: '{REF}'}\n",
            {"pathItems"}}),
    CarvexTest::rowName);

#undef OP30
#undef RESPONSES

// REF-003: cycles among the component schemas through composition.
std::string withSchemas(std::string_view schemas, std::string_view version = "3.0.3") {
  return "openapi: " + std::string(version) + "\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n" +
         std::string(schemas);
}

class CycleTest : public testing::TestWithParam<CarvexTest::Row> {};

TEST_P(CycleTest, Report) {
  for (const char* version : {"3.0.3", "3.1.0"})
    EXPECT_EQ(messagesOf(withSchemas(GetParam().input, version), {"REF-003"}, true), GetParam().expected) << version;
}

// "{$ref: '#/components/schemas/<name>'}"
std::string to(const std::string& name) { return "{$ref: '#/components/schemas/" + name + "'}"; }

INSTANTIATE_TEST_SUITE_P(
    Rows, CycleTest,
    testing::Values(Row{"lead_in_is_part_of_the_chain",
                        "    Pet: {allOf: [" + to("Owner") + "]}\n    Owner: {oneOf: [" + to("Home") +
                            "]}\n    Home: {anyOf: [" + to("Owner") + "]}\n",
                        {kCycle + "Pet -> Owner -> Home -> Owner"}},
                    Row{"two_cycles_report_one",
                        "    A: {allOf: [" + to("A") + "]}\n    B: {allOf: [" + to("B") + "]}\n",
                        {kCycle + "A -> A"}},
                    Row{"properties_and_items_do_not_count",
                        "    A: {properties: {b: " + to("B") + "}}\n    B: {items: " + to("A") + ", not: " + to("A") +
                            "}\n",
                        {}},
                    Row{"bare_reference_component_is_an_edge",
                        "    A: " + to("B") + "\n    B: {oneOf: [{type: string}, " + to("A") + "]}\n",
                        {kCycle + "A -> B -> A"}},
                    Row{"inline_composition_is_followed",
                        "    A: {allOf: [{anyOf: [{oneOf: [" + to("B") + "]}]}]}\n    B: {allOf: [" + to("A") + "]}\n",
                        {kCycle + "A -> B -> A"}},
                    Row{"acyclic_diamond",
                        "    A: {allOf: [" + to("B") + ", " + to("C") + "]}\n    B: {allOf: [" + to("D") +
                            "]}\n    C: {allOf: [" + to("D") + "]}\n    D: {type: string}\n",
                        {}},
                    Row{"visited_nodes_are_not_searched_again",
                        "    A: {allOf: [" + to("B") + "]}\n    B: {type: string}\n    C: {allOf: [" + to("B") + ", " +
                            to("C") + "]}\n",
                        {kCycle + "C -> C"}},
                    Row{"dead_ends_end_the_path",
                        "    A: {allOf: [" + to("Missing") + ", {$ref: '#/components/parameters/A'}, " +
                            to("A/properties/x") + ", {$ref: 'other.yaml#/components/schemas/A'}]}\n",
                        {}},
                    // Regression: the edge of an escaped name once matched no node, so this cycle went unreported.
                    Row{"escaped_name_closes_the_cycle",
                        "    a/b: {allOf: [" + to("c~0d") + "]}\n    c~d: {allOf: [" + to("a~1b") + "]}\n",
                        {kCycle + "a/b -> c~d -> a/b"}}),
    CarvexTest::rowName);

TEST(ReferenceCycle, PlacedAtTheFirstSchemaWithoutRangeAndBeforeOtherReferenceFindings) {
  const std::string text =
      "openapi: 3.0.3\ninfo: {title: t, version: '1'}\n"
      "paths:\n  /a:\n    get:\n      parameters: [{$ref: '#/components/parameters/Missing'}]\n"
      "      responses: {'200': {description: ok}}\n"
      "components:\n  schemas:\n"
      "    Pet: {allOf: [{$ref: '#/components/schemas/Pet'}, {$ref: bad}]}\n";
  EXPECT_EQ(CarvexTest::placesOf(text, kRefCodes, true),
            (std::vector<std::string>{
                "error [REF-003] Circular reference detected in schema composition: Pet -> Pet @ "
                "#/components/schemas/Pet 0:0",
                "error [REF-002] Reference target does not exist: '#/components/parameters/Missing'. Component "
                "'Missing' not found in components/parameters. @ /paths/~1a/get/parameters/0/$ref 6:27",
                "error [REF-001] Invalid reference format: 'bad'. References must start with '#/' for local refs or a "
                "URL scheme for external refs. @ /components/schemas/Pet/allOf/1/$ref 10:62",
            }));
  EXPECT_EQ(CarvexTest::placesOf(checkDocument("#/components/schemas/Missing", "#/components/parameters/Limit"),
                                 kRefCodes, true),
            std::vector<std::string>{"error " + missing("#/components/schemas/Missing", "Missing", "schemas") +
                                     " @ /paths/~1a/get/responses/200/content/application~1json/schema/$ref 13:30"});
}

// A chain of 10,000 schemas, each composing the next, open or closed: the search keeps its own stack.
std::string chainOfSchemas(int length, bool closed) {
  std::string schemas;
  for (int i = 0; i < length; ++i) {
    schemas += "    S" + std::to_string(i) + ":\n      allOf:\n";
    if (i + 1 < length || closed)
      schemas += "        - $ref: '#/components/schemas/S" + std::to_string(i + 1 < length ? i + 1 : 0) + "'\n";
    else
      schemas += "        - type: string\n";
  }
  return withSchemas(schemas);
}

TEST(ReferenceCycle, TenThousandLongChainWithAndWithoutCycle) {
  EXPECT_EQ(refMessages(chainOfSchemas(10000, false)), std::vector<std::string>{});
  const auto found = refMessages(chainOfSchemas(10000, true));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(found[0].starts_with(kCycle + "S0 -> S1 -> S2 -> "));
  EXPECT_TRUE(found[0].ends_with(" -> S9998 -> S9999 -> S0"));
}

TEST(ReferenceCycle, GraphSearchOnAVeryLongChain) {
  VoziZazIreValidation::ReferenceGraph graph;
  constexpr int length = 200000;
  for (int i = 0; i < length; ++i) {
    std::string name(1, 'S'), edge = "#/components/schemas/S";  // (appending keeps g++ 12's -Wrestrict quiet)
    name += std::to_string(i);
    edge += std::to_string((i + 1) % length);
    graph.addNode(name, {std::move(edge)});
  }
  const auto finding = graph.findCycle();
  ASSERT_TRUE(finding);
  EXPECT_EQ(*finding->jsonPointer(), "#/components/schemas/S0");
  EXPECT_TRUE(finding->message().ends_with(" -> S199999 -> S0"));
}

}  // namespace

#include <gtest/gtest.h>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::messagesOf;
using CarvexTest::placesOf;
using CarvexTest::Row;

const CarvexTest::Codes kSchemaCodes = {"SCH-001", "SCH-002", "SCH-003", "SCH-004", "SCH-005", "SCH-006",
                                        "SCH-007", "SCH-008", "SCH-009", "SCH-010", "SCH-011", "SCH-013"};

// A description whose components declare the given schemas (YAML lines indented by four spaces).
std::string withSchemas(std::string_view schemas, std::string_view version = "3.0.3") {
  return "openapi: " + std::string(version) + "\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n" +
         std::string(schemas);
}

class SchemaRuleTest : public CarvexTest::RowTest {};

TEST_P(SchemaRuleTest, Messages) {
  for (const std::string& version : CarvexTest::versionsOf(GetParam()))
    EXPECT_EQ(messagesOf(withSchemas("    S: " + GetParam().input + "\n", version), kSchemaCodes), GetParam().expected)
        << version;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SchemaRuleTest,
    testing::Values(
        Row{"every_check_in_order",
            "{minLength: -1, maxLength: -2, minimum: 3, maximum: 1, minItems: -1, maxItems: -2, minProperties: -1, "
            "maxProperties: -2, multipleOf: 0, pattern: '(', type: array, enum: [1], default: 2}",
            {"[SCH-001] minLength must be >= 0, got -1", "[SCH-002] maxLength (-2) must be >= minLength (-1)",
             "[SCH-003] minimum (3.0) must be <= maximum (1.0)", "[SCH-004] minItems must be >= 0, got -1",
             "[SCH-005] maxItems (-2) must be >= minItems (-1)", "[SCH-006] minProperties must be >= 0, got -1",
             "[SCH-007] maxProperties (-2) must be >= minProperties (-1)", "[SCH-008] multipleOf must be > 0, got 0.0",
             "[SCH-009] Invalid regex pattern: (", "[SCH-011] Schema with type 'array' must have 'items' defined",
             "[SCH-010] default value is not in enum values"}},
        Row{"max_length_below_min_length",
            "{minLength: 10, maxLength: 2}",
            {"[SCH-002] maxLength (2) must be >= minLength (10)"}},
        Row{"equal_bounds_are_fine",
            "{minLength: 3, maxLength: 3, minimum: 2, maximum: 2, minItems: 1, maxItems: 1, minProperties: 4, "
            "maxProperties: 4}",
            {}},
        Row{"upper_bounds_without_lower_bounds", "{maxLength: -1, maximum: -3, maxItems: -1, maxProperties: -1}", {}},
        Row{"minimum_above_maximum_prints_doubles",
            "{minimum: 2.5, maximum: -5}",
            {"[SCH-003] minimum (2.5) must be <= maximum (-5.0)"}},
        Row{"multiple_of_negative", "{multipleOf: -2.5}", {"[SCH-008] multipleOf must be > 0, got -2.5"}},
        Row{"multiple_of_positive", "{multipleOf: 0.01}", {}},
        Row{"pattern_unbalanced_bracket", "{pattern: '^[a-z'}", {"[SCH-009] Invalid regex pattern: ^[a-z"}},
        Row{"pattern_icu_syntax_compiles", "{pattern: '^(?<=a)\\p{L}+\\d{2,}$'}", {}},
        Row{"array_and_null_without_items_31",
            "{type: [array, 'null']}",
            {"[SCH-011] Schema with type 'array' must have 'items' defined"},
            2},
        Row{"type_list_without_array_31", "{type: [string, 'null']}", {}, 2},
        Row{"array_with_reference_items", "{type: array, items: {$ref: '#/components/schemas/S'}}", {}},
        Row{"empty_enum_with_default_is_never_sch010", "{enum: [], default: 1}", {"[SCH-013] enum must not be empty"}},
        Row{"default_in_enum", "{enum: [a, b], default: b}", {}},
        Row{"default_object_in_enum", "{enum: [{a: 1}, [1, 2]], default: [1, 2]}", {}},
        Row{"default_without_enum", "{default: c}", {}},
        Row{"not_and_additional_properties_are_not_descended",
            "{not: {minLength: -1}, additionalProperties: {minLength: -1}}",
            {}},
        Row{"subschemas_31_are_not_descended",
            "{prefixItems: [{minLength: -1}], contains: {minLength: -1}, if: {minLength: -1}, "
            "patternProperties: {x: {minLength: -1}}}",
            {},
            2},
        Row{"nan_bounds_fire_nothing", "{minimum: nan, maximum: 1, multipleOf: nan, minLength: 1, maxLength: 2}", {}},
        Row{"nan_maximum_fires_nothing", "{minimum: 1, maximum: nan}", {}},
        Row{"number_word_default_is_in_its_enum", "{type: string, enum: [NaN, inf, -Infinity], default: NaN}", {}},
        Row{"number_word_default_not_in_enum",
            "{type: string, enum: [inf], default: nan}",
            {"[SCH-010] default value is not in enum values"}}),
    CarvexTest::rowName);

// The words nan and inf are text in YAML, so they are no bounds at all, and as enum values they equal
// themselves (a not-a-number default was never found in its own enum).
TEST(SchemaRules, NumberWordsAreTextNotBounds) {
  const auto result = CarvexTest::parseYaml(
      withSchemas("    S: {minimum: nan, multipleOf: inf, type: string, enum: [NaN, inf, 1e3], default: NaN}\n"),
      VoziZazIreCore::ValidationLevel::none);
  ASSERT_NE(CarvexTest::document30(result), nullptr);
  const auto* s = CarvexTest::document30(result)->components->schemas->find("S")->inlineValue();
  EXPECT_FALSE(s->minimum);
  EXPECT_FALSE(s->multipleOf);
  ASSERT_TRUE(s->enumValues);
  ASSERT_EQ(s->enumValues->size(), 3u);
  EXPECT_EQ((*s->enumValues)[0], VoziZazIreCore::AnyValue("NaN"));
  EXPECT_EQ((*s->enumValues)[1], VoziZazIreCore::AnyValue("inf"));
  EXPECT_EQ((*s->enumValues)[2].doubleValue(), 1000.0);
}

TEST(SchemaRules, FindingsArePlacedAtTheSchemaWithLineAndColumn) {
  EXPECT_EQ(placesOf(withSchemas("    S:\n      type: object\n      properties:\n        name:\n"
                                 "          minLength: -1\n"),
                     kSchemaCodes),
            std::vector<std::string>{
                "error [SCH-001] minLength must be >= 0, got -1 @ /components/schemas/S/properties/name 10:11"});
}

// Depth first in field order; references are not followed (Bad is checked once, where it is declared).
TEST(SchemaRules, DescentIsDepthFirstInFieldOrderAndDoesNotFollowReferences) {
  const std::string schemas = R"(    S:
      minLength: -1
      oneOf: [{minLength: -8}, {$ref: '#/components/schemas/Bad'}]
      anyOf: [{minLength: -7}]
      allOf: [{minLength: -6}, {properties: {a: {properties: {b: {properties: {c: {minLength: -9}}}}}}}]
      items: {minLength: -5}
      properties:
        p1:
          minLength: -2
          properties: {q: {minLength: -3}}
        p2: {minLength: -4}
        p3: {$ref: '#/components/schemas/Bad'}
    Bad: {minLength: -10}
)";
  for (const char* version : {"3.0.3", "3.1.0"}) {
    std::vector<std::string> pointers;
    for (const auto& finding :
         CarvexTest::withCodes(CarvexTest::validateYaml(withSchemas(schemas, version)), kSchemaCodes))
      pointers.push_back(finding.message().substr(finding.message().rfind(' ') + 1) + " " + *finding.jsonPointer());
    EXPECT_EQ(pointers, (std::vector<std::string>{
                            "-1 /components/schemas/S",
                            "-2 /components/schemas/S/properties/p1",
                            "-3 /components/schemas/S/properties/p1/properties/q",
                            "-4 /components/schemas/S/properties/p2",
                            "-5 /components/schemas/S/items",
                            "-6 /components/schemas/S/allOf/0",
                            "-9 /components/schemas/S/allOf/1/properties/a/properties/b/properties/c",
                            "-7 /components/schemas/S/anyOf/0",
                            "-8 /components/schemas/S/oneOf/0",
                            "-10 /components/schemas/Bad",
                        }))
        << version;
  }
}

// An inline operation parameter's schema gets the schema rules after the parameter's own rules.
TEST(SchemaRules, InlineOperationParameterSchemaIsCheckedAfterTheParameter) {
  const std::string text =
      "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get:\n      parameters:\n"
      "        - {name: q, in: header, allowEmptyValue: true, schema: {type: array}}\n"
      "      responses: {'200': {description: ok}}\n";
  EXPECT_EQ(
      placesOf(text, {"SCH-011", "PRM-004"}),
      (std::vector<std::string>{
          "warning [PRM-004] allowEmptyValue is only valid for query parameters @ /paths/~1a/get/parameters/0 7:11",
          "error [SCH-011] Schema with type 'array' must have 'items' defined @ "
          "/paths/~1a/get/parameters/0/schema 7:64"}));
}

// Deep inline nesting is walked with the rules' own stack: one finding at the innermost schema.
TEST(SchemaRules, DeepNestingDoesNotUseTheCallStack) {
  constexpr int depth = 900;
  std::string schema;
  for (int i = 0; i < depth; ++i) schema += "{items: ";
  schema += "{minLength: -1}" + std::string(depth, '}');
  const auto found =
      CarvexTest::withCodes(CarvexTest::validateYaml(withSchemas("    S: " + schema + "\n", "3.1.0")), kSchemaCodes);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].jsonPointer()->size(), std::string("/components/schemas/S").size() + depth * 6);
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::messages;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;

const std::initializer_list<std::string_view> kSchemaCodes = {"SCH-001", "SCH-002", "SCH-003", "SCH-004",
                                                              "SCH-005", "SCH-006", "SCH-007", "SCH-008",
                                                              "SCH-009", "SCH-010", "SCH-011", "SCH-013"};

// A description whose components declare the given schemas (YAML lines indented by four spaces).
std::string withSchemas(std::string_view schemas, std::string_view version) {
  return "openapi: " + std::string(version) + "\ninfo: {title: t, version: '1'}\npaths: {}\ncomponents:\n  schemas:\n" +
         std::string(schemas);
}

std::vector<std::string> schemaMessages(std::string_view schemas, std::string_view version) {
  return messages(withCodes(validateYaml(withSchemas(schemas, version)), kSchemaCodes));
}

struct SchemaRow {
  const char* name;
  const char* schema;  // the flow mapping of component S
  std::vector<std::string> expected;
  bool only30 = false;
  bool only31 = false;
};

void PrintTo(const SchemaRow& row, std::ostream* os) { *os << row.name; }

class SchemaRuleTest : public testing::TestWithParam<SchemaRow> {};

TEST_P(SchemaRuleTest, Messages) {
  const SchemaRow& row = GetParam();
  const std::string schemas = "    S: " + std::string(row.schema) + "\n";
  if (!row.only31) {
    EXPECT_EQ(schemaMessages(schemas, "3.0.3"), row.expected) << "3.0";
  }
  if (!row.only30) {
    EXPECT_EQ(schemaMessages(schemas, "3.1.0"), row.expected) << "3.1";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SchemaRuleTest,
    testing::Values(
        SchemaRow{"min_length_negative", "{minLength: -1}", {"[SCH-001] minLength must be >= 0, got -1"}},
        SchemaRow{"max_length_below_negative_min_length",
                  "{minLength: -1, maxLength: -5}",
                  {"[SCH-001] minLength must be >= 0, got -1", "[SCH-002] maxLength (-5) must be >= minLength (-1)"}},
        SchemaRow{"max_length_below_min_length", "{minLength: 10, maxLength: 2}",
                  {"[SCH-002] maxLength (2) must be >= minLength (10)"}},
        SchemaRow{"equal_bounds_are_fine",
                  "{minLength: 3, maxLength: 3, minimum: 2, maximum: 2, minItems: 1, maxItems: 1, minProperties: 4, "
                  "maxProperties: 4}",
                  {}},
        SchemaRow{"upper_bounds_without_lower_bounds", "{maxLength: -1, maximum: -3, maxItems: -1, maxProperties: -1}",
                  {}},
        SchemaRow{"minimum_above_maximum_prints_doubles", "{minimum: 2.5, maximum: -5}",
                  {"[SCH-003] minimum (2.5) must be <= maximum (-5.0)"}},
        SchemaRow{"whole_bounds_print_with_fraction", "{minimum: 10, maximum: 1}",
                  {"[SCH-003] minimum (10.0) must be <= maximum (1.0)"}},
        SchemaRow{"items_bounds", "{minItems: -2, maxItems: -3}",
                  {"[SCH-004] minItems must be >= 0, got -2", "[SCH-005] maxItems (-3) must be >= minItems (-2)"}},
        SchemaRow{"properties_bounds", "{minProperties: -1, maxProperties: -4}",
                  {"[SCH-006] minProperties must be >= 0, got -1",
                   "[SCH-007] maxProperties (-4) must be >= minProperties (-1)"}},
        SchemaRow{"multiple_of_zero", "{multipleOf: 0}", {"[SCH-008] multipleOf must be > 0, got 0.0"}},
        SchemaRow{"multiple_of_negative", "{multipleOf: -2.5}", {"[SCH-008] multipleOf must be > 0, got -2.5"}},
        SchemaRow{"multiple_of_positive", "{multipleOf: 0.01}", {}},
        SchemaRow{"pattern_unbalanced_parenthesis", "{pattern: '(ab'}", {"[SCH-009] Invalid regex pattern: (ab"}},
        SchemaRow{"pattern_unbalanced_bracket", "{pattern: '^[a-z'}", {"[SCH-009] Invalid regex pattern: ^[a-z"}},
        SchemaRow{"pattern_icu_syntax_compiles", "{pattern: '^(?<=a)\\p{L}+\\d{2,}$'}", {}},
        SchemaRow{"array_without_items_30", "{type: array}",
                  {"[SCH-011] Schema with type 'array' must have 'items' defined"}, true},
        SchemaRow{"array_without_items_31", "{type: array}",
                  {"[SCH-011] Schema with type 'array' must have 'items' defined"}, false, true},
        SchemaRow{"array_and_null_without_items_31", "{type: [array, 'null']}",
                  {"[SCH-011] Schema with type 'array' must have 'items' defined"}, false, true},
        SchemaRow{"type_list_without_array_31", "{type: [string, 'null']}", {}, false, true},
        SchemaRow{"object_without_items", "{type: object}", {}},
        SchemaRow{"array_with_reference_items", "{type: array, items: {$ref: '#/components/schemas/S'}}", {}},
        SchemaRow{"empty_enum_with_default_is_never_sch010", "{enum: [], default: 1}",
                  {"[SCH-013] enum must not be empty"}},
        SchemaRow{"default_in_enum", "{enum: [a, b], default: b}", {}},
        SchemaRow{"default_object_in_enum", "{enum: [{a: 1}, [1, 2]], default: [1, 2]}", {}},
        SchemaRow{"default_not_in_enum", "{enum: [a, b], default: c}", {"[SCH-010] default value is not in enum values"}},
        SchemaRow{"default_without_enum", "{default: c}", {}},
        SchemaRow{"every_check_in_order",
                  "{minLength: -1, maxLength: -2, minimum: 3, maximum: 1, minItems: -1, maxItems: -2, "
                  "minProperties: -1, maxProperties: -2, multipleOf: 0, pattern: '(', type: array, enum: [1], "
                  "default: 2}",
                  {"[SCH-001] minLength must be >= 0, got -1", "[SCH-002] maxLength (-2) must be >= minLength (-1)",
                   "[SCH-003] minimum (3.0) must be <= maximum (1.0)", "[SCH-004] minItems must be >= 0, got -1",
                   "[SCH-005] maxItems (-2) must be >= minItems (-1)", "[SCH-006] minProperties must be >= 0, got -1",
                   "[SCH-007] maxProperties (-2) must be >= minProperties (-1)",
                   "[SCH-008] multipleOf must be > 0, got 0.0", "[SCH-009] Invalid regex pattern: (",
                   "[SCH-011] Schema with type 'array' must have 'items' defined",
                   "[SCH-010] default value is not in enum values"}},
        SchemaRow{"not_and_additional_properties_are_not_descended",
                  "{not: {minLength: -1}, additionalProperties: {minLength: -1}}", {}},
        SchemaRow{"subschemas_31_are_not_descended",
                  "{prefixItems: [{minLength: -1}], contains: {minLength: -1}, if: {minLength: -1}, "
                  "patternProperties: {x: {minLength: -1}}}",
                  {}, false, true}),
    [](const testing::TestParamInfo<SchemaRow>& info) { return std::string(info.param.name); });

TEST(SchemaRules, FindingsArePlacedAtTheSchemaWithLineAndColumn) {
  const std::string schemas =
      "    S:\n"
      "      type: object\n"
      "      properties:\n"
      "        name:\n"
      "          minLength: -1\n";
  EXPECT_EQ(described(withCodes(validateYaml(withSchemas(schemas, "3.0.3")), kSchemaCodes)),
            std::vector<std::string>{
                "error [SCH-001] minLength must be >= 0, got -1 @ /components/schemas/S/properties/name 10:11"});
}

TEST(SchemaRules, DescentIsDepthFirstInFieldOrder) {
  const std::string schemas =
      "    S:\n"
      "      minLength: -1\n"
      "      oneOf: [{minLength: -8}]\n"
      "      anyOf: [{minLength: -7}]\n"
      "      allOf: [{minLength: -6}]\n"
      "      items: {minLength: -5}\n"
      "      properties:\n"
      "        p1:\n"
      "          minLength: -2\n"
      "          properties: {q: {minLength: -3}}\n"
      "        p2: {minLength: -4}\n";
  const auto found = withCodes(validateYaml(withSchemas(schemas, "3.0.3")), kSchemaCodes);
  std::vector<std::string> pointers;
  for (const auto& finding : found) pointers.push_back(finding.message().substr(finding.message().rfind(' ') + 1) + " " + *finding.jsonPointer());
  EXPECT_EQ(pointers, (std::vector<std::string>{
                          "-1 /components/schemas/S",
                          "-2 /components/schemas/S/properties/p1",
                          "-3 /components/schemas/S/properties/p1/properties/q",
                          "-4 /components/schemas/S/properties/p2",
                          "-5 /components/schemas/S/items",
                          "-6 /components/schemas/S/allOf/0",
                          "-7 /components/schemas/S/anyOf/0",
                          "-8 /components/schemas/S/oneOf/0",
                      }));
}

TEST(SchemaRules, PropertyThreeLevelsInsideAllOfIsChecked) {
  const std::string schemas =
      "    S:\n"
      "      allOf:\n"
      "        - properties:\n"
      "            a:\n"
      "              properties:\n"
      "                b:\n"
      "                  properties:\n"
      "                    c: {minItems: -1}\n";
  for (const char* version : {"3.0.3", "3.1.0"}) {
    const auto found = withCodes(validateYaml(withSchemas(schemas, version)), kSchemaCodes);
    ASSERT_EQ(found.size(), 1u) << version;
    EXPECT_EQ(*found[0].jsonPointer(), "/components/schemas/S/allOf/0/properties/a/properties/b/properties/c");
  }
}

TEST(SchemaRules, ReferencesAreNotFollowed) {
  // Bad is checked once, where it is declared, and not again through the references to it.
  const std::string schemas =
      "    S:\n"
      "      properties: {a: {$ref: '#/components/schemas/Bad'}}\n"
      "      allOf: [{$ref: '#/components/schemas/Bad'}]\n"
      "    Bad: {minLength: -1}\n";
  const auto found = withCodes(validateYaml(withSchemas(schemas, "3.0.3")), kSchemaCodes);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(*found[0].jsonPointer(), "/components/schemas/Bad");
}

TEST(SchemaRules, NaNBoundsFireNothing) {
  const std::string schemas = "    S: {minimum: nan, maximum: 1, multipleOf: nan}\n    T: {minimum: 1, maximum: nan}\n";
  const auto result = CarvexTest::parseYaml(withSchemas(schemas, "3.0.3"), VoziZazIreCore::ValidationLevel::none);
  const auto* document = CarvexTest::document30(result);
  ASSERT_NE(document, nullptr);
  const auto* s = document->components->schemas->find("S")->inlineValue();
  ASSERT_TRUE(s->minimum && s->multipleOf);
  ASSERT_TRUE(std::isnan(*s->minimum) && std::isnan(*s->multipleOf));
  EXPECT_EQ(schemaMessages(schemas, "3.0.3"), std::vector<std::string>{});
  EXPECT_EQ(schemaMessages(schemas, "3.1.0"), std::vector<std::string>{});
}

TEST(SchemaRules, InlineOperationParameterSchemaIsChecked) {
  const std::string text =
      "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get:\n      parameters:\n"
      "        - {name: q, in: query, schema: {type: array}}\n      responses: {'200': {description: ok}}\n";
  EXPECT_EQ(described(withCodes(validateYaml(text), kSchemaCodes)),
            std::vector<std::string>{"error [SCH-011] Schema with type 'array' must have 'items' defined @ "
                                     "/paths/~1a/get/parameters/0/schema 7:40"});
}

// Deep inline nesting is walked with the rules' own stack: one finding at the innermost schema.
TEST(SchemaRules, DeepNestingDoesNotUseTheCallStack) {
  constexpr int depth = 900;
  std::string schema;
  for (int i = 0; i < depth; ++i) schema += "{items: ";
  schema += "{minLength: -1}";
  for (int i = 0; i < depth; ++i) schema += "}";
  const auto found = withCodes(validateYaml(withSchemas("    S: " + schema + "\n", "3.1.0")), kSchemaCodes);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].jsonPointer()->size(), std::string("/components/schemas/S").size() + depth * 6);
}

}  // namespace

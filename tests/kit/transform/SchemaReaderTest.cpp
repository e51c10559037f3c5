#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kit/core/TransformError.h"
#include "kit/transform/SchemaReader.h"
#include "tests/kit/transform/SchemaTestReading.h"

namespace {

using CarvexTest::Reading;
using VoziZazIreCore::AnyValue;
using VoziZazIreCore::TransformError;
using VoziZazIreCore::ValidationLevel;
using VoziZazIreTransform::parseSchema;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;
using Strings = std::vector<std::string>;

using Type30 = VoziZazIreModels::OpenAPI3_0::SchemaType;
using Type31 = VoziZazIreModels::SchemaType;

// ---- "type" ---------------------------------------------------------------------------------------------------

struct Type30Row {
  const char* name;
  const char* json;
  std::optional<Type30> type;
  Strings findings;
};

void PrintTo(const Type30Row& row, std::ostream* out) { *out << row.name; }

class SchemaType30 : public testing::TestWithParam<Type30Row> {};

TEST_P(SchemaType30, ReadsOneNameOrReports) {
  const Type30Row& row = GetParam();
  Reading reading(row.json);
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  EXPECT_EQ(schema->type, row.type);
  EXPECT_EQ(reading.findings(), row.findings);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SchemaType30,
    testing::Values(
        Type30Row{"string", R"({"type": "string"})", Type30::string, {}},
        Type30Row{"object", R"({"type": "object"})", Type30::object, {}},
        Type30Row{"list_of_types", R"({"type": ["string", "null"]})", std::nullopt,
                  {"[SCH-TYPE] Schema type must be a string in OpenAPI 3.0 @ /type 1:10"}},
        Type30Row{"null_is_no_3_0_type", R"({"type": "null"})", std::nullopt,
                  {"[SCH-TYPE] Invalid schema type 'null'. Must be one of: string, number, integer, boolean, array, "
                   "object @ /type 1:10"}},
        Type30Row{"capitalised_name", R"({"type": "String"})", std::nullopt,
                  {"[SCH-TYPE] Invalid schema type 'String'. Must be one of: string, number, integer, boolean, "
                   "array, object @ /type 1:10"}},
        Type30Row{"number", R"({"type": 5})", std::nullopt,
                  {"[SCH-TYPE] Schema type must be a string in OpenAPI 3.0 @ /type 1:10"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct Type31Row {
  const char* name;
  const char* json;
  std::optional<VoziZazIreModels::SchemaTypeOrArray> type;
  Strings findings;
};

void PrintTo(const Type31Row& row, std::ostream* out) { *out << row.name; }

class SchemaType31 : public testing::TestWithParam<Type31Row> {};

TEST_P(SchemaType31, ReadsNamesAndListsWithNull) {
  const Type31Row& row = GetParam();
  Reading reading(row.json);
  auto schema = parseSchema<Version31>(*reading.root, reading.context);
  EXPECT_EQ(schema->type, row.type);
  EXPECT_EQ(reading.findings(), row.findings);
}

using VoziZazIreModels::SchemaTypeOrArray;
const std::string kTypes31 = "Must be one of: string, number, integer, boolean, array, object, null";

INSTANTIATE_TEST_SUITE_P(
    Rows, SchemaType31,
    testing::Values(
        Type31Row{"string_and_null", R"({"type": ["string", "null"]})",
                  SchemaTypeOrArray::multiple({Type31::string, Type31::null}), {}},
        Type31Row{"list_of_one_stays_a_list", R"({"type": ["string"]})", SchemaTypeOrArray::multiple({Type31::string}),
                  {}},
        Type31Row{"null_name", R"({"type": "null"})", SchemaTypeOrArray::single(Type31::null), {}},
        Type31Row{"null_element", R"({"type": ["string", null]})",
                  SchemaTypeOrArray::multiple({Type31::string, Type31::null}), {}},
        Type31Row{"repeats_kept", R"({"type": ["integer", "integer"]})",
                  SchemaTypeOrArray::multiple({Type31::integer, Type31::integer}), {}},
        Type31Row{"bad_elements_reported_by_index", R"({"type": ["string", "date", 5]})",
                  SchemaTypeOrArray::multiple({Type31::string}),
                  {"[SCH-TYPE] Invalid schema type 'date' at index 1. " + kTypes31 + " @ /type/1 1:21",
                   "[SCH-TYPE] Schema type array element at index 2 must be a string or null @ /type/2 1:29"}},
        Type31Row{"empty_list", R"({"type": []})", std::nullopt, {}},
        Type31Row{"no_accepted_element", R"({"type": ["date"]})", std::nullopt,
                  {"[SCH-TYPE] Invalid schema type 'date' at index 0. " + kTypes31 + " @ /type/0 1:11"}},
        Type31Row{"invalid_name", R"({"type": "Date"})", std::nullopt,
                  {"[SCH-TYPE] Invalid schema type 'Date'. " + kTypes31 + " @ /type 1:10"}},
        Type31Row{"number", R"({"type": 5})", std::nullopt,
                  {"[SCH-TYPE] Schema type must be a string or array of strings @ /type 1:10"}},
        Type31Row{"null_value", R"({"type": null})", std::nullopt,
                  {"[SCH-TYPE] Schema type must be a string or array of strings @ /type 1:10"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every finding of the schema reader is recorded at level high only; the schema read is the same.
TEST(SchemaFindings, RecordedAtLevelHighOnly) {
  const char* text = R"({"type": ["date", 5], "minLength": -1, "pattern": "(", "enum": [],
      "required": ["a"], "properties": {"p": {"type": "array"}}})";
  for (ValidationLevel level : {ValidationLevel::low, ValidationLevel::none}) {
    Reading reading30(text, level);
    auto schema30 = parseSchema<Version30>(*reading30.root, reading30.context);
    EXPECT_FALSE(schema30->type);
    EXPECT_EQ(schema30->minLength, -1);
    Reading reading31(text, level);
    auto schema31 = parseSchema<Version31>(*reading31.root, reading31.context);
    EXPECT_FALSE(schema31->type);
    EXPECT_TRUE(reading30.findings().empty());
    EXPECT_TRUE(reading31.findings().empty());
  }
  Reading high(text);
  parseSchema<Version31>(*high.root, high.context);
  EXPECT_EQ(high.findings().size(), 7u);
}

// ---- SCH-011: arrays without items -----------------------------------------------------------------------------

struct ArrayRow {
  const char* name;
  bool is31;
  const char* json;
  bool expectFinding;
};

void PrintTo(const ArrayRow& row, std::ostream* out) { *out << row.name; }

class SchemaArrayItems : public testing::TestWithParam<ArrayRow> {};

TEST_P(SchemaArrayItems, ArrayTypeNeedsItems) {
  const ArrayRow& row = GetParam();
  Reading reading(row.json);
  if (row.is31) {
    parseSchema<Version31>(*reading.root, reading.context);
  } else {
    parseSchema<Version30>(*reading.root, reading.context);
  }
  Strings expected;
  if (row.expectFinding) expected.push_back("[SCH-011] Schema with type 'array' must have 'items' defined @  1:1");
  EXPECT_EQ(reading.findings(), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, SchemaArrayItems,
                         testing::Values(ArrayRow{"v30_missing", false, R"({"type": "array"})", true},
                                         ArrayRow{"v30_items_true", false, R"({"type": "array", "items": true})", false},
                                         ArrayRow{"v30_items_empty", false, R"({"type": "array", "items": {}})", false},
                                         ArrayRow{"v30_object_type", false, R"({"type": "object"})", false},
                                         ArrayRow{"v31_missing", true, R"({"type": "array"})", true},
                                         ArrayRow{"v31_array_or_null", true, R"({"type": ["array", "null"]})", true},
                                         ArrayRow{"v31_prefix_items_do_not_count", true,
                                                  R"({"type": "array", "prefixItems": [{}]})", true},
                                         ArrayRow{"v31_with_items", true, R"({"type": ["null", "array"], "items": {}})",
                                                  false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- SCH-012: required names without a property ---------------------------------------------------------------

TEST(SchemaRequired, ReportsEachMissingNameAtItsElement) {
  Reading reading(R"({
  "required": ["id", "name", 7],
  "properties": {"id": {}}
})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  EXPECT_EQ(reading.findings(), Strings{"[SCH-012] Required field 'name' not found in properties @ /required/1 2:22"});
  EXPECT_EQ(schema->required, (std::vector<std::string>{"id", "name"}));
}

struct RequiredRow {
  const char* name;
  const char* json;
  Strings findings;
};

void PrintTo(const RequiredRow& row, std::ostream* out) { *out << row.name; }

class SchemaRequiredRows : public testing::TestWithParam<RequiredRow> {};

TEST_P(SchemaRequiredRows, BothVersions) {
  const RequiredRow& row = GetParam();
  Reading reading30(row.json);
  parseSchema<Version30>(*reading30.root, reading30.context);
  EXPECT_EQ(reading30.findingMessages(), row.findings) << "3.0";
  Reading reading31(row.json);
  parseSchema<Version31>(*reading31.root, reading31.context);
  EXPECT_EQ(reading31.findingMessages(), row.findings) << "3.1";
}

const std::string kMissingA = "[SCH-012] Required field 'a' not found in properties";
const std::string kMissingB = "[SCH-012] Required field 'b' not found in properties";

INSTANTIATE_TEST_SUITE_P(
    Rows, SchemaRequiredRows,
    testing::Values(
        RequiredRow{"no_properties", R"({"required": ["a"]})", {}},
        RequiredRow{"properties_not_an_object", R"({"required": ["a"], "properties": []})", {}},
        RequiredRow{"empty_properties", R"({"required": ["a", "b"], "properties": {}})", {kMissingA, kMissingB}},
        RequiredRow{"required_not_an_array", R"({"required": "a", "properties": {}})", {}},
        RequiredRow{"schema_that_composes", R"({"required": ["a"], "properties": {}, "anyOf": []})", {}},
        RequiredRow{"composition_member_of_any_kind", R"({"required": ["a"], "properties": {}, "oneOf": 3})", {}},
        RequiredRow{"element_of_a_composition", R"({"allOf": [{"required": ["a"], "properties": {}}]})", {}},
        RequiredRow{"deep_below_a_composition",
                    R"({"oneOf": [{"properties": {"p": {"items": {"required": ["a"], "properties": {}}}}}]})", {}},
        // A property that happens to be named like a composition keyword is just a property: its schema and
        // everything below it are checked.
        RequiredRow{"property_named_oneOf_exempts_nothing",
                    R"({"properties": {"oneOf": {"required": ["a"], "properties": {"x": {"required": ["b"],
                        "properties": {}}}}}})",
                    {kMissingB, kMissingA}},
        RequiredRow{"property_named_allOf_inside_a_property",
                    R"({"properties": {"p": {"properties": {"allOf": {"required": ["a"], "properties": {}}}}}})",
                    {kMissingA}}),
    [](const auto& info) { return std::string(info.param.name); });

// Regression: the exemption used to be a substring test on the pointer, so a component schema named "allOf"
// (pointer /components/schemas/allOf/...) silenced the check for everything nested in it.
TEST(SchemaRequired, component_named_allOf_is_checked) {
  Reading reading(R"({"components": {"schemas": {"allOf": {"properties": {"inner": {"required": ["a"],
      "properties": {}}}}}}})");
  parseSchema<Version31>(reading.at("/components/schemas/allOf"), reading.context);
  EXPECT_EQ(reading.findings(),
            Strings{kMissingA + " @ /components/schemas/allOf/properties/inner/required/0 1:77"});
}

// ---- reading order of findings --------------------------------------------------------------------------------

TEST(SchemaOrder, Version30FindingsFollowTheReadingSteps) {
  Reading reading(R"({
  "zzz": 1,
  "readOnly": "yes",
  "type": "array",
  "nullable": "no",
  "minLength": -1,
  "required": ["q"],
  "properties": {"p": {"bogus": 1}},
  "allOf": [{"type": "Text"}],
  "xml": {"wrapped": "no"}
})");
  parseSchema<Version30>(*reading.root, reading.context);
  // With allOf present, SCH-012 is not checked.
  EXPECT_EQ(reading.findingMessages(),
            (Strings{"[GEN-002] Property 'nullable' in Schema object must be a boolean",
                     "[SCH-001] minLength must be >= 0, got -1",
                     "[GEN-001] Unknown property 'bogus' in Schema object",
                     "[SCH-011] Schema with type 'array' must have 'items' defined",
                     "[SCH-TYPE] Invalid schema type 'Text'. Must be one of: string, number, integer, boolean, array, "
                     "object",
                     "[GEN-002] Property 'wrapped' in XML object must be a boolean",
                     "[GEN-001] Unknown property 'zzz' in Schema object",
                     "[GEN-002] Property 'readOnly' in Schema object must be a boolean"}));
}

TEST(SchemaOrder, Version31ChecksRequiredRightAfterProperties) {
  Reading reading(R"({
  "contains": {"c": 1},
  "type": "array",
  "required": ["q"],
  "properties": {"p": {"bogus": 1}},
  "patternProperties": {"^x": {"type": 3}},
  "if": {"minItems": -2},
  "nullable": true
})");
  parseSchema<Version31>(*reading.root, reading.context);
  EXPECT_EQ(reading.findingMessages(),
            (Strings{"[GEN-001] Unknown property 'bogus' in Schema object",
                     "[SCH-012] Required field 'q' not found in properties",
                     "[SCH-TYPE] Schema type must be a string or array of strings",
                     "[SCH-011] Schema with type 'array' must have 'items' defined",
                     "[SCH-004] minItems must be >= 0, got -2",
                     "[GEN-001] Unknown property 'nullable' in Schema object",
                     "[GEN-001] Unknown property 'c' in Schema object"}));
}

// ---- members --------------------------------------------------------------------------------------------------

TEST(SchemaMembers, AdditionalPropertiesIsABooleanOrASchema) {
  Reading reading(R"({"properties": {
    "closed": {"additionalProperties": false},
    "typed": {"additionalProperties": {"type": "string"}},
    "odd": {"additionalProperties": "no"},
    "ref": {"additionalProperties": {"$ref": "#/components/schemas/X"}}}})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  auto member = [&](const char* name) { return schema->properties->find(name)->inlineValue(); };
  EXPECT_EQ(member("closed")->additionalProperties->boolValue(), false);
  const auto* typed = member("typed")->additionalProperties->schemaValue();
  ASSERT_TRUE(typed && typed->inlineValue());
  EXPECT_EQ(typed->inlineValue()->type, Type30::string);
  const auto* odd = member("odd")->additionalProperties->schemaValue();
  ASSERT_TRUE(odd && odd->inlineValue());
  EXPECT_FALSE(odd->inlineValue()->type);
  EXPECT_EQ(odd->inlineValue()->location.jsonPointer, "/properties/odd/additionalProperties");
  const auto* ref = member("ref")->additionalProperties->schemaValue();
  ASSERT_TRUE(ref && ref->referenceValue());
  EXPECT_EQ(ref->referenceValue()->ref, "#/components/schemas/X");
  EXPECT_TRUE(reading.findings().empty());
}

TEST(SchemaMembers, Version30NumbersBooleansAndUnknownKeys) {
  Reading reading(R"({
  "exclusiveMinimum": 3,
  "maxLength": 10.0,
  "minLength": 10.5,
  "maxItems": "10",
  "examples": [1],
  "const": 1,
  "prefixItems": [],
  "x-internal": true,
  "default": null,
  "enum": [],
  "multipleOf": 0.5
})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  EXPECT_FALSE(schema->exclusiveMinimum);
  EXPECT_EQ(schema->maxLength, 10);
  EXPECT_FALSE(schema->minLength);
  EXPECT_FALSE(schema->maxItems);
  ASSERT_TRUE(schema->default_);
  EXPECT_TRUE(schema->default_->isNull());
  ASSERT_TRUE(schema->enumValues);
  EXPECT_TRUE(schema->enumValues->empty());
  EXPECT_EQ(schema->multipleOf, 0.5);
  ASSERT_TRUE(schema->vendorExtensions);
  EXPECT_TRUE(schema->vendorExtensions->contains("x-internal"));
  EXPECT_EQ(reading.findings(),
            (Strings{"[GEN-001] Unknown property 'examples' in Schema object @ /examples 6:15",
                     "[GEN-001] Unknown property 'const' in Schema object @ /const 7:12",
                     "[GEN-001] Unknown property 'prefixItems' in Schema object @ /prefixItems 8:18",
                     "[GEN-002] Property 'exclusiveMinimum' in Schema object must be a boolean @ /exclusiveMinimum "
                     "2:23"}));
}

TEST(SchemaMembers, Version31Keywords) {
  Reading reading(R"({
  "exclusiveMaximum": true,
  "exclusiveMinimum": 10,
  "dependentRequired": {"a": ["b", 3], "c": "d"},
  "examples": [],
  "const": null,
  "xml": {},
  "example": 1,
  "prefixItems": [{"type": "string"}, {"$ref": "#/x"}],
  "if": {}, "then": {}, "else": {},
  "contentMediaType": "image/png",
  "contentEncoding": 7,
  "maxContains": 2,
  "dependentSchemas": {"x-y": {}}
})");
  auto schema = parseSchema<Version31>(*reading.root, reading.context);
  EXPECT_FALSE(schema->exclusiveMaximum);
  EXPECT_EQ(schema->exclusiveMinimum, 10.0);
  ASSERT_TRUE(schema->dependentRequired);
  EXPECT_EQ(*schema->dependentRequired->find("a"), std::vector<std::string>{"b"});
  EXPECT_EQ(*schema->dependentRequired->find("c"), std::vector<std::string>{});
  ASSERT_TRUE(schema->examples);
  EXPECT_TRUE(schema->examples->empty());
  ASSERT_TRUE(schema->const_);
  EXPECT_TRUE(schema->const_->isNull());
  ASSERT_TRUE(schema->prefixItems);
  ASSERT_EQ(schema->prefixItems->size(), 2u);
  EXPECT_TRUE((*schema->prefixItems)[1].isReference());
  EXPECT_TRUE(schema->if_ && schema->then && schema->else_);
  EXPECT_EQ(schema->contentMediaType, "image/png");
  EXPECT_FALSE(schema->contentEncoding);
  EXPECT_EQ(schema->maxContains, 2);
  ASSERT_TRUE(schema->dependentSchemas);
  EXPECT_TRUE(schema->dependentSchemas->contains("x-y"));
  EXPECT_FALSE(schema->vendorExtensions);
  // "xml" and "example" are valid 3.1 schema members: not stored, and no warning.
  EXPECT_EQ(reading.findingMessages(), Strings{});
}

TEST(SchemaMembers, PropertiesNamedLikeExtensionsAreProperties) {
  Reading reading(R"({"properties": {"x-id": {"type": "integer"}}, "patternProperties": {"x-": {}}})");
  auto schema = parseSchema<Version31>(*reading.root, reading.context);
  EXPECT_TRUE(schema->properties->contains("x-id"));
  EXPECT_TRUE(schema->patternProperties->contains("x-"));
  EXPECT_FALSE(schema->vendorExtensions);
}

TEST(SchemaMembers, NonStringRefIsAnUnknownMember) {
  Reading reading(R"({"items": {"$ref": 5, "type": "string"}})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  ASSERT_TRUE(schema->items && schema->items->inlineValue());
  EXPECT_EQ(schema->items->inlineValue()->type, Type30::string);
  EXPECT_EQ(reading.findings(), Strings{"[GEN-001] Unknown property '$ref' in Schema object @ /items/$ref 1:20"});
}

TEST(SchemaMembers, ReferenceKeepsSummaryAndDescriptionOnly) {
  Reading reading(R"({"not": {"$ref": "#/a", "description": "d", "summary": 1, "junk": true}})");
  auto schema = parseSchema<Version31>(*reading.root, reading.context);
  const auto* reference = schema->not_->referenceValue();
  ASSERT_TRUE(reference);
  EXPECT_EQ(reference->description, "d");
  EXPECT_FALSE(reference->summary);
  ASSERT_TRUE(reference->location);
  EXPECT_EQ(reference->location->jsonPointer, "/not/$ref");
  EXPECT_TRUE(reading.findings().empty());
}

TEST(SchemaMembers, SchemaOfAnotherKindIsEmpty) {
  for (const char* text : {R"("just text")", "[1, 2]", "null", "true"}) {
    Reading reading(std::string(R"({"s": )") + text + "}");
    auto schema = parseSchema<Version30>(reading.at("/s"), reading.context);
    EXPECT_FALSE(schema->type) << text;
    EXPECT_FALSE(schema->vendorExtensions) << text;
    EXPECT_EQ(schema->location.jsonPointer, "/s") << text;
    EXPECT_TRUE(reading.findings().empty()) << text;
  }
}

// ---- discriminator and xml ------------------------------------------------------------------------------------

TEST(SchemaDiscriminator, MissingPropertyNameThrowsAtTheDiscriminator) {
  for (const char* discriminator : {R"({"mapping": {"a": "#/A"}})", R"("kind")", R"({"propertyName": 3})"}) {
    Reading reading(std::string("{\n  \"discriminator\": ") + discriminator + "}");
    try {
      parseSchema<Version31>(*reading.root, reading.context);
      ADD_FAILURE() << "no error for " << discriminator;
    } catch (const TransformError& error) {
      EXPECT_EQ(error.message(), "Missing required field 'propertyName' in discriminator");
      EXPECT_EQ(error.jsonPointer(), "/discriminator");
      ASSERT_TRUE(error.range());
      EXPECT_EQ(error.range()->start.line, 2);
      EXPECT_EQ(error.range()->start.column, 20);
    }
  }
}

TEST(SchemaDiscriminator, MappingKeepsStringEntries) {
  Reading reading(R"({"discriminator": {"propertyName": "kind", "mapping": {"a": "#/A", "b": 2, "x-c": "#/C"},
      "other": 1}})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  ASSERT_TRUE(schema->discriminator);
  EXPECT_EQ(schema->discriminator->propertyName, "kind");
  ASSERT_TRUE(schema->discriminator->mapping);
  EXPECT_EQ(schema->discriminator->mapping->sortedKeys(), (Strings{"a", "x-c"}));
  EXPECT_EQ(reading.findingMessages(), Strings{"[GEN-001] Unknown property 'other' in Discriminator object"});
}

TEST(SchemaXML, UnknownMemberBeforeBooleanFinding) {
  Reading reading(R"({"xml": {"name": "pet", "wrapped": "true", "colour": 1, "namespace": 2}})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  ASSERT_TRUE(schema->xml);
  EXPECT_EQ(schema->xml->name, "pet");
  EXPECT_FALSE(schema->xml->wrapped);
  EXPECT_FALSE(schema->xml->namespace_);
  EXPECT_EQ(reading.findings(),
            (Strings{"[GEN-001] Unknown property 'colour' in XML object @ /xml/colour 1:54",
                     "[GEN-002] Property 'wrapped' in XML object must be a boolean @ /xml/wrapped 1:36"}));
}

TEST(SchemaExternalDocs, MissingUrlEndsTheRead) {
  Reading reading(R"({"properties": {"a": {"externalDocs": {"description": "d"}}}})");
  EXPECT_THROW(parseSchema<Version30>(*reading.root, reading.context), TransformError);
}

// ---- nesting --------------------------------------------------------------------------------------------------

std::string nested(const std::string& keyword, int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "{\"" + keyword + "\": ";
  text += "{\"type\": \"string\"}";
  text.append(depth, '}');
  return text;
}

TEST(SchemaNesting, ReadsAsDeepAsTheParsersAllow) {
  // One below the parsers' nesting limit: 998 levels of "not" plus the innermost schema.
  Reading reading(nested("not", 998));
  auto schema = parseSchema<Version31>(*reading.root, reading.context);
  int depth = 0;
  const VoziZazIreModels::OpenAPI3_1::Schema* current = schema.get();
  while (current->not_) {
    current = current->not_->inlineValue();
    ++depth;
  }
  EXPECT_EQ(depth, 998);
  EXPECT_EQ(current->type, SchemaTypeOrArray::single(Type31::string));
}

TEST(SchemaNesting, PropertiesSeveralHundredLevelsDeep) {
  std::string text;
  for (int i = 0; i < 450; ++i) text += R"({"properties": {"p": )";
  text += "{}";
  for (int i = 0; i < 450; ++i) text += "}}";
  Reading reading(text);
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  int depth = 0;
  for (const auto* current = schema.get(); current->properties; ++depth)
    current = current->properties->find("p")->inlineValue();
  EXPECT_EQ(depth, 450);
}

TEST(SchemaNesting, SelfReferenceIsNotFollowed) {
  Reading reading(R"({"components": {"schemas": {"Node": {"type": "object",
      "properties": {"next": {"$ref": "#/components/schemas/Node"}, "all": {"allOf": [{"$ref": "#/components/schemas/Node"}]}}}}}})");
  auto schema = parseSchema<Version30>(reading.at("/components/schemas/Node"), reading.context);
  const auto& next = *schema->properties->find("next");
  ASSERT_TRUE(next.isReference());
  EXPECT_EQ(next.referenceValue()->ref, "#/components/schemas/Node");
  EXPECT_TRUE(reading.findings().empty());
}

}  // namespace

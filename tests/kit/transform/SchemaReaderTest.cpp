#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kit/core/TransformError.h"
#include "kit/transform/SchemaReader.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using CarvexTest::Reading;
using VoziZazIreCore::TransformError;
using VoziZazIreCore::ValidationLevel;
using VoziZazIreModels::SchemaTypeOrArray;
using VoziZazIreTransform::parseSchema;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;
using Strings = std::vector<std::string>;
using Type30 = VoziZazIreModels::OpenAPI3_0::SchemaType;
using Type31 = VoziZazIreModels::SchemaType;

// The finding messages of reading `json` as a schema of version V.
template <class V>
Strings read(const std::string& json) {
  Reading reading(json);
  parseSchema<V>(*reading.root, reading.context);
  return reading.findingMessages();
}

// ---- "type" ---------------------------------------------------------------------------------------------------

TEST(SchemaType, Version30ReadsOneNameOrReports) {
  const std::string names = "Must be one of: string, number, integer, boolean, array, object @ /type 1:10";
  struct Row { const char* name; const char* json; std::optional<Type30> type; Strings findings; };
  const Row rows[] = {
      {"string", R"({"type": "string"})", Type30::string, {}},
      {"list_of_types", R"({"type": ["string", "null"]})", std::nullopt,
       {"[SCH-TYPE] Schema type must be a string in OpenAPI 3.0 @ /type 1:10"}},
      {"number", R"({"type": 5})", std::nullopt, {"[SCH-TYPE] Schema type must be a string in OpenAPI 3.0 @ /type 1:10"}},
      {"null_is_no_3_0_type", R"({"type": "null"})", std::nullopt, {"[SCH-TYPE] Invalid schema type 'null'. " + names}},
      {"capitalised_name", R"({"type": "String"})", std::nullopt, {"[SCH-TYPE] Invalid schema type 'String'. " + names}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Reading reading(row.json);
    EXPECT_EQ(parseSchema<Version30>(*reading.root, reading.context)->type, row.type);
    EXPECT_EQ(reading.findings(), row.findings);
  }
}

TEST(SchemaType, Version31ReadsNamesAndListsWithNull) {
  const std::string names = "Must be one of: string, number, integer, boolean, array, object, null";
  const std::string notAString = "[SCH-TYPE] Schema type must be a string or array of strings @ /type 1:10";
  struct Row { const char* name; const char* json; std::optional<SchemaTypeOrArray> type; Strings findings; };
  const Row rows[] = {
      {"string_and_null", R"({"type": ["string", "null"]})", SchemaTypeOrArray::multiple({Type31::string, Type31::null}), {}},
      {"list_of_one_stays_a_list", R"({"type": ["string"]})", SchemaTypeOrArray::multiple({Type31::string}), {}},
      {"null_name", R"({"type": "null"})", SchemaTypeOrArray::single(Type31::null), {}},
      {"null_element", R"({"type": ["string", null]})", SchemaTypeOrArray::multiple({Type31::string, Type31::null}), {}},
      {"repeats_kept", R"({"type": ["integer", "integer"]})",
       SchemaTypeOrArray::multiple({Type31::integer, Type31::integer}), {}},
      {"bad_elements_reported_by_index", R"({"type": ["string", "date", 5]})",
       SchemaTypeOrArray::multiple({Type31::string}),
       {"[SCH-TYPE] Invalid schema type 'date' at index 1. " + names + " @ /type/1 1:21",
        "[SCH-TYPE] Schema type array element at index 2 must be a string or null @ /type/2 1:29"}},
      {"empty_list", R"({"type": []})", std::nullopt, {}},
      {"no_accepted_element", R"({"type": ["date"]})", std::nullopt,
       {"[SCH-TYPE] Invalid schema type 'date' at index 0. " + names + " @ /type/0 1:11"}},
      {"invalid_name", R"({"type": "Date"})", std::nullopt, {"[SCH-TYPE] Invalid schema type 'Date'. " + names + " @ /type 1:10"}},
      {"number", R"({"type": 5})", std::nullopt, {notAString}},
      {"null_value", R"({"type": null})", std::nullopt, {notAString}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Reading reading(row.json);
    EXPECT_EQ(parseSchema<Version31>(*reading.root, reading.context)->type, row.type);
    EXPECT_EQ(reading.findings(), row.findings);
  }
}

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
    EXPECT_FALSE(parseSchema<Version31>(*reading31.root, reading31.context)->type);
    EXPECT_TRUE(reading30.findings().empty());
    EXPECT_TRUE(reading31.findings().empty());
  }
  EXPECT_EQ(read<Version31>(text).size(), 7u);
}

// ---- SCH-011: arrays without items -----------------------------------------------------------------------------

TEST(SchemaArrayItems, ArrayTypeNeedsItems) {
  const Strings missing{"[SCH-011] Schema with type 'array' must have 'items' defined"};
  EXPECT_EQ(read<Version30>(R"({"type": "array"})"), missing);
  EXPECT_EQ(read<Version30>(R"({"type": "array", "items": true})"), Strings{});
  EXPECT_EQ(read<Version30>(R"({"type": "array", "items": {}})"), Strings{});
  EXPECT_EQ(read<Version31>(R"({"type": "array"})"), missing);
  EXPECT_EQ(read<Version31>(R"({"type": ["array", "null"]})"), missing);
  EXPECT_EQ(read<Version31>(R"({"type": "array", "prefixItems": [{}]})"), missing) << "prefixItems do not count";
  EXPECT_EQ(read<Version31>(R"({"type": ["null", "array"], "items": {}})"), Strings{});
  Reading at(R"({"type": "array"})");
  parseSchema<Version30>(*at.root, at.context);
  EXPECT_EQ(at.findings(), Strings{missing[0] + " @  1:1"});
}

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

const std::string kMissingA = "[SCH-012] Required field 'a' not found in properties";
const std::string kMissingB = "[SCH-012] Required field 'b' not found in properties";

TEST(SchemaRequired, CheckedOutsideCompositionsInBothVersions) {
  struct Row { const char* name; const char* json; Strings findings; };
  const Row rows[] = {
      {"no_properties", R"({"required": ["a"]})", {}},
      {"properties_not_an_object", R"({"required": ["a"], "properties": []})", {}},
      {"empty_properties", R"({"required": ["a", "b"], "properties": {}})", {kMissingA, kMissingB}},
      {"required_not_an_array", R"({"required": "a", "properties": {}})", {}},
      {"schema_that_composes", R"({"required": ["a"], "properties": {}, "anyOf": []})", {}},
      {"composition_member_of_any_kind", R"({"required": ["a"], "properties": {}, "oneOf": 3})", {}},
      {"element_of_a_composition", R"({"allOf": [{"required": ["a"], "properties": {}}]})", {}},
      {"deep_below_a_composition",
       R"({"oneOf": [{"properties": {"p": {"items": {"required": ["a"], "properties": {}}}}}]})", {}},
      // A property named like a composition keyword is just a property: it and everything below it are checked.
      {"property_named_oneOf_exempts_nothing",
       R"({"properties": {"oneOf": {"required": ["a"], "properties": {"x": {"required": ["b"], "properties": {}}}}}})",
       {kMissingB, kMissingA}},
      {"property_named_allOf_inside_a_property",
       R"({"properties": {"p": {"properties": {"allOf": {"required": ["a"], "properties": {}}}}}})", {kMissingA}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(read<Version30>(row.json), row.findings);
    EXPECT_EQ(read<Version31>(row.json), row.findings);
  }
}

// Regression: the exemption used to be a substring test on the pointer, so a component schema named "allOf"
// (pointer /components/schemas/allOf/...) silenced the check for everything nested in it.
TEST(SchemaRequired, component_named_allOf_is_checked) {
  Reading reading(R"({"components": {"schemas": {"allOf": {"properties": {"inner": {"required": ["a"],
      "properties": {}}}}}}})");
  parseSchema<Version31>(reading.at("/components/schemas/allOf"), reading.context);
  EXPECT_EQ(reading.findings(), Strings{kMissingA + " @ /components/schemas/allOf/properties/inner/required/0 1:77"});
}

// ---- reading order of findings --------------------------------------------------------------------------------

TEST(SchemaOrder, Version30FindingsFollowTheReadingSteps) {
  // With allOf present, SCH-012 is not checked.
  EXPECT_EQ(read<Version30>(R"({
  "zzz": 1,
  "readOnly": "yes",
  "type": "array",
  "nullable": "no",
  "minLength": -1,
  "required": ["q"],
  "properties": {"p": {"bogus": 1}},
  "allOf": [{"type": "Text"}],
  "xml": {"wrapped": "no"}
})"),
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
  EXPECT_EQ(read<Version31>(R"({
  "contains": {"c": 1},
  "type": "array",
  "required": ["q"],
  "properties": {"p": {"bogus": 1}},
  "patternProperties": {"^x": {"type": 3}},
  "if": {"minItems": -2},
  "nullable": true
})"),
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
    "odd": {"additionalProperties": "no"},
    "ref": {"additionalProperties": {"$ref": "#/components/schemas/X"}}}})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  auto member = [&](const char* name) { return schema->properties->find(name)->inlineValue(); };
  EXPECT_EQ(member("closed")->additionalProperties->boolValue(), false);
  const auto* odd = member("odd")->additionalProperties->schemaValue();
  ASSERT_TRUE(odd && odd->inlineValue());
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
  "default": null
})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  EXPECT_FALSE(schema->exclusiveMinimum);
  EXPECT_EQ(schema->maxLength, 10);
  EXPECT_FALSE(schema->minLength);
  EXPECT_FALSE(schema->maxItems);
  ASSERT_TRUE(schema->default_);
  EXPECT_TRUE(schema->default_->isNull());
  EXPECT_TRUE(schema->vendorExtensions && schema->vendorExtensions->contains("x-internal"));
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
  "const": null,
  "xml": {},
  "example": 1,
  "prefixItems": [{"type": "string"}, {"$ref": "#/x"}],
  "contentEncoding": 7,
  "properties": {"x-id": {}},
  "dependentSchemas": {"x-y": {}}
})");
  auto schema = parseSchema<Version31>(*reading.root, reading.context);
  EXPECT_FALSE(schema->exclusiveMaximum);
  EXPECT_EQ(schema->exclusiveMinimum, 10.0);
  EXPECT_EQ(*schema->dependentRequired->find("a"), std::vector<std::string>{"b"});
  EXPECT_EQ(*schema->dependentRequired->find("c"), std::vector<std::string>{});
  ASSERT_TRUE(schema->const_);
  EXPECT_TRUE(schema->const_->isNull());
  ASSERT_EQ(schema->prefixItems->size(), 2u);
  EXPECT_TRUE((*schema->prefixItems)[1].isReference());
  EXPECT_FALSE(schema->contentEncoding);
  EXPECT_TRUE(schema->properties->contains("x-id"));
  EXPECT_TRUE(schema->dependentSchemas->contains("x-y"));
  EXPECT_FALSE(schema->vendorExtensions) << "x- keys of schema maps are entries";
  // "xml" and "example" are valid 3.1 schema members: not stored, and no warning.
  EXPECT_EQ(reading.findingMessages(), Strings{});
}

TEST(SchemaMembers, RefOfAnotherKindAndReferenceMembers) {
  Reading reading(R"({"items": {"$ref": 5, "type": "string"},
      "not": {"$ref": "#/a", "description": "d", "summary": 1, "junk": true}})");
  auto schema = parseSchema<Version31>(*reading.root, reading.context);
  ASSERT_TRUE(schema->items && schema->items->inlineValue());
  EXPECT_TRUE(schema->items->inlineValue()->type);
  const auto* reference = schema->not_->referenceValue();
  ASSERT_TRUE(reference && reference->location);
  EXPECT_EQ(reference->description, "d");
  EXPECT_FALSE(reference->summary);
  EXPECT_EQ(reference->location->jsonPointer, "/not/$ref");
  EXPECT_EQ(reading.findings(), Strings{"[GEN-001] Unknown property '$ref' in Schema object @ /items/$ref 1:20"});
}

TEST(SchemaMembers, SchemaOfAnotherKindIsEmpty) {
  for (const char* text : {R"("just text")", "[1, 2]", "null", "true"}) {
    Reading reading(std::string(R"({"s": )") + text + "}");
    auto schema = parseSchema<Version30>(reading.at("/s"), reading.context);
    EXPECT_FALSE(schema->type || schema->vendorExtensions) << text;
    EXPECT_EQ(schema->location.jsonPointer, "/s") << text;
    EXPECT_TRUE(reading.findings().empty()) << text;
  }
}

// ---- discriminator, xml, externalDocs -------------------------------------------------------------------------

TEST(SchemaDiscriminator, MissingPropertyNameThrowsAtTheDiscriminator) {
  for (const char* discriminator : {R"({"mapping": {"a": "#/A"}})", R"("kind")", R"({"propertyName": 3})"}) {
    Reading reading(std::string("{\n  \"discriminator\": ") + discriminator + "}");
    try {
      parseSchema<Version31>(*reading.root, reading.context);
      ADD_FAILURE() << "no error for " << discriminator;
    } catch (const TransformError& error) {
      EXPECT_EQ(error.description(), "TransformError: Missing required field 'propertyName' in discriminator at "
                                     "/discriminator (line 2, column 20)");
    }
  }
}

TEST(SchemaDiscriminator, MappingKeepsStringEntries) {
  Reading reading(R"({"discriminator": {"propertyName": "kind", "mapping": {"a": "#/A", "b": 2, "x-c": "#/C"},
      "other": 1}})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  EXPECT_EQ(schema->discriminator->propertyName, "kind");
  EXPECT_EQ(schema->discriminator->mapping->sortedKeys(), (Strings{"a", "x-c"}));
  EXPECT_EQ(reading.findingMessages(), Strings{"[GEN-001] Unknown property 'other' in Discriminator object"});
}

TEST(SchemaXML, UnknownMemberBeforeBooleanFinding) {
  Reading reading(R"({"xml": {"name": "pet", "wrapped": "true", "colour": 1, "namespace": 2}})");
  auto schema = parseSchema<Version30>(*reading.root, reading.context);
  EXPECT_EQ(schema->xml->name, "pet");
  EXPECT_FALSE(schema->xml->wrapped || schema->xml->namespace_);
  EXPECT_EQ(reading.findings(),
            (Strings{"[GEN-001] Unknown property 'colour' in XML object @ /xml/colour 1:54",
                     "[GEN-002] Property 'wrapped' in XML object must be a boolean @ /xml/wrapped 1:36"}));
}

TEST(SchemaExternalDocs, MissingUrlEndsTheRead) {
  Reading reading(R"({"properties": {"a": {"externalDocs": {"description": "d"}}}})");
  EXPECT_THROW(parseSchema<Version30>(*reading.root, reading.context), TransformError);
}

// ---- nesting --------------------------------------------------------------------------------------------------

TEST(SchemaNesting, ReadsAsDeepAsTheParsersAllow) {
  // One below the parsers' nesting limit: 998 levels of "not" plus the innermost schema.
  std::string text;
  for (int i = 0; i < 998; ++i) text += "{\"not\": ";
  text += "{\"type\": \"string\"}" + std::string(998, '}');
  Reading reading(text);
  auto schema = parseSchema<Version31>(*reading.root, reading.context);
  int depth = 0;
  const VoziZazIreModels::OpenAPI3_1::Schema* current = schema.get();
  for (; current->not_; ++depth) current = current->not_->inlineValue();
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

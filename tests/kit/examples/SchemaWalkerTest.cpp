#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ExampleDocuments.h"
#include "kit/examples/GenericNodeBuilder.h"

namespace {

using namespace CarvexExampleTest;

enum Versions { both, only30, only31 };

struct Row {
  const char* name;
  Versions versions;
  const char* schemas;  // the entries of components/schemas, one per line, indented by four spaces
  const char* ref;      // the component to generate
  std::function<void(ExampleGenerationOptions&)> adjust;
  const char* expected;
};

void keep(ExampleGenerationOptions&) {}
void provided(ExampleGenerationOptions& o) { o.useProvidedExamples = true; }
void requiredOnly(ExampleGenerationOptions& o) { o.includeOptionalProperties = false; }
void truncating(ExampleGenerationOptions& o) { o.cycleHandling = CycleHandling::truncate; }
void failing(ExampleGenerationOptions& o) { o.cycleHandling = CycleHandling::error; }
void depth3(ExampleGenerationOptions& o) { o.maxDepth = 3; }
void depth0(ExampleGenerationOptions& o) { o.maxDepth = 0; }

void runRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    for (const char* version : {"3.0.3", "3.1.0"}) {
      const bool is31 = version[2] == '1';
      if ((row.versions == only30 && is31) || (row.versions == only31 && !is31)) continue;
      VoziZazIre::ParseResult result = parseDescription(version, std::string("components:\n  schemas:\n") + row.schemas);
      ExampleGenerationOptions options = applicationOptions();
      row.adjust(options);
      EXPECT_EQ(exampleText(result, std::string("#/components/schemas/") + row.ref, options), row.expected)
          << row.name << " (" << version << ")";
    }
  }
}

TEST(SchemaWalker, DecisionOrder) {
  runRows({
      {"enum before default", both, "    S: {type: string, enum: [a, b], default: c}\n", "S", keep, R"("a")"},
      {"empty enum gives the default", both, "    S: {type: string, enum: [], default: c}\n", "S", keep, R"("c")"},
      {"provided example first", only30, "    S: {type: string, enum: [a], example: x}\n", "S", provided, R"("x")"},
      {"example ignored unless asked", only30, "    S: {type: string, example: x, default: c}\n", "S", keep, R"("c")"},
      {"first of examples", only31, "    S: {type: string, enum: [a], examples: [x, y]}\n", "S", provided, R"("x")"},
      {"const first", only31, "    S: {type: integer, const: 5, enum: [1]}\n", "S", provided, "5"},
      {"type list without null", only31, "    S: {type: ['null', integer], minimum: 4}\n", "S", keep, "4"},
      {"only null", only31, "    S: {type: 'null'}\n", "S", keep, "null"},
      {"string sample", both, "    S: {type: string, format: Date-Time}\n", "S", keep, R"("2024-01-15T09:30:00Z")"},
      {"number sample", both, "    S: {type: number, minimum: 1, maximum: 10}\n", "S", keep, "5.5"},
      {"integer sample", both, "    S: {type: integer, minimum: 1, maximum: 10, multipleOf: 5}\n", "S", keep, "5"},
      {"boolean sample", both, "    S: {type: boolean}\n", "S", keep, "true"},
      {"3.0 exclusive flag", only30, "    S: {type: integer, minimum: 5, exclusiveMinimum: true}\n", "S", keep, "6"},
      {"3.1 exclusive bound", only31, "    S: {type: number, exclusiveMinimum: 0, exclusiveMaximum: 1}\n", "S", keep,
       "0.5"},
      {"untyped with properties", both, "    S: {properties: {a: {type: boolean}}}\n", "S", keep, R"({"a":true})"},
      {"untyped with additional properties", both, "    S: {additionalProperties: true}\n", "S", keep, "{}"},
      {"untyped with items", both, "    S: {items: {type: integer}}\n", "S", keep, "[0]"},
      {"untyped with prefix items", only31, "    S: {prefixItems: [{type: boolean}, {type: string}]}\n", "S", keep,
       "[true]"},
      {"nothing at all", both, "    S: {description: free}\n", "S", keep, "{}"},
  });
}

TEST(SchemaWalker, ObjectsAndComposition) {
  const char* allOf =
      "    S:\n      properties: {c: {type: string}}\n      allOf:\n        - properties: {a: {type: integer}}\n"
      "        - {type: string}\n        - properties: {a: {type: boolean}, b: {type: 'null'}}\n";
  runRows({
      {"allOf merges, later members win", only31, allOf, "S", keep, R"({"a":true,"b":null})"},
      {"allOf with required only", both, allOf, "S", requiredOnly, "{}"},
      {"required only", both,
       "    S: {type: object, required: [id], properties: {id: {type: integer}, name: {type: string}}}\n", "S",
       requiredOnly, R"({"id":0})"},
      {"properties in name order", both, "    S: {properties: {b: {type: integer}, A: {type: integer}, a: {type: boolean}}}\n",
       "S", keep, R"({"A":0,"a":true,"b":0})"},
      {"anyOf before oneOf", both, "    S: {anyOf: [{type: integer}], oneOf: [{type: string}]}\n", "S", keep, "0"},
      {"first alternative only", both, "    S: {oneOf: [{$ref: '#/components/schemas/T'}, {type: string}]}\n    T: {type: boolean}\n",
       "S", keep, "true"},
      {"discriminator without mapping", both,
       "    Pet: {oneOf: [{$ref: '#/components/schemas/Cat'}, {$ref: '#/components/schemas/Dog'}], discriminator: {propertyName: petType}}\n"
       "    Cat: {properties: {name: {type: string}}}\n    Dog: {properties: {bark: {type: boolean}}}\n",
       "Pet", keep, R"({"name":"string","petType":"Cat"})"},
      {"discriminator of an inline alternative", both,
       "    Pet: {oneOf: [{properties: {n: {type: integer}}}], discriminator: {propertyName: kind}}\n", "Pet", keep,
       R"({"kind":"type","n":0})"},
      {"discriminator_mapping_listing_another_schema_first", both,
       "    Pet:\n      oneOf: [{$ref: '#/components/schemas/Cat'}, {$ref: '#/components/schemas/Dog'}]\n"
       "      discriminator: {propertyName: petType, mapping: {dog: '#/components/schemas/Dog', cat: '#/components/schemas/Cat'}}\n"
       "    Cat: {properties: {name: {type: string}}}\n    Dog: {properties: {bark: {type: boolean}}}\n",
       "Pet", keep, R"({"name":"string","petType":"cat"})"},
      {"discriminator mapping by component name", both,
       "    Pet:\n      anyOf: [{$ref: '#/components/schemas/Cat'}]\n"
       "      discriminator: {propertyName: petType, mapping: {dog: Dog, kitty: Cat}}\n"
       "    Cat: {type: object}\n    Dog: {type: object}\n",
       "Pet", keep, R"({"petType":"kitty"})"},
      {"discriminator mapping without the alternative", both,
       "    Pet:\n      oneOf: [{$ref: '#/components/schemas/Cat'}]\n"
       "      discriminator: {propertyName: petType, mapping: {dog: Dog}}\n"
       "    Cat: {type: object}\n    Dog: {type: object}\n",
       "Pet", keep, R"({"petType":"Cat"})"},
      {"discriminator over a scalar", both,
       "    S: {oneOf: [{type: integer}], discriminator: {propertyName: kind}}\n", "S", keep, "0"},
  });
}

#define CAT "    Cat: {properties: {petType: {enum: [cat]}, name: {type: string}}}\n"

TEST(SchemaWalker, DiscriminatorValuesTheAlternativePins) {
  runRows({
      {"single-valued enum", both,
       "    Pet: {oneOf: [{$ref: '#/components/schemas/Cat'}], discriminator: {propertyName: petType}}\n"
       CAT, "Pet", keep, R"({"name":"string","petType":"cat"})"},
      {"const", only31,
       "    Pet: {oneOf: [{$ref: '#/components/schemas/Cat'}], discriminator: {propertyName: petType}}\n"
       "    Cat: {properties: {petType: {const: kitty}}}\n",
       "Pet", keep, R"({"petType":"kitty"})"},
      {"the pinned value before the mapping", both,
       "    Pet:\n      oneOf: [{$ref: '#/components/schemas/Cat'}]\n"
       "      discriminator: {propertyName: petType, mapping: {feline: Cat}}\n" CAT,
       "Pet", keep, R"({"name":"string","petType":"cat"})"},
      {"inline alternative", both,
       "    S: {oneOf: [{properties: {kind: {enum: [circle]}}}], discriminator: {propertyName: kind}}\n", "S", keep,
       R"({"kind":"circle"})"},
      {"declared through allOf and a reference", both,
       "    Pet: {oneOf: [{$ref: '#/components/schemas/Dog'}], discriminator: {propertyName: petType}}\n"
       "    Dog: {allOf: [{$ref: '#/components/schemas/Base'}, {properties: {petType: {$ref: '#/components/schemas/DogTag'}}}]}\n"
       "    Base: {properties: {id: {type: integer}}}\n    DogTag: {type: string, enum: [dog]}\n",
       "Pet", keep, R"({"id":0,"petType":"dog"})"},
      {"nested discriminators", both,
       "    Outer: {oneOf: [{$ref: '#/components/schemas/Pet'}], discriminator: {propertyName: petType}}\n"
       "    Pet: {oneOf: [{$ref: '#/components/schemas/Cat'}], discriminator: {propertyName: petType}}\n" CAT,
       "Outer", keep, R"({"name":"string","petType":"cat"})"},
      {"an enum that leaves the name out gives its first value", both,
       "    Pet: {oneOf: [{$ref: '#/components/schemas/Cat'}], discriminator: {propertyName: petType}}\n"
       "    Cat: {properties: {petType: {enum: [a, b]}}}\n",
       "Pet", keep, R"({"petType":"a"})"},
      {"an enum that holds the name keeps it", both,
       "    Pet: {oneOf: [{$ref: '#/components/schemas/Cat'}], discriminator: {propertyName: petType}}\n"
       "    Cat: {properties: {petType: {enum: [a, Cat]}}}\n",
       "Pet", keep, R"({"petType":"Cat"})"},
      {"a cycle back to the union stays bounded", both,
       "    Pet: {oneOf: [{$ref: '#/components/schemas/Back'}], discriminator: {propertyName: petType}}\n"
       "    Back: {allOf: [{$ref: '#/components/schemas/Pet'}, {properties: {petType: {enum: [back]}}}]}\n",
       "Pet", keep, R"({"petType":"back"})"},
      {"a union of itself", both,
       "    Pet: {oneOf: [{$ref: '#/components/schemas/Pet'}], discriminator: {propertyName: petType}}\n", "Pet", keep,
       "null"},
  });
}

#undef CAT

TEST(SchemaWalker, EscapedComponentNames) {
  const char* schemas =
      "    'a/b': {type: integer, minimum: 7}\n    'a~b': {type: boolean}\n    'a~1': {type: string, enum: [one]}\n"
      "    V: {oneOf: [{$ref: '#/components/schemas/W~1x'}], discriminator: {propertyName: k}}\n"
      "    'W/x': {type: object}\n";
  runRows({
      {"~1 reads as a slash", both, schemas, "a~1b", keep, "7"},
      {"~0 reads as a tilde", both, schemas, "a~0b", keep, "true"},
      {"~01 reads as ~1", both, schemas, "a~01", keep, R"("one")"},
      {"an unknown escape names nothing", both, schemas, "a~2b",  keep,
       "error: Reference '#/components/schemas/a~2b' not found at path: "},
      {"a trailing tilde names nothing", both, schemas, "a~", keep,
       "error: Reference '#/components/schemas/a~' not found at path: "},
      {"a pointer into a component is not a component", both, schemas, "a/b", keep,
       "error: Reference '#/components/schemas/a/b' not found at path: "},
      {"the discriminator names the component unescaped", both, schemas, "V", keep, R"({"k":"W/x"})"},
  });
}

TEST(SchemaWalker, ReferencesAndCycles) {
  const char* node = "    Node: {type: object, properties: {value: {type: integer}, next: {$ref: '#/components/schemas/Node'}}}\n";
  runRows({
      {"cycle gives null", both, node, "Node", keep, R"({"next":null,"value":0})"},
      {"cycle truncated", both, node, "Node", truncating, R"({"next":{},"value":0})"},
      {"cycle fails", both, node, "Node", failing,
       "error: Cyclic reference detected for '#/components/schemas/Node' at path: next"},
      {"same component twice side by side", both,
       "    S: {properties: {a: {$ref: '#/components/schemas/T'}, b: {$ref: '#/components/schemas/T'}}}\n    T: {type: integer}\n",
       "S", failing, R"({"a":0,"b":0})"},
      {"other section", both, "    S: {properties: {a: {$ref: '#/components/responses/R'}}}\n", "S", keep,
       "error: Reference '#/components/responses/R' not found at path: a"},
      {"missing name", both, "    S: {items: {$ref: '#/components/schemas/Nope'}}\n", "S", keep,
       "error: Reference '#/components/schemas/Nope' not found at path: 0"},
      {"external", both, "    S: {allOf: [{$ref: 'other.yaml#/components/schemas/S'}]}\n", "S", keep,
       "error: Reference 'other.yaml#/components/schemas/S' not found at path: "},
      {"chained component", both, "    S: {$ref: '#/components/schemas/T'}\n    T: {type: integer}\n", "S", keep,
       "error: Reference '#/components/schemas/S' not found at path: "},
      {"depth limit names the path", both,
       "    S: {properties: {a: {properties: {b: {properties: {c: {type: string}}}}}}}\n", "S", depth3,
       "error: Maximum recursion depth (3) exceeded at path: a/b/c"},
      {"depth 0 stops at once", both, "    S: {type: string}\n", "S", depth0,
       "error: Maximum recursion depth (0) exceeded at path: "},
      {"depth 0 stops before resolving", both, "    S: {type: string}\n", "Missing", depth0,
       "error: Maximum recursion depth (0) exceeded at path: "},
  });
}

TEST(SchemaWalker, Arrays) {
  runRows({
      {"without items", both, "    S: {type: array}\n", "S", keep, "[]"},
      {"maximum of none", both, "    S: {type: array, maxItems: 0, items: {type: integer}}\n", "S", keep, "[]"},
      {"minimum over maximum", both, "    S: {type: array, minItems: 3, maxItems: 1, items: {type: integer}}\n", "S",
       keep, "[0,0,0]"},
      {"negative minimum", both, "    S: {type: array, minItems: -2, items: {type: integer}}\n", "S", keep, "[]"},
      {"prefix then items", only31,
       "    S: {type: array, minItems: 4, prefixItems: [{type: boolean}, {type: string}], items: {type: integer}}\n", "S",
       keep, R"([true,"string",0,0])"},
      {"prefix without items stops", only31,
       "    S: {type: array, minItems: 4, prefixItems: [{type: boolean}]}\n", "S", keep, "[true]"},
  });
}

TEST(SchemaWalker, NodesCarryTheirPaths) {
  VoziZazIre::ParseResult result = parseDescription(
      "3.1.0",
      "components:\n  schemas:\n    S:\n      properties:\n        tags: {type: array, minItems: 2, items: {type: string}}\n"
      "        a/b: {type: object, properties: {c: {default: {k: [1]}}}}\n");
  ExampleGenerator generator(applicationOptions());
  VoziZazIreCore::NodePtr root =
      generator.generate(VoziZazIreCore::ReferenceOr<ExampleModel31::Schema>(reference("#/components/schemas/S")),
                         result.document.v3_1()->components.get());
  const auto* tags = (*root)["tags"];
  const auto* c = (*(*root)["a/b"])["c"];
  struct Expect {
    const VoziZazIreCore::GenericNode* node;
    const char* pointer;
  };
  for (const Expect& e : {Expect{root.get(), ""}, Expect{tags, "tags"}, Expect{(*tags)[1], "tags/1"},
                          Expect{(*root)["a/b"], "a/b"}, Expect{c, "a/b/c"}, Expect{(*(*c)["k"])[0], "a/b/c/k/0"}}) {
    ASSERT_NE(e.node, nullptr) << e.pointer;
    EXPECT_EQ(std::string(e.node->jsonPointer()), e.pointer);
    EXPECT_EQ(e.node->range(), GenericNodeBuilder::syntheticRange);
  }
}

// One schema written for 3.0 and for 3.1 gives one example, and asking again prints the same text.
TEST(SchemaWalker, VersionsAgreeAndRequestsRepeat) {
  const char* schemas =
      "components:\n  schemas:\n"
      "    Order:\n      type: object\n      required: [id]\n      properties:\n"
      "        id: {type: integer, format: int64, minimum: 1}\n        when: {type: string, format: date-time}\n"
      "        items: {type: array, minItems: 2, items: {$ref: '#/components/schemas/Line'}}\n"
      "        status: {type: string, enum: [placed, shipped]}\n        customer: {$ref: '#/components/schemas/Customer'}\n"
      "    Line: {type: object, properties: {sku: {type: string, maxLength: 3}, qty: {type: integer, maximum: 9}, order: {$ref: '#/components/schemas/Order'}}}\n"
      "    Customer: {allOf: [{$ref: '#/components/schemas/Named'}, {properties: {email: {type: string, format: email}}}]}\n"
      "    Named: {properties: {name: {type: string, minLength: 8}}}\n";
  const std::string text30 = exampleText(parseDescription("3.0.3", schemas), "#/components/schemas/Order", applicationOptions(), true);
  const std::string text31 = exampleText(parseDescription("3.1.0", schemas), "#/components/schemas/Order", applicationOptions(), true);
  EXPECT_EQ(text30, text31);
  EXPECT_EQ(text30.rfind("error", 0), std::string::npos) << text30;
  EXPECT_EQ(exampleText(parseDescription("3.0.3", schemas), "#/components/schemas/Order", applicationOptions(), true), text30);
  EXPECT_NE(text30.find("  - order: null\n    qty: 9\n    sku: str"), std::string::npos) << text30;
}

}  // namespace

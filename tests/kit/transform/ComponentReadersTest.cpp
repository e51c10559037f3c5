#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kit/core/TransformError.h"
#include "kit/transform/ComponentReaders.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using CarvexTest::Reading;
using VoziZazIreCore::TransformError;
using VoziZazIreCore::ValidationLevel;
using VoziZazIreTransform::parseComponents;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;
using Strings = std::vector<std::string>;

TEST(Components, SchemaSectionHoldsValuesAndReferences) {
  Reading reading(R"({
  "schemas": {
    "Pet": {"type": "object"},
    "Alias": {"$ref": "#/components/schemas/Pet", "description": "same", "x-note": 1, "colour": 2}
  }
})");
  auto components = parseComponents<Version30>(*reading.root, reading.context);
  ASSERT_EQ(components->schemas->size(), 2u);
  EXPECT_EQ(components->schemas->find("Pet")->inlineValue()->location.jsonPointer, "/schemas/Pet");
  const auto* alias = components->schemas->find("Alias")->referenceValue();
  ASSERT_TRUE(alias && alias->location);
  EXPECT_EQ(alias->ref, "#/components/schemas/Pet");
  EXPECT_EQ(alias->description, "same");
  EXPECT_EQ(alias->location->jsonPointer, "/schemas/Alias/$ref");
  EXPECT_EQ(alias->location->locationRange.start.line, 4);
  EXPECT_EQ(alias->location->locationRange.start.column, 23);
  EXPECT_FALSE(components->vendorExtensions);
  EXPECT_TRUE(reading.findings().empty());
}

TEST(Components, SectionsOfAnotherKindAreAbsentAndEmptyObjectsEmpty) {
  Reading reading(R"({"responses": {}, "parameters": [], "examples": null, "headers": "none"})");
  auto components = parseComponents<Version30>(*reading.root, reading.context);
  EXPECT_TRUE(components->responses && components->responses->empty());
  EXPECT_FALSE(components->parameters || components->examples || components->headers || components->schemas);
  EXPECT_TRUE(reading.findings().empty());
  Reading other(R"({"components": [1, 2]})");
  auto empty = parseComponents<Version31>(other.at("/components"), other.context);
  EXPECT_FALSE(empty->schemas || empty->pathItems || empty->vendorExtensions);
  EXPECT_EQ(empty->location.jsonPointer, "/components");
  EXPECT_TRUE(other.findings().empty());
}

TEST(Components, UnknownSectionsAtLevelHighOnlyAndExtensionsKept) {
  for (ValidationLevel level : {ValidationLevel::high, ValidationLevel::low, ValidationLevel::none}) {
    Reading reading(R"({"webhooks": {}, "x-team": "core"})", level);
    auto components = parseComponents<Version31>(*reading.root, reading.context);
    ASSERT_TRUE(components->vendorExtensions);
    EXPECT_TRUE(components->vendorExtensions->contains("x-team"));
    Strings expected;
    if (level == ValidationLevel::high)
      expected.push_back("[GEN-001] Unknown property 'webhooks' in Components object @ /webhooks 1:14");
    EXPECT_EQ(reading.findings(), expected);
  }
}

TEST(Components, UnknownSectionFindingsComeAfterEntryFindings) {
  Reading reading(R"({"webhooks": 1, "schemas": {"A": {"nullable": true}}})");
  parseComponents<Version31>(*reading.root, reading.context);
  EXPECT_EQ(reading.findingMessages(), (Strings{"[GEN-001] Unknown property 'nullable' in Schema object",
                                                "[GEN-001] Unknown property 'webhooks' in Components object"}));
}

TEST(Components, PathItemsAreASectionOf31Only) {
  const char* text = R"({"pathItems": {"Shared": {"summary": "s"}, "Ref": {"$ref": "#/x"}}})";
  Reading reading30(text);
  auto components30 = parseComponents<Version30>(*reading30.root, reading30.context);
  EXPECT_EQ(reading30.findingMessages(), Strings{"[GEN-001] Unknown property 'pathItems' in Components object"});
  EXPECT_FALSE(components30->vendorExtensions);

  Reading reading31(text);
  auto components31 = parseComponents<Version31>(*reading31.root, reading31.context);
  ASSERT_TRUE(components31->pathItems);
  ASSERT_TRUE(components31->pathItems->find("Shared")->inlineValue());
  EXPECT_EQ(components31->pathItems->find("Shared")->inlineValue()->summary, "s");
  EXPECT_TRUE(components31->pathItems->find("Ref")->isReference());
  EXPECT_TRUE(reading31.findings().empty());
}

TEST(Components, EverySectionReachesItsReader) {
  // A path parameter among the components is not checked against any template.
  Reading reading(R"({
  "responses": {"Ok": {"description": "fine"}},
  "parameters": {"Id": {"name": "id", "in": "path", "required": true}},
  "examples": {"One": {"value": 1}},
  "requestBodies": {"Body": {"content": {}}},
  "headers": {"Rate": {"schema": {"type": "integer"}}},
  "securitySchemes": {"key": {"type": "apiKey", "name": "k", "in": "header"}},
  "links": {"Next": {"operationId": "next"}},
  "callbacks": {"Hook": {}}
})");
  auto components = parseComponents<Version31>(*reading.root, reading.context);
  EXPECT_EQ(components->responses->find("Ok")->inlineValue()->description, "fine");
  EXPECT_EQ(components->parameters->find("Id")->inlineValue()->name, "id");
  EXPECT_TRUE(components->examples->find("One")->inlineValue());
  EXPECT_TRUE(components->requestBodies->find("Body")->inlineValue());
  EXPECT_TRUE(components->headers->find("Rate")->inlineValue());
  EXPECT_EQ(components->securitySchemes->find("key")->inlineValue()->name, "k");
  EXPECT_TRUE(components->links->find("Next")->inlineValue());
  EXPECT_TRUE(components->callbacks->find("Hook")->inlineValue());
  EXPECT_TRUE(reading.findings().empty());
}

TEST(Components, EntryErrorsEndTheRead) {
  struct Row {
    const char* name;
    const char* json;
    const char* message;
    const char* pointer;
  };
  const Row rows[] = {
      {"scheme_as_text", R"({"securitySchemes": {"key": "apiKey"}})", "Missing or invalid 'type' in securityScheme",
       "/securitySchemes/key"},
      {"extension_named_scheme_is_an_entry", R"({"securitySchemes": {"x-internal": {"description": "d"}}})",
       "Missing or invalid 'type' in securityScheme", "/securitySchemes/x-internal"},
      {"response_without_description", R"({"responses": {"Bad": {}}})",
       "Missing required field 'description' in response", "/responses/Bad"},
      {"schema_discriminator", R"({"schemas": {"A": {"discriminator": {}}}})",
       "Missing required field 'propertyName' in discriminator", "/schemas/A/discriminator"},
  };
  for (const Row& row : rows) {
    Reading reading(row.json);
    try {
      parseComponents<Version30>(*reading.root, reading.context);
      ADD_FAILURE() << row.name << ": no error";
    } catch (const TransformError& error) {
      EXPECT_EQ(error.message(), row.message) << row.name;
      EXPECT_EQ(error.jsonPointer(), row.pointer) << row.name;
    }
  }
}

}  // namespace

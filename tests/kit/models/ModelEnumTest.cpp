// Raw values of the model enumerations, and the two small variants SchemaTypeOrArray and SchemaOrBool.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "ModelBuilders.h"

using namespace ModelBuilders;
using VoziZazIreCore::fromRawValue;

namespace {

// Every case in declaration order maps to its text and back.
template <class E>
void expectRawValuesInOrder(const char* name, const std::vector<std::string_view>& texts) {
  SCOPED_TRACE(name);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    auto value = static_cast<E>(i);
    EXPECT_EQ(rawValue(value), texts[i]);
    EXPECT_EQ(fromRawValue<E>(texts[i]), value);
  }
}

TEST(ModelEnums, RawValuesAreTheCaseNamesInDeclarationOrder) {
  expectRawValuesInOrder<ParameterLocation>("ParameterLocation", {"query", "header", "path", "cookie"});
  expectRawValuesInOrder<ParameterStyle>("ParameterStyle", {"matrix", "label", "form", "simple", "spaceDelimited",
                                                            "pipeDelimited", "deepObject"});
  expectRawValuesInOrder<SchemaType>("SchemaType",
                                     {"string", "number", "integer", "boolean", "array", "object", "null"});
  expectRawValuesInOrder<SecuritySchemeType>("SecuritySchemeType",
                                             {"apiKey", "http", "oauth2", "openIdConnect", "mutualTLS"});
  expectRawValuesInOrder<APIKeyLocation>("APIKeyLocation", {"query", "header", "cookie"});
  expectRawValuesInOrder<OpenAPI3_0::SchemaType>("OpenAPI3_0::SchemaType",
                                                 {"string", "number", "integer", "boolean", "array", "object"});
  expectRawValuesInOrder<OpenAPI3_0::SecuritySchemeType>("OpenAPI3_0::SecuritySchemeType",
                                                         {"apiKey", "http", "oauth2", "openIdConnect"});
  expectRawValuesInOrder<OpenAPI3_0::APIKeyLocation>("OpenAPI3_0::APIKeyLocation", {"query", "header", "cookie"});
}

TEST(ModelEnums, OnlyTheExactTextOfACaseIsAccepted) {
  struct Row {
    const char* name;
    bool found;
  };
  const Row rows[] = {
      {"3.0 schema type has no null", fromRawValue<OpenAPI3_0::SchemaType>("null").has_value()},
      {"capitalised type name", fromRawValue<SchemaType>("String").has_value()},
      {"3.0 capitalised type name", fromRawValue<OpenAPI3_0::SchemaType>("String").has_value()},
      {"style in lower case", fromRawValue<ParameterStyle>("spacedelimited").has_value()},
      {"mutualTLS in lower case", fromRawValue<SecuritySchemeType>("mutualtls").has_value()},
      {"3.0 security scheme has no mutualTLS", fromRawValue<OpenAPI3_0::SecuritySchemeType>("mutualTLS").has_value()},
      {"surrounding space", fromRawValue<ParameterLocation>(" query").has_value()},
      {"trailing space", fromRawValue<APIKeyLocation>("header ").has_value()},
      {"empty text", fromRawValue<ParameterLocation>("").has_value()},
      {"path is no API key location", fromRawValue<APIKeyLocation>("path").has_value()},
      {"text with an embedded NUL", fromRawValue<SchemaType>(std::string_view("null\0x", 6)).has_value()},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_FALSE(row.found);
  }
}

TEST(SchemaTypeOrArray, TypesListsTheWrittenTypesInOrderWithRepeats) {
  using T = SchemaType;
  struct Row {
    const char* name;
    SchemaTypeOrArray value;
    std::vector<T> types;
  };
  const Row rows[] = {
      {"single", SchemaTypeOrArray::single(T::integer), {T::integer}},
      {"multiple keeps repeats", SchemaTypeOrArray::multiple({T::string, T::null, T::string}),
       {T::string, T::null, T::string}},
      {"multiple of one", SchemaTypeOrArray::multiple({T::array}), {T::array}},
      {"empty multiple", SchemaTypeOrArray::multiple({}), {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.value.types(), row.types);
  }
}

TEST(SchemaTypeOrArray, EqualOnlyForTheSameCaseAndTheSameTypesInTheSameOrder) {
  using T = SchemaType;
  using STOA = SchemaTypeOrArray;
  struct Row {
    const char* name;
    STOA a, b;
    bool equal;
  };
  const Row rows[] = {
      {"same single", STOA::single(T::integer), STOA::single(T::integer), true},
      {"different single", STOA::single(T::integer), STOA::single(T::number), false},
      {"same list", STOA::multiple({T::string, T::null}), STOA::multiple({T::string, T::null}), true},
      {"list order matters", STOA::multiple({T::string, T::null}), STOA::multiple({T::null, T::string}), false},
      {"list length matters", STOA::multiple({T::string}), STOA::multiple({T::string, T::string}), false},
      {"single never equals a list", STOA::single(T::string), STOA::multiple({T::string}), false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.a == row.b, row.equal);
    EXPECT_EQ(row.b == row.a, row.equal);
  }
  auto single = STOA::single(T::boolean);
  EXPECT_TRUE(single.isSingle());
  EXPECT_EQ(single.singleValue(), T::boolean);
  EXPECT_EQ(single.multipleValue(), nullptr);
}

TEST(SchemaOrBool, FalseIsAPresentBooleanNotAMissingSchema) {
  auto no = SchemaOrBool::bool_(false);
  EXPECT_FALSE(no.isSchema());
  EXPECT_EQ(no.schemaValue(), nullptr);
  EXPECT_EQ(no.boolValue(), std::optional<bool>(false));

  auto inlineSchema = SchemaOrBool::schema(schema31("/additionalProperties", std::nullopt, std::nullopt, std::nullopt));
  ASSERT_TRUE(inlineSchema.isSchema());
  EXPECT_EQ(inlineSchema.boolValue(), std::nullopt);
  EXPECT_EQ(inlineSchema.schemaValue()->inlineValue()->location.jsonPointer, "/additionalProperties");

  auto reference = OpenAPI3_0::SchemaOrBool::schema(ref("#/components/schemas/Extra"));
  ASSERT_TRUE(reference.isSchema());
  EXPECT_EQ(reference.schemaValue()->referenceValue()->ref, "#/components/schemas/Extra");
  EXPECT_EQ(OpenAPI3_0::SchemaOrBool::bool_(true).boolValue(), std::optional<bool>(true));
}

}  // namespace

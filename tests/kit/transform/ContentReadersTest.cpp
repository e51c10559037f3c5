// Media types, encodings, examples and links.

#include <gtest/gtest.h>

#include "kit/transform/ContentReaders.h"
#include "tests/kit/transform/PathReaderTestSupport.h"

namespace {

using namespace CarvexTest;
using namespace VoziZazIreTransform;
using VoziZazIreModels::ParameterStyle;
using Strings = std::vector<std::string>;

auto mediaType30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseMediaType<Version30>(n, c); };
auto mediaType31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseMediaType<Version31>(n, c); };
auto encoding31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseEncoding<Version31>(n, c); };
auto example30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseExample<Version30>(n, c); };
auto link30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseLink<Version30>(n, c); };
auto link31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseLink<Version31>(n, c); };

// ---- media type ----------------------------------------------------------------------------------

TEST(MediaTypeTest, SchemaExampleAndExamplesAreAllKept) {
  constexpr const char* text =
      "schema: {type: string}\n"
      "example: abc\n"
      "examples:\n"
      "  one: {value: 1}\n"
      "  two: {$ref: '#/components/examples/two', summary: s}\n"
      "  x-three: {value: 3}\n"
      "  four: text\n"
      "encoding: []\n"
      "x-media: {a: 1}\n";
  auto read = readYaml(text, ValidationLevel::high, mediaType30);
  const auto& m = *read.model;
  ASSERT_TRUE(m.schema && m.example && m.examples);
  EXPECT_FALSE(m.schema->isReference());
  EXPECT_EQ(m.examples->size(), 4u);  // "x-" keys are entries, not extensions
  EXPECT_EQ(m.examples->find("two")->referenceValue()->summary, "s");
  // A non-object entry is an example with nothing in it and its own location.
  const auto* four = m.examples->find("four")->inlineValue();
  ASSERT_NE(four, nullptr);
  EXPECT_FALSE(four->value || four->summary || four->vendorExtensions);
  EXPECT_EQ(four->location.jsonPointer, "/examples/four");
  EXPECT_FALSE(m.encoding);
  ASSERT_TRUE(m.vendorExtensions);
  EXPECT_TRUE(read.findings().empty());
}

TEST(MediaTypeTest, NestedFindingsBeforeOwnUnknownProperties) {
  constexpr const char* text =
      "examples: {e: {$ref: 5, summary: s}}\n"
      "encoding: {p: {style: label}}\n"
      "schemas: {}\n";
  auto read = readYaml(text, ValidationLevel::high, mediaType31);
  EXPECT_EQ(read.findings(),
            (Strings{"[GEN-001] Unknown property '$ref' in Example object @ /examples/e/$ref 1:22",
                     "[ENC-STYLE] Invalid encoding style 'label'. Must be one of: form, spaceDelimited, pipeDelimited, "
                     "deepObject @ /encoding/p/style 2:23",
                     "[GEN-001] Unknown property 'schemas' in MediaType object @ /schemas 3:10"}));
  // The example with a numeric "$ref" is read inline and keeps its summary.
  const auto* e = read.model->examples->find("e")->inlineValue();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->summary, "s");
}

TEST(MediaTypeTest, EncodingEntriesWithHeaders) {
  constexpr const char* text =
      "encoding:\n"
      "  profileImage:\n"
      "    contentType: image/png\n"
      "    style: form\n"
      "    explode: true\n"
      "    headers: {X-Ref: {$ref: '#/components/headers/h'}, X-Inline: {}}\n";
  auto read = readYaml(text, ValidationLevel::high, mediaType31);
  ASSERT_TRUE(read.model->encoding);
  const auto* encoding = read.model->encoding->find("profileImage")->get();
  EXPECT_EQ(encoding->contentType, "image/png");
  EXPECT_EQ(encoding->style, ParameterStyle::form);
  EXPECT_EQ(encoding->explode, true);
  ASSERT_TRUE(encoding->headers);
  EXPECT_TRUE(encoding->headers->find("X-Ref")->isReference());
  EXPECT_FALSE(encoding->headers->find("X-Inline")->isReference());
  EXPECT_TRUE(read.findings().empty());
}

// ---- encoding styles -----------------------------------------------------------------------------

struct StyleRow {
  const char* name;
  const char* style;  // YAML value
  bool stored;
  bool reported;
};

class EncodingStyleTest : public testing::TestWithParam<StyleRow> {};

TEST_P(EncodingStyleTest, OnlyFourStylesAreAccepted) {
  auto read = readYaml(std::string("style: ") + GetParam().style + "\n", ValidationLevel::high, encoding31);
  EXPECT_EQ(read.model->style.has_value(), GetParam().stored);
  Strings expected;
  if (GetParam().reported)
    expected.push_back(std::string("[ENC-STYLE] Invalid encoding style '") + GetParam().style +
                       "'. Must be one of: form, spaceDelimited, pipeDelimited, deepObject @ /style 1:8");
  EXPECT_EQ(read.findings(), expected);
  EXPECT_TRUE(readYaml(std::string("style: ") + GetParam().style + "\n", ValidationLevel::low, encoding31).findings().empty());
}

INSTANTIATE_TEST_SUITE_P(Styles, EncodingStyleTest,
                         testing::Values(StyleRow{"form", "form", true, false},
                                         StyleRow{"spaceDelimited", "spaceDelimited", true, false},
                                         StyleRow{"pipeDelimited", "pipeDelimited", true, false},
                                         StyleRow{"deepObject", "deepObject", true, false},
                                         StyleRow{"matrix", "matrix", false, true}, StyleRow{"label", "label", false, true},
                                         StyleRow{"simple", "simple", false, true},
                                         StyleRow{"upper_case", "Form", false, true},
                                         StyleRow{"unknown", "tabular", false, true},
                                         StyleRow{"boolean", "true", false, false},
                                         StyleRow{"number", "5", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EncodingTest, FindingOrder) {
  auto read = readYaml("allowReserved: 'y'\nexplode: 'y'\nname: n\nstyle: simple\nheaders: {h: {style: x}}\n",
                       ValidationLevel::high, encoding31);
  EXPECT_EQ(read.messages(),
            (Strings{"[HDR-STYLE] Invalid header style 'x'. Must be one of: matrix, label, form, simple, spaceDelimited, "
                     "pipeDelimited, deepObject",
                     "[ENC-STYLE] Invalid encoding style 'simple'. Must be one of: form, spaceDelimited, pipeDelimited, "
                     "deepObject",
                     "[GEN-001] Unknown property 'name' in Encoding object",
                     "[GEN-002] Property 'explode' in Encoding object must be a boolean",
                     "[GEN-002] Property 'allowReserved' in Encoding object must be a boolean"}));
  EXPECT_FALSE(read.model->explode || read.model->allowReserved);
}

// ---- example -------------------------------------------------------------------------------------

TEST(ExampleTest, ValueAndExternalValueAreBothKeptAndANullValueIsPresent) {
  auto read = readYaml("value: {a: [1, 2.5]}\nexternalValue: 'https://e.x/a.json'\n", ValidationLevel::high, example30);
  ASSERT_TRUE(read.model->value);
  ASSERT_NE(read.model->value->objectValue(), nullptr);
  EXPECT_EQ(read.model->externalValue, "https://e.x/a.json");
  EXPECT_TRUE(read.findings().empty());
  auto withNull = readYaml("value: null\n", ValidationLevel::high, example30);
  ASSERT_TRUE(withNull.model->value);
  EXPECT_TRUE(withNull.model->value->isNull());
  EXPECT_FALSE(readYaml("summary: s\n", ValidationLevel::high, example30).model->value);
}

TEST(ExampleTest, UnknownPropertiesAndTextFieldsOfAnotherKind) {
  auto read = readYaml("summary: 1\ndescription: [d]\nexternalValue: {}\nvalues: 1\n", ValidationLevel::high, example30);
  EXPECT_FALSE(read.model->summary || read.model->description || read.model->externalValue);
  EXPECT_EQ(read.findings(), Strings{"[GEN-001] Unknown property 'values' in Example object @ /values 4:9"});
}

// ---- link ----------------------------------------------------------------------------------------

TEST(LinkTest, FieldsKeptAsPlainValues) {
  constexpr const char* text =
      "operationRef: '#/paths/~1users~1{id}/get'\n"
      "operationId: getUser\n"
      "parameters: {id: $response.body#/id, x-limit: 10}\n"
      "requestBody: $request.body\n"
      "description: d\n"
      "server: {url: 'https://api.example.com'}\n"
      "x-link: true\n";
  auto read = readYaml(text, ValidationLevel::high, link31);
  const auto& l = *read.model;
  EXPECT_EQ(l.operationRef, "#/paths/~1users~1{id}/get");
  EXPECT_EQ(l.operationId, "getUser");
  ASSERT_TRUE(l.parameters);
  EXPECT_EQ(l.parameters->size(), 2u);
  ASSERT_NE(l.parameters->find("id")->stringValue(), nullptr);
  EXPECT_EQ(*l.parameters->find("id")->stringValue(), "$response.body#/id");
  EXPECT_EQ(l.parameters->find("x-limit")->intValue(), 10);
  ASSERT_TRUE(l.requestBody);
  ASSERT_NE(l.requestBody->stringValue(), nullptr);
  EXPECT_EQ(*l.requestBody->stringValue(), "$request.body");
  ASSERT_TRUE(l.server);
  ASSERT_TRUE(l.vendorExtensions);
  EXPECT_TRUE(read.findings().empty());
}

TEST(LinkTest, ParametersOfAnotherKindAreAbsent) {
  auto read = readYaml("parameters: id\noperationRef: 3\nhref: /x\n", ValidationLevel::high, link30);
  EXPECT_FALSE(read.model->parameters || read.model->operationRef);
  EXPECT_EQ(read.findings(), Strings{"[GEN-001] Unknown property 'href' in Link object @ /href 3:7"});
}

TEST(LinkTest, ServerThatIsAStringEndsTheRead) {
  EXPECT_EQ(thrownBy("server: 'https://api.example.com'\n", ValidationLevel::none, link30),
            "Missing required field 'url' in server @ /server 1:9");
}

}  // namespace

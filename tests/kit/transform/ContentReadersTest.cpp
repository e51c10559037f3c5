// Media types, encodings, examples and links.

#include <gtest/gtest.h>

#include "kit/transform/ContentReaders.h"
#include "tests/kit/transform/ReaderTesting.h"

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

TEST(MediaTypeTest, ExamplesKeepXKeysAndEntriesOfAnotherKind) {
  constexpr const char* text =
      "examples:\n"
      "  two: {$ref: '#/components/examples/two', summary: s}\n"
      "  x-three: {value: 3}\n"
      "  four: text\n"
      "encoding: []\n";
  auto read = readYaml(text, ValidationLevel::high, mediaType30);
  const auto& m = *read.model;
  ASSERT_TRUE(m.examples);
  EXPECT_EQ(m.examples->size(), 3u);  // "x-" keys are entries, not extensions
  EXPECT_EQ(m.examples->find("two")->referenceValue()->summary, "s");
  // A non-object entry is an example with nothing in it and its own location.
  const auto* four = m.examples->find("four")->inlineValue();
  ASSERT_NE(four, nullptr);
  EXPECT_FALSE(four->value || four->summary || four->vendorExtensions);
  EXPECT_EQ(four->location.jsonPointer, "/examples/four");
  EXPECT_FALSE(m.encoding || m.vendorExtensions);
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

TEST(EncodingTest, OnlyFourStylesAreAccepted) {
  // 'k': kept; 'r': reported and not kept; 'o': of another kind, neither kept nor reported.
  const std::pair<const char*, char> rows[] = {
      {"form", 'k'},  {"spaceDelimited", 'k'}, {"pipeDelimited", 'k'}, {"deepObject", 'k'}, {"matrix", 'r'},
      {"label", 'r'}, {"simple", 'r'},         {"Form", 'r'},          {"tabular", 'r'},    {"true", 'o'},
      {"5", 'o'}};
  for (const auto& [style, kind] : rows) {
    const std::string text = std::string("style: ") + style + "\n";
    auto read = readYaml(text, ValidationLevel::high, encoding31);
    EXPECT_EQ(read.model->style.has_value(), kind == 'k') << style;
    Strings expected;
    if (kind == 'r')
      expected.push_back(std::string("[ENC-STYLE] Invalid encoding style '") + style +
                         "'. Must be one of: form, spaceDelimited, pipeDelimited, deepObject @ /style 1:8");
    EXPECT_EQ(read.findings(), expected);
    EXPECT_TRUE(readYaml(text, ValidationLevel::low, encoding31).findings().empty()) << style;
  }
  auto read = readYaml("encoding: {p: {style: form, headers: {X-Ref: {$ref: '#/components/headers/h'}}}}\n",
                       ValidationLevel::high, mediaType31);
  const auto* encoding = read.model->encoding->find("p")->get();
  EXPECT_EQ(encoding->style, ParameterStyle::form);
  EXPECT_TRUE(encoding->headers->find("X-Ref")->isReference());
}

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

TEST(ExampleTest, ValuesKeptANullValueIsPresentAndTextsOfAnotherKindAreAbsent) {
  auto read = readYaml("value: {a: [1, 2.5]}\nexternalValue: 'https://e.x/a.json'\n", ValidationLevel::high, example30);
  EXPECT_TRUE(read.model->value && read.model->value->objectValue());
  EXPECT_EQ(read.model->externalValue, "https://e.x/a.json");
  auto withNull = readYaml("value: null\n", ValidationLevel::high, example30);
  EXPECT_TRUE(withNull.model->value && withNull.model->value->isNull());
  auto odd = readYaml("summary: 1\ndescription: [d]\nexternalValue: {}\nvalues: 1\n", ValidationLevel::high, example30);
  EXPECT_FALSE(odd.model->value || odd.model->summary || odd.model->description || odd.model->externalValue);
  EXPECT_EQ(odd.findings(), Strings{"[GEN-001] Unknown property 'values' in Example object @ /values 4:9"});
}

// ---- link ----------------------------------------------------------------------------------------

TEST(LinkTest, ParametersAndRequestBodyKeptAsPlainValues) {
  auto read = readYaml("parameters: {id: $response.body#/id, x-limit: 10}\nrequestBody: $request.body\n",
                       ValidationLevel::high, link31);
  const auto& l = *read.model;
  ASSERT_TRUE(l.parameters && l.requestBody && l.requestBody->stringValue());
  EXPECT_EQ(l.parameters->size(), 2u);
  ASSERT_NE(l.parameters->find("id")->stringValue(), nullptr);
  EXPECT_EQ(*l.parameters->find("id")->stringValue(), "$response.body#/id");
  EXPECT_EQ(l.parameters->find("x-limit")->intValue(), 10);
  EXPECT_EQ(*l.requestBody->stringValue(), "$request.body");
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

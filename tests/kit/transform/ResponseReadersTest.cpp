// Responses (with the 3.1 status-code checks), single responses, request bodies and callbacks.

#include <gtest/gtest.h>

#include "kit/transform/PathReaders.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using namespace CarvexTest;
using namespace VoziZazIreTransform;
using Strings = std::vector<std::string>;

auto responses30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseResponses<Version30>(n, c); };
auto responses31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseResponses<Version31>(n, c); };
auto response31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseResponse<Version31>(n, c); };
auto requestBody30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseRequestBody<Version30>(n, c); };
auto callback30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseCallback<Version30>(n, c); };
auto callback31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseCallback<Version31>(n, c); };

constexpr const char* kNoSuccess = "[RSP-002] Operation should have at least one success response (2xx) or default";

// ---- 3.1 status keys -----------------------------------------------------------------------------

TEST(ResponsesTest, StatusKeysClassifiedIn31AcceptedIn30) {
  // 's': a success key; 'n': a valid key but no success; 'c': a code out of range; 'f': no code at all.
  const std::pair<const char*, char> rows[] = {
      {"200", 's'},     {"2XX", 's'},       {"default", 's'},  {"+204", 's'},   {"0200", 's'},   {"299", 's'},
      {"404", 'n'},     {"4XX", 'n'},       {"300", 'n'},      {"100", 'n'},    {"599", 'n'},
      {"600", 'c'},     {"99", 'c'},        {"-200", 'c'},     {"+700", 'c'},   {"9223372036854775807", 'c'},
      {"2xx", 'f'},     {"20X", 'f'},       {" 200", 'f'},     {"200 ", 'f'},   {"+-200", 'f'},  {"+", 'f'},
      {"", 'f'},        {"200.0", 'f'},     {"Default", 'f'},  {"99999999999999999999", 'f'},
      {"\xD9\xA2\xD9\xA0\xD9\xA0", 'f'},  // Arabic-Indic digits
  };
  for (const auto& [key, kind] : rows) {
    SCOPED_TRACE(std::string("'") + key + "'");
    Strings expected;
    if (kind == 'c') expected.push_back(std::string("[RSP-001] Invalid HTTP status code: ") + key);
    if (kind == 'f') expected.push_back(std::string("[RSP-001] Invalid HTTP status code format: ") + key);
    if (kind != 's') expected.push_back(kNoSuccess);
    std::string text = std::string("'") + key + "': {description: d}\n";
    auto read31 = readYaml(text, ValidationLevel::high, responses31);
    EXPECT_EQ(read31.messages(), expected);
    EXPECT_NE(read31.model->items.find(key), nullptr) << "stored under its key as written";
    auto read30 = readYaml(text, ValidationLevel::high, responses30);
    EXPECT_TRUE(read30.findings().empty());
    EXPECT_EQ(read30.model->items.size(), 1u);
  }
  EXPECT_TRUE(readYaml("'600': {description: d}\n", ValidationLevel::low, responses31).findings().empty());
}

TEST(ResponsesTest, StatusFindingsSitAtTheResponsesNodeAndPrecedeTheEntrysOwn31) {
  constexpr const char* text =
      "responses:\n"
      "  '700':\n"
      "    description: d\n"
      "    colour: red\n"
      "  x-note: kept\n";
  auto read = readYaml(text, ValidationLevel::high,
                       [](const auto& n, auto& c) { return parseResponses<Version31>(*n["responses"], c); });
  EXPECT_EQ(read.findings(), (Strings{"[RSP-001] Invalid HTTP status code: 700 @ /responses 2:3",
                                      "[GEN-001] Unknown property 'colour' in Response object @ /responses/700/colour 4:13",
                                      std::string(kNoSuccess) + " @ /responses 2:3"}));
  EXPECT_EQ(read.context.diagnostics[0].severity(), VoziZazIreCore::DiagnosticSeverity::error);
  EXPECT_EQ(read.context.diagnostics[2].severity(), VoziZazIreCore::DiagnosticSeverity::warning);
  EXPECT_EQ(read.model->items.size(), 1u);
  ASSERT_TRUE(read.model->vendorExtensions);
  EXPECT_TRUE(read.model->vendorExtensions->contains("x-note"));
}

TEST(ResponsesTest, EmptyOrNonObjectResponsesWarnAtHighOnly31) {
  for (const char* text : {"{}\n", "text\n", "[]\n", "x-only: 1\n"}) {
    EXPECT_EQ(readYaml(text, ValidationLevel::high, responses31).messages(), Strings{kNoSuccess}) << text;
    EXPECT_TRUE(readYaml(text, ValidationLevel::low, responses31).findings().empty()) << text;
    EXPECT_TRUE(readYaml(text, ValidationLevel::none, responses31).findings().empty()) << text;
    EXPECT_TRUE(readYaml(text, ValidationLevel::high, responses30).findings().empty()) << text;
  }
}

TEST(ResponseTest, DescriptionMustBeAString) {
  EXPECT_EQ(thrownBy("'200': ok\n", ValidationLevel::none, responses30),
            "Missing required field 'description' in response @ /200 1:8");
  EXPECT_EQ(thrownBy("description: 5\n", ValidationLevel::none, response31),
            "Missing required field 'description' in response @  1:1");
  EXPECT_EQ(readYaml("description: ''\n", ValidationLevel::high, response31).model->description, "");
}

TEST(ResponseTest, MapsKeepExtensionKeysAsEntriesAndMapsOfAnotherKindAreAbsent) {
  constexpr const char* text =
      "description: d\n"
      "headers: {x-rate-limit: {schema: {type: integer}}, X-Ref: {$ref: '#/components/headers/h'}}\n"
      "content: {application/json: {}, x-custom/type: {}}\n"
      "links: {next: {operationId: getNext}, x-link: {$ref: '#/components/links/l'}}\n"
      "x-response: 1\n";
  auto read = readYaml(text, ValidationLevel::high, response31);
  const auto& r = *read.model;
  ASSERT_TRUE(r.headers && r.content && r.links && r.vendorExtensions);
  EXPECT_FALSE(r.headers->find("x-rate-limit")->isReference());
  EXPECT_TRUE(r.headers->find("X-Ref")->isReference());
  EXPECT_EQ(r.content->size(), 2u);
  EXPECT_TRUE(r.links->find("x-link")->isReference());
  EXPECT_EQ(r.vendorExtensions->size(), 1u);
  EXPECT_TRUE(read.findings().empty());
  auto odd = readYaml("description: d\nheaders: []\ncontent: text\nlinks: 3\n", ValidationLevel::high, response31);
  EXPECT_FALSE(odd.model->headers || odd.model->content || odd.model->links);
  EXPECT_TRUE(odd.findings().empty());
}

TEST(ResponseTest, NestedFindingsComeBeforeOwnUnknownProperties) {
  auto read = readYaml("description: d\nsize: 3\nheaders: {h: {style: tabular}}\n", ValidationLevel::high, response31);
  EXPECT_EQ(read.messages(),
            (Strings{"[HDR-STYLE] Invalid header style 'tabular'. Must be one of: matrix, label, form, simple, "
                     "spaceDelimited, pipeDelimited, deepObject",
                     "[GEN-001] Unknown property 'size' in Response object"}));
}

// ---- request body --------------------------------------------------------------------------------

TEST(RequestBodyTest, ContentMustBeAnObject) {
  for (const char* text : {"description: d\n", "content: []\n", "content: application/json\n", "content: null\n", "body\n"})
    EXPECT_EQ(thrownBy(text, ValidationLevel::none, requestBody30), "Missing required field 'content' in requestBody @  1:1")
        << text;
}

TEST(RequestBodyTest, FieldsAndFindings) {
  auto read = readYaml("content: {}\nrequired: 'yes'\nschema: {}\n", ValidationLevel::high, requestBody30);
  EXPECT_TRUE(read.model->content.empty());
  EXPECT_FALSE(read.model->required);
  EXPECT_EQ(read.findings(), (Strings{"[GEN-001] Unknown property 'schema' in RequestBody object @ /schema 3:9",
                                      "[GEN-002] Property 'required' in RequestBody object must be a boolean @ /required 2:11"}));
  EXPECT_EQ(readYaml("content: {application/json: {}, x-type: {}}\n", ValidationLevel::high, requestBody30).model->content.size(),
            2u);
}

// ---- callbacks -----------------------------------------------------------------------------------

TEST(CallbackTest, EveryKeyButExtensionsIsAPathItem) {
  constexpr const char* text =
      "'{$request.body#/callbackUrl}':\n"
      "  post: {responses: {'200': {description: ok}}}\n"
      "not an expression:\n"
      "  $ref: '#/components/pathItems/p'\n"
      "x-hook: 1\n";
  auto read30 = readYaml(text, ValidationLevel::high, callback30);
  EXPECT_EQ(read30.model->expressions.size(), 2u);
  ASSERT_TRUE(read30.model->vendorExtensions);
  // The entry is no reference: its "$ref" is the path item's own field.
  EXPECT_EQ(read30.model->expressions.find("not an expression")->get()->ref, "#/components/pathItems/p");
  EXPECT_TRUE(read30.findings().empty());

  auto read31 = readYaml(text, ValidationLevel::high, callback31);
  EXPECT_EQ(read31.model->expression.size(), 2u);
  EXPECT_TRUE(read31.model->expression.find("{$request.body#/callbackUrl}")->get()->post);
}

TEST(CallbackTest, OperationErrorsPassThrough) {
  EXPECT_EQ(thrownBy("'{$url}': {get: {responses: {'200': {}}}}\n", ValidationLevel::none, callback31),
            "Missing required field 'description' in response @ /{$url}/get/responses/200 1:37");
}

}  // namespace

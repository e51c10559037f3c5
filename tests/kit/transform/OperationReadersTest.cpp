// Operations: the "responses" throw, duplicate operation ids, the 3.1 request-body warning, the order of
// findings inside one operation, and how members of the wrong kind are read.

#include <gtest/gtest.h>

#include "kit/transform/PathReaders.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using namespace CarvexTest;
using namespace VoziZazIreTransform;
using Strings = std::vector<std::string>;

auto operation30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseOperation<Version30>(n, c); };
auto paths30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parsePaths<Version30>(n, c); };
auto paths31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parsePaths<Version31>(n, c); };

auto operation31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parseOperation<Version31>(n, c); };

TEST(OperationTest, ThrowsOfTheOperationAndItsMembers) {
  for (ValidationLevel level : {ValidationLevel::none, ValidationLevel::low, ValidationLevel::high}) {
    EXPECT_EQ(thrownBy("summary: s\n", level, operation30), "Missing required field 'responses' in operation @  1:1");
    EXPECT_EQ(thrownBy("just text\n", level, operation30), "Missing required field 'responses' in operation @  1:1");
  }
  EXPECT_EQ(thrownBy("responses: {}\nrequestBody: text\n", ValidationLevel::none, operation30),
            "Missing required field 'content' in requestBody @ /requestBody 2:14");
  EXPECT_EQ(thrownBy("responses: {}\nexternalDocs: {description: d}\n", ValidationLevel::none, operation30),
            "Missing required field 'url' in externalDocs @ /externalDocs 2:15");
}

TEST(OperationTest, ResponsesAreOptionalIn31AndOfAnyKindIn30) {
  EXPECT_FALSE(readYaml("summary: s\n", ValidationLevel::high, operation31).model->responses);
  EXPECT_FALSE(readYaml("summary: s\n", ValidationLevel::none, operation31).model->responses);
  auto read = readYaml("responses: none\n", ValidationLevel::high, operation30);
  ASSERT_TRUE(read.model->responses);
  EXPECT_TRUE(read.model->responses->items.empty());
  EXPECT_EQ(read.model->responses->location.jsonPointer, "/responses");
}

TEST(OperationTest, FieldsAsWritten) {
  constexpr const char* text =
      "responses: {'200': {description: ok}}\n"
      "tags: [pets, 3, store]\n"
      "description: [d]\n"
      "security: []\n"
      "requestBody: {$ref: '#/components/requestBodies/b', summary: rs}\n"
      "callbacks: {x-cb: {$ref: '#/components/callbacks/c'}}\n"
      "x-owner: me\n";
  auto read = readYaml(text, ValidationLevel::high, operation30);
  const auto& op = *read.model;
  EXPECT_EQ(op.tags, (Strings{"pets", "store"}));
  EXPECT_FALSE(op.description);
  ASSERT_TRUE(op.security);  // an empty array means "no security" and must stay distinct from absent
  EXPECT_TRUE(op.security->empty());
  ASSERT_TRUE(op.requestBody && op.requestBody->isReference());
  EXPECT_EQ(op.requestBody->referenceValue()->summary, "rs");
  ASSERT_TRUE(op.callbacks);  // "x-" keys of the callbacks map are callbacks, not extensions
  EXPECT_TRUE(op.callbacks->contains("x-cb"));
  EXPECT_TRUE(op.vendorExtensions && op.vendorExtensions->contains("x-owner"));
  EXPECT_TRUE(read.findings().empty());
}

TEST(OperationTest, WrongKindsAreAbsent) {
  auto read = readYaml("responses: {}\ntags: pets\nparameters: {}\ncallbacks: []\nsecurity: {}\noperationId: 7\n"
                       "deprecated: 'true'\n", ValidationLevel::high, operation30);
  EXPECT_FALSE(read.model->tags || read.model->parameters || read.model->callbacks || read.model->security ||
               read.model->operationId || read.model->deprecated);
  EXPECT_TRUE(read.context.operationIds.empty());
  EXPECT_EQ(read.findings(), Strings{"[GEN-002] Property 'deprecated' in Operation object must be a boolean @ /deprecated 7:13"});
}

// ---- duplicate operation ids ---------------------------------------------------------------------

TEST(OperationIdTest, LaterDuplicatesNameTheFirstOperationAtLevelHighAndAreRegisteredAtEveryLevel) {
  constexpr const char* text =
      "/pets:\n"
      "  get: {operationId: pets, responses: {}}\n"
      "  post: {operationId: pets, responses: {}}\n"
      "  put: {operationId: pets, responses: {}}\n";
  auto read = readYaml(text, ValidationLevel::high, paths30);
  // get, put, post is the reading order, whatever the order in the text.
  EXPECT_EQ(read.findings(),
            (Strings{"[OPR-001] Duplicate operationId 'pets' (first at /~1pets/get) @ /~1pets/put 4:8",
                     "[OPR-001] Duplicate operationId 'pets' (first at /~1pets/get) @ /~1pets/post 3:9"}));
  EXPECT_EQ(read.context.diagnostics[0].severity(), VoziZazIreCore::DiagnosticSeverity::error);
  EXPECT_EQ(read.model->items.find("/pets")->get()->post->operationId, "pets");
  for (ValidationLevel level : {ValidationLevel::none, ValidationLevel::low}) {
    auto below = readYaml(text, level, paths30);
    EXPECT_TRUE(below.findings().empty());
    ASSERT_EQ(below.context.operationIds.count("pets"), 1u);
    EXPECT_EQ(below.context.operationIds.at("pets").jsonPointer, "/~1pets/get");
  }
}

TEST(OperationIdTest, CallbackOperationRepeatingAPathOperationIsADuplicate) {
  constexpr const char* text =
      "/subscribe:\n"
      "  post:\n"
      "    operationId: notify\n"
      "    responses: {}\n"
      "    callbacks:\n"
      "      onEvent:\n"
      "        '{$request.body#/url}':\n"
      "          post:\n"
      "            operationId: notify\n"
      "            responses: {}\n";
  auto read = readYaml(text, ValidationLevel::high, paths31);
  // Responses are read before the id, so the callback's own operation registers after its owner's.
  EXPECT_EQ(read.messages(), (Strings{"[RSP-002] Operation should have at least one success response (2xx) or default",
                                      "[RSP-002] Operation should have at least one success response (2xx) or default",
                                      "[OPR-001] Duplicate operationId 'notify' (first at /~1subscribe/post)"}));
}

// ---- 3.1 request body on GET, HEAD, DELETE -------------------------------------------------------

TEST(RequestBodyMethodTest, WarnsOnGetHeadDeleteIn31Only) {
  const std::pair<const char*, const char*> rows[] = {{"get", "GET"}, {"head", "HEAD"}, {"delete", "DELETE"},
                                                      {"post", nullptr}, {"put", nullptr}, {"patch", nullptr},
                                                      {"options", nullptr}, {"trace", nullptr}};
  for (const auto& [method, upper] : rows) {
    SCOPED_TRACE(method);
    const std::string text =
        std::string("/p:\n  ") + method + ":\n    requestBody: {content: {}}\n    responses: {default: {description: d}}\n";
    auto read31 = readYaml(text, ValidationLevel::high, paths31);
    if (upper) {
      EXPECT_EQ(read31.findings(),
                Strings{"[RQB-002] " + std::string(upper) + " operation should not have a request body @ /~1p/" + method + " 3:5"});
      EXPECT_EQ(read31.context.diagnostics[0].severity(), VoziZazIreCore::DiagnosticSeverity::warning);
    } else {
      EXPECT_TRUE(read31.findings().empty());
    }
    EXPECT_TRUE(readYaml(text, ValidationLevel::high, paths30).findings().empty());
    EXPECT_TRUE(readYaml(text, ValidationLevel::low, paths31).findings().empty());
  }
}

TEST(RequestBodyMethodTest31, BodyIsStillReadAndAnyKindCounts) {
  auto read = readYaml("/p:\n  get:\n    requestBody: {content: {}}\n    responses: {'200': {description: ok}}\n",
                       ValidationLevel::high, paths31);
  EXPECT_TRUE(read.model->items.find("/p")->get()->get->requestBody);
  // A request body of another kind counts as present for the warning, then throws in its own reader.
  EXPECT_EQ(thrownBy("/p:\n  get:\n    requestBody: 5\n    responses: {}\n", ValidationLevel::high, paths31),
            "Missing required field 'content' in requestBody @ /~1p/get/requestBody 3:18");
}

// ---- order of findings in one operation ----------------------------------------------------------

TEST(OperationFindingOrderTest, ResponsesThenIdThenBodyWarningThenParametersThenOwnUnknowns31) {
  constexpr const char* text =
      "/a:\n"
      "  post:\n"
      "    operationId: dup\n"
      "    responses: {'200': {description: ok}}\n"
      "  delete:\n"
      "    colour: red\n"
      "    deprecated: 1\n"
      "    parameters: [{name: q, in: header, allowEmptyValue: true}]\n"
      "    requestBody:\n"
      "      content: {}\n"
      "      required: 'no'\n"
      "    operationId: dup\n"
      "    responses:\n"
      "      '600': {description: far}\n";
  auto read = readYaml(text, ValidationLevel::high, paths31);
  EXPECT_EQ(read.messages(),
            (Strings{"[RSP-001] Invalid HTTP status code: 600",
                     "[RSP-002] Operation should have at least one success response (2xx) or default",
                     "[OPR-001] Duplicate operationId 'dup' (first at /~1a/post)",
                     "[RQB-002] DELETE operation should not have a request body",
                     "[PRM-004] allowEmptyValue is only valid for query parameters",
                     "[GEN-002] Property 'required' in RequestBody object must be a boolean",
                     "[GEN-001] Unknown property 'colour' in Operation object",
                     "[GEN-002] Property 'deprecated' in Operation object must be a boolean"}));
}

}  // namespace

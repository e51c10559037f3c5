// Paths, path items and the path-template names of 3.1.

#include <gtest/gtest.h>

#include <algorithm>

#include "kit/transform/PathReaders.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using namespace CarvexTest;
using namespace VoziZazIreTransform;
using Strings = std::vector<std::string>;

auto paths30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parsePaths<Version30>(n, c); };
auto paths31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parsePaths<Version31>(n, c); };

// ---- path template names -------------------------------------------------------------------------

TEST(PathTemplateNamesTest, NamesBetweenBraces) {
  const std::pair<const char*, Strings> rows[] = {
      {"/pets", {}},          {"/pets/{petId}", {"petId"}}, {"/owners/{ownerId}/pets/{petId}", {"ownerId", "petId"}},
      {"/a/{b}{c}", {"b", "c"}}, {"/{}", {}},              {"/{id}/{id}", {"id"}},
      {"/{a{b}", {"a{b"}},    {"/{petId", {}},              {"/file.{ext}", {"ext"}},
      {"/{ a }", {" a "}},    {"/k\xC3\xA4se/{gr\xC3\xB6\xC3\x9F" "e}", {"gr\xC3\xB6\xC3\x9F" "e"}}};
  for (const auto& [key, expected] : rows) {
    PathTemplateNames names = pathTemplateNamesOf(key);
    Strings sorted(names.begin(), names.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected) << key;
  }
}

// ---- paths ---------------------------------------------------------------------------------------

constexpr const char* kPaths =
    "/pets: {}\n"
    "pets: {}\n"
    "x-internal: true\n"
    "'': {}\n";

TEST(PathsTest, KeyWithoutSlashIsReportedAtLowAndHighAndStillRead) {
  for (ValidationLevel level : {ValidationLevel::low, ValidationLevel::high}) {
    auto read = readYaml(kPaths, level, paths30);
    EXPECT_EQ(read.findings(), (Strings{"[PTH-001] Path 'pets' must start with '/' @ /pets 2:7",
                                        "[PTH-001] Path '' must start with '/' @ / 4:5"}));
    ASSERT_EQ(read.model->items.size(), 3u);
    EXPECT_NE(read.model->items.find("pets"), nullptr);
    EXPECT_NE(read.model->items.find(""), nullptr);
    EXPECT_EQ(read.context.diagnostics[0].severity(), VoziZazIreCore::DiagnosticSeverity::error);
  }
  auto none = readYaml(kPaths, ValidationLevel::none, paths31);
  EXPECT_TRUE(none.findings().empty());
  EXPECT_EQ(none.model->items.size(), 3u);
  EXPECT_EQ(none.model->items.find("x-internal"), nullptr) << "extension keys are no paths";
  EXPECT_TRUE(none.model->vendorExtensions && none.model->vendorExtensions->contains("x-internal"));
}

TEST(PathsTest, PathsAndPathItemsOfAnotherKindAreEmpty) {
  auto read = readYaml("/a: text\n/b: 5\n/c: null\n", ValidationLevel::high, paths30);
  EXPECT_TRUE(read.findings().empty());
  for (const char* key : {"/a", "/b", "/c"}) {
    const auto* item = (*read.model)[key];
    ASSERT_NE(item, nullptr) << key;
    EXPECT_EQ(item->location.jsonPointer, std::string("/~1") + (key + 1));
    EXPECT_FALSE(item->ref || item->summary || item->parameters || item->servers || item->vendorExtensions);
    EXPECT_FALSE(item->get || item->put || item->post || item->delete_ || item->options || item->head ||
                 item->patch || item->trace);
  }
  auto list = readYaml("- /pets\n", ValidationLevel::high, paths31);
  EXPECT_TRUE(list.model->items.empty() && !list.model->vendorExtensions && list.findings().empty());
}

// ---- path items ----------------------------------------------------------------------------------

constexpr const char* kResponses = "responses: {default: {description: d}}";

auto pathItem30 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parsePathItem<Version30>(n, c); };
auto pathItem31 = [](const VoziZazIreCore::GenericNode& n, TransformContext& c) { return parsePathItem<Version31>(n, c); };

TEST(PathItemTest, FieldsAndOperationsInPlace) {
  std::string text = std::string("$ref: '#/components/pathItems/p'\ndescription: 7\nget: {") + kResponses +
                     "}\ndelete: {" + kResponses + "}\ntrace: {" + kResponses +
                     "}\nparameters: [{$ref: '#/components/parameters/p'}]\n";
  auto read = readYaml(text, ValidationLevel::high, pathItem31);
  const auto& item = *read.model;
  EXPECT_EQ(item.ref, "#/components/pathItems/p");
  EXPECT_FALSE(item.description);
  EXPECT_TRUE(item.get && item.delete_ && item.trace);
  EXPECT_FALSE(item.put || item.post || item.options || item.head || item.patch);
  EXPECT_EQ(item.delete_->location.jsonPointer, "/delete");
  ASSERT_EQ(item.parameters->size(), 1u);
  EXPECT_TRUE((*item.parameters)[0].isReference());
  EXPECT_TRUE(read.findings().empty());
}

TEST(PathItemTest, UpperCaseMethodIsAnUnknownPropertyAndNoOperation) {
  std::string text = std::string("GET: {") + kResponses + "}\n";
  auto read = readYaml(text, ValidationLevel::high, pathItem30);
  EXPECT_FALSE(read.model->get);
  EXPECT_EQ(read.findings(), Strings{"[GEN-001] Unknown property 'GET' in PathItem object @ /GET 1:6"});
  EXPECT_TRUE(readYaml(text, ValidationLevel::low, pathItem30).findings().empty());
}

TEST(PathItemTest, ParameterFindingsComeBeforeOwnUnknownPropertiesBeforeOperations) {
  constexpr const char* text =
      "get:\n"
      "  responses: {}\n"
      "  colour: red\n"
      "colour: blue\n"
      "parameters:\n"
      "  - {name: id, in: path}\n";
  auto read = readYaml(text, ValidationLevel::high, pathItem30);
  EXPECT_EQ(read.messages(), (Strings{"[PRM-001] Path parameter 'id' must have required: true",
                                      "[GEN-001] Unknown property 'colour' in PathItem object",
                                      "[GEN-001] Unknown property 'colour' in Operation object"}));
}

TEST(PathItemTest, ParametersOfAnotherKindAreAbsentAndAnEmptyArrayIsKept) {
  EXPECT_FALSE(readYaml("parameters: {a: 1}\n", ValidationLevel::high, pathItem31).model->parameters);
  auto empty = readYaml("parameters: []\nservers: []\n", ValidationLevel::high, pathItem31);
  EXPECT_TRUE(empty.model->parameters && empty.model->parameters->empty());
  EXPECT_TRUE(empty.model->servers && empty.model->servers->empty());
  EXPECT_EQ(thrownBy("get: null\n", ValidationLevel::none, pathItem30),
            "Missing required field 'responses' in operation @ /get 1:6");
}

// 3.1: the path key's names reach the parameters of the path item and of its operations.
constexpr const char* kTemplatedPaths =
    "/pets/{petId}:\n"
    "  parameters:\n"
    "    - {name: petId, in: path, required: true}\n"
    "    - {name: ownerId, in: path, required: true}\n"
    "  get:\n"
    "    parameters:\n"
    "      - {name: other, in: path, required: true}\n"
    "      - {name: other, in: query}\n"
    "    responses: {'200': {description: ok}}\n";

TEST(PathItemTest, TemplateNamesReachParametersOfPathItemAndOperations31) {
  EXPECT_EQ(readYaml(kTemplatedPaths, ValidationLevel::high, paths31).findings(),
            (Strings{"[PRM-002] Path parameter 'ownerId' not found in path template @ /~1pets~1{petId}/parameters/1 4:7",
                     "[PRM-002] Path parameter 'other' not found in path template @ /~1pets~1{petId}/get/parameters/0 7:9"}));
  EXPECT_TRUE(readYaml(kTemplatedPaths, ValidationLevel::high, paths30).findings().empty()) << "no template check in 3.0";
}

TEST(PathItemTest, PathItemWithoutKeyChecksNoTemplate31) {
  // A webhook, component path item or callback entry: the names are empty, so no PRM-002.
  constexpr const char* text =
      "parameters: [{name: anything, in: path, required: true}]\n"
      "post:\n"
      "  parameters: [{name: other, in: path, required: true}]\n"
      "  responses: {'200': {description: ok}}\n";
  auto read = readYaml(text, ValidationLevel::high, pathItem31);
  EXPECT_TRUE(read.findings().empty());
}

// ---- through the facade --------------------------------------------------------------------------

TEST(PathsThroughFacadeTest, DocumentPathsAreReadWithTheirPointers) {
  constexpr const char* text =
      "openapi: 3.1.0\n"
      "info: {title: t, version: '1'}\n"
      "paths:\n"
      "  pets:\n"
      "    get:\n"
      "      responses: {'200': {description: ok}}\n";
  auto result = parseYaml(text, ValidationLevel::low);
  // Level low: the transform's findings only.
  EXPECT_EQ(findings(result.diagnostics), Strings{"[PTH-001] Path 'pets' must start with '/' @ /paths/pets 5:5"});
  ASSERT_NE(document31(result), nullptr);
  const auto* item = (*document31(result)->paths)["pets"];
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->get);
  EXPECT_EQ(item->get->location.jsonPointer, "/paths/pets/get");
}

}  // namespace

TEST(PathTemplateNamesTest, long_run_of_unclosed_braces_is_read_in_linear_time) {
  std::string key = "/" + std::string(1000000, '{') + "{a}";
  auto names = VoziZazIreTransform::pathTemplateNamesOf(key);
  // The first "}" closes the text from the first "{": one name holding every brace but the last.
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names.begin()->size(), 1000001u);
  EXPECT_EQ(VoziZazIreTransform::pathTemplateNamesOf("/a/{b}{c}/{}"), (VoziZazIreTransform::PathTemplateNames{"b", "c"}));
}

#include <gtest/gtest.h>

#include <set>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::messages;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;
using VoziZazIreCore::Diagnostic;

// The step of the fixed walk a finding belongs to.
int stepOf(const Diagnostic& d) {
  const std::string& m = d.message();
  const std::string pointer = d.jsonPointer().value_or("");
  auto is = [&](std::string_view prefix) { return m.starts_with(prefix); };
  if (is("[DOC-") || is("[V31-008]")) return 1;
  if (is("[SRV-")) return 2;
  if (is("[PTH-") || is("[OPR-001]") || is("[OPR-003]") || is("[PRM-") || is("[RQB-") || is("[RSP-")) return 3;
  if (is("[SCH-")) return pointer.starts_with("/paths") ? 3 : 5;
  if (is("[SEC-")) return 4;
  if (is("[OPR-004]")) return 6;
  if (is("[V30-") || is("[V31-")) return 7;
  if (is("[REF-")) return 8;
  return 0;
}

std::string everywhere(std::string_view version) {
  return "openapi: " + std::string(version) + R"(
info:
  title: ''
  version: '1'
  contact: {email: nobody}
  license: {name: MIT, url: license.txt}
servers:
  - url: 'https://{missing}.example.com'
paths:
  pets:
    get:
      operationId: same
      parameters:
        - name: id
          in: path
          schema: {type: array, minItems: -1}
      requestBody: {content: {}}
      responses: {'600': {description: x}}
  /b:
    post:
      operationId: same
      responses: {'201': {description: ok}}
components:
  securitySchemes: {Key: {type: apiKey, name: k, in: header}, Http: {type: http, scheme: basic},
                    Broken: {type: apiKey, in: header}}
  schemas:
    Pet: {type: object, required: [name], properties: {tags: {type: array}, owner: {$ref: '#/components/schemas/No'}}}
    Alias: {$ref: '#/components/schemas/Nowhere'}
security: [{Undeclared: []}]
)";
}

class WalkOrderTest : public testing::TestWithParam<const char*> {};

// The same validator runs three times: each run starts from a fresh context, and without reference checks
// only the reference findings are missing.
TEST_P(WalkOrderTest, FindingsFollowTheFixedOrderOfSteps) {
  const auto result = CarvexTest::parseYaml(everywhere(GetParam()), VoziZazIreCore::ValidationLevel::none);
  std::vector<Diagnostic> found, again, withoutRefs;
  const auto run = [&](const auto& validator, const auto& document) {
    found = validator.validate(document, true);
    again = validator.validate(document, true);
    withoutRefs = validator.validate(document, false);
  };
  if (const auto* document = CarvexTest::document30(result))
    run(VoziZazIreValidation::OpenAPI30Validator(), *document);
  else
    run(VoziZazIreValidation::OpenAPI31Validator(), *CarvexTest::document31(result));
  int previous = 1;
  std::set<int> steps;
  for (const auto& d : found) {
    const int step = stepOf(d);
    ASSERT_NE(step, 0) << d.message();
    EXPECT_GE(step, previous) << "out of order: " << d.message() << "\n" << testing::PrintToString(described(found));
    previous = step;
    steps.insert(step);
  }
  // Info, servers, paths, security schemes, schemas, root security, version and references all report.
  for (int step = 1; step <= 8; ++step) EXPECT_EQ(steps.count(step), 1u) << "no finding of step " << step;
  EXPECT_EQ(described(again), described(found));
  std::vector<Diagnostic> kept;
  for (const auto& d : found)
    if (!d.message().starts_with("[REF-")) kept.push_back(d);
  EXPECT_EQ(described(withoutRefs), described(kept));
}

TEST_P(WalkOrderTest, TheRulesOfThisSetComeInTheirOrder) {
  const auto found = validateYaml(everywhere(GetParam()), true);
  EXPECT_EQ(
      described(withCodes(found, {"DOC-002", "DOC-006", "DOC-007", "SRV-002", "PTH-001", "OPR-001", "PRM-001",
                                  "PRM-002", "RQB-002", "RSP-001", "RSP-002"})),
      (std::vector<std::string>{
          "error [DOC-002] info.title must not be empty @ /info 3:3",
          "warning [DOC-006] info.contact.email should be a valid email: nobody @ /info/contact 5:12",
          "warning [DOC-007] info.license.url should be a valid URL: license.txt @ /info/license 6:12",
          "error [SRV-002] Template variable '{missing}' in server URL has no matching variable definition @ "
          "/servers/0 8:5",
          "error [PTH-001] Path 'pets' must start with '/' @ /paths/pets 11:5",
          "error [PRM-001] Path parameter 'id' must have required: true @ /paths/pets/get/parameters/0 14:11",
          "error [PRM-002] Path parameter 'id' not found in path template @ /paths/pets/get/parameters/0 14:11",
          "warning [RQB-002] GET operation should not have a request body @ /paths/pets/get 12:7",
          "error [RSP-001] Invalid HTTP status code: 600 @ /paths/pets/get/responses 18:18",
          "warning [RSP-002] Operation should have at least one success response (2xx) or default @ "
          "/paths/pets/get/responses 18:18",
          "error [OPR-001] Duplicate operationId 'same' (first defined at /paths/pets/get) @ /paths/~1b/post 21:7",
      }));
}

INSTANTIATE_TEST_SUITE_P(Versions, WalkOrderTest, testing::Values("3.0.x", "3.1.x"),
                         [](const auto& info) { return std::string(info.param[2] == '0' ? "v30" : "v31"); });

TEST(WalkAtLevelHigh, TheTransformsFindingsComeFirstAndARepeatIsReportedOnce) {
  const auto result = CarvexTest::parseYaml(R"(openapi: 3.0.3
info:
  title: ' '
  version: '1'
  colour: red
paths: {}
)");
  const auto titles = withCodes(result.diagnostics, {"DOC-002"});
  ASSERT_EQ(titles.size(), 1u) << testing::PrintToString(messages(result));
  EXPECT_EQ(titles[0].message(), "[DOC-002] info.title must not be empty");
  EXPECT_EQ(titles[0].jsonPointer(), "/info");
  // The validator's finding is the one kept: the transform's own findings come before it.
  ASSERT_EQ(result.diagnostics.size(), 2u);
  EXPECT_TRUE(result.diagnostics.front().message().starts_with("[GEN-001]"));
  EXPECT_EQ(result.diagnostics.back().message(), titles[0].message());
}

TEST(WalkAtLevelHigh, NoValidatorRunsBelowHigh) {
  const std::string text = everywhere("3.0.3");
  for (auto level : {VoziZazIreCore::ValidationLevel::none, VoziZazIreCore::ValidationLevel::low}) {
    const auto result = CarvexTest::parseYaml(text, level);
    EXPECT_TRUE(withCodes(result.diagnostics, {"PRM-001", "PRM-002", "DOC-006", "SRV-002"}).empty());
  }
}

TEST(WalkRobustness, ManyPathsAndDeepKeysFinishQuickly) {
  std::string text = "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths:\n";
  std::string key = "/";
  for (int i = 0; i < 2000; ++i) key += "{p" + std::to_string(i) + "}/";
  text += "  '" + key + "':\n    get:\n      responses: {'200': {description: ok}}\n";
  for (int i = 0; i < 3000; ++i)
    text += "  /r" + std::to_string(i) +
            ":\n    get:\n      operationId: op\n      responses: {'200': {description: ok}}\n";
  const auto found = validateYaml(text);
  EXPECT_EQ(withCodes(found, {"OPR-001"}).size(), 2999u);
}

}  // namespace

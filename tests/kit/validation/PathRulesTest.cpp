#include <gtest/gtest.h>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::messages;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;

TEST(PathRules, AKeyWithoutLeadingSlashIsReportedAtThePathItemAndItsOperationsAreStillChecked) {
  for (const char* version : {"3.0.3", "3.1.0"}) {
    const auto found = validateYaml(std::string("openapi: ") + version + R"(
info: {title: t, version: '1'}
paths:
  pets:
    get:
      responses: {'404': {description: gone}}
  /ok:
    get:
      responses: {'200': {description: fine}}
)");
    EXPECT_EQ(described(withCodes(found, {"PTH-001", "RSP-002"})),
              (std::vector<std::string>{
                  "error [PTH-001] Path 'pets' must start with '/' @ /paths/pets 5:5",
                  "warning [RSP-002] Operation should have at least one success response (2xx) or default @ "
                  "/paths/pets/get/responses 6:18",
              }))
        << version;
  }
}

TEST(PathRules, KeysOfEveryShapeAreJudgedByTheirFirstCharacterOnly) {
  const auto found = validateYaml(R"(openapi: 3.0.3
info: {title: t, version: '1'}
paths:
  /: {}
  '{id}': {}
  ' /pets': {}
  //double: {}
)");
  EXPECT_EQ(messages(withCodes(found, {"PTH-001"})),
            (std::vector<std::string>{"[PTH-001] Path '{id}' must start with '/'",
                                      "[PTH-001] Path ' /pets' must start with '/'"}));
}

TEST(PathRules, ThePathItemsOwnParametersAreNotChecked) {
  const auto found = validateYaml(R"(openapi: 3.0.3
info: {title: t, version: '1'}
paths:
  /pets:
    parameters:
      - {name: id, in: path}
    get:
      responses: {'200': {description: ok}}
)");
  EXPECT_TRUE(withCodes(found, {"PRM-001", "PRM-002"}).empty());
}

TEST(PathRules, OperationsReachedThroughCallbacksComponentsOrWebhooksAreNotVisited) {
  const auto found = validateYaml(R"(openapi: 3.1.0
info: {title: t, version: '1'}
paths:
  /subscribe:
    post:
      responses: {'201': {description: made}}
      callbacks:
        onEvent:
          '{$request.body#/url}':
            get:
              responses: {'404': {description: x}}
webhooks:
  ping:
    get:
      responses: {'404': {description: x}}
components:
  pathItems:
    Shared:
      get:
        responses: {'404': {description: x}}
)");
  EXPECT_TRUE(withCodes(found, {"RSP-002", "RQB-002", "OPR-001"}).empty()) << testing::PrintToString(described(found));
}

}  // namespace

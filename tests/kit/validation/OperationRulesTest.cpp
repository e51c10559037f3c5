#include <gtest/gtest.h>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::messages;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;

TEST(OperationRules, DuplicateOperationIdsNameTheFirstOperationReached) {
  for (const char* version : {"3.0.3", "3.1.0"}) {
    const auto found = validateYaml(std::string("openapi: ") + version + R"(
info: {title: t, version: '1'}
paths:
  /a:
    post:
      operationId: list
      responses: {'200': {description: ok}}
    get:
      operationId: list
      responses: {'200': {description: ok}}
  /b:
    get:
      operationId: list
      responses: {'200': {description: ok}}
    put:
      operationId: other
      responses: {'200': {description: ok}}
)");
    // get comes before post in the walk, whatever the order in the text.
    EXPECT_EQ(described(withCodes(found, {"OPR-001"})),
              (std::vector<std::string>{
                  "error [OPR-001] Duplicate operationId 'list' (first defined at /paths/~1a/get) @ /paths/~1a/post 6:7",
                  "error [OPR-001] Duplicate operationId 'list' (first defined at /paths/~1a/get) @ /paths/~1b/get 13:7",
              }))
        << version;
  }
}

struct BodyRow {
  const char* method;
  const char* body;
  std::vector<std::string> expected;
};

class RequestBodyTest : public testing::TestWithParam<BodyRow> {};

TEST_P(RequestBodyTest, OnlyGetHeadAndDeleteAreWarned) {
  const auto found = validateYaml(std::string(R"(openapi: 3.0.3
info: {title: t, version: '1'}
paths:
  /a:
    )") + GetParam().method + ":\n      requestBody: " + GetParam().body +
                                  "\n      responses: {'200': {description: ok}}\n"
                                  "components:\n  requestBodies:\n    Body: {content: {}}\n");
  EXPECT_EQ(messages(withCodes(found, {"RQB-002"})), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RequestBodyTest,
    testing::Values(BodyRow{"get", "{content: {}}", {"[RQB-002] GET operation should not have a request body"}},
                    BodyRow{"head", "{content: {}}", {"[RQB-002] HEAD operation should not have a request body"}},
                    BodyRow{"delete", "{$ref: '#/components/requestBodies/Body'}",
                            {"[RQB-002] DELETE operation should not have a request body"}},
                    BodyRow{"put", "{content: {}}", {}}, BodyRow{"post", "{content: {}}", {}},
                    BodyRow{"options", "{content: {}}", {}}, BodyRow{"patch", "{content: {}}", {}},
                    BodyRow{"trace", "{content: {}}", {}}),
    [](const auto& info) { return std::string(info.param.method); });

TEST(OperationRules, FindingsOfOneOperationComeInRuleOrderAndMethodsInFixedOrder) {
  const auto found = validateYaml(R"(openapi: 3.0.3
info: {title: t, version: '1'}
paths:
  /a:
    trace:
      responses: {}
    delete:
      operationId: x
      parameters:
        - {name: id, in: path, required: true}
      requestBody: {content: {}}
      responses: {'99': {description: x}}
    get:
      operationId: x
      responses: {'200': {description: ok}}
)");
  EXPECT_EQ(messages(found), (std::vector<std::string>{
                                 "[OPR-001] Duplicate operationId 'x' (first defined at /paths/~1a/get)",
                                 "[PRM-002] Path parameter 'id' not found in path template",
                                 "[RQB-002] DELETE operation should not have a request body",
                                 "[RSP-001] Invalid HTTP status code: 99",
                                 "[RSP-002] Operation should have at least one success response (2xx) or default",
                                 "[RSP-002] Operation should have at least one success response (2xx) or default",
                             }));
}

}  // namespace

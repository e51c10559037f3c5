// The rules of the paths step: path keys, operations, their parameters, request bodies and responses.

#include <gtest/gtest.h>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::messagesOf;
using CarvexTest::placesOf;
using CarvexTest::Row;

std::string withPaths(std::string_view paths, std::string_view version = "3.0.3") {
  return "openapi: " + std::string(version) + "\ninfo: {title: t, version: '1'}\npaths:\n" + std::string(paths);
}

TEST(PathRules, AKeyWithoutLeadingSlashIsReportedAtThePathItemAndItsOperationsAreStillChecked) {
  for (const char* version : {"3.0.3", "3.1.0"})
    EXPECT_EQ(placesOf(withPaths("  pets:\n    get:\n      responses: {'404': {description: gone}}\n"
                                 "  /ok:\n    get:\n      responses: {'200': {description: fine}}\n"
                                 "  '{id}': {}\n  ' /pets': {}\n  //double: {}\n  /: {}\n",
                                 version),
                       {"PTH-001", "RSP-002"}),
              (std::vector<std::string>{
                  "error [PTH-001] Path 'pets' must start with '/' @ /paths/pets 5:5",
                  "warning [RSP-002] Operation should have at least one success response (2xx) or default @ "
                  "/paths/pets/get/responses 6:18",
                  "error [PTH-001] Path '{id}' must start with '/' @ /paths/{id} 10:11",
                  "error [PTH-001] Path ' /pets' must start with '/' @ /paths/ ~1pets 11:13",
              }))
        << version;
}

// The path item's own parameters are not checked; operations reached through callbacks, components or
// webhooks are not visited.
TEST(PathRules, OnlyTheOperationsOfPathsAreVisited) {
  EXPECT_TRUE(messagesOf(withPaths(R"(  /pets:
    parameters: [{name: id, in: path}]
    post:
      responses: {'201': {description: made}}
      callbacks: {onEvent: {'{$request.body#/url}': {get: {responses: {'404': {description: x}}}}}}
webhooks: {ping: {get: {responses: {'404': {description: x}}}}}
components: {pathItems: {Shared: {get: {responses: {'404': {description: x}}}}}}
)",
                                   "3.1.0"),
                         {"RSP-002", "RQB-002", "OPR-001", "PRM-001", "PRM-002"})
                  .empty());
}

TEST(OperationRules, DuplicateOperationIdsNameTheFirstOperationReached) {
  for (const char* version : {"3.0.3", "3.1.0"})
    // get comes before post in the walk, whatever the order in the text.
    EXPECT_EQ(
        placesOf(withPaths(R"(  /a:
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
)",
                           version),
                 {"OPR-001"}),
        (std::vector<std::string>{
            "error [OPR-001] Duplicate operationId 'list' (first defined at /paths/~1a/get) @ /paths/~1a/post 6:7",
            "error [OPR-001] Duplicate operationId 'list' (first defined at /paths/~1a/get) @ /paths/~1b/get 13:7",
        }))
        << version;
}

TEST(OperationRules, FindingsOfOneOperationComeInRuleOrderAndMethodsInFixedOrder) {
  EXPECT_EQ(CarvexTest::messages(CarvexTest::validateYaml(withPaths(R"(  /a:
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
)"))),
            (std::vector<std::string>{
                "[OPR-001] Duplicate operationId 'x' (first defined at /paths/~1a/get)",
                "[PRM-002] Path parameter 'id' not found in path template",
                "[RQB-002] DELETE operation should not have a request body",
                "[RSP-001] Invalid HTTP status code: 99",
                "[RSP-002] Operation should have at least one success response (2xx) or default",
                "[RSP-002] Operation should have at least one success response (2xx) or default",
            }));
}

TEST(OperationRules, OnlyGetHeadAndDeleteAreWarnedOfARequestBody) {
  for (const std::string method : {"get", "head", "delete", "put", "post", "options", "patch", "trace"}) {
    const std::string body = method == "delete" ? "{$ref: '#/components/requestBodies/Body'}" : "{content: {}}";
    const auto found = messagesOf(withPaths("  /a:\n    " + method + ":\n      requestBody: " + body +
                                            "\n      responses: {'200': {description: ok}}\n"
                                            "components:\n  requestBodies:\n    Body: {content: {}}\n"),
                                  {"RQB-002"});
    const char* upper = method == "get" ? "GET" : method == "head" ? "HEAD" : method == "delete" ? "DELETE" : nullptr;
    EXPECT_EQ(found, upper ? std::vector<std::string>{std::string("[RQB-002] ") + upper +
                                                      " operation should not have a request body"}
                           : std::vector<std::string>{})
        << method;
  }
}

// Each row: the path key, then the operation's parameters.
const CarvexTest::Codes kParameterCodes = {"OPR-003", "PRM-001", "PRM-002", "PRM-004"};

class ParameterTest : public CarvexTest::RowTest {};

TEST_P(ParameterTest, Messages) {
  const std::string& input = GetParam().input;
  const auto split = input.find('\n');
  for (const std::string& version : CarvexTest::versionsOf(GetParam()))
    EXPECT_EQ(
        messagesOf(withPaths("  '" + input.substr(0, split) +
                                 "':\n    get:\n      responses: {'200': {description: ok}}\n      parameters:\n" +
                                 input.substr(split + 1) + "components:\n  parameters:\n    Id: {name: id, in: path}\n",
                             version),
                   kParameterCodes),
        GetParam().expected)
        << version;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParameterTest,
    testing::Values(
        Row{"declared_required_path_parameter", "/pets/{id}\n        - {name: id, in: path, required: true}\n", {}},
        Row{"required_false",
            "/pets/{id}\n        - {name: id, in: path, required: false}\n",
            {"[PRM-001] Path parameter 'id' must have required: true"}},
        Row{"template_compare_is_case_sensitive",
            "/pets/{Id}\n        - {name: id, in: path, required: true}\n",
            {"[PRM-002] Path parameter 'id' not found in path template"}},
        Row{"unused_template_name_is_fine", "/pets/{id}/{extra}\n        - {name: id, in: path, required: true}\n", {}},
        Row{"reference_in_path_position_is_skipped",
            "/pets\n        - $ref: '#/components/parameters/Id'\n        - $ref: '#/components/parameters/Id'\n",
            {}},
        Row{"duplicate_name_and_location_and_path_rules_on_both",
            "/pets\n        - {name: id, in: path}\n        - {name: id, in: path}\n",
            {"[PRM-001] Path parameter 'id' must have required: true",
             "[PRM-002] Path parameter 'id' not found in path template",
             "[OPR-003] Duplicate parameter 'id' in 'path' (first at /paths/~1pets/get/parameters/0)",
             "[PRM-001] Path parameter 'id' must have required: true",
             "[PRM-002] Path parameter 'id' not found in path template"}},
        Row{"same_name_other_location_is_no_duplicate",
            "/p\n        - {name: id, in: query}\n        - {name: id, in: header}\n        - {name: id, in: cookie}\n",
            {}},
        Row{"third_duplicate_names_the_first",
            "/p\n        - {name: q, in: query}\n        - {name: q, in: query}\n        - {name: q, in: query}\n",
            {"[OPR-003] Duplicate parameter 'q' in 'query' (first at /paths/~1p/get/parameters/0)",
             "[OPR-003] Duplicate parameter 'q' in 'query' (first at /paths/~1p/get/parameters/0)"}},
        Row{"allow_empty_value_on_query", "/p\n        - {name: q, in: query, allowEmptyValue: true}\n", {}},
        Row{"allow_empty_value_false_on_cookie", "/p\n        - {name: c, in: cookie, allowEmptyValue: false}\n", {}}),
    CarvexTest::rowName);

// Placed at the parameter; the map of first declarations is per operation.
TEST(ParameterRules, FindingsArePlacedAtTheParameter) {
  EXPECT_EQ(
      placesOf(withPaths("  /p:\n    get:\n      responses: {'200': {description: ok}}\n      parameters:\n"
                         "        - name: h\n          in: header\n          allowEmptyValue: true\n"
                         "        - {name: h, in: header}\n"
                         "    put: {parameters: [{name: h, in: header}], responses: {'200': {description: ok}}}\n"),
               kParameterCodes),
      (std::vector<std::string>{
          "warning [PRM-004] allowEmptyValue is only valid for query parameters @ "
          "/paths/~1p/get/parameters/0 8:11",
          "error [OPR-003] Duplicate parameter 'h' in 'header' (first at /paths/~1p/get/parameters/0) @ "
          "/paths/~1p/get/parameters/1 11:11",
      }));
}

// Each row: the response keys, one a line.
constexpr const char* kNoSuccess = "[RSP-002] Operation should have at least one success response (2xx) or default";

class ResponseTest : public CarvexTest::RowTest {};

TEST_P(ResponseTest, Messages) {
  std::string responses = GetParam().input.empty() ? " {}\n" : "\n";
  for (std::size_t at = 0; at < GetParam().input.size();) {
    const auto end = GetParam().input.find('\n', at);
    responses += "        '" + GetParam().input.substr(at, end - at) + "': {description: d}\n";
    at = end + 1;
  }
  for (const std::string& version : CarvexTest::versionsOf(GetParam()))
    EXPECT_EQ(messagesOf(withPaths("  /a:\n    get:\n      responses:" + responses, version), {"RSP-001", "RSP-002"}),
              GetParam().expected)
        << version;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ResponseTest,
    testing::Values(Row{"plus_sign_is_read_as_number", "+204\n", {}}, Row{"wildcard_success", "2XX\n", {}},
                    Row{"other_wildcards_are_accepted_but_no_success", "1XX\n3XX\n4XX\n5XX\n", {kNoSuccess}},
                    Row{"lower_case_wildcard", "2xx\n", {"[RSP-001] Invalid HTTP status code format: 2xx", kNoSuccess}},
                    Row{"minus_one", "-1\ndefault\n", {"[RSP-001] Invalid HTTP status code: -1"}},
                    Row{"bounds", "100\n599\n299\n", {}},
                    Row{"just_outside_bounds",
                        "99\n600\n",
                        {"[RSP-001] Invalid HTTP status code: 99", "[RSP-001] Invalid HTTP status code: 600",
                         kNoSuccess}},
                    Row{"leading_zeros", "0200\n", {}},
                    Row{"empty_key", "\n", {"[RSP-001] Invalid HTTP status code format: ", kNoSuccess}},
                    Row{"key_with_space", "20 0\ndefault\n", {"[RSP-001] Invalid HTTP status code format: 20 0"}},
                    Row{"sign_only", "+\ndefault\n", {"[RSP-001] Invalid HTTP status code format: +"}},
                    Row{"beyond_64_bits",
                        "99999999999999999999\ndefault\n",
                        {"[RSP-001] Invalid HTTP status code format: 99999999999999999999"}},
                    Row{"lowest_64_bit_value",
                        "-9223372036854775808\ndefault\n",
                        {"[RSP-001] Invalid HTTP status code: -9223372036854775808"}},
                    Row{"not_found_and_default", "404\ndefault\n", {}}, Row{"empty_map", "", {kNoSuccess}}),
    CarvexTest::rowName);

}  // namespace

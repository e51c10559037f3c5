#include <gtest/gtest.h>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::messages;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;

const std::initializer_list<std::string_view> kParameterCodes = {"OPR-003", "PRM-001", "PRM-002", "PRM-004"};

std::string operationWith(std::string_view pathKey, std::string_view parameters, std::string_view version = "3.0.3") {
  return "openapi: " + std::string(version) + "\ninfo: {title: t, version: '1'}\npaths:\n  '" + std::string(pathKey) +
         "':\n    get:\n      responses: {'200': {description: ok}}\n      parameters:\n" + std::string(parameters) +
         "components:\n  parameters:\n    Id: {name: id, in: path}\n";
}

struct ParameterRow {
  const char* name;
  const char* pathKey;
  const char* parameters;
  std::vector<std::string> expected;
};

class ParameterTest : public testing::TestWithParam<ParameterRow> {};

TEST_P(ParameterTest, Messages) {
  for (const char* version : {"3.0.3", "3.1.0"}) {
    const auto found = validateYaml(operationWith(GetParam().pathKey, GetParam().parameters, version));
    EXPECT_EQ(messages(withCodes(found, kParameterCodes)), GetParam().expected) << version;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParameterTest,
    testing::Values(
        ParameterRow{"declared_required_path_parameter", "/pets/{id}", "        - {name: id, in: path, required: true}\n",
                     {}},
        ParameterRow{"required_absent_and_not_in_template", "/pets", "        - {name: id, in: path}\n",
                     {"[PRM-001] Path parameter 'id' must have required: true",
                      "[PRM-002] Path parameter 'id' not found in path template"}},
        ParameterRow{"required_false", "/pets/{id}", "        - {name: id, in: path, required: false}\n",
                     {"[PRM-001] Path parameter 'id' must have required: true"}},
        ParameterRow{"template_compare_is_case_sensitive", "/pets/{Id}",
                     "        - {name: id, in: path, required: true}\n",
                     {"[PRM-002] Path parameter 'id' not found in path template"}},
        ParameterRow{"unused_template_name_is_fine", "/pets/{id}/{extra}",
                     "        - {name: id, in: path, required: true}\n", {}},
        ParameterRow{"reference_in_path_position_is_skipped", "/pets",
                     "        - $ref: '#/components/parameters/Id'\n        - $ref: '#/components/parameters/Id'\n", {}},
        ParameterRow{"duplicate_name_and_location_and_path_rules_on_both", "/pets",
                     "        - {name: id, in: path}\n        - {name: id, in: path}\n",
                     {"[PRM-001] Path parameter 'id' must have required: true",
                      "[PRM-002] Path parameter 'id' not found in path template",
                      "[OPR-003] Duplicate parameter 'id' in 'path' (first at "
                      "/paths/~1pets/get/parameters/0)",
                      "[PRM-001] Path parameter 'id' must have required: true",
                      "[PRM-002] Path parameter 'id' not found in path template"}},
        ParameterRow{"same_name_other_location_is_no_duplicate", "/p",
                     "        - {name: id, in: query}\n        - {name: id, in: header}\n        - {name: id, in: "
                     "cookie}\n",
                     {}},
        ParameterRow{"third_duplicate_names_the_first", "/p",
                     "        - {name: q, in: query}\n        - {name: q, in: query}\n        - {name: q, in: query}\n",
                     {"[OPR-003] Duplicate parameter 'q' in 'query' (first at /paths/~1p/get/parameters/0)",
                      "[OPR-003] Duplicate parameter 'q' in 'query' (first at /paths/~1p/get/parameters/0)"}},
        ParameterRow{"allow_empty_value_on_header", "/p", "        - {name: h, in: header, allowEmptyValue: true}\n",
                     {"[PRM-004] allowEmptyValue is only valid for query parameters"}},
        ParameterRow{"allow_empty_value_on_query", "/p", "        - {name: q, in: query, allowEmptyValue: true}\n", {}},
        ParameterRow{"allow_empty_value_false_on_cookie", "/p",
                     "        - {name: c, in: cookie, allowEmptyValue: false}\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParameterRules, FindingsArePlacedAtTheParameter) {
  const auto found = validateYaml(operationWith("/p", "        - name: h\n          in: header\n"
                                                      "          allowEmptyValue: true\n"
                                                      "        - {name: h, in: header}\n"));
  EXPECT_EQ(described(withCodes(found, kParameterCodes)),
            (std::vector<std::string>{
                "warning [PRM-004] allowEmptyValue is only valid for query parameters @ "
                "/paths/~1p/get/parameters/0 8:11",
                "error [OPR-003] Duplicate parameter 'h' in 'header' (first at /paths/~1p/get/parameters/0) @ "
                "/paths/~1p/get/parameters/1 11:11",
            }));
}

TEST(ParameterRules, TheMapOfFirstDeclarationsIsPerOperation) {
  const auto found = validateYaml(R"(openapi: 3.0.3
info: {title: t, version: '1'}
paths:
  /p:
    get:
      parameters: [{name: q, in: query}]
      responses: {'200': {description: ok}}
    put:
      parameters: [{name: q, in: query}]
      responses: {'200': {description: ok}}
)");
  EXPECT_TRUE(withCodes(found, {"OPR-003"}).empty());
}

TEST(ParameterRules, InlineParameterSchemasGetTheSchemaRulesAfterTheParameterRules) {
  const auto found = validateYaml(operationWith("/p", R"(        - name: q
          in: header
          allowEmptyValue: true
          schema: {type: array}
        - name: r
          in: query
          schema: {$ref: '#/components/schemas/Missing'}
)"));
  const auto relevant = withCodes(found, {"PRM-004", "SCH-011"});
  ASSERT_FALSE(relevant.empty());
  EXPECT_EQ(relevant.front().message(), "[PRM-004] allowEmptyValue is only valid for query parameters");
  // Once the schema rules report, the array without items follows the parameter's own finding.
  for (std::size_t i = 1; i < relevant.size(); ++i)
    EXPECT_EQ(relevant[i].jsonPointer(), "/paths/~1p/get/parameters/0/schema");
}

}  // namespace

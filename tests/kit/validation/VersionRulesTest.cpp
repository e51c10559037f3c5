#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/validation/ValidationContext.h"
#include "kit/validation/VersionRules.h"
#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::messages;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;
using VoziZazIreCore::ValidationLevel;
using VoziZazIreValidation::OpenAPI30ValidationRules;
using VoziZazIreValidation::OpenAPI31ValidationRules;
using VoziZazIreValidation::ValidationContext;

// The version rules alone on a document read as 3.0 or 3.1 whatever its "openapi" value says, so that values
// the version detection would refuse still reach the rules.
std::vector<std::string> versionRuleMessages(const std::string& openapi, bool as31) {
  const std::string text = "openapi: '" + openapi + "'\ninfo: {title: t, version: '1'}\npaths: {}\n";
  ValidationContext context;
  if (as31) {
    auto transformed = CarvexTest::transform31(text, ValidationLevel::none);
    OpenAPI31ValidationRules{}.validate(*transformed.result.model, context);
  } else {
    auto transformed = CarvexTest::transform30(text, ValidationLevel::none);
    OpenAPI30ValidationRules{}.validate(*transformed.result.model, context);
  }
  return messages(context.diagnostics());
}

struct VersionRow {
  const char* name;
  const char* value;
  bool as31;
  bool fires;
};

void PrintTo(const VersionRow& row, std::ostream* os) { *os << row.name; }

class VersionMatchTest : public testing::TestWithParam<VersionRow> {};

TEST_P(VersionMatchTest, Pattern) {
  const VersionRow& row = GetParam();
  std::vector<std::string> expected;
  if (row.fires)
    expected.push_back(std::string(row.as31 ? "[V31-001]" : "[V30-001]") + " openapi version '" + row.value +
                       "' must match pattern '" + (row.as31 ? "3.1.x" : "3.0.x") + "'");
  EXPECT_EQ(versionRuleMessages(row.value, row.as31), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, VersionMatchTest,
                         testing::Values(VersionRow{"v30_3_0_0", "3.0.0", false, false},
                                         VersionRow{"v30_3_0_3", "3.0.3", false, false},
                                         VersionRow{"v30_3_0_10", "3.0.10", false, false},
                                         VersionRow{"v30_two_parts", "3.0", false, true},
                                         VersionRow{"v30_letter_patch", "3.0.x", false, true},
                                         VersionRow{"v30_leading_letter", "v3.0.1", false, true},
                                         VersionRow{"v30_suffix", "3.0.1-rc1", false, true},
                                         VersionRow{"v30_empty_patch", "3.0.", false, true},
                                         VersionRow{"v30_other_minor", "3.1.0", false, true},
                                         VersionRow{"v30_inner_space", "3.0. 1", false, true},
                                         VersionRow{"v31_3_1_0", "3.1.0", true, false},
                                         VersionRow{"v31_3_1_1", "3.1.1", true, false},
                                         VersionRow{"v31_two_parts", "3.1", true, true},
                                         VersionRow{"v31_other_minor", "3.0.3", true, true},
                                         VersionRow{"v31_four_parts", "3.1.0.1", true, true}),
                         [](const testing::TestParamInfo<VersionRow>& info) { return std::string(info.param.name); });

TEST(VersionRules, VersionFindingIsPlacedAtTheDocument) {
  const auto found = withCodes(validateYaml("openapi: 3.0.x\ninfo: {title: t, version: '1'}\npaths: {}\n"), {"V30-001"});
  EXPECT_EQ(described(found),
            std::vector<std::string>{"error [V30-001] openapi version '3.0.x' must match pattern '3.0.x' @  1:1"});
}

std::string document31(std::string_view rest) {
  return "openapi: 3.1.0\ninfo: {title: t, version: '1'}\n" + std::string(rest);
}

struct DialectRow {
  const char* name;
  const char* line;  // the jsonSchemaDialect line, or empty for none
  std::vector<std::string> expected;
};

void PrintTo(const DialectRow& row, std::ostream* os) { *os << row.name; }

class DialectTest : public testing::TestWithParam<DialectRow> {};

TEST_P(DialectTest, UrlParser) {
  const auto found = validateYaml(document31(std::string(GetParam().line) + "paths: {}\n"));
  EXPECT_EQ(messages(withCodes(found, {"V31-002"})), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DialectTest,
    testing::Values(DialectRow{"absent", "", {}},
                    DialectRow{"absolute", "jsonSchemaDialect: https://spec.openapis.org/oas/3.1/dialect/base\n", {}},
                    DialectRow{"relative_needs_no_scheme", "jsonSchemaDialect: dialects/base\n", {}},
                    DialectRow{"urn", "jsonSchemaDialect: 'urn:example:dialect'\n", {}},
                    DialectRow{"empty", "jsonSchemaDialect: ''\n", {"[V31-002] jsonSchemaDialect '' must be a valid URI"}},
                    DialectRow{"space", "jsonSchemaDialect: 'https://exa mple.com'\n",
                               {"[V31-002] jsonSchemaDialect 'https://exa mple.com' must be a valid URI"}}),
    [](const testing::TestParamInfo<DialectRow>& info) { return std::string(info.param.name); });

TEST(VersionRules, WebhooksWithoutOperationsWarnAtTheirPathItem) {
  const std::string text = document31(
      "paths: {}\n"
      "webhooks:\n"
      "  empty:\n"
      "    description: nothing here\n"
      "  onlyParameters:\n"
      "    parameters: [{name: a, in: query}]\n"
      "  byReference: {$ref: '#/components/pathItems/none'}\n"
      "  withOperation:\n"
      "    trace: {responses: {'200': {description: ok}}}\n"
      "  alsoEmpty: {summary: x}\n");
  EXPECT_EQ(described(withCodes(validateYaml(text), {"V31-009"})),
            (std::vector<std::string>{
                "warning [V31-009] Webhook 'empty' should define at least one operation @ /webhooks/empty 6:5",
                "warning [V31-009] Webhook 'onlyParameters' should define at least one operation @ "
                "/webhooks/onlyParameters 8:5",
                "warning [V31-009] Webhook 'alsoEmpty' should define at least one operation @ /webhooks/alsoEmpty 12:14",
            }));
}

TEST(VersionRules, FindingsOf31ComeInRuleOrder) {
  const std::string text =
      "openapi: '3.1'\ninfo: {title: t, version: '1'}\njsonSchemaDialect: ''\npaths: {}\nwebhooks:\n  hook: {}\n";
  EXPECT_EQ(messages(withCodes(validateYaml(text), {"V31-001", "V31-002", "V31-009"})),
            (std::vector<std::string>{
                "[V31-001] openapi version '3.1' must match pattern '3.1.x'",
                "[V31-002] jsonSchemaDialect '' must be a valid URI",
                "[V31-009] Webhook 'hook' should define at least one operation",
            }));
}

}  // namespace

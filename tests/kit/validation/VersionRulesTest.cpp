#include <gtest/gtest.h>

#include "kit/validation/ValidationContext.h"
#include "kit/validation/VersionRules.h"
#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::messagesOf;
using CarvexTest::placesOf;
using CarvexTest::Row;
using VoziZazIreCore::ValidationLevel;

// The version rules alone on a document read as 3.0 or 3.1 whatever its "openapi"
// value says, so that values the version detection would refuse still reach the rules.
std::vector<std::string> versionRuleMessages(const std::string& openapi, bool as31) {
  const std::string text = "openapi: '" + openapi + "'\ninfo: {title: t, version: '1'}\npaths: {}\n";
  VoziZazIreValidation::ValidationContext context;
  if (as31)
    VoziZazIreValidation::OpenAPI31ValidationRules{}.validate(
        *CarvexTest::transform31(text, ValidationLevel::none).result.model, context);
  else
    VoziZazIreValidation::OpenAPI30ValidationRules{}.validate(
        *CarvexTest::transform30(text, ValidationLevel::none).result.model, context);
  return CarvexTest::messages(context.diagnostics());
}

TEST(VersionRules, VersionMustMatchTheMinorVersionsPattern) {
  struct {
    const char* value;
    bool as31, fires;
  } const rows[] = {{"3.0.0", false, false}, {"3.0.10", false, false}, {"3.0", false, true},
                    {"3.0.x", false, true},  {"v3.0.1", false, true},  {"3.0.1-rc1", false, true},
                    {"3.0.", false, true},   {"3.1.0", false, true},   {"3.0. 1", false, true},
                    {"3.1.1", true, false},  {"3.0.3", true, true},    {"3.1.0.1", true, true}};
  for (const auto& row : rows) {
    std::vector<std::string> expected;
    if (row.fires)
      expected.push_back(std::string(row.as31 ? "[V31-001]" : "[V30-001]") + " openapi version '" + row.value +
                         "' must match pattern '" + (row.as31 ? "3.1.x" : "3.0.x") + "'");
    EXPECT_EQ(versionRuleMessages(row.value, row.as31), expected) << row.value;
  }
}

TEST(VersionRules, VersionFindingIsPlacedAtTheDocument) {
  EXPECT_EQ(placesOf("openapi: 3.0.x\ninfo: {title: t, version: '1'}\npaths: {}\n", {"V30-001"}),
            std::vector<std::string>{"error [V30-001] openapi version '3.0.x' must match pattern '3.0.x' @  1:1"});
}

std::string document31(std::string_view rest) {
  return "openapi: 3.1.0\ninfo: {title: t, version: '1'}\n" + std::string(rest);
}

class DialectTest : public CarvexTest::RowTest {};

TEST_P(DialectTest, UrlParser) {
  EXPECT_EQ(messagesOf(document31(GetParam().input + "paths: {}\n"), {"V31-002"}), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DialectTest,
    testing::Values(Row{"absent", "", {}},
                    Row{"absolute", "jsonSchemaDialect: https://spec.openapis.org/oas/3.1/dialect/base\n", {}},
                    Row{"relative_needs_no_scheme", "jsonSchemaDialect: dialects/base\n", {}},
                    Row{"urn", "jsonSchemaDialect: 'urn:example:dialect'\n", {}},
                    Row{"space",
                        "jsonSchemaDialect: 'https://exa mple.com'\n",
                        {"[V31-002] jsonSchemaDialect 'https://exa mple.com' must be a valid URI"}}),
    CarvexTest::rowName);

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
  EXPECT_EQ(
      placesOf(text, {"V31-009"}),
      (std::vector<std::string>{
          "warning [V31-009] Webhook 'empty' should define at least one operation @ /webhooks/empty 6:5",
          "warning [V31-009] Webhook 'onlyParameters' should define at least one operation @ "
          "/webhooks/onlyParameters 8:5",
          "warning [V31-009] Webhook 'alsoEmpty' should define at least one operation @ /webhooks/alsoEmpty 12:14",
      }));
}

TEST(VersionRules, FindingsOf31ComeInRuleOrder) {
  EXPECT_EQ(messagesOf("openapi: '3.1'\ninfo: {title: t, version: '1'}\njsonSchemaDialect: ''\npaths: {}\n"
                       "webhooks:\n  hook: {}\n",
                       {"V31-001", "V31-002", "V31-009"}),
            (std::vector<std::string>{
                "[V31-001] openapi version '3.1' must match pattern '3.1.x'",
                "[V31-002] jsonSchemaDialect '' must be a valid URI",
                "[V31-009] Webhook 'hook' should define at least one operation",
            }));
}

}  // namespace

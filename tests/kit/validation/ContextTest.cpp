#include <gtest/gtest.h>

#include "kit/core/DiagnosticCode.h"
#include "kit/validation/ValidationContext.h"
#include "kit/validation/ValidationWalk.h"
#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using VoziZazIreCore::LocationInfo;
using VoziZazIreCore::SourceLocation;
using VoziZazIreValidation::ValidationContext;

LocationInfo at(std::string pointer, int line) {
  return LocationInfo(std::move(pointer),
                      VoziZazIreCore::SourceRange{SourceLocation{line, 3, 40}, SourceLocation{line, 9, 46}});
}

TEST(ValidationContext, FindingsCarryTheBracketedRuleAndLocationAndTheSeverityListsKeepTheOrder) {
  ValidationContext context;
  context.addWarning("W-1", "a", at("/a", 1));
  EXPECT_TRUE(context.isValid());
  context.addError("SRV-003", "text one", at("/servers/0", 4));
  context.addWarning(VoziZazIreCore::DiagnosticCode::responseNoSuccessResponse, "text two", at("/p", 9));
  context.addError("E-2", "e", at("/e", 5));
  EXPECT_FALSE(context.isValid());
  EXPECT_EQ(CarvexTest::described(context.diagnostics()),
            (std::vector<std::string>{"warning [W-1] a @ /a 1:3", "error [SRV-003] text one @ /servers/0 4:3",
                                      "warning [RSP-002] text two @ /p 9:3", "error [E-2] e @ /e 5:3"}));
  EXPECT_EQ(CarvexTest::messages(context.errors()), (std::vector<std::string>{"[SRV-003] text one", "[E-2] e"}));
  EXPECT_EQ(CarvexTest::messages(context.warnings()), (std::vector<std::string>{"[W-1] a", "[RSP-002] text two"}));
}

TEST(ValidationContext, ComponentsAreFoundOnlyUnderTheirKind) {
  ValidationContext context;
  EXPECT_FALSE(context.hasComponent("schemas", "Pet"));
  context.registerComponent("schemas", "Pet");
  context.registerComponent("schemas", "Pet");
  EXPECT_TRUE(context.hasComponent("schemas", "Pet"));
  EXPECT_FALSE(context.hasComponent("responses", "Pet") || context.hasComponent("schemas", "pet"));
  EXPECT_EQ(context.componentNames().at("schemas").size(), 1u);
}

TEST(ValidationContext, ResolvingMarksAnswerWhetherTheReferenceIsAlreadyOpenAndResetEmptiesEveryStore) {
  ValidationContext context;
  EXPECT_FALSE(context.beginResolvingRef("#/components/schemas/A"));
  EXPECT_TRUE(context.beginResolvingRef("#/components/schemas/A"));
  context.endResolvingRef("#/components/schemas/A");
  context.endResolvingRef("#/components/schemas/never");
  EXPECT_FALSE(context.beginResolvingRef("#/components/schemas/A"));
  EXPECT_FALSE(context.isRefResolved("#/x").has_value());
  context.markRefResolved("#/x", false);
  context.markRefResolved("#/x", true);
  EXPECT_EQ(context.isRefResolved("#/x"), std::optional<bool>(true));

  context.addError("E-1", "x", at("/", 1));
  context.registerOperationId("op", at("/p", 2));
  context.registerComponent("schemas", "A");
  context.reset();
  EXPECT_TRUE(context.diagnostics().empty() && context.operationIds().empty() && context.componentNames().empty() &&
              context.resolvingRefs().empty());
  EXPECT_FALSE(context.isRefResolved("#/x").has_value());
  EXPECT_FALSE(context.registerOperationId("op", at("/q", 3)).has_value());
}

// Component-name registration, through the walk's first step: every kind but examples, and no entry for an
// empty map.
TEST(ComponentNames, EveryKindButExamplesIsRegisteredAndEmptyMapsLeaveNoEntry) {
  const auto result30 = CarvexTest::parseYaml(R"(openapi: 3.0.3
info: {title: t, version: '1'}
paths: {}
components:
  schemas: {}
  responses: {NotFound: {description: gone}, Moved: {$ref: '#/components/responses/NotFound'}}
  parameters: {Limit: {name: limit, in: query}}
  examples: {Sample: {value: 1}}
  requestBodies: {Body: {content: {}}}
  headers: {Rate: {schema: {type: integer}}}
  securitySchemes: {Key: {type: apiKey, name: k, in: header}}
  links: {Next: {operationId: next}}
  callbacks: {Hook: {}}
)",
                                              VoziZazIreCore::ValidationLevel::none);
  ValidationContext context;
  VoziZazIreValidation::registerComponentNames<VoziZazIreTransform::Version30>(*CarvexTest::document30(result30),
                                                                               context);
  std::vector<std::string> registered;
  for (const auto& [kind, names] : context.componentNames())
    for (const auto& name : names) registered.push_back(kind + "/" + name);
  EXPECT_EQ(registered, (std::vector<std::string>{"callbacks/Hook", "headers/Rate", "links/Next", "parameters/Limit",
                                                  "requestBodies/Body", "responses/Moved", "responses/NotFound",
                                                  "securitySchemes/Key"}));
  EXPECT_EQ(context.componentNames().count("schemas"), 0u);

  const auto result31 = CarvexTest::parseYaml(
      "openapi: 3.1.0\ninfo: {title: t, version: '1'}\ncomponents:\n  schemas: {Pet: {type: object}}\n"
      "  pathItems: {Shared: {get: {responses: {'200': {description: ok}}}}}\n",
      VoziZazIreCore::ValidationLevel::none);
  context.reset();
  VoziZazIreValidation::registerComponentNames<VoziZazIreTransform::Version31>(*CarvexTest::document31(result31),
                                                                               context);
  EXPECT_TRUE(context.hasComponent("schemas", "Pet"));
  EXPECT_TRUE(context.hasComponent("pathItems", "Shared"));
}

}  // namespace

#include <gtest/gtest.h>

#include "kit/core/DiagnosticCode.h"
#include "kit/validation/ValidationContext.h"
#include "kit/validation/ValidationWalk.h"
#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::DiagnosticSeverity;
using VoziZazIreCore::LocationInfo;
using VoziZazIreCore::SourceLocation;
using VoziZazIreCore::SourceRange;
using VoziZazIreValidation::ValidationContext;

LocationInfo at(std::string pointer, int line) {
  return LocationInfo(std::move(pointer), SourceRange{SourceLocation{line, 3, 40}, SourceLocation{line, 9, 46}});
}

TEST(ValidationContext, AddedFindingsCarryTheBracketedRuleAndTheLocation) {
  ValidationContext context;
  context.addError("SRV-003", "text one", at("/servers/0", 4));
  context.addWarning(DiagnosticCode::responseNoSuccessResponse, "text two", at("/paths/~1a/get/responses", 9));
  ASSERT_EQ(context.diagnostics().size(), 2u);
  const auto& first = context.diagnostics()[0];
  EXPECT_EQ(first.severity(), DiagnosticSeverity::error);
  EXPECT_EQ(first.message(), "[SRV-003] text one");
  EXPECT_EQ(first.jsonPointer(), "/servers/0");
  ASSERT_TRUE(first.range().has_value());
  EXPECT_EQ(first.range()->start.line, 4);
  EXPECT_EQ(first.range()->end.column, 9);
  EXPECT_FALSE(first.context().has_value());
  const auto& second = context.diagnostics()[1];
  EXPECT_EQ(second.severity(), DiagnosticSeverity::warning);
  EXPECT_EQ(second.message(), "[RSP-002] text two");
  EXPECT_EQ(second.jsonPointer(), "/paths/~1a/get/responses");
}

TEST(ValidationContext, AddDiagnosticKeepsTheFindingUnchanged) {
  ValidationContext context;
  context.addDiagnostic(VoziZazIreCore::Diagnostic::error("[REF-002] gone", "#/components/schemas/A"));
  ASSERT_EQ(context.diagnostics().size(), 1u);
  EXPECT_EQ(context.diagnostics()[0].message(), "[REF-002] gone");
  EXPECT_EQ(context.diagnostics()[0].jsonPointer(), "#/components/schemas/A");
  EXPECT_FALSE(context.diagnostics()[0].range().has_value());
}

TEST(ValidationContext, ValidityAndTheSeverityListsKeepTheOrder) {
  ValidationContext context;
  context.addWarning("W-1", "a", at("/a", 1));
  context.addWarning("W-2", "b", at("/b", 2));
  EXPECT_TRUE(context.isValid());
  context.addError("E-1", "c", at("/c", 3));
  context.addWarning("W-3", "d", at("/d", 4));
  context.addError("E-2", "e", at("/e", 5));
  EXPECT_FALSE(context.isValid());
  EXPECT_EQ(CarvexTest::messages(context.errors()), (std::vector<std::string>{"[E-1] c", "[E-2] e"}));
  EXPECT_EQ(CarvexTest::messages(context.warnings()),
            (std::vector<std::string>{"[W-1] a", "[W-2] b", "[W-3] d"}));
}

TEST(ValidationContext, TheFirstOperationIdLocationWins) {
  ValidationContext context;
  EXPECT_FALSE(context.registerOperationId("list", at("/paths/~1a/get", 3)).has_value());
  auto second = context.registerOperationId("list", at("/paths/~1b/get", 8));
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->jsonPointer, "/paths/~1a/get");
  auto third = context.registerOperationId("list", at("/paths/~1c/get", 12));
  ASSERT_TRUE(third.has_value());
  EXPECT_EQ(third->jsonPointer, "/paths/~1a/get");
  EXPECT_EQ(context.operationIds().at("list").jsonPointer, "/paths/~1a/get");
}

TEST(ValidationContext, ComponentsAreFoundOnlyUnderTheirKind) {
  ValidationContext context;
  EXPECT_FALSE(context.hasComponent("schemas", "Pet"));
  context.registerComponent("schemas", "Pet");
  context.registerComponent("schemas", "Pet");
  EXPECT_TRUE(context.hasComponent("schemas", "Pet"));
  EXPECT_FALSE(context.hasComponent("responses", "Pet"));
  EXPECT_FALSE(context.hasComponent("schemas", "pet"));
  EXPECT_EQ(context.componentNames().at("schemas").size(), 1u);
}

TEST(ValidationContext, ResolvingMarksAnswerWhetherTheReferenceIsAlreadyOpen) {
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
}

TEST(ValidationContext, ResetEmptiesEveryStore) {
  ValidationContext context;
  context.addError("E-1", "x", at("/", 1));
  context.registerOperationId("op", at("/p", 2));
  context.registerComponent("schemas", "A");
  context.beginResolvingRef("#/a");
  context.markRefResolved("#/a", true);
  context.reset();
  EXPECT_TRUE(context.diagnostics().empty());
  EXPECT_TRUE(context.operationIds().empty());
  EXPECT_TRUE(context.componentNames().empty());
  EXPECT_TRUE(context.resolvingRefs().empty());
  EXPECT_FALSE(context.isRefResolved("#/a").has_value());
  EXPECT_FALSE(context.registerOperationId("op", at("/q", 3)).has_value());
}

// Component-name registration, through the walk's first step.
template <class V>
ValidationContext registered(std::string_view yaml) {
  const auto result = CarvexTest::parseYaml(yaml, VoziZazIreCore::ValidationLevel::none);
  ValidationContext context;
  if constexpr (V::is31) {
    VoziZazIreValidation::registerComponentNames<V>(*CarvexTest::document31(result), context);
  } else {
    VoziZazIreValidation::registerComponentNames<V>(*CarvexTest::document30(result), context);
  }
  return context;
}

TEST(ComponentNames, NoComponentsLeaveTheRegistryEmpty) {
  auto context = registered<VoziZazIreTransform::Version30>("openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\n");
  EXPECT_TRUE(context.componentNames().empty());
  EXPECT_FALSE(context.hasComponent("schemas", "A"));
}

TEST(ComponentNames, EveryKindButExamplesIsRegisteredAndEmptyMapsLeaveNoEntry) {
  auto context = registered<VoziZazIreTransform::Version30>(R"(openapi: 3.0.3
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
)");
  EXPECT_EQ(context.componentNames().count("schemas"), 0u);
  EXPECT_EQ(context.componentNames().count("examples"), 0u);
  EXPECT_TRUE(context.hasComponent("responses", "NotFound"));
  EXPECT_TRUE(context.hasComponent("responses", "Moved"));
  EXPECT_TRUE(context.hasComponent("parameters", "Limit"));
  EXPECT_TRUE(context.hasComponent("requestBodies", "Body"));
  EXPECT_TRUE(context.hasComponent("headers", "Rate"));
  EXPECT_TRUE(context.hasComponent("securitySchemes", "Key"));
  EXPECT_TRUE(context.hasComponent("links", "Next"));
  EXPECT_TRUE(context.hasComponent("callbacks", "Hook"));
  EXPECT_FALSE(context.hasComponent("examples", "Sample"));
  EXPECT_EQ(context.componentNames().size(), 7u);
}

TEST(ComponentNames, PathItemsAreRegisteredFor31) {
  auto context = registered<VoziZazIreTransform::Version31>(R"(openapi: 3.1.0
info: {title: t, version: '1'}
components:
  schemas: {Pet: {type: object}}
  pathItems: {Shared: {get: {responses: {'200': {description: ok}}}}}
)");
  EXPECT_TRUE(context.hasComponent("schemas", "Pet"));
  EXPECT_TRUE(context.hasComponent("pathItems", "Shared"));
}

}  // namespace

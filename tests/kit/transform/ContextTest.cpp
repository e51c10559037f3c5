#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/core/DiagnosticCode.h"
#include "kit/transform/TransformContext.h"
#include "kit/transform/TransformResult.h"

namespace {

using namespace VoziZazIreCore;
using VoziZazIreTransform::TransformContext;

TEST(TransformContext, CodedDiagnosticsRecordedOnlyWhereTheLevelAdmits) {
  const SourceRange range{{3, 5, 20}, {3, 9, 24}};
  const ValidationLevel levels[] = {ValidationLevel::none, ValidationLevel::low, ValidationLevel::high};
  // recorded[level][minimum]
  const bool recorded[3][3] = {{false, false, false}, {true, true, false}, {true, true, true}};
  for (int level = 0; level < 3; ++level) {
    for (int minimum = 0; minimum < 3; ++minimum) {
      SCOPED_TRACE("level " + std::to_string(level) + " minimum " + std::to_string(minimum));
      TransformContext context(levels[level]);
      context.recordCodedDiagnostic(DiagnosticCode::docEmptyTitle, "info.title must not be empty", "/info", range,
                                    levels[minimum]);
      ASSERT_EQ(context.diagnostics.size(), recorded[level][minimum] ? 1u : 0u);
      if (context.diagnostics.empty()) continue;
      const Diagnostic& d = context.diagnostics[0];
      EXPECT_EQ(d.severity(), DiagnosticSeverity::error);
      EXPECT_EQ(d.message(), "[DOC-002] info.title must not be empty");
      EXPECT_EQ(d.jsonPointer(), std::optional<std::string>("/info"));
      EXPECT_EQ(d.range(), std::optional<SourceRange>(range));
    }
  }
}

TEST(TransformContext, SelfGatedSitesSeeTheLevelAndKeepTheirSeverity) {
  TransformContext none(ValidationLevel::none), low(ValidationLevel::low), high(ValidationLevel::high);
  EXPECT_FALSE(none.recordsAtLow() || none.recordsAtHigh() || low.recordsAtHigh());
  EXPECT_TRUE(low.recordsAtLow() && high.recordsAtLow() && high.recordsAtHigh());
  high.record(DiagnosticSeverity::warning, DiagnosticCode::unknownProperty, "Unknown property 'a' in Tag object", "/a",
              std::nullopt);
  ASSERT_EQ(high.diagnostics.size(), 1u);
  EXPECT_EQ(high.diagnostics[0].severity(), DiagnosticSeverity::warning);
  EXPECT_EQ(high.diagnostics[0].message(), "[GEN-001] Unknown property 'a' in Tag object");
}

TEST(TransformContext, DuplicateOperationIdsAlwaysNameTheFirstOccurrence) {
  TransformContext context(ValidationLevel::none);
  const LocationInfo first("/paths/~1a/get", SourceRange{{2, 3, 10}, {4, 1, 30}});
  const LocationInfo second("/paths/~1b/get", SourceRange{{6, 3, 40}, {8, 1, 60}});
  const LocationInfo third("/paths/~1c/get", SourceRange{{9, 3, 70}, {9, 9, 76}});
  EXPECT_EQ(context.registerOperationId("listPets", first), std::nullopt);
  EXPECT_EQ(context.registerOperationId("listPets", second), first);
  EXPECT_EQ(context.registerOperationId("listPets", third), first);
  EXPECT_EQ(context.registerOperationId("ListPets", third), std::nullopt) << "ids compare exactly";
  EXPECT_EQ(context.operationIds.size(), 2u);
  EXPECT_EQ(context.operationIds.at("listPets"), first);
}

TEST(TransformResult, WarningsAloneAreASuccess) {
  struct Model {};
  VoziZazIreTransform::TransformResult<Model> result{
      .model = std::make_shared<const Model>(),
      .diagnostics = {Diagnostic::warning("[GEN-001] w1"), Diagnostic::warning("[GEN-002] w2")}};
  EXPECT_TRUE(result.isSuccess());
  result.diagnostics.insert(result.diagnostics.begin() + 1, Diagnostic::error("[DOC-002] e"));
  EXPECT_FALSE(result.isSuccess());
  ASSERT_EQ(result.errors().size(), 1u);
  EXPECT_EQ(result.errors()[0].message(), "[DOC-002] e");
  ASSERT_EQ(result.warnings().size(), 2u);
  EXPECT_EQ(result.warnings()[1].message(), "[GEN-002] w2");
}

}  // namespace

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "kit/core/Diagnostic.h"
#include "kit/core/DiagnosticCode.h"
#include "kit/core/LocationInfo.h"
#include "kit/core/ParseError.h"
#include "kit/core/TransformError.h"
#include "kit/core/ValidationError.h"

using namespace VoziZazIreCore;

namespace {
SourceRange range(int64_t l1, int64_t c1, int64_t l2, int64_t c2) { return {{l1, c1, 0}, {l2, c2, 9}}; }
}  // namespace

TEST(PrintedForms, LocationsPrintLineAndColumnOnly) {
  EXPECT_EQ((SourceLocation{1, 1, 0}).description(), "line 1, column 1");
  EXPECT_EQ(range(3, 5, 3, 12).description(), "line 3, column 5 - line 3, column 12");
  EXPECT_EQ(LocationInfo("/info/title", range(3, 5, 3, 12)).description(),
            "/info/title at line 3, column 5 - line 3, column 12");
}

TEST(PrintedForms, LocationOrderingUsesOffsetOnly) {
  SourceLocation a{1, 5, 10}, b{2, 1, 10};
  EXPECT_FALSE(a < b);
  EXPECT_FALSE(a > b);
  EXPECT_NE(a, b);
  EXPECT_EQ(a.hash(), (SourceLocation{1, 5, 10}).hash());
}

TEST(PrintedForms, DiagnosticLeavesOutAbsentAndEmptyPieces) {
  EXPECT_EQ(Diagnostic::error("boom", "/a", range(2, 3, 9, 9), "ctx").description(),
            "[ERROR] at /a (line 2, column 3) boom [ctx]");
  EXPECT_EQ(Diagnostic::warning("w").description(), "[WARNING] w");
  EXPECT_EQ(Diagnostic::warning("w", "").description(), "[WARNING] w");
  EXPECT_EQ(Diagnostic::error("", "/p", std::nullopt, "").description(), "[ERROR] at /p  []");
  EXPECT_EQ(Diagnostic::error("").description(), "[ERROR] ");
}

TEST(PrintedForms, ErrorValues) {
  EXPECT_EQ(ParseError("Unexpected end", range(4, 2, 4, 2)).description(),
            "ParseError: Unexpected end at line 4, column 2");
  EXPECT_EQ(ParseError("x", std::nullopt, std::make_shared<std::runtime_error>("low")).description(), "ParseError: x");
  EXPECT_EQ(TransformError("m", "/info").description(), "TransformError: m at /info");
  EXPECT_EQ(TransformError("m", std::nullopt, range(1, 2, 1, 2)).description(), "TransformError: m (line 1, column 2)");
  // The root's empty pointer still prints " at ".
  EXPECT_EQ(TransformError("m", "", range(1, 1, 1, 1)).description(), "TransformError: m at  (line 1, column 1)");
  EXPECT_EQ(ValidationError("m", "/x", range(1, 1, 1, 1), "SCH-001").description(), "ValidationError [SCH-001]: m at /x");
  EXPECT_EQ(ValidationError("m").description(), "ValidationError: m");
  EXPECT_STREQ(ParseError("x").what(), "ParseError: x");
}

TEST(DiagnosticCodes, RawValuesRoundTripAndRejectLookalikes) {
  EXPECT_EQ(allDiagnosticCodes().size(), 58u);
  std::set<std::string_view> seen;
  for (DiagnosticCode code : allDiagnosticCodes()) {
    EXPECT_EQ(fromRawValue<DiagnosticCode>(rawValue(code)), code);
    EXPECT_TRUE(seen.insert(rawValue(code)).second) << rawValue(code);
  }
  EXPECT_EQ(fromRawValue<DiagnosticCode>("SEC-IN"), DiagnosticCode::securityInvalidApiKeyIn);
  EXPECT_EQ(rawValue(DiagnosticCode::requestBodyOnGetHeadDelete), "RQB-002");
  for (const char* bad : {"sch-001", "PRM-003", "V31-003", "OPR-002", " DOC-001", ""})
    EXPECT_FALSE(fromRawValue<DiagnosticCode>(bad).has_value()) << bad;
  EXPECT_EQ(fromRawValue<DiagnosticSeverity>("warning"), DiagnosticSeverity::warning);
  EXPECT_FALSE(fromRawValue<DiagnosticSeverity>("WARNING").has_value());
  EXPECT_FALSE(fromRawValue<DiagnosticSeverity>("Error").has_value());
}

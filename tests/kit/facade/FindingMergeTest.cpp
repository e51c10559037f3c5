#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/facade/FindingMerge.h"
#include "tests/kit/TestDocuments.h"

namespace {

using VoziZazIreCore::Diagnostic;
using VoziZazIreCore::SourceRange;

// A description in JSON: the version, then the rest of the root's members, with a valid info object
// unless `info` replaces it.
std::string description(const std::string& version, const std::string& members,
                        const std::string& info = R"({"title": "t", "version": "1"})") {
  return R"({"openapi": ")" + version + R"(", "info": )" + info + ", " + members + "}";
}

std::string onePath(const std::string& key, const std::string& operation) {
  return R"("paths": {")" + key + R"(": {"get": )" + operation + "}}";
}

const std::string kOk = R"("responses": {"200": {"description": "ok"}})";

std::string withSchema(const std::string& schema) {
  return R"("paths": {}, "components": {"schemas": {"S": )" + schema + "}}";
}

std::string withScheme(const std::string& scheme) {
  return R"("paths": {}, "components": {"securitySchemes": {"k": )" + scheme + "}}";
}

struct OneFault {
  const char* code;
  std::string text;
};

// Each description has one fault that the transform and the validation rules both check.
std::vector<OneFault> oneFaultCases() {
  return {
      {"V30-001", description("3.0", R"("paths": {})")},
      {"DOC-002", description("3.0.3", R"("paths": {})", R"({"title": " ", "version": "1"})")},
      {"DOC-003", description("3.0.3", R"("paths": {})", R"({"title": "t", "version": "\t"})")},
      {"PTH-001", description("3.0.3", onePath("pets", "{" + kOk + "}"))},
      {"OPR-001", description("3.0.3", R"("paths": {"/a": {"get": {"operationId": "x", )" + kOk +
                                           R"(}}, "/b": {"get": {"operationId": "x", )" + kOk + "}}}")},
      {"PRM-001", description("3.0.3", onePath("/p/{id}", R"({"parameters": [{"name": "id", "in": "path"}], )" +
                                                              kOk + "}"))},
      {"SCH-001", description("3.0.3", withSchema(R"({"type": "string", "minLength": -1})"))},
      {"SCH-002", description("3.0.3", withSchema(R"({"type": "string", "minLength": 5, "maxLength": 2})"))},
      {"SCH-003", description("3.0.3", withSchema(R"({"type": "number", "minimum": 5, "maximum": 1})"))},
      {"SCH-011", description("3.0.3", withSchema(R"({"type": "array"})"))},
      {"SEC-001", description("3.0.3", withScheme(R"({"type": "apiKey", "in": "header"})"))},
      {"SEC-002", description("3.0.3", withScheme(R"({"type": "http"})"))},
      {"SEC-003", description("3.0.3", withScheme(R"({"type": "oauth2"})"))},
      {"SEC-004", description("3.0.3", withScheme(R"({"type": "openIdConnect"})"))},
      {"V31-001", description("3.1", R"("paths": {})")},
      {"V31-002", description("3.1.0", R"("jsonSchemaDialect": "", "paths": {})")},
      {"DOC-004", description("3.1.0", R"("paths": {})", R"({"title": "t", "version": "1", "termsOfService": "a b"})")},
      {"DOC-005", description("3.1.0", R"("paths": {})",
                              R"({"title": "t", "version": "1", "contact": {"url": "a b"}})")},
      {"DOC-006", description("3.1.0", R"("paths": {})",
                              R"({"title": "t", "version": "1", "contact": {"email": "nobody"}})")},
      {"V31-008", description("3.1.0", R"("paths": {})",
                              R"({"title": "t", "version": "1", "license": {"name": "n", "identifier": "MIT",
                                  "url": "https://example.com"}})")},
      {"SRV-002", description("3.1.0", R"("servers": [{"url": "https://{region}.example.com"}], "paths": {})")},
      {"SRV-003", description("3.1.0", R"("servers": [{"url": "https://{v}.example.com",
                                           "variables": {"v": {"default": "c", "enum": ["a", "b"]}}}], "paths": {})")},
      {"SRV-004", description("3.1.0", R"("servers": [{"url": "https://{v}.example.com",
                                           "variables": {"v": {"default": "c", "enum": []}}}], "paths": {})")},
      {"OPR-004", description("3.1.0", R"("security": [{"missing": []}], "paths": {})")},
      {"RQB-002", description("3.1.0", onePath("/a", R"({"requestBody": {"content": {}}, )" + kOk + "}"))},
      {"PRM-002", description("3.1.0", onePath("/p/{id}", R"({"parameters": [{"name": "other", "in": "path",
                                                                "required": true}], )" + kOk + "}"))},
      {"PRM-004", description("3.1.0", onePath("/a", R"({"parameters": [{"name": "h", "in": "header",
                                                           "allowEmptyValue": true}], )" + kOk + "}"))},
      {"RSP-001", description("3.1.0", onePath("/a", R"({"responses": {"200": {"description": "ok"},
                                                           "99": {"description": "odd"}}})"))},
      {"RSP-002", description("3.1.0", onePath("/a", R"({"responses": {"404": {"description": "no"}}})"))},
      {"SCH-004", description("3.1.0", withSchema(R"({"type": "array", "items": {}, "minItems": -1})"))},
      {"SCH-005", description("3.1.0", withSchema(R"({"type": "array", "items": {}, "minItems": 3, "maxItems": 1})"))},
      {"SCH-006", description("3.1.0", withSchema(R"({"type": "object", "minProperties": -2})"))},
      {"SCH-007", description("3.1.0", withSchema(R"({"type": "object", "minProperties": 3, "maxProperties": 1})"))},
      {"SCH-008", description("3.1.0", withSchema(R"({"type": "number", "multipleOf": 0})"))},
      {"SCH-009", description("3.1.0", withSchema(R"({"type": "string", "pattern": "(a"})"))},
      {"SCH-013", description("3.1.0", withSchema(R"({"enum": []})"))},
      {"SEC-005", description("3.1.0", withScheme(R"({"type": "oauth2", "flows": {}})"))},
      {"SEC-006", description("3.1.0", withScheme(R"({"type": "oauth2", "flows": {"implicit": {"scopes": {}}}})"))},
      {"SEC-007", description("3.1.0", withScheme(R"({"type": "oauth2", "flows": {"password": {"scopes": {}}}})"))},
  };
}

TEST(FindingMerge, AFaultBothStagesCheckIsReportedOnce) {
  for (const OneFault& fault : oneFaultCases()) {
    SCOPED_TRACE(fault.code);
    const auto result = CarvexTest::parseJson(fault.text);
    EXPECT_EQ(CarvexTest::findings(result.diagnostics).size(), 1u)
        << testing::PrintToString(CarvexTest::findings(result.diagnostics));
    EXPECT_EQ(CarvexTest::withCode(result, fault.code).size(), 1u);
  }
}

TEST(FindingMerge, TheValidationRulesWordingIsKept) {
  const auto result = CarvexTest::parseJson(description(
      "3.1.0", R"("servers": [{"url": "https://{r}.example.com", "variables": {"r": {"default": "c", "enum": ["a"]}}}],
                  "paths": {"/a": {"get": {"operationId": "x", )" + kOk +
                   R"(}}, "/b": {"get": {"operationId": "x", )" + kOk + "}}}",
      R"({"title": "t", "version": "1", "termsOfService": "a b"})"));
  EXPECT_EQ(CarvexTest::messages(result),
            (std::vector<std::string>{"[DOC-004] info.termsOfService should be a valid URL: a b",
                                      "[SRV-003] Server variable 'r' default value 'c' is not in enum values",
                                      "[OPR-001] Duplicate operationId 'x' (first defined at /paths/~1a/get)"}));
}

TEST(FindingMerge, FindingsThatNameDifferentThingsStayApart) {
  struct Case {
    const char* code;
    std::string text;
    std::size_t count;
  };
  const Case cases[] = {
      {"SRV-002", description("3.1.0", R"("servers": [{"url": "https://{region}.example.com/{stage}"}], "paths": {})"),
       2},
      {"SRV-002", description("3.1.0", R"("servers": [{"url": "https://{a'b}.{a'c}.example.com"}], "paths": {})"), 2},
      {"OPR-004", description("3.1.0", R"("security": [{"one": [], "two": []}], "paths": {})"), 2},
      {"SEC-001", description("3.0.3", withScheme(R"({"type": "apiKey"})")), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto result = CarvexTest::parseJson(c.text);
    EXPECT_EQ(CarvexTest::withCode(result, c.code).size(), c.count);
    EXPECT_EQ(result.diagnostics.size(), c.count) << testing::PrintToString(CarvexTest::messages(result));
  }
}

// "<message> @ <pointer> <start>-<end>" per finding, each end as line:column:offset.
std::vector<std::string> withWholeRanges(const std::vector<Diagnostic>& diagnostics) {
  std::vector<std::string> out;
  for (const Diagnostic& finding : diagnostics) {
    std::string line = finding.message() + " @ " + finding.jsonPointer().value_or("-") + ' ';
    if (const auto& range = finding.range()) {
      for (const auto* at : {&range->start, &range->end}) {
        line += std::to_string(at->line) + ':' + std::to_string(at->column) + ':' + std::to_string(at->offset);
        if (at == &range->start) line += '-';
      }
    } else {
      line += "none";
    }
    out.push_back(std::move(line));
  }
  return out;
}

TEST(FindingMerge, OnlyTheSameCodeAtTheSameNodeAndRangeIsMerged) {
  const std::string pth = "[PTH-001] Path 'a' must start with '/'";
  const SourceRange here{{3, 5, 20}, {3, 9, 24}};
  const SourceRange otherEnd{{3, 5, 20}, {4, 1, 30}};
  const SourceRange otherStart{{3, 6, 21}, {3, 9, 24}};
  // The findings at the same node whose range differs come first, so that a merge which looked at less
  // than the whole range would take one of them for the validation finding instead of the first "here".
  std::vector<Diagnostic> transform{
      Diagnostic::error(pth, "/paths/a", otherEnd),
      Diagnostic::error(pth, "/paths/a", otherStart),
      Diagnostic::error(pth, "/paths/a"),
      Diagnostic::error(pth, "/paths/b", here),
      Diagnostic::error("Path 'a' must start with '/'", "/paths/a", here),
      Diagnostic::error(pth, "/paths/a", here),
      Diagnostic::error(pth, "/paths/a", here),
  };
  std::vector<Diagnostic> validation{
      Diagnostic::error(pth, "/paths/a", here),
      Diagnostic::error("Path 'a' must start with '/'", "/paths/a", here),
  };
  // The one validation finding at /paths/a stands in for the first transform finding with its whole range.
  EXPECT_EQ(withWholeRanges(VoziZazIre::FindingMerge::merge(transform, validation)),
            (std::vector<std::string>{
                pth + " @ /paths/a 3:5:20-4:1:30",
                pth + " @ /paths/a 3:6:21-3:9:24",
                pth + " @ /paths/a none",
                pth + " @ /paths/b 3:5:20-3:9:24",
                "Path 'a' must start with '/' @ /paths/a 3:5:20-3:9:24",
                pth + " @ /paths/a 3:5:20-3:9:24",
                pth + " @ /paths/a 3:5:20-3:9:24",
                "Path 'a' must start with '/' @ /paths/a 3:5:20-3:9:24",
            }));
}

TEST(FindingMerge, WordingsThatDifferArePairedByWhatTheyName) {
  const SourceRange server{{7, 5, 60}, {7, 30, 85}};
  const std::vector<Diagnostic> transform{
      Diagnostic::error("[SRV-002] Template variable '{a}' has no matching variable definition", "/servers/0", server),
      Diagnostic::error("[SRV-002] Template variable '{b}' has no matching variable definition", "/servers/0", server),
      Diagnostic::error("[OPR-001] Duplicate operationId 'x' (first at /paths/~1callback/get)", "/paths/~1b/get",
                        server),
  };
  const std::vector<Diagnostic> validation{
      Diagnostic::error("[SRV-002] Template variable '{b}' in server URL has no matching variable definition",
                        "/servers/0", server),
      Diagnostic::error("[SRV-002] Template variable '{c}' in server URL has no matching variable definition",
                        "/servers/0", server),
      Diagnostic::error("[OPR-001] Duplicate operationId 'x' (first defined at /paths/~1a/get)", "/paths/~1b/get",
                        server),
  };
  EXPECT_EQ(CarvexTest::messages(VoziZazIre::FindingMerge::merge(transform, validation)),
            (std::vector<std::string>{
                "[SRV-002] Template variable '{a}' has no matching variable definition",
                "[SRV-002] Template variable '{b}' in server URL has no matching variable definition",
                "[SRV-002] Template variable '{c}' in server URL has no matching variable definition",
                "[OPR-001] Duplicate operationId 'x' (first defined at /paths/~1a/get)",
            }));
}

}  // namespace

#pragma once
// Helpers of the validation tests: a YAML description is parsed and transformed at level none (so the
// transform records nothing) and the version's validator runs on the typed document.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/validation/OpenAPI30Validator.h"
#include "kit/validation/OpenAPI31Validator.h"
#include "tests/kit/TestDocuments.h"

namespace CarvexTest {

using Codes = std::initializer_list<std::string_view>;

inline std::vector<VoziZazIreCore::Diagnostic> validateYaml(std::string_view text, bool validateRefs = false) {
  const VoziZazIre::ParseResult result = parseYaml(text, ValidationLevel::none);
  if (const auto* document = document30(result))
    return VoziZazIreValidation::OpenAPI30Validator().validate(*document, validateRefs);
  return VoziZazIreValidation::OpenAPI31Validator().validate(*document31(result), validateRefs);
}

// The findings of the given codes only, in order.
inline std::vector<VoziZazIreCore::Diagnostic> withCodes(const std::vector<VoziZazIreCore::Diagnostic>& diagnostics,
                                                         Codes codes) {
  std::vector<VoziZazIreCore::Diagnostic> out;
  for (const auto& diagnostic : diagnostics)
    for (std::string_view code : codes) {
      const std::string& message = diagnostic.message();
      if (message.size() > code.size() + 1 && message[0] == '[' && message.compare(1, code.size(), code) == 0 &&
          message[code.size() + 1] == ']') {
        out.push_back(diagnostic);
        break;
      }
    }
  return out;
}

// "<severity> <message> @ <pointer> <line>:<column>" per finding, for whole-list comparisons.
inline std::vector<std::string> described(const std::vector<VoziZazIreCore::Diagnostic>& diagnostics) {
  std::vector<std::string> out;
  for (const auto& d : diagnostics)
    out.push_back(std::string(rawValue(d.severity())) + " " + d.message() + " @ " + where(d));
  return out;
}

// The messages / descriptions of the findings of the given codes, validating the YAML text.
inline std::vector<std::string> messagesOf(std::string_view text, Codes codes, bool validateRefs = false) {
  return messages(withCodes(validateYaml(text, validateRefs), codes));
}
inline std::vector<std::string> placesOf(std::string_view text, Codes codes, bool validateRefs = false) {
  return described(withCodes(validateYaml(text, validateRefs), codes));
}

// A row of the table-driven tests: the input and the expected messages, for 3.0 (bit 1) and/or 3.1 (bit 2).
struct Row {
  const char* name;
  std::string input;
  std::vector<std::string> expected;
  int versions = 3;
};
inline void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }
inline std::string rowName(const testing::TestParamInfo<Row>& info) { return info.param.name; }
inline std::vector<std::string> versionsOf(const Row& row) {
  std::vector<std::string> out;
  if (row.versions & 1) out.push_back("3.0.3");
  if (row.versions & 2) out.push_back("3.1.0");
  return out;
}
class RowTest : public testing::TestWithParam<Row> {};

}  // namespace CarvexTest

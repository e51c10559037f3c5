#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/core/DiagnosticCode.h"
#include "kit/core/LocationInfo.h"
#include "kit/core/ValidationLevel.h"

namespace VoziZazIreTransform {

// The mutable state of one transform call, passed by reference to every reader.
class TransformContext {
 public:
  explicit TransformContext(VoziZazIreCore::ValidationLevel level) : validationLevel(level) {}

  const VoziZazIreCore::ValidationLevel validationLevel;
  std::vector<VoziZazIreCore::Diagnostic> diagnostics;
  std::unordered_map<std::string, VoziZazIreCore::LocationInfo> operationIds;
  std::unordered_map<std::string, std::unordered_set<std::string>> componentNames;

  // Appends "[<code>] <text>" as an error when the level admits it: never at none, always at high,
  // at low only when `minimumLevel` is none or low.
  void recordCodedDiagnostic(VoziZazIreCore::DiagnosticCode code, std::string_view text,
                             std::optional<std::string> jsonPointer, std::optional<VoziZazIreCore::SourceRange> range,
                             VoziZazIreCore::ValidationLevel minimumLevel);

  // Appends a coded finding with the given severity, for sites that test the level themselves.
  void record(VoziZazIreCore::DiagnosticSeverity severity, VoziZazIreCore::DiagnosticCode code,
              std::string_view text, std::optional<std::string> jsonPointer,
              std::optional<VoziZazIreCore::SourceRange> range);

  // True at low and high.
  bool recordsAtLow() const noexcept { return validationLevel != VoziZazIreCore::ValidationLevel::none; }
  // True at high only.
  bool recordsAtHigh() const noexcept { return validationLevel == VoziZazIreCore::ValidationLevel::high; }

  // The location of an earlier occurrence of the same operationId, or nothing (the id is then stored).
  std::optional<VoziZazIreCore::LocationInfo> registerOperationId(const std::string& operationId,
                                                                 const VoziZazIreCore::LocationInfo& location);
};

// "[<code>] <text>"
std::string codedMessage(VoziZazIreCore::DiagnosticCode code, std::string_view text);

}  // namespace VoziZazIreTransform

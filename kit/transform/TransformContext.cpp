#include "kit/transform/TransformContext.h"

namespace VoziZazIreTransform {

using namespace VoziZazIreCore;

std::string codedMessage(DiagnosticCode code, std::string_view text) {
  std::string message;
  std::string_view raw = rawValue(code);
  message.reserve(raw.size() + text.size() + 3);
  message += '[';
  message += raw;
  message += "] ";
  message += text;
  return message;
}

void TransformContext::recordCodedDiagnostic(DiagnosticCode code, std::string_view text,
                                             std::optional<std::string> jsonPointer, std::optional<SourceRange> range,
                                             ValidationLevel minimumLevel) {
  switch (validationLevel) {
    case ValidationLevel::none: return;
    case ValidationLevel::low:
      if (minimumLevel == ValidationLevel::high) return;
      break;
    case ValidationLevel::high: break;
  }
  diagnostics.push_back(Diagnostic::error(codedMessage(code, text), std::move(jsonPointer), range));
}

void TransformContext::record(DiagnosticSeverity severity, DiagnosticCode code, std::string_view text,
                              std::optional<std::string> jsonPointer, std::optional<SourceRange> range) {
  diagnostics.emplace_back(severity, codedMessage(code, text), std::move(jsonPointer), range, std::nullopt);
}

std::optional<LocationInfo> TransformContext::registerOperationId(const std::string& operationId,
                                                                  const LocationInfo& location) {
  auto [it, inserted] = operationIds.emplace(operationId, location);
  if (inserted) return std::nullopt;
  return it->second;
}

}  // namespace VoziZazIreTransform

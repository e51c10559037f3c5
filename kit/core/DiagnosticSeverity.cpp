#include "kit/core/DiagnosticSeverity.h"

namespace VoziZazIreCore {

std::string_view rawValue(DiagnosticSeverity severity) noexcept {
  return severity == DiagnosticSeverity::warning ? "warning" : "error";
}

template <>
std::optional<DiagnosticSeverity> fromRawValue<DiagnosticSeverity>(std::string_view text) {
  if (text == "warning") return DiagnosticSeverity::warning;
  if (text == "error") return DiagnosticSeverity::error;
  return std::nullopt;
}

}  // namespace VoziZazIreCore

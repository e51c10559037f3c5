#include "kit/facade/ParseResult.h"

namespace VoziZazIre {

using VoziZazIreCore::Diagnostic;
using VoziZazIreCore::DiagnosticSeverity;

namespace {

std::vector<Diagnostic> withSeverity(const std::vector<Diagnostic>& diagnostics, DiagnosticSeverity severity) {
  std::vector<Diagnostic> out;
  for (const Diagnostic& diagnostic : diagnostics)
    if (diagnostic.severity() == severity) out.push_back(diagnostic);
  return out;
}

}  // namespace

std::vector<Diagnostic> ParseResult::errors() const { return withSeverity(diagnostics, DiagnosticSeverity::error); }

std::vector<Diagnostic> ParseResult::warnings() const { return withSeverity(diagnostics, DiagnosticSeverity::warning); }

}  // namespace VoziZazIre

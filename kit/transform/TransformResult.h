#pragma once
#include <memory>
#include <vector>

#include "kit/core/Diagnostic.h"

namespace VoziZazIreTransform {

// The finished document of one transform and the findings recorded on the way.
template <class Model>
struct TransformResult {
  std::shared_ptr<const Model> model;
  std::vector<VoziZazIreCore::Diagnostic> diagnostics;

  bool isSuccess() const {
    for (const auto& d : diagnostics)
      if (d.severity() == VoziZazIreCore::DiagnosticSeverity::error) return false;
    return true;
  }
  std::vector<VoziZazIreCore::Diagnostic> errors() const { return filtered(VoziZazIreCore::DiagnosticSeverity::error); }
  std::vector<VoziZazIreCore::Diagnostic> warnings() const {
    return filtered(VoziZazIreCore::DiagnosticSeverity::warning);
  }

 private:
  std::vector<VoziZazIreCore::Diagnostic> filtered(VoziZazIreCore::DiagnosticSeverity severity) const {
    std::vector<VoziZazIreCore::Diagnostic> out;
    for (const auto& d : diagnostics)
      if (d.severity() == severity) out.push_back(d);
    return out;
  }
};

}  // namespace VoziZazIreTransform

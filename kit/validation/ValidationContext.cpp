#include "kit/validation/ValidationContext.h"

#include <utility>

namespace VoziZazIreValidation {

using VoziZazIreCore::Diagnostic;
using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::DiagnosticSeverity;
using VoziZazIreCore::LocationInfo;

namespace {

Diagnostic coded(DiagnosticSeverity severity, std::string_view rule, std::string_view message,
                 const LocationInfo& at) {
  std::string text;
  text.reserve(rule.size() + message.size() + 3);
  text += '[';
  text += rule;
  text += "] ";
  text += message;
  return Diagnostic(severity, std::move(text), at.jsonPointer.str(), at.locationRange, std::nullopt);
}

}  // namespace

void ValidationContext::addError(std::string_view rule, std::string_view message, const LocationInfo& at) {
  diagnostics_.push_back(coded(DiagnosticSeverity::error, rule, message, at));
}

void ValidationContext::addWarning(std::string_view rule, std::string_view message, const LocationInfo& at) {
  diagnostics_.push_back(coded(DiagnosticSeverity::warning, rule, message, at));
}

void ValidationContext::addError(DiagnosticCode code, std::string_view message, const LocationInfo& at) {
  addError(rawValue(code), message, at);
}

void ValidationContext::addWarning(DiagnosticCode code, std::string_view message, const LocationInfo& at) {
  addWarning(rawValue(code), message, at);
}

void ValidationContext::addDiagnostic(Diagnostic diagnostic) { diagnostics_.push_back(std::move(diagnostic)); }

std::optional<LocationInfo> ValidationContext::registerOperationId(const std::string& operationId,
                                                                   const LocationInfo& at) {
  auto [it, inserted] = operationIds_.try_emplace(operationId, at);
  if (inserted) return std::nullopt;
  return it->second;
}

void ValidationContext::registerComponent(std::string_view type, std::string_view name) {
  auto it = componentNames_.find(type);
  if (it == componentNames_.end()) it = componentNames_.emplace(std::string(type), ComponentNames::mapped_type{}).first;
  it->second.emplace(name);
}

bool ValidationContext::hasComponent(std::string_view type, std::string_view name) const {
  auto it = componentNames_.find(type);
  return it != componentNames_.end() && it->second.find(name) != it->second.end();
}

bool ValidationContext::beginResolvingRef(const std::string& ref) { return !resolvingRefs_.insert(ref).second; }

void ValidationContext::endResolvingRef(const std::string& ref) { resolvingRefs_.erase(ref); }

void ValidationContext::markRefResolved(const std::string& ref, bool exists) { resolvedRefs_[ref] = exists; }

std::optional<bool> ValidationContext::isRefResolved(const std::string& ref) const {
  auto it = resolvedRefs_.find(ref);
  if (it == resolvedRefs_.end()) return std::nullopt;
  return it->second;
}

bool ValidationContext::isValid() const {
  for (const auto& d : diagnostics_)
    if (d.severity() == DiagnosticSeverity::error) return false;
  return true;
}

std::vector<Diagnostic> ValidationContext::errors() const {
  std::vector<Diagnostic> out;
  for (const auto& d : diagnostics_)
    if (d.severity() == DiagnosticSeverity::error) out.push_back(d);
  return out;
}

std::vector<Diagnostic> ValidationContext::warnings() const {
  std::vector<Diagnostic> out;
  for (const auto& d : diagnostics_)
    if (d.severity() == DiagnosticSeverity::warning) out.push_back(d);
  return out;
}

void ValidationContext::reset() {
  diagnostics_.clear();
  operationIds_.clear();
  componentNames_.clear();
  resolvingRefs_.clear();
  resolvedRefs_.clear();
}

std::vector<Diagnostic> ValidationContext::takeDiagnostics() noexcept {
  std::vector<Diagnostic> out = std::move(diagnostics_);
  diagnostics_.clear();
  return out;
}

}  // namespace VoziZazIreValidation

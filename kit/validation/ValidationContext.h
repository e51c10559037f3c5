#pragma once
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/core/DiagnosticCode.h"
#include "kit/core/LocationInfo.h"

namespace VoziZazIreValidation {

// The store of one validation run: every rule reports through it, and it remembers the operationIds met
// so far, the component names the document declares and the references being resolved. Created empty by
// each validator call and discarded at its end.
class ValidationContext {
 public:
  using ComponentNames = std::map<std::string, std::set<std::string, std::less<>>, std::less<>>;

  ValidationContext() = default;

  // Append a finding "[<rule>] <message>" placed at `at` (its pointer and range), without context.
  void addError(std::string_view rule, std::string_view message, const VoziZazIreCore::LocationInfo& at);
  void addWarning(std::string_view rule, std::string_view message, const VoziZazIreCore::LocationInfo& at);
  // The same with the rule id taken from the code's raw value.
  void addError(VoziZazIreCore::DiagnosticCode code, std::string_view message,
                const VoziZazIreCore::LocationInfo& at);
  void addWarning(VoziZazIreCore::DiagnosticCode code, std::string_view message,
                  const VoziZazIreCore::LocationInfo& at);
  // Append a finding as it is.
  void addDiagnostic(VoziZazIreCore::Diagnostic diagnostic);

  // When `operationId` was registered before, the first location (nothing is stored); otherwise stores
  // `at` under it and returns nothing.
  std::optional<VoziZazIreCore::LocationInfo> registerOperationId(const std::string& operationId,
                                                                 const VoziZazIreCore::LocationInfo& at);

  // Component names by kind key ("schemas", "responses", ...).
  void registerComponent(std::string_view type, std::string_view name);
  bool hasComponent(std::string_view type, std::string_view name) const;

  // Returns true (and changes nothing) when `ref` is already being resolved; otherwise marks it and
  // returns false.
  bool beginResolvingRef(const std::string& ref);
  void endResolvingRef(const std::string& ref);
  void markRefResolved(const std::string& ref, bool exists);
  std::optional<bool> isRefResolved(const std::string& ref) const;

  // True when no finding is an error.
  bool isValid() const;
  std::vector<VoziZazIreCore::Diagnostic> errors() const;
  std::vector<VoziZazIreCore::Diagnostic> warnings() const;

  // Empties every store.
  void reset();

  const std::vector<VoziZazIreCore::Diagnostic>& diagnostics() const noexcept { return diagnostics_; }
  const std::unordered_map<std::string, VoziZazIreCore::LocationInfo>& operationIds() const noexcept {
    return operationIds_;
  }
  const ComponentNames& componentNames() const noexcept { return componentNames_; }
  const std::unordered_set<std::string>& resolvingRefs() const noexcept { return resolvingRefs_; }

  // Hands the findings over to the caller, leaving the list empty.
  std::vector<VoziZazIreCore::Diagnostic> takeDiagnostics() noexcept;

 private:
  std::vector<VoziZazIreCore::Diagnostic> diagnostics_;
  std::unordered_map<std::string, VoziZazIreCore::LocationInfo> operationIds_;
  ComponentNames componentNames_;
  std::unordered_set<std::string> resolvingRefs_;
  std::unordered_map<std::string, bool> resolvedRefs_;
};

}  // namespace VoziZazIreValidation

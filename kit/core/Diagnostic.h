#pragma once
#include <exception>
#include <optional>
#include <string>

#include "kit/core/DiagnosticSeverity.h"
#include "kit/core/SourceRange.h"

namespace VoziZazIreCore {

// One finding about a description. Also an error value: a diagnostic may be thrown as it is.
class Diagnostic : public std::exception {
 public:
  Diagnostic(DiagnosticSeverity severity, std::string message, std::optional<std::string> jsonPointer,
             std::optional<SourceRange> range, std::optional<std::string> context);

  static Diagnostic error(std::string message, std::optional<std::string> at = std::nullopt,
                          std::optional<SourceRange> range = std::nullopt,
                          std::optional<std::string> context = std::nullopt);
  static Diagnostic warning(std::string message, std::optional<std::string> at = std::nullopt,
                            std::optional<SourceRange> range = std::nullopt,
                            std::optional<std::string> context = std::nullopt);

  DiagnosticSeverity severity() const noexcept { return severity_; }
  const std::string& message() const noexcept { return message_; }
  const std::optional<std::string>& jsonPointer() const noexcept { return jsonPointer_; }
  const std::optional<SourceRange>& range() const noexcept { return range_; }
  const std::optional<std::string>& context() const noexcept { return context_; }

  // "[ERROR] at <pointer> (line <l>, column <c>) <message> [<context>]", optional pieces left out.
  std::string description() const;
  const char* what() const noexcept override;

 private:
  DiagnosticSeverity severity_;
  std::string message_;
  std::optional<std::string> jsonPointer_;
  std::optional<SourceRange> range_;
  std::optional<std::string> context_;
  mutable std::string what_;
};

}  // namespace VoziZazIreCore

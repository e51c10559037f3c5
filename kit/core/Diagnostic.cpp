#include "kit/core/Diagnostic.h"

namespace VoziZazIreCore {

Diagnostic::Diagnostic(DiagnosticSeverity severity, std::string message, std::optional<std::string> jsonPointer,
                       std::optional<SourceRange> range, std::optional<std::string> context)
    : severity_(severity), message_(std::move(message)), jsonPointer_(std::move(jsonPointer)), range_(range),
      context_(std::move(context)) {}

Diagnostic Diagnostic::error(std::string message, std::optional<std::string> at, std::optional<SourceRange> range,
                             std::optional<std::string> context) {
  return Diagnostic(DiagnosticSeverity::error, std::move(message), std::move(at), range, std::move(context));
}

Diagnostic Diagnostic::warning(std::string message, std::optional<std::string> at, std::optional<SourceRange> range,
                               std::optional<std::string> context) {
  return Diagnostic(DiagnosticSeverity::warning, std::move(message), std::move(at), range, std::move(context));
}

std::string Diagnostic::description() const {
  std::string text = severity_ == DiagnosticSeverity::warning ? "[WARNING]" : "[ERROR]";
  if (jsonPointer_ && !jsonPointer_->empty()) text += " at " + *jsonPointer_;
  if (range_) text += " (" + range_->start.description() + ")";
  text += " " + message_;
  if (context_) text += " [" + *context_ + "]";
  return text;
}

const char* Diagnostic::what() const noexcept {
  try {
    what_ = description();
  } catch (...) {
    return "Diagnostic";
  }
  return what_.c_str();
}

}  // namespace VoziZazIreCore

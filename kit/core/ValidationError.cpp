#include "kit/core/ValidationError.h"

namespace VoziZazIreCore {

ValidationError::ValidationError(std::string message, std::optional<std::string> jsonPointer,
                                 std::optional<SourceRange> range, std::optional<std::string> rule)
    : message_(std::move(message)), jsonPointer_(std::move(jsonPointer)), range_(range), rule_(std::move(rule)) {
  what_ = description();
}

std::string ValidationError::description() const {
  std::string text = "ValidationError";
  if (rule_) text += " [" + *rule_ + "]";
  text += ": " + message_;
  if (jsonPointer_) text += " at " + *jsonPointer_;
  return text;
}

}  // namespace VoziZazIreCore

#include "kit/core/TransformError.h"

namespace VoziZazIreCore {

TransformError::TransformError(std::string message, std::optional<std::string> jsonPointer,
                               std::optional<SourceRange> range)
    : message_(std::move(message)), jsonPointer_(std::move(jsonPointer)), range_(range) {
  what_ = description();
}

std::string TransformError::description() const {
  std::string text = "TransformError: " + message_;
  // A present but empty pointer (the root) still adds " at ".
  if (jsonPointer_) text += " at " + *jsonPointer_;
  if (range_) text += " (" + range_->start.description() + ")";
  return text;
}

}  // namespace VoziZazIreCore

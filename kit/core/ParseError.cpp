#include "kit/core/ParseError.h"

namespace VoziZazIreCore {

ParseError::ParseError(std::string message, std::optional<SourceRange> range,
                       std::shared_ptr<const std::exception> underlying)
    : message_(std::move(message)), range_(range), underlying_(std::move(underlying)) {
  what_ = description();
}

std::string ParseError::description() const {
  std::string text = "ParseError: " + message_;
  if (range_) text += " at " + range_->start.description();
  return text;
}

}  // namespace VoziZazIreCore

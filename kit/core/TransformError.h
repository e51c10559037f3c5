#pragma once
#include <exception>
#include <optional>
#include <string>

#include "kit/core/SourceRange.h"

namespace VoziZazIreCore {

// Thrown by version detection and the transform when a description cannot be read into the model.
class TransformError : public std::exception {
 public:
  TransformError(std::string message, std::optional<std::string> jsonPointer = std::nullopt,
                 std::optional<SourceRange> range = std::nullopt);

  const std::string& message() const noexcept { return message_; }
  const std::optional<std::string>& jsonPointer() const noexcept { return jsonPointer_; }
  const std::optional<SourceRange>& range() const noexcept { return range_; }

  // "TransformError: <message> at <pointer> (line <l>, column <c>)"
  std::string description() const;
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string message_;
  std::optional<std::string> jsonPointer_;
  std::optional<SourceRange> range_;
  std::string what_;
};

}  // namespace VoziZazIreCore

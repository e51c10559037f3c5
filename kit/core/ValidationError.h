#pragma once
#include <exception>
#include <optional>
#include <string>

#include "kit/core/SourceRange.h"

namespace VoziZazIreCore {

// The error value of a failed rule, carrying the rule's identifier.
class ValidationError : public std::exception {
 public:
  ValidationError(std::string message, std::optional<std::string> jsonPointer = std::nullopt,
                  std::optional<SourceRange> range = std::nullopt, std::optional<std::string> rule = std::nullopt);

  const std::string& message() const noexcept { return message_; }
  const std::optional<std::string>& jsonPointer() const noexcept { return jsonPointer_; }
  const std::optional<SourceRange>& range() const noexcept { return range_; }
  const std::optional<std::string>& rule() const noexcept { return rule_; }

  // "ValidationError [<rule>]: <message> at <pointer>"; the range is never printed.
  std::string description() const;
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string message_;
  std::optional<std::string> jsonPointer_;
  std::optional<SourceRange> range_;
  std::optional<std::string> rule_;
  std::string what_;
};

}  // namespace VoziZazIreCore

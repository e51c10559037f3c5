#pragma once
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "kit/core/SourceRange.h"

namespace VoziZazIreCore {

// Thrown when text cannot be decoded or parsed.
class ParseError : public std::exception {
 public:
  ParseError(std::string message, std::optional<SourceRange> range = std::nullopt,
             std::shared_ptr<const std::exception> underlying = nullptr);

  const std::string& message() const noexcept { return message_; }
  const std::optional<SourceRange>& range() const noexcept { return range_; }
  // The lower-level error that caused this one, kept for the caller; never printed.
  const std::shared_ptr<const std::exception>& underlying() const noexcept { return underlying_; }

  // "ParseError: <message> at line <l>, column <c>"
  std::string description() const;
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string message_;
  std::optional<SourceRange> range_;
  std::shared_ptr<const std::exception> underlying_;
  std::string what_;
};

}  // namespace VoziZazIreCore

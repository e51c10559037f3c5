#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "kit/core/SourceRange.h"
#include "kit/parsing/JSONPositionTracker.h"
#include "kit/parsing/JSONToken.h"

namespace VoziZazIreParsing {

// The scanner of one JSON parse. It works on bytes: every structural character, quote, backslash,
// digit and keyword letter is ASCII, so they are found by code point even where a combining mark
// follows them, while locations are counted in characters by the position tracker.
// Errors are thrown as ParseError.
class JSONTokenizer {
 public:
  // `text` must be valid UTF-8 and outlive the tokenizer.
  explicit JSONTokenizer(std::string_view text);

  // Scans the next token.
  JSONToken next();

  // Locations of byte offsets; requests must move forward through the text.
  VoziZazIreCore::SourceLocation location(std::size_t byte) { return tracker_.at(byte); }
  VoziZazIreCore::SourceRange range(std::size_t start, std::size_t end) {
    VoziZazIreCore::SourceLocation first = tracker_.at(start);
    return {first, end == start ? first : tracker_.at(end)};
  }
  VoziZazIreCore::SourceRange range(const JSONToken& token) { return range(token.start, token.end); }

  [[noreturn]] void fail(std::string message, std::optional<VoziZazIreCore::SourceRange> range = std::nullopt);

 private:
  JSONToken scanString(std::size_t start);
  JSONToken scanNumber(std::size_t start);
  JSONToken scanKeyword(std::size_t start, std::string_view word, JSONTokenKind kind);
  char32_t readHexQuad();
  std::string_view characterText(std::size_t byte);

  std::string_view text_;
  const unsigned char* bytes_;
  std::size_t size_;
  std::size_t pos_ = 0;
  JSONPositionTracker tracker_;
  std::string scratch_;
};

}  // namespace VoziZazIreParsing

#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "kit/core/SourceLocation.h"
#include "kit/parsing/YAMLLocator.h"

namespace VoziZazIreParsing {

// The YAML reader's view of the text: a position that only moves forward, the line it is on, the
// line-level questions the reader asks (line ends, blanks, comments, document markers) and the source
// locations of byte positions. Line breaks are LF or CR LF; a carriage return before a line feed is part
// of the break, never of a line's content.
class YAMLCursor {
 protected:
  using Location = VoziZazIreCore::SourceLocation;
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  explicit YAMLCursor(std::string_view text);

  static bool isBlank(char c) noexcept { return c == ' ' || c == '\t'; }
  static bool isFlowIndicator(char c) noexcept { return c == ',' || c == '[' || c == ']' || c == '{' || c == '}'; }

  // At a line break or the end of the text.
  bool lineEndAt(std::size_t p) const noexcept;
  bool blankOrEndAt(std::size_t p) const noexcept;
  // The end of the content of the line holding p (before its CR LF or LF).
  std::size_t contentEnd(std::size_t p) const noexcept;
  std::size_t nextLineStart(std::size_t p) const noexcept;
  // "---" or "..." followed by a blank or the line end, at p.
  bool documentMarkerAt(std::size_t p) const noexcept;
  // Moves forward to p, counting the lines passed.
  void moveTo(std::size_t p) noexcept;
  void skipBlanks() noexcept { pos_ = blanksEnd(pos_); }
  // The first position at or after p that holds no blank (indentation is skipped eight spaces at a time).
  std::size_t blanksEnd(std::size_t p) const noexcept;
  // The first position at or after p that holds no space.
  std::size_t spacesEnd(std::size_t p) const noexcept;
  // At a line end or at a comment ("#" at the line start or after a blank).
  bool atCommentOrLineEnd() const noexcept;
  // Moves over blanks, comments and line ends to the first character of the next content. Returns false
  // at the end of the text or of the document (a "---" or "..." line). Refuses tabs in indentation.
  bool skipToContent();
  // The column (from 0, in bytes) of pos_ on its line: the indentation of block structure.
  int indent() const noexcept { return static_cast<int>(pos_ - lineStart_); }
  // The location of p, which must lie on the current line.
  Location loc(std::size_t p) { return locator_.at(line_, lineStart_, p); }
  Location loc() { return loc(pos_); }

  // A line inside a flow collection or a quoted scalar (`what`), starting at ls with its first non-blank
  // at r: refuses a document marker at its start, and content indented by no more than n spaces (tabs
  // do not indent).
  void checkInnerLine(std::size_t ls, std::size_t r, int n, const char* what);
  bool shallowLine(std::size_t ls, std::size_t r, int n) const noexcept {
    return !lineEndAt(r) && static_cast<int>(spacesEnd(ls) - ls) <= n;
  }

  [[noreturn]] void fail(const std::string& message, std::size_t p);
  [[noreturn]] void fail(const std::string& message, const Location& at);

  std::string_view text_;
  const char* s_;
  std::size_t n_;
  std::size_t pos_ = 0;
  std::int64_t line_ = 0;
  std::size_t lineStart_ = 0;
  bool documentEnded_ = false;

 private:
  // The first line feed at or after p, or n_ when there is none.
  std::size_t lineFeedFrom(std::size_t p) const noexcept;

  YAMLLocator locator_;
  // The last line feed looked up: no line feed lies in [feedFrom_, feedAt_), and feedAt_ is one or n_.
  mutable std::size_t feedFrom_ = npos;
  mutable std::size_t feedAt_ = 0;
};

}  // namespace VoziZazIreParsing

#include "kit/parsing/YAMLCursor.h"

#include <cstring>

#include "kit/core/ParseError.h"

namespace VoziZazIreParsing {

using VoziZazIreCore::ParseError;
using VoziZazIreCore::SourceRange;

YAMLCursor::YAMLCursor(std::string_view text) : text_(text), s_(text.data()), n_(text.size()), locator_(text) {}

bool YAMLCursor::lineEndAt(std::size_t p) const noexcept {
  return p >= n_ || s_[p] == '\n' || (s_[p] == '\r' && (p + 1 >= n_ || s_[p + 1] == '\n'));
}

bool YAMLCursor::blankOrEndAt(std::size_t p) const noexcept { return lineEndAt(p) || isBlank(s_[p]); }

std::size_t YAMLCursor::lineFeedFrom(std::size_t p) const noexcept {
  if (p >= feedFrom_ && p <= feedAt_) return feedAt_;
  if (p >= n_) return n_;
  if (s_[p] == '\n') return p;
  const void* nl = std::memchr(s_ + p, '\n', n_ - p);
  feedFrom_ = p;
  feedAt_ = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - s_) : n_;
  return feedAt_;
}

std::size_t YAMLCursor::contentEnd(std::size_t p) const noexcept {
  if (p >= n_) return n_;
  std::size_t e = lineFeedFrom(p);
  if (e > p && s_[e - 1] == '\r') --e;
  return e;
}

std::size_t YAMLCursor::nextLineStart(std::size_t p) const noexcept {
  if (p >= n_) return n_;
  const std::size_t nl = lineFeedFrom(p);
  return nl < n_ ? nl + 1 : n_;
}

bool YAMLCursor::documentMarkerAt(std::size_t p) const noexcept {
  if (p + 3 > n_) return false;
  bool dashes = s_[p] == '-' && s_[p + 1] == '-' && s_[p + 2] == '-';
  bool dots = s_[p] == '.' && s_[p + 1] == '.' && s_[p + 2] == '.';
  return (dashes || dots) && blankOrEndAt(p + 3);
}

void YAMLCursor::moveTo(std::size_t p) noexcept {
  if (p > n_) p = n_;
  while (pos_ < p) {
    std::size_t nl;
    if (pos_ >= feedFrom_ && pos_ <= feedAt_) {
      nl = feedAt_;
    } else {
      // Only as far as p: a long line need not be searched to its end.
      const void* found = std::memchr(s_ + pos_, '\n', p - pos_);
      nl = found ? static_cast<std::size_t>(static_cast<const char*>(found) - s_) : n_;
    }
    if (nl >= p) break;
    pos_ = nl + 1;
    ++line_;
    lineStart_ = pos_;
  }
  pos_ = p;
}

std::size_t YAMLCursor::spacesEnd(std::size_t p) const noexcept {
  while (p + 8 <= n_) {
    std::uint64_t word;
    std::memcpy(&word, s_ + p, 8);
    if (word != 0x2020202020202020ULL) break;
    p += 8;
  }
  while (p < n_ && s_[p] == ' ') ++p;
  return p;
}

std::size_t YAMLCursor::blanksEnd(std::size_t p) const noexcept {
  p = spacesEnd(p);
  while (p < n_ && isBlank(s_[p])) ++p;
  return p;
}

bool YAMLCursor::atCommentOrLineEnd() const noexcept {
  if (lineEndAt(pos_)) return true;
  return s_[pos_] == '#' && (pos_ == lineStart_ || isBlank(s_[pos_ - 1]));
}

// Moves over blanks, comments and line ends to the first character of the next content. Returns false
// at the end of the text or of the document (a "---" or "..." line).
bool YAMLCursor::skipToContent() {
  if (documentEnded_) return false;
  for (;;) {
    const std::size_t from = pos_;
    const std::size_t spaces = spacesEnd(from);
    std::size_t p = blanksEnd(spaces);
    if (p < n_ && s_[p] == '#' && (p == lineStart_ || isBlank(s_[p - 1]))) p = contentEnd(p);
    if (lineEndAt(p)) {
      const std::size_t next = nextLineStart(p);
      if (next >= n_) {
        moveTo(n_);
        return false;
      }
      moveTo(next);
      continue;
    }
    moveTo(p);
    // Block structure is measured in spaces; a tab before a line's first content has no width.
    if (p > lineStart_ && !(from == lineStart_ && spaces == p)) {
      const void* tab = std::memchr(s_ + lineStart_, '\t', p - lineStart_);
      if (tab) {
        bool leading = true;
        for (std::size_t q = lineStart_; q < p; ++q)
          if (!isBlank(s_[q])) leading = false;
        if (leading) fail("Tabs are not allowed in indentation", static_cast<std::size_t>(static_cast<const char*>(tab) - s_));
      }
    }
    if (p == lineStart_ && documentMarkerAt(p)) {
      documentEnded_ = true;
      return false;
    }
    return true;
  }
}

void YAMLCursor::checkInnerLine(std::size_t ls, std::size_t r, int n, const char* what) {
  if (documentMarkerAt(ls)) fail(std::string("Document marker inside ") + what, ls);
  if (shallowLine(ls, r, n))
    fail(std::string("Line inside ") + what + " must be indented deeper than its parent", r);
}

void YAMLCursor::fail(const std::string& message, std::size_t p) {
  if (p > n_) p = n_;
  if (p >= lineStart_) {
    if (p > pos_) moveTo(p);
    Location at = loc(p);
    throw ParseError(message, SourceRange{at, at});
  }
  // A place on an earlier line: count its line from the start.
  std::int64_t line = 0;
  std::size_t start = 0;
  for (std::size_t q = 0; q < p; ++q)
    if (s_[q] == '\n') {
      ++line;
      start = q + 1;
    }
  Location at = locator_.at(line, start, p);
  throw ParseError(message, SourceRange{at, at});
}

void YAMLCursor::fail(const std::string& message, const Location& at) {
  throw ParseError(message, SourceRange{at, at});
}

}  // namespace VoziZazIreParsing

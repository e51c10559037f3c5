#include "kit/core/GraphemeCursor.h"

#include <unicode/ubrk.h>
#include <unicode/utext.h>

namespace VoziZazIreCore {

GraphemeCursor::GraphemeCursor(std::string_view text) : text_(text) {}

GraphemeCursor::~GraphemeCursor() {
  if (breaker_) ubrk_close(breaker_);
  if (utext_) utext_close(utext_);
}

std::size_t GraphemeCursor::boundaryAfter(std::size_t q) {
  const std::size_t n = text_.size();
  const auto* s = reinterpret_cast<const unsigned char*>(text_.data());
  if (s[q] < 0x80 && (q + 1 >= n || s[q + 1] < 0x80)) {
    // Two ASCII characters always break, except CR LF.
    if (s[q] == '\r' && q + 1 < n && s[q + 1] == '\n') return q + 2;
    return q + 1;
  }
  if (!breaker_) {
    UErrorCode status = U_ZERO_ERROR;
    utext_ = utext_openUTF8(nullptr, text_.data(), static_cast<int64_t>(n), &status);
    breaker_ = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
    if (U_SUCCESS(status)) ubrk_setUText(breaker_, utext_, &status);
    if (U_FAILURE(status)) {
      if (breaker_) ubrk_close(breaker_);
      breaker_ = nullptr;
      // Without ICU, fall back to one cluster per code point.
      std::size_t p = q + 1;
      while (p < n && (s[p] & 0xC0) == 0x80) ++p;
      return p;
    }
  }
  int32_t next = ubrk_following(breaker_, static_cast<int32_t>(q));
  if (next == UBRK_DONE || static_cast<std::size_t>(next) > n) return n;
  return static_cast<std::size_t>(next);
}

std::size_t GraphemeCursor::advanceTo(std::size_t target) {
  if (target > text_.size()) target = text_.size();
  while (pos_ < target) {
    std::size_t next = boundaryAfter(pos_);
    if (next > target) break;
    ++count_;
    pos_ = next;
  }
  return count_;
}

std::size_t GraphemeCursor::countBetween(std::size_t from, std::size_t to) {
  if (to > text_.size()) to = text_.size();
  std::size_t count = 0;
  std::size_t q = from;
  while (q < to) {
    std::size_t next = boundaryAfter(q);
    if (next > to) break;
    ++count;
    q = next;
  }
  return count;
}

}  // namespace VoziZazIreCore

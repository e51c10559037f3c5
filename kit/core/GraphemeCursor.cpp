#include "kit/core/GraphemeCursor.h"

#include <unicode/uchar.h>
#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <cstdint>
#include <cstring>

#include "kit/core/TextServices.h"
#include "kit/core/WordScan.h"

namespace VoziZazIreCore {

namespace {

using namespace WordScan;

// The grapheme-break class of a code point, reduced to what the local decision needs: `kOther` takes
// part in no rule that joins clusters from the left (ZWJ, regional indicators, Hangul, marks and
// prepends are all `kSpecial`), and controls break on both sides, CR LF aside.
constexpr unsigned kOther = 0;
constexpr unsigned kControl = 1;
constexpr unsigned kSpecial = 2;

unsigned lookUpBreakClass(char32_t c) {
  switch (u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_GRAPHEME_CLUSTER_BREAK)) {
    case U_GCB_OTHER: return kOther;
    case U_GCB_CONTROL:
    case U_GCB_CR:
    case U_GCB_LF: return kControl;
    default: return kSpecial;
  }
}

// Decodes the code point of valid UTF-8 starting at `p` (a lead byte) and moves `p` past it.
inline char32_t decodeAt(std::string_view text, std::size_t& p) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  const unsigned char c = s[p];
  if (c < 0x80) {
    ++p;
    return c;
  }
  if (c >= 0xC2 && c < 0xE0 && p + 1 < n && (s[p + 1] & 0xC0) == 0x80) {
    const char32_t cp = (static_cast<char32_t>(c & 0x1F) << 6) | (s[p + 1] & 0x3F);
    p += 2;
    return cp;
  }
  return TextServices::decodeUtf8(text, p);
}

}  // namespace

GraphemeCursor::GraphemeCursor(std::string_view text) : text_(text) { classes_.fill(UINT32_MAX); }

unsigned GraphemeCursor::breakClass(char32_t c) {
  // Latin-1 letters and signs, the Latin extensions and the spacing modifiers: all plain but the soft hyphen.
  if (c >= 0xA0 && c < 0x300) return c == 0xAD ? kControl : kOther;
  std::uint32_t& slot = classes_[c & (classes_.size() - 1)];
  if ((slot >> 2) == c) return slot & 3;
  const unsigned kind = lookUpBreakClass(c);
  slot = static_cast<std::uint32_t>(c) << 2 | kind;
  return kind;
}

GraphemeCursor::~GraphemeCursor() {
  if (breaker_) ubrk_close(breaker_);
  if (utext_) utext_close(utext_);
}

std::size_t GraphemeCursor::boundaryAfterByIterator(std::size_t q) {
  const std::size_t n = text_.size();
  if (!breaker_ && !breakerFailed_) {
    UErrorCode status = U_ZERO_ERROR;
    utext_ = utext_openUTF8(nullptr, text_.data(), static_cast<int64_t>(n), &status);
    breaker_ = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
    if (U_SUCCESS(status)) ubrk_setUText(breaker_, utext_, &status);
    if (U_FAILURE(status)) {
      if (breaker_) ubrk_close(breaker_);
      breaker_ = nullptr;
      breakerFailed_ = true;
    }
  }
  if (!breaker_) {
    // Without ICU, fall back to one cluster per code point.
    const auto* s = reinterpret_cast<const unsigned char*>(text_.data());
    std::size_t p = q + 1;
    while (p < n && (s[p] & 0xC0) == 0x80) ++p;
    return p;
  }
  int32_t next = ubrk_following(breaker_, static_cast<int32_t>(q));
  if (next == UBRK_DONE || static_cast<std::size_t>(next) > n) return n;
  return static_cast<std::size_t>(next);
}

std::size_t GraphemeCursor::boundaryAfter(std::size_t q) {
  const std::size_t n = text_.size();
  if (q >= n) return n;
  const auto* s = reinterpret_cast<const unsigned char*>(text_.data());
  const unsigned char c = s[q];
  if (c < 0x80) {
    if (q + 1 >= n) return q + 1;
    const unsigned char d = s[q + 1];
    // Two ASCII characters always break, except CR LF.
    if (d < 0x80) return c == '\r' && d == '\n' ? q + 2 : q + 1;
  } else if ((c & 0xC0) == 0x80) {
    return boundaryAfterByIterator(q);
  }
  // Between two code points of the plain class, or next to a control character, there is always a
  // boundary (CR LF cannot be the pair here: one of the two is not ASCII).
  std::size_t next = q;
  const char32_t first = decodeAt(text_, next);
  if (next >= n) return n;
  std::size_t after = next;
  const char32_t second = decodeAt(text_, after);
  const unsigned a = breakClass(first);
  if (a == kControl) return next;
  const unsigned b = breakClass(second);
  if (b == kControl || (a == kOther && b == kOther)) return next;
  return boundaryAfterByIterator(q);
}

std::size_t GraphemeCursor::walk(std::size_t& from, std::size_t to) {
  const auto* s = reinterpret_cast<const unsigned char*>(text_.data());
  std::size_t q = from;
  std::size_t count = 0;
  while (q < to) {
    // Eight ASCII characters, no carriage return among them, followed by an ASCII byte: eight clusters.
    while (q + 8 < to) {
      std::uint64_t word;
      std::memcpy(&word, s + q, 8);
      if ((word & kHighs) || s[q + 8] >= 0x80 || hasByte(word, '\r')) break;
      q += 8;
      count += 8;
    }
    const std::size_t next = boundaryAfter(q);
    if (next > to) break;
    ++count;
    q = next;
  }
  from = q;
  return count;
}

std::size_t GraphemeCursor::advanceTo(std::size_t target) {
  if (target > text_.size()) target = text_.size();
  count_ += walk(pos_, target);
  return count_;
}

std::size_t GraphemeCursor::countBetween(std::size_t from, std::size_t to) {
  if (to > text_.size()) to = text_.size();
  return walk(from, to);
}

}  // namespace VoziZazIreCore

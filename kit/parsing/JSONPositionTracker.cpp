#include "kit/parsing/JSONPositionTracker.h"

#include <cstring>

namespace VoziZazIreParsing {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// True when some byte of `word` equals `c`.
inline bool hasByte(std::uint64_t word, unsigned char c) {
  const std::uint64_t x = word ^ (kOnes * c);
  return ((x - kOnes) & ~x & kHighs) != 0;
}

}  // namespace

VoziZazIreCore::SourceLocation JSONPositionTracker::at(std::size_t byte) {
  const std::size_t n = text_.size();
  if (byte > n) byte = n;
  if (byte < pos_) {
    // Never needed by the parser; start over rather than answer wrongly.
    pos_ = 0;
    line_ = 1;
    offset_ = 0;
    lineStartOffset_ = 0;
  }
  const auto* s = reinterpret_cast<const unsigned char*>(text_.data());
  while (pos_ < byte) {
    // Eight ASCII characters, none a line break, followed by an ASCII byte: eight clusters.
    while (pos_ + 8 < byte) {
      std::uint64_t word;
      std::memcpy(&word, s + pos_, 8);
      if ((word & kHighs) || s[pos_ + 8] >= 0x80 || hasByte(word, '\n') || hasByte(word, '\r')) break;
      pos_ += 8;
      offset_ += 8;
    }
    if (pos_ >= byte) break;
    const unsigned char c = s[pos_];
    const unsigned char d = pos_ + 1 < n ? s[pos_ + 1] : 0;
    if ((c | d) < 0x80) {
      // Two ASCII characters always break between them, except CR LF.
      if (c == '\n') {
        ++line_;
        ++offset_;
        ++pos_;
        lineStartOffset_ = offset_;
      } else if (c == '\r' && d == '\n') {
        if (pos_ + 2 > byte) break;
        ++line_;
        ++offset_;
        pos_ += 2;
        lineStartOffset_ = offset_;
      } else {
        ++offset_;
        ++pos_;
      }
      continue;
    }
    // Around non-ASCII text the cursor decides (locally where it can).
    const std::size_t next = cursor_.boundaryAfter(pos_);
    if (next > byte) break;
    const bool lineBreak = c == '\n' || (c == '\r' && d == '\n' && next == pos_ + 2);
    ++offset_;
    pos_ = next;
    if (lineBreak) {
      ++line_;
      lineStartOffset_ = offset_;
    }
  }
  return {line_, offset_ - lineStartOffset_ + 1, offset_};
}

std::string_view JSONPositionTracker::characterAt(std::size_t byte) {
  if (byte >= text_.size()) return {};
  std::size_t end = cursor_.boundaryAfter(byte);
  if (end <= byte || end > text_.size()) end = byte + 1;
  return text_.substr(byte, end - byte);
}

}  // namespace VoziZazIreParsing

#include "kit/parsing/JSONPositionTracker.h"

#include <bit>
#include <cstring>

#include "kit/core/WordScan.h"

namespace VoziZazIreParsing {

namespace {

using namespace VoziZazIreCore::WordScan;

// The high bit of each byte of `word` (ASCII only) that is a line feed, and no other bit.
inline std::uint64_t feedBytes(std::uint64_t word) {
  constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t x = word ^ (kOnes * '\n');
  return ~(((x & kLows) + kLows) | x | kLows);
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
    // Up to eight ASCII characters, no carriage return among them, followed by an ASCII byte (or the
    // end): one cluster each, and a new line after each line feed.
    while (pos_ < byte && pos_ + 8 <= n) {
      const std::size_t k = byte - pos_ < 8 ? byte - pos_ : 8;
      std::uint64_t word;
      std::memcpy(&word, s + pos_, 8);
      if (k < 8) word &= (std::uint64_t{1} << (8 * k)) - 1;
      if ((word & kHighs) || hasByte(word, '\r') || (pos_ + k < n && s[pos_ + k] >= 0x80)) break;
      const std::uint64_t feeds = feedBytes(word);
      if (feeds) {
        line_ += std::popcount(feeds);
        // Little-endian order: the highest marked byte is the last line feed.
        lineStartOffset_ = offset_ + (63 - std::countl_zero(feeds)) / 8 + 1;
      }
      pos_ += k;
      offset_ += static_cast<std::int64_t>(k);
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

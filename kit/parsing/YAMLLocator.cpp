#include "kit/parsing/YAMLLocator.h"

#include <cstring>

#include "kit/core/WordScan.h"

namespace VoziZazIreParsing {

std::size_t YAMLLocator::count(std::size_t from, std::size_t to) {
  const auto* s = reinterpret_cast<const unsigned char*>(text_.data());
  std::size_t i = from;
  // ASCII is counted by bytes, eight at a time.
  while (i + 8 <= to) {
    std::uint64_t word;
    std::memcpy(&word, s + i, 8);
    if (word & VoziZazIreCore::WordScan::kHighs) break;
    i += 8;
  }
  while (i < to && s[i] < 0x80) ++i;
  if (i == to) return to - from;
  // A combining mark may join the ASCII character before it: count from that character on.
  const std::size_t q = i > from ? i - 1 : i;
  return (q - from) + cursor_.countBetween(q, to);
}

VoziZazIreCore::SourceLocation YAMLLocator::at(int64_t line, std::size_t lineStart, std::size_t p) {
  if (p > text_.size()) p = text_.size();
  if (p < lineStart) p = lineStart;
  int64_t column;
  if (lineStart == cachedLineStart_ && p >= cachedPos_) {
    column = cachedColumn_ + static_cast<int64_t>(count(cachedPos_, p));
  } else {
    column = static_cast<int64_t>(count(lineStart, p));
  }
  cachedLineStart_ = lineStart;
  cachedPos_ = p;
  cachedColumn_ = column;
  return {line + 1, column + 1, static_cast<int64_t>(lineStart) + column};
}

}  // namespace VoziZazIreParsing

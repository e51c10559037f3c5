#include "kit/parsing/YAMLLocator.h"

namespace VoziZazIreParsing {

std::size_t YAMLLocator::count(std::size_t from, std::size_t to) {
  const auto* s = reinterpret_cast<const unsigned char*>(text_.data());
  for (std::size_t i = from; i < to; ++i)
    if (s[i] >= 0x80) {
      // A combining mark may join the ASCII character before it: count from that character on.
      std::size_t q = i > from ? i - 1 : i;
      return (q - from) + cursor_.countBetween(q, to);
    }
  return to - from;
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

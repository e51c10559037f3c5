#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kit/core/GraphemeCursor.h"
#include "kit/core/SourceLocation.h"

namespace VoziZazIreParsing {

// Turns byte positions of a YAML text into source locations in the YAML parser's units: lines from 1,
// columns from 1 counted in characters (extended grapheme clusters) from the line start, offsets as the
// UTF-8 byte offset of the line start plus that character count. Queries on one line that move forward
// continue from the previous answer, so a line is counted once however many nodes it holds; ASCII runs
// are counted by bytes.
class YAMLLocator {
 public:
  explicit YAMLLocator(std::string_view text) : text_(text), cursor_(text) {}

  // `p` lies on line `line` (from 0), which starts at byte `lineStart`.
  VoziZazIreCore::SourceLocation at(int64_t line, std::size_t lineStart, std::size_t p);

 private:
  std::size_t count(std::size_t from, std::size_t to);

  std::string_view text_;
  VoziZazIreCore::GraphemeCursor cursor_;
  std::size_t cachedLineStart_ = static_cast<std::size_t>(-1);
  std::size_t cachedPos_ = 0;
  int64_t cachedColumn_ = 0;
};

}  // namespace VoziZazIreParsing

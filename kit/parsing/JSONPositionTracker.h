#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kit/core/GraphemeCursor.h"
#include "kit/core/SourceLocation.h"

namespace VoziZazIreParsing {

// Turns byte offsets of JSON text into source locations: lines and columns from 1, offsets from 0,
// counted in extended grapheme clusters (CR LF is one). A line ends after a line feed or a CR LF pair.
// Requests must move forward; ASCII text is counted in a tight loop, everything around non-ASCII text
// by the grapheme cursor, so a cluster that starts with an ASCII character counts once.
class JSONPositionTracker {
 public:
  explicit JSONPositionTracker(std::string_view text) : text_(text), cursor_(text) {}

  // The location of byte offset `byte`. When `byte` falls inside a cluster, the location is that of the
  // cluster's start.
  VoziZazIreCore::SourceLocation at(std::size_t byte);

  // The whole character (grapheme cluster) starting at byte offset `byte`, for messages.
  std::string_view characterAt(std::size_t byte);

 private:
  std::string_view text_;
  VoziZazIreCore::GraphemeCursor cursor_;
  std::size_t pos_ = 0;
  std::int64_t line_ = 1;
  std::int64_t offset_ = 0;
  std::int64_t lineStartOffset_ = 0;
};

}  // namespace VoziZazIreParsing

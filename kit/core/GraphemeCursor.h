#pragma once
#include <cstddef>
#include <string_view>

struct UBreakIterator;
struct UText;

namespace VoziZazIreCore {

// Counts extended grapheme clusters of one UTF-8 text as a reader moves forward through it.
// ASCII runs are counted byte by byte (CR LF as one cluster) without touching ICU; around non-ASCII
// text the cursor asks an ICU character break iterator over the whole text, so clusters that straddle
// token boundaries are counted once. The text must be valid UTF-8 and outlive the cursor.
class GraphemeCursor {
 public:
  explicit GraphemeCursor(std::string_view text);
  ~GraphemeCursor();
  GraphemeCursor(const GraphemeCursor&) = delete;
  GraphemeCursor& operator=(const GraphemeCursor&) = delete;

  // Moves to byte position `target` (never backwards) and returns the number of clusters that start
  // before the last cluster boundary at or before `target`. When `target` falls inside a cluster, that
  // cluster is not counted yet.
  std::size_t advanceTo(std::size_t target);

  // Clusters between byte positions `from` and `to` of the same text (from <= to), counted as above.
  std::size_t countBetween(std::size_t from, std::size_t to);

  // The first cluster boundary after byte position `q` (which should itself be a boundary).
  std::size_t boundaryAfter(std::size_t q);

  std::size_t position() const noexcept { return pos_; }
  std::size_t count() const noexcept { return count_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t count_ = 0;
  UText* utext_ = nullptr;
  UBreakIterator* breaker_ = nullptr;
};

}  // namespace VoziZazIreCore

#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

struct UBreakIterator;
struct UText;

namespace VoziZazIreCore {

// Counts extended grapheme clusters of one UTF-8 text as a reader moves forward through it.
// Most boundaries are decided locally: two ASCII characters always break but for CR LF, and a code
// point of the plain class (no joining behaviour at all) or a control character breaks from its
// neighbour. Only around combining marks, joiners, regional indicators, Hangul jamo and the like does
// the cursor ask an ICU character break iterator over the whole text, so clusters that straddle token
// boundaries are counted once. The text must be valid UTF-8 and outlive the cursor.
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
  // Whole clusters from `from` on that end at or before `to`; `from` moves to the last boundary reached.
  std::size_t walk(std::size_t& from, std::size_t to);
  // The boundary after `q` as the break iterator finds it.
  std::size_t boundaryAfterByIterator(std::size_t q);
  // The break class of a code point (see the source), remembered for the code points met recently.
  unsigned breakClass(char32_t c);

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t count_ = 0;
  UText* utext_ = nullptr;
  UBreakIterator* breaker_ = nullptr;
  bool breakerFailed_ = false;
  // Code point << 2 | break class, by the code point's low bits; all ones when empty.
  std::array<std::uint32_t, 128> classes_;
};

}  // namespace VoziZazIreCore

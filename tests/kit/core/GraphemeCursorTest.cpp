#include "kit/core/GraphemeCursor.h"

#include <gtest/gtest.h>
#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kit/core/TextServices.h"

using VoziZazIreCore::GraphemeCursor;
namespace TextServices = VoziZazIreCore::TextServices;

namespace {

// The cursor decides most boundaries itself; these tests hold every answer against ICU's own break
// iterator over the same text.
class IcuBoundaries {
 public:
  explicit IcuBoundaries(const std::string& text) {
    UErrorCode status = U_ZERO_ERROR;
    utext_ = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    breaker_ = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
    ubrk_setUText(breaker_, utext_, &status);
    EXPECT_TRUE(U_SUCCESS(status));
  }
  ~IcuBoundaries() {
    ubrk_close(breaker_);
    utext_close(utext_);
  }
  std::size_t following(std::size_t q) { return static_cast<std::size_t>(ubrk_following(breaker_, static_cast<int32_t>(q))); }
  // Whole clusters from `from` that end at or before `to`.
  std::size_t count(std::size_t from, std::size_t to) {
    std::size_t clusters = 0;
    for (std::size_t q = from; q < to;) {
      const std::size_t next = following(q);
      if (next > to) break;
      ++clusters;
      q = next;
    }
    return clusters;
  }

 private:
  UText* utext_ = nullptr;
  UBreakIterator* breaker_ = nullptr;
};

// Pieces that join or break in every way UAX #29 knows, with plain neighbours of each kind.
const std::vector<std::string> kPieces = {
    "a", "Z", " ", "\t", "\n", "\r", "\r\n", "\"", "abcdefghij", "key: value\n", "  - item\r\n",
    "\u00e4", "\u00ad", "\u00a9", "\u00a9\ufe0f", "\u02ff",                // Latin-1 and modifiers; soft hyphen
    "e\u0301", "\u0301", "\u0300\u0301", "n\u0303\u0301",                    // combining marks
    "\u0381", "\u0401", "\u0481", "\u0501",                                  // same low bits as U+0301
    "\u0600", "\u0646\u064e",                                                 // prepend; Arabic with a mark
    "\u200b", "\u200c", "\u200d", "\u2028", "\u0085", "\u2014",              // format, joiners, separators
    "\U0001F1E9\U0001F1EA", "\U0001F1E9", "\U0001F1EB\U0001F1F7\U0001F1E9", // regional indicators
    "\U0001F468\u200D\U0001F469\u200D\U0001F467", "\U0001F44D\U0001F3FD",   // ZWJ sequence, modifier
    "\U0001F3FD", "\U0001F3F3\uFE0F\u200D\U0001F308", "1\ufe0f\u20e3",      // lone modifier, flag, keycap
    "\uac01", "\u1100", "\u1161", "\u11a8", "\u1100\u1161\u11a8",          // Hangul LVT, L, V, T
    "\u0915\u094d\u0937", "\u093e", "\u0e01\u0e33",                          // conjunct, spacing marks
    "\u65e5\u672c", "\u30ea\u30bd\u30fc\u30b9", "\u3099", "\U00010348",
};

std::uint64_t nextRandom(std::uint64_t& seed) {
  seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
  return seed >> 33;
}

std::string mixedText(std::uint64_t& seed, std::size_t pieces) {
  std::string text;
  for (std::size_t i = 0; i < pieces; ++i) text += kPieces[nextRandom(seed) % kPieces.size()];
  return text;
}

bool codePointStart(const std::string& text, std::size_t q) {
  return q >= text.size() || (static_cast<unsigned char>(text[q]) & 0xC0) != 0x80;
}

TEST(GraphemeCursor, BoundariesMatchTheBreakIteratorOnMixedText) {
  std::uint64_t seed = 2024;
  for (int round = 0; round < 1500; ++round) {
    const std::string text = mixedText(seed, 1 + nextRandom(seed) % 40);
    SCOPED_TRACE(testing::PrintToString(text));
    IcuBoundaries icu(text);
    GraphemeCursor cursor(text);
    // From every code point, boundary or not, as the locators ask after a token that split a cluster.
    for (std::size_t q = 0; q < text.size(); ++q)
      if (codePointStart(text, q)) {
        ASSERT_EQ(cursor.boundaryAfter(q), icu.following(q)) << "byte " << q;
      }
  }
}

TEST(GraphemeCursor, CountsMatchTheBreakIteratorOverRandomRanges) {
  std::uint64_t seed = 77;
  for (int round = 0; round < 600; ++round) {
    const std::string text = mixedText(seed, 1 + nextRandom(seed) % 60);
    SCOPED_TRACE(testing::PrintToString(text));
    IcuBoundaries icu(text);
    GraphemeCursor counter(text);
    GraphemeCursor walker(text);
    std::vector<std::size_t> starts;
    for (std::size_t q = 0; q <= text.size(); ++q)
      if (codePointStart(text, q)) starts.push_back(q);
    for (int i = 0; i < 20; ++i) {
      std::size_t from = starts[nextRandom(seed) % starts.size()];
      std::size_t to = starts[nextRandom(seed) % starts.size()];
      if (from > to) std::swap(from, to);
      ASSERT_EQ(counter.countBetween(from, to), icu.count(from, to)) << from << ".." << to;
    }
    // Moving forward in steps that may end inside a cluster.
    std::size_t target = 0;
    while (target < text.size()) {
      target += 1 + nextRandom(seed) % 9;
      if (target > text.size()) target = text.size();
      if (!codePointStart(text, target)) continue;
      ASSERT_EQ(walker.advanceTo(target), icu.count(0, target)) << "to " << target;
    }
  }
}

// Every code point whose class the cursor knows without asking ICU, between plain and joining
// neighbours, and code points sharing cache slots in turn.
TEST(GraphemeCursor, EveryLatinCodePointAndCacheSlotMatches) {
  std::string text;
  const char* neighbours[] = {"a", "\u0301", "\u200d", "\U0001F1E9", "\r\n", "\u1100"};
  std::size_t k = 0;
  for (char32_t cp = 0x20; cp < 0x3000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    TextServices::appendUtf8(text, cp);
    text += neighbours[k++ % std::size(neighbours)];
  }
  IcuBoundaries icu(text);
  GraphemeCursor cursor(text);
  for (std::size_t q = 0; q < text.size(); ++q)
    if (codePointStart(text, q)) {
      ASSERT_EQ(cursor.boundaryAfter(q), icu.following(q)) << "byte " << q;
    }
  EXPECT_EQ(cursor.countBetween(0, text.size()), icu.count(0, text.size()));
}

}  // namespace

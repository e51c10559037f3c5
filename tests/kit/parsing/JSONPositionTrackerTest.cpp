#include "kit/parsing/JSONPositionTracker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kit/core/GraphemeCursor.h"

using VoziZazIreCore::GraphemeCursor;
using VoziZazIreCore::SourceLocation;
using VoziZazIreParsing::JSONPositionTracker;

namespace {

// Pieces whose grapheme clusters join or break in every way UAX #29 knows.
const std::vector<std::string> kPieces = {
    "a", "1", " ", "\t", "\"", "\n", "\r", "\r\n",
    "\xc3\xa4",                                      // precomposed a-umlaut
    "e\xcc\x81",                                     // e + combining acute
    "\xcc\x81",                                      // lone combining acute
    "\xd8\x80",                                      // Arabic number sign (prepend)
    "\xe2\x80\x8d",                                  // zero-width joiner
    "\xf0\x9f\x87\xa9\xf0\x9f\x87\xaa",              // flag: two regional indicators
    "\xf0\x9f\x87\xa9",                              // one regional indicator
    "\xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9",  // emoji ZWJ sequence
    "\xf0\x9f\x91\x8d\xf0\x9f\x8f\xbb",              // emoji + skin-tone modifier
    "\xf0\x9f\x8f\xbb",                              // lone modifier
    "\xea\xb0\x81",                                  // Hangul LVT syllable
    "\xe1\x84\x80", "\xe1\x85\xa1", "\xe1\x86\xa8",  // Hangul L, V, T jamo
    "\xe0\xa4\x95\xe0\xa5\x8d\xe0\xa4\xb7",          // Devanagari conjunct
    "\xe0\xa4\xbe",                                  // Devanagari vowel sign (spacing mark)
    "\xe6\x97\xa5", "\xc2\x85", "\xe2\x80\xa8",
};

// The location of a byte by the grapheme cursor alone, asked at ascending bytes.
class ReferenceCount {
 public:
  explicit ReferenceCount(const std::string& text) : text_(text), cursor_(text) {}

  SourceLocation at(std::size_t b) {
    while (lastBoundary_ < b) {
      const std::size_t next = cursor_.boundaryAfter(lastBoundary_);
      if (next > b) break;
      const std::string_view cluster(text_.data() + lastBoundary_, next - lastBoundary_);
      ++clusters_;
      if (cluster == "\n" || cluster == "\r\n") {
        ++line_;
        lineStart_ = clusters_;
      }
      lastBoundary_ = next;
    }
    return {line_, clusters_ - lineStart_ + 1, clusters_};
  }

 private:
  const std::string& text_;
  GraphemeCursor cursor_;
  int64_t line_ = 1;
  int64_t lineStart_ = 0;
  std::size_t lastBoundary_ = 0;
  int64_t clusters_ = 0;
};

void expectSameLocation(JSONPositionTracker& tracker, ReferenceCount& reference, std::size_t b) {
  const SourceLocation expected = reference.at(b);
  const SourceLocation got = tracker.at(b);
  ASSERT_EQ(got.offset, expected.offset) << "byte " << b;
  ASSERT_EQ(got.line, expected.line) << "byte " << b;
  ASSERT_EQ(got.column, expected.column) << "byte " << b;
}

// Every location the tracker gives equals a count made by the grapheme cursor alone.
TEST(JSONPositionTracker, MatchesGraphemeCursorOnMixedText) {
  uint64_t seed = 12345;
  auto random = [&seed](std::size_t bound) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((seed >> 33) % bound);
  };
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const std::size_t count = 1 + random(14);
    for (std::size_t i = 0; i < count; ++i) text += kPieces[random(kPieces.size())];
    SCOPED_TRACE(testing::PrintToString(text));

    JSONPositionTracker tracker(text);
    ReferenceCount reference(text);
    for (std::size_t b = 0; b <= text.size(); ++b) {
      if (b < text.size() && (static_cast<unsigned char>(text[b]) & 0xC0) == 0x80) continue;  // inside a code point
      expectSameLocation(tracker, reference, b);
    }
  }
}

// Long, mostly ASCII texts asked at random forward steps, so that runs are counted by words of every
// length, up to and across line feeds, CR LF pairs and marks that join the character before them.
TEST(JSONPositionTracker, MatchesGraphemeCursorOnLongTextsInRandomSteps) {
  const std::vector<std::string> pieces = {"{\n", "  \"key\": \"value\",\n", "        ", "\r\n", "x", "\n\n",
                                           "0123456789", "e\xcc\x81", "\xe2\x80\x94", "\xf0\x9f\x91\x8d\xf0\x9f\x8f\xbb",
                                           "\xe6\x97\xa5", "\r", "\t"};
  uint64_t seed = 99;
  auto random = [&seed](std::size_t bound) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((seed >> 33) % bound);
  };
  for (int round = 0; round < 1000; ++round) {
    std::string text;
    const std::size_t count = 1 + random(60);
    for (std::size_t i = 0; i < count; ++i) text += pieces[random(pieces.size() * 2) % pieces.size()];
    SCOPED_TRACE(testing::PrintToString(text));
    JSONPositionTracker tracker(text);
    ReferenceCount reference(text);
    for (std::size_t b = 0; b <= text.size(); b += 1 + random(12)) {
      while (b < text.size() && (static_cast<unsigned char>(text[b]) & 0xC0) == 0x80) ++b;
      expectSameLocation(tracker, reference, b);
    }
  }
}

TEST(JSONPositionTracker, LongAsciiRunsAndLineBreaks) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += std::string(static_cast<std::size_t>(i), 'x') + (i % 2 ? "\r\n" : "\n");
  text += "abcdefghijklmnop\xcc\x81q";
  JSONPositionTracker tracker(text);
  const SourceLocation end = tracker.at(text.size());
  EXPECT_EQ(end.line, 51);
  EXPECT_EQ(end.column, 18);
  int64_t expectedOffset = 0;
  for (int i = 0; i < 50; ++i) expectedOffset += i + 1;
  EXPECT_EQ(end.offset, expectedOffset + 17);
}

TEST(JSONPositionTracker, CharacterAtTakesTheWholeCluster) {
  const std::string text = "xe\xcc\x81\xf0\x9f\x87\xa9\xf0\x9f\x87\xaa!";
  JSONPositionTracker tracker(text);
  EXPECT_EQ(tracker.characterAt(1), "e\xcc\x81");
  EXPECT_EQ(tracker.characterAt(4), "\xf0\x9f\x87\xa9\xf0\x9f\x87\xaa");
  EXPECT_EQ(tracker.characterAt(12), "!");
  EXPECT_EQ(tracker.characterAt(13), "");
}

}  // namespace

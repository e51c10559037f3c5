// Bad input never crashes or hangs the YAML parser: random edits of real descriptions and of tricky
// snippets either read to a tree or fail with a ParseError that carries a place (run under the
// sanitizers in CI).
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "kit/core/ParseError.h"
#include "kit/parsing/YAMLParser.h"
#include "tests/kit/parsing/YAMLTestDump.h"

namespace {

namespace fs = std::filesystem;
using VoziZazIreParsing::YAMLParser;

std::vector<std::string> seeds() {
  std::vector<std::string> out = {
      "a: 1\nb:\n  - x\n  - {c: [1, 2], d: 'e''f'}\n",
      "- name: id\n  in: path\n  description: |\n    text\n- >-\n  folded\n",
      "base: &b {x: 1}\nuse:\n  <<: *b\n  y: \"q\\u00e9\\n\"\n",
      "? k\n: v\nlist: [a,\n  b]\n--- \nnext: doc\n",
      "s: \"multi\n  line\\\n  x\"\nt: plain\n  continued\n\n  para\n",
  };
  const fs::path corpus = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  if (fs::exists(corpus)) {
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
      if (entry.path().extension() == ".yaml") out.push_back(YAMLTestSupport::readFile(entry.path()));
    }
  }
  return out;
}

TEST(YAMLRobustnessTest, RandomEditsGiveATreeOrAPlacedParseError) {
  static const char kAlphabet[] = "-:?#'\"[]{},&*!|>\\ \t\n\r\nabc0123456789.~%@`<";
  const auto inputs = seeds();
  std::mt19937 random(7);
  int refused = 0, read = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string text = inputs[static_cast<std::size_t>(round) % inputs.size()];
    const int edits = 1 + static_cast<int>(random() % 6);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      const std::size_t at = random() % text.size();
      const char c = kAlphabet[random() % (sizeof kAlphabet - 1)];
      switch (random() % 4) {
        case 0: text[at] = c; break;
        case 1: text.insert(at, 1, c); break;
        case 2: text.erase(at, 1 + random() % 8); break;
        default: text.insert(at, text.substr(random() % text.size(), random() % 40)); break;
      }
    }
    try {
      const auto root = YAMLParser().parse(YAMLParser::bytesOf(text));
      ASSERT_TRUE(root);
      ++read;
    } catch (const VoziZazIreCore::ParseError& error) {
      // Only undecodable input has no place.
      if (error.message() != "Failed to decode input as UTF-8") {
        ASSERT_TRUE(error.range().has_value()) << error.message();
        EXPECT_GE(error.range()->start.line, 1);
        EXPECT_GE(error.range()->start.column, 1);
      }
      ++refused;
    }
  }
  EXPECT_GT(read, 0);
  EXPECT_GT(refused, 0);
}

// Long block scalars and long lines of multi-byte characters finish quickly (no quadratic rescans) and
// count right; PathologicalInputsTest covers huge keys, quoted scalars and flow collections.
TEST(YAMLRobustnessTest, HugeFlatInputsAreReadInOnePass) {
  std::string longBlock = "b: |\n";
  for (int i = 0; i < 50000; ++i) longBlock += "  line of text\n";
  EXPECT_EQ(YAMLParser().parse(longBlock)->operator[]("b")->stringValue()->size(), 50000u * 13);
  std::string unicodeLine = "a: [";
  for (int i = 0; i < 50000; ++i) unicodeLine += "\xC3\xA9t\xC3\xA9, ";
  unicodeLine += "z]\n";
  const auto root = YAMLParser().parse(unicodeLine);
  const auto* last = (*(*root)["a"])[std::size_t{50000}];
  ASSERT_TRUE(last);
  // "a: [" is 4 characters, then 50000 items of 5 characters ("été, ").
  EXPECT_EQ(last->range().start.column, 1 + 4 + 50000 * 5);
}

}  // namespace

// Inputs found by the parsers' fuzz targets (fuzz/), each named after the fault it caught. Every input
// is handed over in a buffer of exactly its size, so that reading past its end is caught by
// AddressSanitizer rather than stopped by a string's terminating NUL.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/ParseError.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"

namespace {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::ParseError;
using VoziZazIreParsing::JSONParser;
using VoziZazIreParsing::YAMLParser;

struct Reproducer {
  std::string name;
  bool json;
  std::string input;
  // The tree printed one node a line as "<pointer> <description> <start line>:<start column>", or
  // "error: <message> <line>:<column>".
  std::string expected;
};

void PrintTo(const Reproducer& r, std::ostream* os) { *os << r.name; }

std::string printed(const GenericNode& root) {
  std::string out;
  std::vector<const GenericNode*> stack{&root};
  while (!stack.empty()) {
    const GenericNode* node = stack.back();
    stack.pop_back();
    out += std::string(node->jsonPointer()) + " " + node->description() + " " + std::to_string(node->range().start.line) +
           ":" + std::to_string(node->range().start.column) + "\n";
    std::vector<const GenericNode*> children;
    if (auto members = node->objectValue())
      for (const auto& member : *members) children.push_back(member.value);
    if (auto elements = node->arrayValue())
      for (const GenericNode* element : *elements) children.push_back(element);
    stack.insert(stack.end(), children.rbegin(), children.rend());
  }
  return out;
}

std::vector<Reproducer> reproducers() {
  return {
      // The value of a merge key at the very end of the text (no line break after "<<:") was looked at
      // one byte past the end.
      {"yaml_merge_key_at_end_of_text_read_past_the_end", false,
       std::string("a: &co1. \nb:\n  <<: \0\0\0\0\0\0\0\n  <<:", 32),
       "/ object(2 keys) 1:1\n/a null 1:10\n/b object(1 keys) 3:3\n/b/<< null 4:6\n"},
      {"yaml_merge_key_alone_at_end_of_text", false, "<<:", "/ object(1 keys) 1:1\n/<< null 1:4\n"},
      // The search for a mapping colon stepped over a verbatim tag as a run of non-blanks, while the key
      // reader takes it to its '>': the colon inside the tag made a key whose reading started past the
      // colon and, at the end of the text, one byte past it (found by the facade's fuzz target). Blanks
      // have no place in a tag: both are refused.
      {"yaml_verbatim_tag_holding_a_colon_read_past_the_end", false,
       std::string("  !<minItes\0\x02 r:  >", 19), std::string("error: Invalid tag '!<minItes\0\x02 r:  >' 1:3", 42)},
      {"yaml_verbatim_tag_holding_a_colon_before_a_key", false, "!<x: y> k: v", "error: Invalid tag '!<x: y>' 1:1"},
      {"yaml_verbatim_tag_before_a_key", false, "!<x:y> k: v", "/ object(1 keys) 1:1\n/k string(\"v\") 1:11\n"},
      {"yaml_unterminated_verbatim_tag_before_a_colon", false, "!<abc k: v", "error: Unterminated verbatim tag 1:1"},
  };
}

class ParserFuzzRegression : public testing::TestWithParam<Reproducer> {};

TEST_P(ParserFuzzRegression, ReadsOrRefusesWithinTheBuffer) {
  const Reproducer& r = GetParam();
  const std::vector<std::uint8_t> bytes(r.input.begin(), r.input.end());
  std::string actual;
  try {
    const auto root = r.json ? JSONParser().parse(bytes) : YAMLParser().parse(bytes);
    ASSERT_NE(root, nullptr);
    actual = printed(*root);
  } catch (const ParseError& error) {
    actual = "error: " + error.message();
    if (error.range())
      actual += " " + std::to_string(error.range()->start.line) + ":" + std::to_string(error.range()->start.column);
  }
  // The root's pointer is empty; print it as "/" above.
  if (!actual.empty() && actual[0] == ' ') actual.insert(actual.begin(), '/');
  EXPECT_EQ(actual, r.expected);
}

INSTANTIATE_TEST_SUITE_P(Parsers, ParserFuzzRegression, testing::ValuesIn(reproducers()),
                         [](const testing::TestParamInfo<Reproducer>& info) { return info.param.name; });

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "kit/parsing/YAMLParser.h"
#include "tests/kit/parsing/YAMLTestDump.h"

namespace {

using VoziZazIreParsing::YAMLParser;

std::string read(const std::string& text) {
  return YAMLTestSupport::dump(YAMLParser().parse(YAMLParser::bytesOf(text)).get());
}

// Block scalars that run to the end of the text. Each row is read as written (no final line break) and
// with a final line break; a last line of blanks counts as a line either way.
struct BlockCase {
  const char* name;
  std::string yaml;  // without a final line break
  std::string expected;
  std::string expectedWithBreak;
};

void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }

class BlockScalarAtTheEnd : public testing::TestWithParam<BlockCase> {};

TEST_P(BlockScalarAtTheEnd, WithoutFinalLineBreak) { EXPECT_EQ(read(GetParam().yaml), GetParam().expected); }

TEST_P(BlockScalarAtTheEnd, WithFinalLineBreak) {
  EXPECT_EQ(read(GetParam().yaml + "\n"), GetParam().expectedWithBreak);
}

TEST_P(BlockScalarAtTheEnd, WithCrlfLineEnds) {
  EXPECT_EQ(read(YAMLTestSupport::withCrlf(GetParam().yaml + "\n")), GetParam().expectedWithBreak);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BlockScalarAtTheEnd,
    testing::Values(
        // An empty keep scalar: the line of blanks is one empty line.
        BlockCase{"keep_item_then_line_of_spaces", "- |+\n   ", R"(["\n"])", R"(["\n"])"},
        // Blanks beyond the content indentation are content, and the line ends like any other.
        BlockCase{"clip_then_line_of_more_spaces", "foo: |\n  x\n   ", R"({"foo":"x\n \n"})", R"({"foo":"x\n \n"})"},
        BlockCase{"folded_then_line_of_more_spaces", "foo: >\n  x\n   ", R"({"foo":"x\n \n"})", R"({"foo":"x\n \n"})"},
        BlockCase{"strip_then_line_of_more_spaces", "foo: |-\n  x\n   ", R"({"foo":"x\n "})", R"({"foo":"x\n "})"},
        BlockCase{"keep_then_line_of_tab", "foo: |+\n  x\n  \t", R"({"foo":"x\n\t\n"})", R"({"foo":"x\n\t\n"})"},
        // Lines of blanks at or below the content indentation are empty lines, kept only by "+".
        BlockCase{"keep_then_shorter_line_of_spaces", "foo: |+\n  x\n ", R"({"foo":"x\n\n"})", R"({"foo":"x\n\n"})"},
        BlockCase{"keep_then_line_at_indentation", "- >+\n  a\n  ", R"(["a\n\n"])", R"(["a\n\n"])"},
        BlockCase{"keep_empty_line_then_spaces", "foo: |+\n\n   ", R"({"foo":"\n\n"})", R"({"foo":"\n\n"})"},
        BlockCase{"clip_then_line_of_spaces", "foo: |\n  x\n  ", R"({"foo":"x\n"})", R"({"foo":"x\n"})"},
        BlockCase{"clip_without_content", "foo: |\n   ", R"({"foo":""})", R"({"foo":""})"},
        BlockCase{"keep_in_nested_mapping", "a:\n  b: |+\n    x\n   ", R"({"a":{"b":"x\n\n"}})",
                  R"({"a":{"b":"x\n\n"}})"},
        // A last content line without a line break keeps none.
        BlockCase{"clip_last_content_line", "foo: |\n  x", R"({"foo":"x"})", R"({"foo":"x\n"})"},
        BlockCase{"keep_last_content_line_with_trailing_space", "foo: |+\n  x ", R"({"foo":"x "})",
                  R"({"foo":"x \n"})"}),
    [](const testing::TestParamInfo<BlockCase>& info) { return std::string(info.param.name); });

// Explicit keys ("?") in block and in flow collections: the key as written, the value after ":".
struct KeyCase {
  const char* name;
  std::string yaml;
  std::string expected;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class ExplicitKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(ExplicitKeys, ReadTheKeyAndTheValue) { EXPECT_EQ(read(GetParam().yaml), GetParam().expected); }

TEST_P(ExplicitKeys, ReadTheSameWithCrlfLineEnds) {
  EXPECT_EQ(read(YAMLTestSupport::withCrlf(GetParam().yaml)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExplicitKeys,
    testing::Values(
        // Flow sequences: a pair with an explicit key is a mapping of one pair.
        KeyCase{"flow_sequence_pair", "[? foo bar : baz]\n", R"([{"foo bar":"baz"}])"},
        KeyCase{"flow_sequence_pair_among_items", "[a, ? b : c, d]\n", R"(["a",{"b":"c"},"d"])"},
        KeyCase{"flow_sequence_key_alone", "[? foo]\n", R"([{"foo":null}])"},
        KeyCase{"flow_sequence_empty_key", "[?, x]\n", R"([{"":null},"x"])"},
        KeyCase{"flow_sequence_quoted_key", "[? 'a: b' : c]\n", R"([{"a: b":"c"}])"},
        KeyCase{"flow_sequence_key_over_lines", "k: [? foo\n  bar : baz]\n", R"({"k":[{"foo bar":"baz"}]})"},
        KeyCase{"flow_sequence_nested_value", "[? a : [? b : c]]\n", R"([{"a":[{"b":"c"}]}])"},
        // Flow mappings.
        KeyCase{"flow_mapping_pair", "{? foo bar : baz}\n", R"({"foo bar":"baz"})"},
        KeyCase{"flow_mapping_key_alone", "{? a, b: 1}\n", R"({"a":null,"b":1})"},
        KeyCase{"flow_mapping_empty_key", "{? : v}\n", R"({"":"v"})"},
        KeyCase{"flow_mapping_empty_key_before_comma", "{?, b}\n", R"({"":null,"b":null})"},
        // Block mappings: plain keys keep their text, as before a ":".
        KeyCase{"block_pair", "? key\n: value\n", R"({"key":"value"})"},
        KeyCase{"block_keys_keep_their_text", "? 1.0\n: a\n? ~\n: b\n? true\n: c\n", R"({"1.0":"a","true":"c","~":"b"})"},
        KeyCase{"block_key_on_next_line", "?\n  1.0\n: a\n", R"({"1.0":"a"})"},
        KeyCase{"block_key_over_lines", "? a\n  b\n: c\n", R"({"a b":"c"})"},
        KeyCase{"block_key_with_comment", "? a # note\n: 1\n", R"({"a":1})"},
        KeyCase{"block_empty_key", "?\n: v\n", R"({"":"v"})"},
        KeyCase{"block_key_without_value", "? a\nb: 1\n", R"({"a":null,"b":1})"},
        KeyCase{"block_literal_key", "? |\n  lit\n: v\n", R"({"lit\n":"v"})"},
        KeyCase{"block_pairs_in_sequence", "x:\n- ? a\n  : b\n- ? c\n", R"({"x":[{"a":"b"},{"c":null}]})"},
        KeyCase{"block_quoted_key", "? \"q: x\"\n: 1\n", R"({"q: x":1})"}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

}  // namespace

#include "kit/parsing/YAMLParser.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "kit/core/Limits.h"
#include "kit/core/ParseError.h"
#include "tests/kit/parsing/YAMLTestDump.h"

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;
using VoziZazIreCore::NodePtr;
using VoziZazIreCore::ParseError;
using VoziZazIreCore::SourceLocation;
using VoziZazIreCore::SourceRange;
using VoziZazIreParsing::YAMLParser;

namespace {

NodePtr parse(std::string_view text) { return YAMLParser().parse(YAMLParser::bytesOf(text)); }

// ---------------------------------------------------------------------------------------------------
// Values: each row reads to the expected canonical value, with LF and with CRLF line ends.

struct ValueCase {
  const char* name;
  std::string yaml;
  std::string expected;
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class YAMLParserValues : public testing::TestWithParam<ValueCase> {};

TEST_P(YAMLParserValues, ReadsTheValue) {
  const ValueCase& c = GetParam();
  EXPECT_EQ(YAMLTestSupport::dump(parse(c.yaml).get()), c.expected) << c.yaml;
}

TEST_P(YAMLParserValues, ReadsTheSameValueWithCrlfLineEnds) {
  const ValueCase& c = GetParam();
  EXPECT_EQ(YAMLTestSupport::dump(parse(YAMLTestSupport::withCrlf(c.yaml)).get()), c.expected) << c.yaml;
}

const ValueCase kValueCases[] = {
    // Line ends.
    {"crlf_blank_line_does_not_end_mapping", "a: 1\n\nb: x\n  \nc:\n  - d\n", R"({"a":1,"b":"x","c":["d"]})"},
    {"no_final_line_break", "a: 1\nb: two", R"({"a":1,"b":"two"})"},
    // The mapping colon needs a blank after it.
    {"url_sequence_item_is_not_a_key", "- https://x.org/a\n- http://y:8080\n", R"(["https://x.org/a","http://y:8080"])"},
    {"colon_inside_path_key", "/v1/{name}:cancel:\n  post: 1\n", R"({"/v1/{name}:cancel":{"post":1}})"},
    {"url_inside_value", "a: see http://x.org\n", R"({"a":"see http://x.org"})"},
    {"apostrophe_before_colon", "it's: x\ndon't: y\n", R"({"don't":"y","it's":"x"})"},
    {"colon_without_blank_is_text", "a: b:c\nd:e: f\n", R"({"a":"b:c","d:e":"f"})"},
    // Comments need a blank before the "#".
    {"hash_inside_values_is_kept", "a: https://x/#frag\nb: ^#[0-9a-f]{6}$\nc: C#\nd: x # note\n",
     R"({"a":"https://x/#frag","b":"^#[0-9a-f]{6}$","c":"C#","d":"x"})"},
    {"comment_lines_anywhere", "# top\na: # after key\n  # inside\n  b: 1 # end\n# last", R"({"a":{"b":1}})"},
    {"hash_in_sequence_item", "- C# # language\n- '#quoted'\n", R"(["C#","#quoted"])"},
    // Quoted scalars.
    {"single_quote_doubled", "a: 'it''s'\nb: ''''\n", R"({"a":"it's","b":"'"})"},
    {"double_quoted_escapes", "a: \"\\u00e9\\x41\\/\\ \\t\\\\\\\"\\U0001F600\"\n",
     "{\"a\":\"\xC3\xA9" "A/ \\t\\\\\\\"\xF0\x9F\x98\x80\"}"},
    {"double_quoted_surrogate_pair", "a: \"\\ud83d\\ude00\"\n", "{\"a\":\"\xF0\x9F\x98\x80\"}"},
    {"double_quoted_line_escapes", "a: \"x\\ny\\rz\\0\"\n", R"({"a":"x\ny\rz\u0000"})"},
    {"quoted_key", "'a b': 1\n\"c:d\": 2\n'it''s': 3\n", R"({"a b":1,"c:d":2,"it's":3})"},
    {"quoted_values_are_strings", "a: 'true'\nb: \"3\"\nc: ''\n", R"({"a":"true","b":"3","c":""})"},
    {"multi_line_double_quoted", "a: \"one\n  two\n\n  three\"\n", R"({"a":"one two\nthree"})"},
    {"multi_line_single_quoted", "a: 'one\n   two   \n  three'\n", R"({"a":"one two three"})"},
    {"escaped_line_break", "a: \"one\\\n   two\"\n", R"({"a":"onetwo"})"},
    // Mappings on a sequence item's line.
    {"item_mapping_with_more_keys",
     "- name: id\n  in: path\n  description: |\n    line1\n    line2\n  # note\n  required: true\n- name: two\n",
     R"([{"description":"line1\nline2\n","in":"path","name":"id","required":true},{"name":"two"}])"},
    {"item_mapping_with_nested_block", "- a:\n    b: 1\n  c:\n  - x\n- d\n", R"([{"a":{"b":1},"c":["x"]},"d"])"},
    {"nested_compact_sequences", "- - a\n  - b\n- - c\n", R"([["a","b"],["c"]])"},
    {"item_mapping_on_dash_line_after_blank", "-\n  a: 1\n  b: 2\n", R"([{"a":1,"b":2}])"},
    // A sequence at its key's indentation is the key's value.
    {"sequence_at_key_indentation", "tags:\n- name: pets\n- name: store\nnext: 1\n",
     R"({"next":1,"tags":[{"name":"pets"},{"name":"store"}]})"},
    {"sequence_at_key_indentation_nested", "a:\n  b:\n  - 1\n  - 2\n  c: 3\n", R"({"a":{"b":[1,2],"c":3}})"},
    // Empty values.
    {"empty_value_on_last_line", "a: 1\nb:", R"({"a":1,"b":null})"},
    {"empty_value_before_less_indented_line", "a:\n  b:\nc:\n", R"({"a":{"b":null},"c":null})"},
    {"empty_item_on_last_line", "- a\n-", R"(["a",null])"},
    {"empty_document", "", "null"},
    {"comments_only_document", "# nothing\n\n", "null"},
    // Plain multi-line scalars fold.
    {"plain_scalar_folds", "a: one\n  two\n\n  three\nb: x\n", R"({"a":"one two\nthree","b":"x"})"},
    {"plain_scalar_on_next_line", "a:\n  one\n  two\n", R"({"a":"one two"})"},
    {"plain_item_folds", "- one\n  two\n- three\n", R"(["one two","three"])"},
    // Block scalars.
    {"literal_clip", "a: |\n  x\n  y\n\nb: 1\n", R"({"a":"x\ny\n","b":1})"},
    {"literal_strip", "a: |-\n  x\n  y\n\nb: 1\n", R"({"a":"x\ny","b":1})"},
    {"literal_keep", "a: |+\n  x\n\n\nb: 1\n", R"({"a":"x\n\n\n","b":1})"},
    {"folded", "a: >\n  one\n  two\n\n  three\n    more\n  four\n", R"({"a":"one two\nthree\n  more\nfour\n"})"},
    {"folded_strip", "a: >-\n  one\n  two\n", R"({"a":"one two"})"},
    {"indentation_indicator", "a: |2\n    x\n  y\n", R"({"a":"  x\ny\n"})"},
    {"indicator_order_and_comment", "a: |-2 # c\n   x\n", R"({"a":" x"})"},
    {"block_scalar_as_sequence_item", "- |\n  x\n  y\n- >-\n  a\n  b\n- z\n", R"(["x\ny\n","a b","z"])"},
    {"block_scalar_keeps_comment_lines", "a: |\n  # not a comment\n  x\n", R"({"a":"# not a comment\nx\n"})"},
    {"block_scalar_at_end_without_break", "a: |\n  x", R"({"a":"x"})"},
    {"empty_block_scalar", "a: |\nb: 1\n", R"({"a":"","b":1})"},
    {"block_scalar_with_less_indented_blank_lines", "a: |\n  x\n\n  y\n", R"({"a":"x\n\ny\n"})"},
    // Flow collections, on one line or several.
    {"flow_on_one_line", "a: [1, two, {b: c}, [d]]\n", R"({"a":[1,"two",{"b":"c"},["d"]]})"},
    {"flow_over_lines", "a: [1,\n  2, {b: c,\n d: e}]\nf: {}\n", R"({"a":[1,2,{"b":"c","d":"e"}],"f":{}})"},
    {"flow_trailing_comma_and_comment", "a: [x, y, ] # c\nb: { k: v, }\n", R"({"a":["x","y"],"b":{"k":"v"}})"},
    {"flow_urls_and_quotes", "a: [http://x, 'b, c', \"d]\"]\n", R"({"a":["http://x","b, c","d]"]})"},
    {"flow_single_pair", "a: [k: v, x]\n", R"({"a":[{"k":"v"},"x"]})"},
    {"flow_key_without_value", "a: {k, m: }\n", R"({"a":{"k":null,"m":null}})"},
    {"flow_json_style", "{\"a\": [1, 2.5, true, null], \"b\":\"c\"}\n", R"({"a":[1,2.5,true,null],"b":"c"})"},
    {"flow_multi_line_plain", "a: [one\n  two, three]\n", R"({"a":["one two","three"]})"},
    // Anchors, aliases, merge keys.
    {"alias_copies_value", "a: &x {k: 1}\nb: *x\nc: [*x]\n", R"({"a":{"k":1},"b":{"k":1},"c":[{"k":1}]})"},
    {"anchor_on_block_mapping", "base: &b\n  x: 1\n  y: 2\nderived:\n  <<: *b\n  y: 3\n",
     R"({"base":{"x":1,"y":2},"derived":{"x":1,"y":3}})"},
    {"merge_of_several", "a: &a {x: 1, y: 1}\nb: &b {y: 2, z: 2}\nc:\n  <<: [*a, *b]\n  w: 0\n",
     R"({"a":{"x":1,"y":1},"b":{"y":2,"z":2},"c":{"w":0,"x":1,"y":1,"z":2}})"},
    {"merge_in_sequence_item", "d: &d\n  k: v\nl:\n  - <<: *d\n    n: 1\n", R"({"d":{"k":"v"},"l":[{"k":"v","n":1}]})"},
    {"anchor_before_block_scalar_item", "- &a >-2\n  #hash\n- &b |-\n  text\n- *a\n", R"(["#hash","text","#hash"])"},
    {"anchored_scalar_alias", "a: &s text\nb: *s\n", R"({"a":"text","b":"text"})"},
    // Tags.
    {"core_tags", "a: !!str 123\nb: !!int '7'\nc: !!float 1\nd: !!bool true\ne: !!null ''\nf: !!str\n",
     R"({"a":"123","b":7,"c":1,"d":true,"e":null,"f":""})"},
    {"tag_on_the_line_above", "a: !!str\n  123\nb: !!int\n  - 1\nc: &x !!str\n  true\nd: *x\n",
     R"({"a":"123","b":[1],"c":"true","d":"true"})"},
    {"local_tag_keeps_text", "a: !custom 12\nb: !!map {k: v}\nc: !<tag:yaml.org,2002:str> 5\n",
     R"({"a":"12","b":{"k":"v"},"c":"5"})"},
    // Documents.
    {"second_document_ignored", "a: 1\n---\nb: 2\n", R"({"a":1})"},
    {"document_end_marker", "a: 1\n...\nb: 2\n", R"({"a":1})"},
    {"start_marker_and_directive", "%YAML 1.2\n---\na: 1\n", R"({"a":1})"},
    {"start_marker_with_value", "--- [1, 2]\n", R"([1,2])"},
    {"byte_order_mark", "\xEF\xBB\xBF" "a: 1\nb: 2\n", R"({"a":1,"b":2})"},
    // Typing of plain scalars.
    {"scalar_typing",
     "- yes\n- no\n- on\n- off\n- 3.1\n- 3.1.0\n- 0x1F\n- +12\n- .5\n- 1e3\n- 1_000\n- 0o17\n- .inf\n- ~\n- Null\n- "
     "TRUE\n- False\n- 2024-01-01\n- -7\n",
     R"(["yes","no","on","off",3.1,"3.1.0",31,12,0.5,1000,"1_000","0o17",".inf",null,null,true,false,"2024-01-01",-7])"},
    // Words for infinity and not-a-number are text wherever they stand; decimal and 0x forms are numbers.
    {"number_words_in_flow_enum", "type: string\nenum: [inf, NaN, -Infinity, 1e3, -0.5, 0x1F]\n",
     R"({"enum":["inf","NaN","-Infinity",1000,-0.5,31],"type":"string"})"},
    {"number_word_in_block_enum", "oneOf:\n  - type: integer\n  - type: string\n    enum:\n      - inf\n",
     R"({"oneOf":[{"type":"integer"},{"enum":["inf"],"type":"string"}]})"},
    {"number_words_as_keys_and_values", "default: Infinity\nINF: NAN\n-inf: +inf\n",
     R"({"-inf":"+inf","INF":"NAN","default":"Infinity"})"},
    {"tagged_float_word_stays_text", "a: !!float inf\nb: !!float 1e3\n", R"({"a":"inf","b":1000})"},
    {"keys_stay_text", "200: a\ntrue: b\n1.0: c\n~: d\n", R"({"1.0":"c","200":"a","true":"b","~":"d"})"},
    // Explicit keys and duplicate keys.
    {"explicit_key", "? a\n: 1\n? b\nc: 2\n", R"({"a":1,"b":null,"c":2})"},
    {"explicit_key_with_compact_value", "? long key\n: name: x\n  more: y\n? list\n: - 1\n  - 2\n",
     R"({"list":[1,2],"long key":{"more":"y","name":"x"}})"},
    {"duplicate_key_last_wins", "a: 1\na: 2\n", R"({"a":2})"},
    // Values standing at the document's root.
    {"root_scalar", "hello world\n", R"("hello world")"},
    {"root_sequence", "- 1\n- 2\n", "[1,2]"},
    {"indented_root_mapping", "# c\n  a: 1\n  b:\n  - x\n", R"({"a":1,"b":["x"]})"},
    {"indented_root_sequence", "   - a\n   - b\n", R"(["a","b"])"},
    // Tabs after indentation are separation, not indentation.
    {"tab_as_separator", "a:\tb\nc:\t[1,\t2]\n", R"({"a":"b","c":[1,2]})"},
    {"tab_after_dash", "-\tx\n-\t-1\n", R"(["x",-1])"},
    {"unicode_text", "name: Zürich — 東京\n", "{\"name\":\"Zürich — 東京\"}"},
};

INSTANTIATE_TEST_SUITE_P(Cases, YAMLParserValues, testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------------
// Errors: message and place, one row per input.

struct ErrorCase {
  const char* name;
  std::string yaml;
  std::string message;
  int64_t line;
  int64_t column;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class YAMLParserErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(YAMLParserErrors, MessageAndPlace) {
  const ErrorCase& c = GetParam();
  try {
    parse(c.yaml);
    FAIL() << "parsed without error";
  } catch (const ParseError& e) {
    EXPECT_EQ(e.message(), c.message);
    ASSERT_TRUE(e.range().has_value());
    EXPECT_EQ(e.range()->start.line, c.line);
    EXPECT_EQ(e.range()->start.column, c.column);
  }
}

const ErrorCase kErrorCases[] = {
    {"tab_indentation", "a:\n\tb: 1\n", "Tabs are not allowed in indentation", 2, 1},
    {"tab_after_spaces", "a:\n  \tb: 1\n", "Tabs are not allowed in indentation", 2, 3},
    {"tab_before_compact_mapping", "-\tx\n-\ty: z\n", "Tabs are not allowed in indentation", 2, 2},
    {"line_without_colon_in_mapping", "a: 1\nb\n", "Could not find expected ':' after a mapping key", 2, 1},
    {"deeper_line_after_entry", "a: 1\n  b: 2\n", "Unexpected ':' in a multi-line plain scalar", 2, 4},
    {"bad_mapping_indentation", "a:\n    b: 1\n  c: 2\n", "Bad indentation of a mapping entry", 3, 3},
    {"bad_sequence_indentation", "- a: 1\n - b\n", "Bad indentation of a sequence entry", 2, 2},
    {"sequence_entry_in_mapping", "a: 1\n- b\n", "Sequence entry where a mapping key was expected", 2, 1},
    {"unterminated_double_quote", "a: \"abc\nb: 1\n", "Unterminated quoted scalar", 1, 4},
    {"unterminated_single_quote", "a: 'abc\n", "Unterminated quoted scalar", 1, 4},
    {"invalid_escape", "a: \"x\\qy\"\n", "Invalid escape sequence: \\q", 1, 6},
    {"invalid_hex_escape", "a: \"\\u12G4\"\n", "Invalid hex digit in escape sequence", 1, 5},
    {"lone_surrogate_escape", "a: \"\\ud800\"\n", "Invalid unicode escape", 1, 5},
    {"text_after_quoted", "a: \"x\" y\n", "Unexpected text after a value", 1, 8},
    {"text_after_flow", "a: [1] 2\n", "Invalid flow sequence", 1, 4},
    {"text_after_flow_mapping", "a: {b: 1} # c\nc: {d: 1} x\n", "Invalid flow mapping", 2, 4},
    {"unterminated_flow_sequence", "a: [1, 2\n", "Invalid flow sequence", 1, 4},
    {"unterminated_flow_mapping", "a: {x: 1\n", "Invalid flow mapping", 1, 4},
    {"missing_comma_in_flow", "a: [[1] 2]\n", "Invalid flow sequence", 1, 4},
    {"missing_comma_in_flow_mapping", "a: {x: 1 y: 2}\n", "Invalid flow mapping", 1, 4},
    {"flow_broken_inside_nested", "a: [1, {b: ]}]\n", "Invalid flow mapping", 1, 8},
    {"empty_flow_entry", "a: [1, , 2]\n", "Invalid flow sequence", 1, 4},
    {"unknown_alias", "a: *nope\n", "Unknown alias '*nope'", 1, 4},
    {"anchor_without_name", "a: & x\n", "Anchor without a name", 1, 4},
    {"anchor_without_name_in_flow", "a: [&, x]\n", "Anchor without a name", 1, 5},
    {"alias_without_name", "a: * x\n", "Alias without a name", 1, 4},
    {"alias_without_name_in_flow", "a: [x, *]\n", "Alias without a name", 1, 8},
    {"bad_block_scalar_header", "a: |x\n  y\n", "Invalid block scalar header", 1, 5},
    {"complex_key", "? [a, b]\n: 1\n", "Complex mapping keys are not supported", 1, 3},
    {"complex_key_in_flow_sequence", "[ ? {a: 1} : b ]\n", "Complex mapping keys are not supported", 1, 5},
    {"complex_key_in_flow_mapping", "{ ? [a] : b }\n", "Complex mapping keys are not supported", 1, 5},
    {"compact_mapping_as_explicit_key", "? a : b\n", "Complex mapping keys are not supported", 1, 3},
    {"sequence_as_explicit_key", "x: 1\n? - a\n: b\n", "Complex mapping keys are not supported", 2, 3},
    {"unterminated_explicit_pair", "[? a : b\n", "Invalid flow sequence", 1, 1},
    {"explicit_pair_with_two_values", "[? a : b c : d]\n", "Invalid flow sequence", 1, 1},
    {"mapping_after_root_sequence", "- a\nb: 1\n", "Unexpected text after the document's root value", 2, 1},
    {"text_after_root_flow", "[1]\nfoo\n", "Unexpected text after the document's root value", 2, 1},
};

INSTANTIATE_TEST_SUITE_P(Cases, YAMLParserErrors, testing::ValuesIn(kErrorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(YAMLParserErrors, FlowErrorsRunFromTheOpeningBracketToTheFault) {
  try {
    parse("a: [1,\n  [2] 3,\n  4]\n");
    FAIL();
  } catch (const ParseError& e) {
    EXPECT_EQ(e.message(), "Invalid flow sequence");
    EXPECT_EQ(e.range()->start, (SourceLocation{1, 4, 3}));
    EXPECT_EQ(e.range()->end, (SourceLocation{2, 7, 13}));
    EXPECT_EQ(e.description(), "ParseError: Invalid flow sequence at line 1, column 4");
  }
}

// ---------------------------------------------------------------------------------------------------
// Limits: deeper nesting and alias bombs are refused in PathologicalInputsTest; here the deepest
// accepted nesting.

TEST(YAMLParserLimits, NestingUpToTheLimitIsRead) {
  const std::size_t depth = VoziZazIreCore::kMaxNestingDepth;
  EXPECT_NO_THROW(parse(std::string(depth, '[') + std::string(depth, ']')));
  // Block mappings nest one level per line; the innermost key holds null.
  std::string block;
  for (std::size_t i = 0; i < depth; ++i) block += std::string(i, ' ') + "k:\n";
  EXPECT_NO_THROW(parse(block));
}

// ---------------------------------------------------------------------------------------------------
// Positions: lines from 1, columns from 1 in characters, offsets = byte offset of the line start plus
// characters; every node's range covers its text.

struct RangeCase {
  const char* name;
  std::string yaml;
  std::string pointer;
  SourceRange range;
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

SourceRange range(int64_t l1, int64_t c1, int64_t o1, int64_t l2, int64_t c2, int64_t o2) {
  return {{l1, c1, o1}, {l2, c2, o2}};
}

class YAMLParserPositions : public testing::TestWithParam<RangeCase> {};

TEST_P(YAMLParserPositions, NodeCoversItsText) {
  const RangeCase& c = GetParam();
  const auto root = parse(c.yaml);
  const GenericNode* node = YAMLTestSupport::resolve(root.get(), c.pointer);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->jsonPointer(), c.pointer);
  EXPECT_EQ(node->range(), c.range) << node->range().description();
}

const std::string kNested = "a: 1\nbb:\n  - x\n  - 'yz'\n";
const std::string kItems = "x:\n  - name: id\n    in: path\nlong_key_name: v\n";
// "é" is two bytes and one character; "e" + combining acute is one character too.
const std::string kWide = "\xC3\xA9: x\nke\xCC\x81y: \xC3\xBC\n";

INSTANTIATE_TEST_SUITE_P(
    Table, YAMLParserPositions,
    testing::Values(RangeCase{"root_mapping", kNested, "", range(1, 1, 0, 4, 9, 23)},
                    RangeCase{"scalar", kNested, "/a", range(1, 4, 3, 1, 5, 4)},
                    RangeCase{"sequence", kNested, "/bb", range(3, 3, 11, 4, 9, 23)},
                    RangeCase{"item", kNested, "/bb/0", range(3, 5, 13, 3, 6, 14)},
                    RangeCase{"quoted_item", kNested, "/bb/1", range(4, 5, 19, 4, 9, 23)},
                    // Regression: a column base left over from an earlier line shifted later columns.
                    RangeCase{"no_stale_column_base_in_item", kItems, "/x/0/in", range(3, 9, 24, 3, 13, 28)},
                    RangeCase{"no_stale_column_base_after_items", kItems, "/long_key_name", range(4, 16, 44, 4, 17, 45)},
                    RangeCase{"columns_count_characters", kWide, "/\xC3\xA9", range(1, 4, 3, 1, 5, 4)},
                    // Line 2 starts at byte 6: "ké" + "y: " is 5 characters.
                    RangeCase{"offsets_are_line_byte_plus_characters", kWide, "/ke\xCC\x81y", range(2, 6, 11, 2, 7, 12)},
                    RangeCase{"crlf_line_ends", "a:\r\n  b: xy\r\n", "/a/b", range(2, 6, 9, 2, 8, 11)},
                    RangeCase{"block_scalar_spans_its_lines", "a: |\n  one\n  two\nb: >\n  x\n", "/a",
                              range(1, 4, 3, 3, 6, 16)},
                    RangeCase{"plain_scalar_spans_its_lines", "a: one\n  two\n", "/a", range(1, 4, 3, 2, 6, 12)},
                    RangeCase{"empty_text_is_null_at_the_start", "", "", range(1, 1, 0, 1, 1, 0)}),
    [](const testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.name); });

TEST(YAMLParserPointers, EscapeKeysAndAliasesTakeTheirPlace) {
  const auto root = parse("paths:\n  /a~b:\n    get: &g {x: 1}\n  /c:\n    get: *g\n");
  const auto* copy = (*(*(*root)["paths"])["/c"])["get"];
  EXPECT_EQ(copy->jsonPointer(), "/paths/~1c/get");
  EXPECT_EQ((*copy)["x"]->jsonPointer(), "/paths/~1c/get/x");
  EXPECT_EQ((*(*(*root)["paths"])["/a~b"])["get"]->jsonPointer(), "/paths/~1a~0b/get");
}

}  // namespace

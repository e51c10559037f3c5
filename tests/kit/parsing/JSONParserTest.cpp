#include "kit/parsing/JSONParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
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
using VoziZazIreParsing::JSONParser;

namespace {

NodePtr parse(std::string_view text) { return JSONParser().parse(JSONParser::bytesOf(text)); }

SourceLocation loc(int64_t line, int64_t column, int64_t offset) { return {line, column, offset}; }

// ---------------------------------------------------------------------------------------------------
// Errors: message and range, one row per input.

struct ErrorCase {
  const char* name;
  std::string input;
  std::string message;
  std::optional<SourceRange> range;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

SourceRange at(int64_t l1, int64_t c1, int64_t o1, int64_t l2, int64_t c2, int64_t o2) {
  return {loc(l1, c1, o1), loc(l2, c2, o2)};
}
SourceRange empty(int64_t l, int64_t c, int64_t o) { return at(l, c, o, l, c, o); }

class JSONParserErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(JSONParserErrors, MessageAndRange) {
  const ErrorCase& c = GetParam();
  try {
    parse(c.input);
    FAIL() << "parsed without error";
  } catch (const ParseError& e) {
    EXPECT_EQ(e.message(), c.message);
    EXPECT_EQ(e.range(), c.range) << (e.range() ? e.range()->description() : std::string("no range"));
    EXPECT_EQ(e.underlying(), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, JSONParserErrors,
    testing::Values(
        ErrorCase{"empty_text", "", "Unexpected token: eof", empty(1, 1, 0)},
        ErrorCase{"white_space_only", " \n\t", "Unexpected token: eof", empty(2, 2, 3)},
        ErrorCase{"not_utf8", "\"\xff\"", "Failed to decode input as UTF-8", empty(1, 2, 1)},
        ErrorCase{"overlong_utf8", "\"\xc0\xaf\"", "Failed to decode input as UTF-8", empty(1, 2, 1)},
        ErrorCase{"undecodable_byte_is_located_after_crlf_and_accents", "[\"\xc3\xa9\",\r\n \"\xff\"]",
                  "Failed to decode input as UTF-8", empty(2, 3, 8)},
        ErrorCase{"unexpected_character", "@", "Unexpected character: '@'", empty(1, 1, 0)},
        ErrorCase{"unexpected_character_whole_cluster", "[e\xcc\x81]", "Unexpected character: 'e\xcc\x81'",
                  empty(1, 2, 1)},
        ErrorCase{"single_quotes", "['a']", "Unexpected character: '''", empty(1, 2, 1)},
        ErrorCase{"unterminated_string", "[\"abc", "Unterminated string", at(1, 2, 1, 1, 6, 5)},
        ErrorCase{"unterminated_string_across_lines", "\"a\nbc", "Unterminated string", at(1, 1, 0, 2, 3, 5)},
        ErrorCase{"unterminated_escape", "\"a\\", "Unterminated string escape", std::nullopt},
        ErrorCase{"invalid_escape", "\"\\x\"", "Invalid escape sequence: \\x", std::nullopt},
        ErrorCase{"invalid_escape_non_ascii", "\"\\\xc3\xa9\"", "Invalid escape sequence: \\\xc3\xa9", std::nullopt},
        ErrorCase{"lone_high_surrogate", "\"\\ud800\"", "Invalid unicode escape", std::nullopt},
        ErrorCase{"lone_low_surrogate", "\"\\udc00\"", "Invalid unicode escape", std::nullopt},
        ErrorCase{"high_surrogate_then_text", "\"\\ud83dx\"", "Invalid unicode escape", std::nullopt},
        ErrorCase{"high_surrogate_then_other_escape", "\"\\ud83d\\n\"", "Invalid unicode escape", std::nullopt},
        ErrorCase{"high_surrogate_then_non_surrogate", "\"\\ud83d\\u0041\"", "Invalid unicode escape", std::nullopt},
        ErrorCase{"two_high_surrogates", "\"\\ud83d\\ud83d\"", "Invalid unicode escape", std::nullopt},
        ErrorCase{"incomplete_unicode_escape", "\"\\u12", "Incomplete unicode escape", std::nullopt},
        ErrorCase{"incomplete_low_surrogate", "\"\\ud83d\\ude", "Incomplete unicode escape", std::nullopt},
        ErrorCase{"invalid_hex_digit", "\"\\u12g4\"", "Invalid hex digit in unicode escape", std::nullopt},
        ErrorCase{"short_unicode_escape", "\"\\u12\"", "Invalid hex digit in unicode escape", std::nullopt},
        ErrorCase{"keyword_cut_short", "tru", "Invalid keyword, expected 'true'", at(1, 1, 0, 1, 4, 3)},
        ErrorCase{"keyword_mismatch", "[fals3]", "Invalid keyword, expected 'false'", at(1, 2, 1, 1, 6, 5)},
        ErrorCase{"keyword_capitalised", "nUll", "Invalid keyword, expected 'null'", at(1, 1, 0, 1, 2, 1)},
        ErrorCase{"lone_minus", "-", "Invalid number", at(1, 1, 0, 1, 2, 1)},
        ErrorCase{"minus_then_letter", "[-a]", "Invalid number", at(1, 2, 1, 1, 3, 2)},
        ErrorCase{"point_without_digits", "1.", "Invalid number fraction", at(1, 1, 0, 1, 3, 2)},
        ErrorCase{"point_then_exponent", "[1.e5]", "Invalid number fraction", at(1, 2, 1, 1, 4, 3)},
        ErrorCase{"exponent_without_digits", "1e", "Invalid number exponent", at(1, 1, 0, 1, 3, 2)},
        ErrorCase{"signed_exponent_without_digits", "1E+", "Invalid number exponent", at(1, 1, 0, 1, 4, 3)},
        ErrorCase{"leading_plus", "+1", "Unexpected character: '+'", empty(1, 1, 0)},
        ErrorCase{"leading_point", ".5", "Unexpected character: '.'", empty(1, 1, 0)},
        ErrorCase{"leading_zero_in_array", "[01]", "Expected ',' or ']' in array", at(1, 3, 2, 1, 4, 3)},
        ErrorCase{"trailing_comma_in_array", "[1,]", "Unexpected token: rightBracket", at(1, 4, 3, 1, 5, 4)},
        ErrorCase{"trailing_comma_in_object", "{\"a\":1,}", "Expected string key in object", at(1, 8, 7, 1, 9, 8)},
        ErrorCase{"number_key", "{1:2}", "Expected string key in object", at(1, 2, 1, 1, 3, 2)},
        ErrorCase{"missing_colon", "{\"a\" 1}", "Expected ':' after object key", at(1, 6, 5, 1, 7, 6)},
        ErrorCase{"missing_comma_in_object", "{\"a\":1 \"b\"}", "Expected ',' or '}' in object",
                  at(1, 8, 7, 1, 11, 10)},
        ErrorCase{"missing_comma_in_array", "[1 2]", "Expected ',' or ']' in array", at(1, 4, 3, 1, 5, 4)},
        ErrorCase{"closing_brace_first", "}", "Unexpected token: rightBrace", at(1, 1, 0, 1, 2, 1)},
        ErrorCase{"colon_as_value", "[:]", "Unexpected token: colon", at(1, 2, 1, 1, 3, 2)},
        ErrorCase{"comma_as_value", "{\"a\":,}", "Unexpected token: comma", at(1, 6, 5, 1, 7, 6)},
        ErrorCase{"unclosed_array", "[", "Unexpected token: eof", empty(1, 2, 1)},
        ErrorCase{"unclosed_object", "{\"a\":1", "Expected ',' or '}' in object", empty(1, 7, 6)},
        ErrorCase{"mismatched_bracket", "[1}", "Expected ',' or ']' in array", at(1, 3, 2, 1, 4, 3)},
        ErrorCase{"comment", "// x\n{}", "Unexpected character: '/'", empty(1, 1, 0)},
        ErrorCase{"no_break_space_is_not_white_space", "\xc2\xa0{}", "Unexpected character: '\xc2\xa0'",
                  empty(1, 1, 0)},
        ErrorCase{"error_after_crlf_lines", "{\r\n\"a\":\r\n  x}", "Unexpected character: 'x'", empty(3, 3, 9)},
        // Regression: text after the root value used to be ignored.
        ErrorCase{"text_after_root_is_refused", "{} {}", "Unexpected token: leftBrace", at(1, 4, 3, 1, 5, 4)},
        ErrorCase{"leading_zero_at_top_level_is_refused", "01", "Unexpected token: number", at(1, 2, 1, 1, 3, 2)},
        ErrorCase{"garbage_after_root_is_refused", "{\"a\":1}x", "Unexpected character: 'x'", empty(1, 8, 7)},
        ErrorCase{"second_line_after_root_is_refused", "1\n2", "Unexpected token: number", at(2, 1, 2, 2, 2, 3)},
        ErrorCase{"letter_after_keyword", "[truex]", "Unexpected character: 'x'", empty(1, 6, 5)}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------------
// Strings and escapes.

struct StringCase {
  const char* name;
  std::string input;
  std::string value;
};

void PrintTo(const StringCase& c, std::ostream* os) { *os << c.name; }

class JSONParserStrings : public testing::TestWithParam<StringCase> {};

TEST_P(JSONParserStrings, DecodesValue) {
  const StringCase& c = GetParam();
  NodePtr node = parse(c.input);
  ASSERT_EQ(node->kind(), GenericNodeKind::string);
  EXPECT_EQ(*node->stringValue(), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JSONParserStrings,
    testing::Values(
        StringCase{"empty", "\"\"", ""},
        StringCase{"simple_escapes", R"("\"\\\/\b\f\n\r\t")", "\"\\/\b\f\n\r\t"},
        StringCase{"unicode_escape", R"("\u00e9")", "\xc3\xa9"},
        StringCase{"unicode_escape_upper_case", R"("\u00C9")", "\xc3\x89"},
        StringCase{"escaped_nul", R"("a\u0000b")", std::string("a\0b", 3)},
        // Regression: a valid escaped surrogate pair used to be refused.
        StringCase{"surrogate_pair_decodes_to_its_character", R"("\ud83d\ude00")", "\xf0\x9f\x98\x80"},
        StringCase{"surrogate_pair_upper_case", R"("x\uD834\uDD1Ey")", "x\xf0\x9d\x84\x9ey"},
        StringCase{"fullwidth_hex_digits", "\"\\u\xef\xbc\x90\xef\xbc\x90\xef\xbc\x94\xef\xbc\x91\"", "A"},
        StringCase{"fullwidth_hex_letters", "\"\\u00\xef\xbd\x85\xef\xbc\x99\"", "\xc3\xa9"},
        StringCase{"fullwidth_upper_hex_letter", "\"\\u00\xef\xbc\xa3\xef\xbc\x99\"", "\xc3\x89"},
        StringCase{"raw_tab_kept", "\"a\tb\"", "a\tb"},
        StringCase{"raw_line_feed_kept", "\"a\nb\"", "a\nb"},
        StringCase{"raw_crlf_kept", "\"a\r\nb\"", "a\r\nb"},
        StringCase{"raw_non_ascii", "\"\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87 \xf0\x9f\x98\x80\"",
                   "\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87 \xf0\x9f\x98\x80"},
        // Regression: a string starting with a combining mark, a zero-width joiner or an emoji modifier
        // used to hide its opening quote.
        StringCase{"leading_combining_mark", "\"\xcc\x81x\"", "\xcc\x81x"},
        StringCase{"leading_zero_width_joiner", "\"\xe2\x80\x8d\"", "\xe2\x80\x8d"},
        StringCase{"leading_emoji_modifier", "\"\xf0\x9f\x8f\xbb\"", "\xf0\x9f\x8f\xbb"},
        StringCase{"combining_mark_before_closing_quote", "\"e\xcc\x81\"", "e\xcc\x81"},
        StringCase{"byte_order_mark_skipped", "\xef\xbb\xbf\"a\"", "a"}),
    [](const testing::TestParamInfo<StringCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------------
// Numbers.

struct NumberCase {
  const char* name;
  std::string input;
  double value;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class JSONParserNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(JSONParserNumbers, ReadsValue) {
  const NumberCase& c = GetParam();
  NodePtr node = parse(c.input);
  ASSERT_EQ(node->kind(), GenericNodeKind::number);
  const double value = *node->numberValue();
  EXPECT_EQ(value, c.value);
  EXPECT_EQ(std::signbit(value), std::signbit(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Table, JSONParserNumbers,
    testing::Values(NumberCase{"zero", "0", 0.0}, NumberCase{"minus_zero", "-0", -0.0},
                    NumberCase{"minus_zero_fraction", "-0.0", -0.0}, NumberCase{"integer", "42", 42},
                    NumberCase{"negative", "-17", -17}, NumberCase{"fraction", "1.25", 1.25},
                    NumberCase{"tenth", "0.1", 0.1}, NumberCase{"exponent", "1e3", 1000},
                    NumberCase{"capital_exponent_plus", "2.5E+2", 250}, NumberCase{"negative_exponent", "5e-1", 0.5},
                    NumberCase{"fifteen_digits", "999999999999999", 999999999999999.0},
                    NumberCase{"beyond_2_pow_53", "9007199254740993", 9007199254740992.0},
                    NumberCase{"int64_min", "-9223372036854775808", -9223372036854775808.0},
                    NumberCase{"many_digits", "123456789012345678901234567890", 1.2345678901234568e29},
                    NumberCase{"huge_exponent", "1e400", HUGE_VAL}, NumberCase{"huge_negative", "-1e400", -HUGE_VAL},
                    NumberCase{"tiny_exponent", "1e-400", 0.0}, NumberCase{"smallest_subnormal", "5e-324", 5e-324},
                    NumberCase{"largest_double", "1.7976931348623157e308", 1.7976931348623157e308},
                    NumberCase{"white_space_around", " \r\n 7 \t\r\n", 7}),
    [](const testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------------
// Trees and pointers.

// Every node's pointer, in document order.
void collectPointers(const GenericNode* node, std::vector<std::string>& out) {
  out.emplace_back(node->jsonPointer());
  if (node->kind() == GenericNodeKind::array)
    for (const GenericNode* element : *node->arrayValue()) collectPointers(element, out);
  if (node->kind() == GenericNodeKind::object)
    for (const auto& m : *node->objectValue()) collectPointers(m.value, out);
}

TEST(JSONParser, KeywordsContainersDocumentOrderAndDuplicateKeys) {
  // The escaped "\u007a" is the key "z" again: its value wins, at the first key's place.
  NodePtr root = parse(R"({"z": true, "a": false, "n": null, "e": [], "o": {}, "\u007a": 3})");
  EXPECT_EQ(YAMLTestSupport::dump(root.get()), R"({"a":false,"e":[],"n":null,"o":{},"z":3})");
  std::vector<std::string> order;
  for (const auto& m : *root->objectValue()) order.emplace_back(m.key);
  EXPECT_EQ(order, (std::vector<std::string>{"z", "a", "n", "e", "o"}));
}

TEST(JSONParser, PointersEscapeKeysAndCountIndices) {
  NodePtr root = parse(R"({"a/b": {"c~d": [1, {"e": null}, [true]]}, "": {"": 1}, "x\ny": 0})");
  std::vector<std::string> pointers;
  collectPointers(root.get(), pointers);
  EXPECT_EQ(pointers, (std::vector<std::string>{"", "/a~1b", "/a~1b/c~0d", "/a~1b/c~0d/0", "/a~1b/c~0d/1",
                                                "/a~1b/c~0d/1/e", "/a~1b/c~0d/2", "/a~1b/c~0d/2/0", "/", "//",
                                                "/x\ny"}));
}

// Regression guard: decoded keys and strings live in the tree, not in a buffer the next string reuses
// or in the input text.
TEST(JSONParser, TreesOwnTheirTextAndOutliveInputAndParser) {
  auto text = std::make_unique<std::string>(R"({"k\u00e9y": "v\u00e0lue", "x": ["\t"]})");
  JSONParser parser;
  NodePtr first = parser.parse(JSONParser::bytesOf(*text));
  NodePtr second = parser.parse(std::string_view(R"({"b": 2})"));
  text.reset();
  second.reset();
  EXPECT_EQ(YAMLTestSupport::dump(first.get()), "{\"k\xc3\xa9y\":\"v\xc3\xa0lue\",\"x\":[\"\\t\"]}");
}

TEST(JSONParser, StringOverloadRefusesInvalidUtf8WithItsOwnMessage) {
  EXPECT_EQ(JSONParser().parse(std::string_view("[1, 2]"))->count(), 2u);
  try {
    JSONParser().parse(std::string_view("\"\xff\""));
    FAIL();
  } catch (const ParseError& e) {
    EXPECT_EQ(e.message(), "Failed to convert string to UTF-8 data");
    EXPECT_FALSE(e.range());
  }
}

// ---------------------------------------------------------------------------------------------------
// Positions: columns and offsets count grapheme clusters; CRLF is one character, so every row gives the
// same range with CRLF line ends.

struct RangeCase {
  const char* name;
  std::string input;
  std::string pointer;
  SourceRange range;
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

class JSONParserRanges : public testing::TestWithParam<RangeCase> {};

TEST_P(JSONParserRanges, NodeCoversItsText) {
  const RangeCase& c = GetParam();
  for (const std::string& input : {c.input, YAMLTestSupport::withCrlf(c.input)}) {
    NodePtr root = parse(input);
    const GenericNode* node = YAMLTestSupport::resolve(root.get(), c.pointer);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->jsonPointer(), c.pointer);
    EXPECT_EQ(node->range(), c.range) << node->range().description() << (input == c.input ? "" : " with CRLF");
  }
}

const std::string kLines = "{\n  \"a\": [1, \"x\"],\n  \"b\": -2.5e1\n}";
const std::string kFamily = "\xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x91\xa7";

INSTANTIATE_TEST_SUITE_P(
    Table, JSONParserRanges,
    testing::Values(
        RangeCase{"object_over_lines", kLines, "", at(1, 1, 0, 4, 2, 34)},
        RangeCase{"array_in_object", kLines, "/a", at(2, 8, 9, 2, 16, 17)},
        RangeCase{"number_in_array", kLines, "/a/0", at(2, 9, 10, 2, 10, 11)},
        RangeCase{"string_in_array", kLines, "/a/1", at(2, 12, 13, 2, 15, 16)},
        RangeCase{"number_with_exponent", kLines, "/b", at(3, 8, 26, 3, 14, 32)},
        RangeCase{"after_blank_line", "{\n  \"a\": [1,\n    \"x\"],\n\n  \"b\": null\n}\n", "/b", at(5, 8, 31, 5, 12, 35)},
        RangeCase{"empty_object_member", R"({"t": true, "o": {}})", "/o", at(1, 18, 17, 1, 20, 19)},
        RangeCase{"duplicate_key_takes_last_range", R"({"a": 1, "b": 2, "a": 3})", "/a", at(1, 23, 22, 1, 24, 23)},
        RangeCase{"lone_carriage_return_is_no_line_break", "[\r1]", "/0", at(1, 3, 2, 1, 4, 3)},
        RangeCase{"raw_line_feed_in_string", "[\"a\nbc\", 1]", "/0", at(1, 2, 1, 2, 4, 7)},
        RangeCase{"after_raw_line_feed_in_string", "[\"a\nbc\", 1]", "/1", at(2, 6, 9, 2, 7, 10)},
        RangeCase{"characters_not_bytes",
                  "{\"\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87\": \"\xd0\xb7\xd0\xbd\xd0\xb0\xd1\x87\xd0\xb5\xd0\xbd\xd0\xb8"
                  "\xd0\xb5\", \"x\": 1}",
                  "/x", at(1, 27, 26, 1, 28, 27)},
        RangeCase{"zwj_sequence_is_one_character", "[\"" + kFamily + "\", \"e\xcc\x81\", 1]", "/0",
                  at(1, 2, 1, 1, 5, 4)},
        RangeCase{"combining_mark_is_one_character", "[\"" + kFamily + "\", \"e\xcc\x81\", 1]", "/1",
                  at(1, 7, 6, 1, 10, 9)},
        RangeCase{"after_clusters", "[\"" + kFamily + "\", \"e\xcc\x81\", 1]", "/2", at(1, 12, 11, 1, 13, 12)},
        // The opening quote and a leading combining mark form one character.
        RangeCase{"leading_combining_mark_joins_quote", "[\"\xcc\x81\",1]", "/0", at(1, 2, 1, 1, 4, 3)},
        RangeCase{"after_leading_combining_mark", "[\"\xcc\x81\",1]", "/1", at(1, 5, 4, 1, 6, 5)},
        RangeCase{"byte_order_mark_not_counted", "\xef\xbb\xbf{\"a\": 1}", "", at(1, 1, 0, 1, 9, 8)}),
    [](const testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------------
// Nesting depth.

TEST(JSONParser, NestingAtTheLimitParses) {
  const std::size_t depth = VoziZazIreCore::kMaxNestingDepth;
  std::string text = std::string(depth - 1, '[') + "{\"a\": 1}" + std::string(depth - 1, ']');
  NodePtr root = parse(text);
  const GenericNode* node = root.get();
  for (std::size_t i = 0; i + 1 < depth; ++i) node = (*node)[0];
  EXPECT_EQ((*node)["a"]->numberValue(), 1.0);
}

// Regression: deep nesting used to recurse without bound and overflow the stack.
TEST(JSONParser, NestingBeyondTheLimitFailsAtTheBracket) {
  const std::size_t depth = VoziZazIreCore::kMaxNestingDepth;
  for (char open : {'[', '{'}) {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i) text += open == '[' ? "[" : "{\"k\":";
    text += "[1]";
    const int64_t offset = static_cast<int64_t>(text.size() - 3);
    try {
      parse(text);
      FAIL() << open;
    } catch (const ParseError& e) {
      EXPECT_EQ(e.message(), "Nesting deeper than 1000 levels");
      EXPECT_EQ(e.range(), at(1, offset + 1, offset, 1, offset + 2, offset + 1));
    }
  }
}

// ---------------------------------------------------------------------------------------------------
// Real descriptions.

TEST(JSONParser, CorpusDescriptionsParse) {
  const std::filesystem::path root = std::filesystem::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  if (!std::filesystem::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  int parsed = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.path().extension() != ".json") continue;
    SCOPED_TRACE(entry.path().string());
    NodePtr node;
    EXPECT_NO_THROW(node = parse(YAMLTestSupport::readFile(entry.path())));
    ASSERT_NE(node, nullptr);
    EXPECT_NE((*node)["openapi"], nullptr);
    ++parsed;
  }
  EXPECT_GT(parsed, 0);
}

}  // namespace

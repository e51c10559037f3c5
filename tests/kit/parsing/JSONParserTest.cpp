#include "kit/parsing/JSONParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "kit/core/Limits.h"
#include "kit/core/ParseError.h"

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
        ErrorCase{"not_utf8", "\"\xff\"", "Failed to decode input as UTF-8", std::nullopt},
        ErrorCase{"overlong_utf8", "\"\xc0\xaf\"", "Failed to decode input as UTF-8", std::nullopt},
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
        StringCase{"plain", "\"abc\"", "abc"},
        StringCase{"empty", "\"\"", ""},
        StringCase{"simple_escapes", R"("\"\\\/\b\f\n\r\t")", "\"\\/\b\f\n\r\t"},
        StringCase{"escape_between_text", R"("a\nb\tc")", "a\nb\tc"},
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
// Trees, pointers and positions.

TEST(JSONParser, KeywordsAndContainers) {
  NodePtr root = parse(R"({"t": true, "f": false, "n": null, "a": [], "o": {}})");
  ASSERT_EQ(root->kind(), GenericNodeKind::object);
  EXPECT_EQ((*root)["t"]->boolValue(), true);
  EXPECT_EQ((*root)["f"]->boolValue(), false);
  EXPECT_TRUE((*root)["n"]->isNull());
  EXPECT_EQ((*root)["a"]->count(), 0u);
  EXPECT_EQ((*root)["a"]->kind(), GenericNodeKind::array);
  EXPECT_EQ((*root)["o"]->kind(), GenericNodeKind::object);
  EXPECT_EQ((*root)["o"]->range(), at(1, 50, 49, 1, 52, 51));
}

TEST(JSONParser, MembersKeepDocumentOrder) {
  NodePtr root = parse(R"({"z": 1, "a": 2, "m": 3})");
  std::vector<std::string> order;
  const GenericNode::ObjectView members = *root->objectValue();
  for (const auto& m : members) order.emplace_back(m.key);
  EXPECT_EQ(order, (std::vector<std::string>{"z", "a", "m"}));
}

TEST(JSONParser, DuplicateKeyLastValueWins) {
  NodePtr root = parse(R"({"a": 1, "b": 2, "a": 3})");
  ASSERT_EQ(root->count(), 2u);
  EXPECT_EQ((*root)["a"]->numberValue(), 3.0);
  EXPECT_EQ((*root)["b"]->numberValue(), 2.0);
  EXPECT_EQ((*root->objectValue())[0].key, "a");
  EXPECT_EQ((*root)["a"]->range(), at(1, 23, 22, 1, 24, 23));
}

TEST(JSONParser, DuplicateEscapedKeyLastValueWins) {
  NodePtr root = parse(R"({"\u0061": 1, "a": 2})");
  ASSERT_EQ(root->count(), 1u);
  EXPECT_EQ((*root)["a"]->numberValue(), 2.0);
}

TEST(JSONParser, EscapedKeysSurviveLaterStrings) {
  NodePtr root = parse(R"({"k\u00e9y": "v\u00e0lue", "x\ny": ["\t"]})");
  ASSERT_NE((*root)["k\xc3\xa9y"], nullptr);
  EXPECT_EQ((*root)["k\xc3\xa9y"]->stringValue(), "v\xc3\xa0lue");
  ASSERT_NE((*root)["x\ny"], nullptr);
  EXPECT_EQ((*root)["x\ny"]->jsonPointer(), "/x\ny");
}

TEST(JSONParser, PointersEscapeKeysAndCountIndices) {
  NodePtr root = parse(R"({"a/b": {"c~d": [1, {"e": null}, [true]]}})");
  EXPECT_EQ(root->jsonPointer(), "");
  const GenericNode* inner = (*root)["a/b"];
  EXPECT_EQ(inner->jsonPointer(), "/a~1b");
  const GenericNode* list = (*inner)["c~d"];
  EXPECT_EQ(list->jsonPointer(), "/a~1b/c~0d");
  EXPECT_EQ((*list)[0]->jsonPointer(), "/a~1b/c~0d/0");
  EXPECT_EQ((*(*list)[1])["e"]->jsonPointer(), "/a~1b/c~0d/1/e");
  EXPECT_EQ((*(*list)[2])[0]->jsonPointer(), "/a~1b/c~0d/2/0");
  EXPECT_EQ((*list)[2]->jsonPointer(), "/a~1b/c~0d/2");
}

TEST(JSONParser, EmptyKeyPointer) {
  NodePtr root = parse(R"({"": {"": 1}})");
  EXPECT_EQ((*(*root)[""])[""]->jsonPointer(), "//");
}

TEST(JSONParser, RangesOfNodes) {
  NodePtr root = parse("{\n  \"a\": [1, \"x\"],\n  \"b\": -2.5e1\n}");
  EXPECT_EQ(root->range(), at(1, 1, 0, 4, 2, 34));
  const GenericNode* a = (*root)["a"];
  EXPECT_EQ(a->range(), at(2, 8, 9, 2, 16, 17));
  EXPECT_EQ((*a)[0]->range(), at(2, 9, 10, 2, 10, 11));
  EXPECT_EQ((*a)[1]->range(), at(2, 12, 13, 2, 15, 16));
  EXPECT_EQ((*root)["b"]->range(), at(3, 8, 26, 3, 14, 32));
}

TEST(JSONParser, CrlfLinesMatchLfLines) {
  const std::string lf = "{\n  \"a\": [1,\n    \"x\"],\n\n  \"b\": null\n}\n";
  std::string crlf;
  for (char c : lf) {
    if (c == '\n') crlf.push_back('\r');
    crlf.push_back(c);
  }
  NodePtr one = parse(lf);
  NodePtr two = parse(crlf);
  auto check = [](const GenericNode* x, const GenericNode* y) {
    EXPECT_EQ(x->range(), y->range()) << x->jsonPointer();
  };
  check(one.get(), two.get());
  check((*one)["a"], (*two)["a"]);
  check((*(*one)["a"])[1], (*(*two)["a"])[1]);
  check((*one)["b"], (*two)["b"]);
  EXPECT_EQ((*two)["b"]->range(), at(5, 8, 31, 5, 12, 35));
}

TEST(JSONParser, LoneCarriageReturnIsNoLineBreak) {
  NodePtr root = parse("[\r1]");
  EXPECT_EQ((*root)[0]->range(), at(1, 3, 2, 1, 4, 3));
}

TEST(JSONParser, RawLineFeedInStringMovesPositions) {
  NodePtr root = parse("[\"a\nbc\", 1]");
  EXPECT_EQ((*root)[0]->range(), at(1, 2, 1, 2, 4, 7));
  EXPECT_EQ((*root)[1]->range(), at(2, 6, 9, 2, 7, 10));
}

TEST(JSONParser, PositionsCountCharactersNotBytes) {
  NodePtr root = parse("{\"\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87\": \"\xd0\xb7\xd0\xbd\xd0\xb0\xd1\x87\xd0\xb5\xd0\xbd\xd0\xb8\xd0\xb5\", \"x\": 1}");
  EXPECT_EQ((*root)["x"]->range(), at(1, 27, 26, 1, 28, 27));
}

TEST(JSONParser, PositionsCountGraphemeClusters) {
  // A family emoji joined by zero-width joiners is one character; so is e + combining acute.
  NodePtr root = parse("[\"\xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x91\xa7\", \"e\xcc\x81\", 1]");
  EXPECT_EQ((*root)[0]->range(), at(1, 2, 1, 1, 5, 4));
  EXPECT_EQ((*root)[1]->range(), at(1, 7, 6, 1, 10, 9));
  EXPECT_EQ((*root)[2]->range(), at(1, 12, 11, 1, 13, 12));
}

TEST(JSONParser, LeadingCombiningMarkCountsWithItsQuote) {
  // The opening quote and the combining mark form one character.
  NodePtr root = parse("[\"\xcc\x81\",1]");
  EXPECT_EQ((*root)[0]->range(), at(1, 2, 1, 1, 4, 3));
  EXPECT_EQ((*root)[1]->range(), at(1, 5, 4, 1, 6, 5));
}

TEST(JSONParser, ByteOrderMarkIsNotCounted) {
  NodePtr root = parse("\xef\xbb\xbf{\"a\": 1}");
  EXPECT_EQ(root->range(), at(1, 1, 0, 1, 9, 8));
}

TEST(JSONParser, StringOverloadParsesAndRefusesNothingValid) {
  NodePtr root = JSONParser().parse(std::string_view("[1, 2]"));
  EXPECT_EQ(root->count(), 2u);
}

TEST(JSONParser, StringOverloadRefusesInvalidUtf8) {
  try {
    JSONParser().parse(std::string_view("\"\xff\""));
    FAIL();
  } catch (const ParseError& e) {
    EXPECT_EQ(e.message(), "Failed to convert string to UTF-8 data");
    EXPECT_FALSE(e.range());
  }
}

TEST(JSONParser, OneParserValueParsesIndependentTrees) {
  JSONParser parser;
  NodePtr first = parser.parse(std::string_view(R"({"a": 1})"));
  NodePtr second = parser.parse(std::string_view(R"({"b": 2})"));
  EXPECT_EQ((*first)["a"]->numberValue(), 1.0);
  EXPECT_EQ((*first)["b"], nullptr);
  EXPECT_EQ((*second)["b"]->numberValue(), 2.0);
  second.reset();
  EXPECT_EQ((*first)["a"]->numberValue(), 1.0);
}

TEST(JSONParser, TreeOutlivesInputText) {
  auto text = std::make_unique<std::string>(R"({"key": "value", "esc\u00e9": "x"})");
  NodePtr root = parse(*text);
  text.reset();
  EXPECT_EQ((*root)["key"]->stringValue(), "value");
  EXPECT_EQ((*root->objectValue())[1].key, "esc\xc3\xa9");
}

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

TEST(JSONParser, VeryDeepInputFailsWithoutCrashing) {
  std::string text(1'000'000, '[');
  EXPECT_THROW(parse(text), ParseError);
}

// ---------------------------------------------------------------------------------------------------
// Real descriptions.

TEST(JSONParser, CorpusDescriptionsParse) {
  const std::filesystem::path root = std::filesystem::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  if (!std::filesystem::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  int parsed = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.path().extension() != ".json") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    SCOPED_TRACE(entry.path().string());
    NodePtr node;
    EXPECT_NO_THROW(node = parse(buffer.str()));
    ASSERT_NE(node, nullptr);
    EXPECT_NE((*node)["openapi"], nullptr);
    ++parsed;
  }
  EXPECT_GT(parsed, 0);
}

}  // namespace

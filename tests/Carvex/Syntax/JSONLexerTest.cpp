#include "Carvex/Syntax/JSONLexer.h"

#include "tests/Carvex/Syntax/LexerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using Carvex::JSONLexer;
using Carvex::SyntaxToken;
using Carvex::TextRange;
using T = Carvex::SyntaxTokenType;
using CarvexTest::Expected;

namespace {

struct Row {
    const char* name;
    std::u16string text;
    std::vector<Expected> expected;
};

const Row rows[] = {
    {"empty", u""s, {}},
    {"only_whitespace", u" \t\r\n"s, {}},
    {"one_member_object", u"{\"a\": 1}"s, {{T::punctuation, 0, 1}, {T::jsonKey, 1, 3}, {T::punctuation, 4, 1}, {T::number, 6, 1}, {T::punctuation, 7, 1}}},
    {"nested_containers", u"{\"a\":[1,{}]}"s,
     {{T::punctuation, 0, 1}, {T::jsonKey, 1, 3}, {T::punctuation, 4, 1}, {T::punctuation, 5, 1}, {T::number, 6, 1},
      {T::punctuation, 7, 1}, {T::punctuation, 8, 1}, {T::punctuation, 9, 1}, {T::punctuation, 10, 1}, {T::punctuation, 11, 1}}},
    {"key_colon_on_next_line", u"\"k\"\n  :"s, {{T::jsonKey, 0, 3}, {T::punctuation, 6, 1}}},
    {"key_colon_after_crlf", u"\"k\"\r\n:"s, {{T::jsonKey, 0, 3}, {T::punctuation, 5, 1}}},
    {"string_values_are_not_keys", u"[\"a\" , \"b\"]"s, {{T::punctuation, 0, 1}, {T::string, 1, 3}, {T::punctuation, 5, 1}, {T::string, 7, 3}, {T::punctuation, 10, 1}}},
    {"string_at_end_of_text", u"\"a\"  "s, {{T::string, 0, 3}}},
    {"unterminated_string_runs_to_end", u"[\"abc, 1]"s, {{T::punctuation, 0, 1}, {T::string, 1, 8}}},
    {"unterminated_string_ending_in_backslash", u"\"ab\\"s, {{T::string, 0, 4}}},
    {"escaped_quote_stays_inside", u"\"a\\\"b\""s, {{T::string, 0, 6}}},
    {"escaped_backslash_then_quote_closes", u"\"\\\\\":1"s, {{T::jsonKey, 0, 4}, {T::punctuation, 4, 1}, {T::number, 5, 1}}},
    {"unicode_escape", u"\"\\u00e9\""s, {{T::string, 0, 8}}},
    {"surrogate_pair_key", u"\"\U0001F600\":1"s, {{T::jsonKey, 0, 4}, {T::punctuation, 4, 1}, {T::number, 5, 1}}},
    {"surrogate_pair_before_tokens", u"\U0001F600 1"s, {{T::number, 3, 1}}},
    {"lone_high_surrogate_in_string", u"\"\xD800\":true"s, {{T::jsonKey, 0, 3}, {T::punctuation, 3, 1}, {T::boolean, 4, 4}}},
    {"lone_low_surrogate_skipped", u"\xDC00 1"s, {{T::number, 2, 1}}},
    {"nul_inside_string_and_outside", u"\"a\0b\" \0 2"s, {{T::string, 0, 5}, {T::number, 8, 1}}},
    {"line_separator_is_not_whitespace", u"\"a\"\u2028:"s, {{T::string, 0, 3}, {T::punctuation, 4, 1}}},
    {"integer", u"42"s, {{T::number, 0, 2}}},
    {"negative_fraction_exponent", u"-1.5E-10"s, {{T::number, 0, 8}}},
    {"lone_minus", u"-"s, {}},
    {"minus_then_letter", u"-x"s, {}},
    {"minus_blank_digit", u"- 1"s, {{T::number, 2, 1}}},
    {"plus_sign_skipped", u"+1"s, {{T::number, 1, 1}}},
    {"leading_dot_skipped", u".5"s, {{T::number, 1, 1}}},
    {"digit_dot", u"1."s, {{T::number, 0, 2}}},
    {"digit_e", u"1e"s, {{T::number, 0, 2}}},
    {"digit_e_plus", u"1e+"s, {{T::number, 0, 3}}},
    {"number_then_letters", u"12ab"s, {{T::number, 0, 2}}},
    {"keywords", u"[true,false,null]"s,
     {{T::punctuation, 0, 1}, {T::boolean, 1, 4}, {T::punctuation, 5, 1}, {T::boolean, 6, 5}, {T::punctuation, 11, 1}, {T::null, 12, 4}, {T::punctuation, 16, 1}}},
    {"partial_keyword", u"nul"s, {}},
    {"keyword_prefix_of_word", u"nullx"s, {{T::null, 0, 4}}},
    {"keyword_cut_by_end", u"fals"s, {}},
    {"capitalised_keyword", u"True"s, {}},
    {"letters_skipped", u"abc:"s, {{T::punctuation, 3, 1}}},
};

class JSONLexerRows : public testing::TestWithParam<Row> {};

TEST_P(JSONLexerRows, yieldsExpectedTokens)
{
    const Row& row = GetParam();
    const QString text = QString::fromStdU16String(row.text);
    const std::vector<SyntaxToken> actual = JSONLexer().tokenize(text);
    EXPECT_EQ(actual, CarvexTest::tokens(row.expected));
    EXPECT_TRUE(CarvexTest::wellFormed(actual, text.size()));
}

INSTANTIATE_TEST_SUITE_P(Table, JSONLexerRows, testing::ValuesIn(rows),
                         [](const testing::TestParamInfo<Row>& info) { return CarvexTest::rowName(info.param.name); });

// Ranges given to tokenize(text, range) only filter the tokens of the whole text.
struct RangeRow {
    const char* name;
    TextRange range;
    std::vector<Expected> expected;
};

// {"key": "value", "n": 12}
//  0123456789012345678901234
const RangeRow rangeRows[] = {
    {"empty_range", {3, 0}, {}},
    {"negative_length", {3, -5}, {}},
    {"whole_text", {0, 25}, {{T::punctuation, 0, 1}, {T::jsonKey, 1, 5}, {T::punctuation, 6, 1}, {T::string, 8, 7}, {T::punctuation, 15, 1}, {T::jsonKey, 17, 3}, {T::punctuation, 20, 1}, {T::number, 22, 2}, {T::punctuation, 24, 1}}},
    {"cut_string_kept_whole", {11, 2}, {{T::string, 8, 7}}},
    {"touching_end_is_not_overlap", {15, 0}, {}},
    {"one_unit_at_token_start", {22, 1}, {{T::number, 22, 2}}},
    {"gap_between_tokens", {7, 1}, {}},
    {"range_past_the_text", {24, 1000}, {{T::punctuation, 24, 1}}},
    {"huge_length_does_not_overflow", {20, std::numeric_limits<qsizetype>::max()}, {{T::punctuation, 20, 1}, {T::number, 22, 2}, {T::punctuation, 24, 1}}},
};

class JSONLexerRanges : public testing::TestWithParam<RangeRow> {};

TEST_P(JSONLexerRanges, keepsTokensIntersectingTheRange)
{
    const RangeRow& row = GetParam();
    const QString text = QStringLiteral("{\"key\": \"value\", \"n\": 12}");
    EXPECT_EQ(JSONLexer().tokenize(text, row.range), CarvexTest::tokens(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, JSONLexerRanges, testing::ValuesIn(rangeRows),
                         [](const testing::TestParamInfo<RangeRow>& info) { return CarvexTest::rowName(info.param.name); });

TEST(JSONLexer, rangeOverAnEmptyTextYieldsNothing)
{
    EXPECT_TRUE(JSONLexer().tokenize(QString(), TextRange{0, 10}).empty());
}

TEST(JSONLexer, millionOpenBracketsOnOneLine)
{
    const QString text(1'000'000, u'[');
    const std::vector<SyntaxToken> tokens = JSONLexer().tokenize(text);
    ASSERT_EQ(tokens.size(), 1'000'000u);
    EXPECT_EQ(tokens.back(), (SyntaxToken{T::punctuation, {999'999, 1}, nullptr}));
}

TEST(JSONLexer, hundredThousandQuotesPairUp)
{
    const QString text(100'001, u'"');
    const std::vector<SyntaxToken> tokens = JSONLexer().tokenize(text);
    ASSERT_EQ(tokens.size(), 50'001u);
    EXPECT_EQ(tokens[0], (SyntaxToken{T::string, {0, 2}, nullptr}));
    EXPECT_EQ(tokens.back(), (SyntaxToken{T::string, {100'000, 1}, nullptr}));
}

TEST(JSONLexer, tenMegabyteUnterminatedStringIsOneToken)
{
    QString text = QStringLiteral("{\"k\": \"");
    text += QString(10'000'000, u'x');
    const std::vector<SyntaxToken> tokens = JSONLexer().tokenize(text);
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[3], (SyntaxToken{T::string, {6, text.size() - 6}, nullptr}));
}

TEST(JSONLexer, manyBlanksBeforeManyColonsStayWellFormed)
{
    // A key lookahead skips whitespace; a long run of it after each string must not confuse order.
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("\"a\"") + QString(100, u' ') + QStringLiteral(":1,");
    const std::vector<SyntaxToken> tokens = JSONLexer().tokenize(text);
    EXPECT_EQ(tokens.size(), 4000u);
    EXPECT_TRUE(CarvexTest::wellFormed(tokens, text.size()));
    EXPECT_EQ(tokens[0].type, T::jsonKey);
}

} // namespace

#include "Carvex/Syntax/YAMLLexer.h"

#include "tests/Carvex/Syntax/LexerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using Carvex::SyntaxToken;
using Carvex::TextRange;
using Carvex::YAMLLexer;
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
    {"blank_line", u"  \t "s, {}},
    {"document_marker", u"---"s, {{T::indicator, 0, 3}}},
    {"document_marker_with_comment", u"--- # start"s, {{T::indicator, 0, 3}, {T::comment, 4, 7}}},
    {"four_dashes", u"----"s, {{T::indicator, 0, 3}, {T::string, 3, 1}}},
    {"two_dashes_are_a_scalar", u"--"s, {{T::string, 0, 2}}},
    {"lone_dash", u"-"s, {{T::indicator, 0, 1}}},
    {"indented_dash_at_line_end", u"  -"s, {{T::indicator, 2, 1}}},
    {"sequence_entry_with_mapping", u"- key: value"s, {{T::indicator, 0, 1}, {T::key, 2, 3}, {T::indicator, 5, 1}, {T::string, 7, 5}}},
    {"sequence_entry_scalar", u"  - yes"s, {{T::indicator, 2, 1}, {T::boolean, 4, 3}}},
    {"negative_number_is_not_a_dash", u"-12"s, {{T::number, 0, 3}}},
    {"key_without_value", u"key:"s, {{T::key, 0, 3}, {T::indicator, 3, 1}}},
    {"key_blank_before_colon", u"key :"s, {{T::key, 0, 4}, {T::indicator, 4, 1}}},
    {"indented_key_value", u"    title: Pet Store"s, {{T::key, 4, 5}, {T::indicator, 9, 1}, {T::string, 11, 9}}},
    {"key_and_pipe_value", u"description: |"s, {{T::key, 0, 11}, {T::indicator, 11, 1}, {T::string, 13, 1}}},
    {"pipe_at_line_start", u"|"s, {{T::indicator, 0, 1}}},
    {"folded_after_dash", u"- >"s, {{T::indicator, 0, 1}, {T::indicator, 2, 1}}},
    {"colon_between_letters", u"a:b"s, {{T::string, 0, 3}}},
    {"url_value", u"url: http://x.org"s, {{T::key, 0, 3}, {T::indicator, 3, 1}, {T::string, 5, 12}}},
    {"single_quoted_key", u"'quoted': v"s, {{T::string, 0, 8}, {T::indicator, 8, 1}, {T::string, 10, 1}}},
    {"double_quoted_key", u"\"200\": 1"s, {{T::string, 0, 5}, {T::indicator, 5, 1}, {T::number, 7, 1}}},
    {"quoted_key_blank_before_colon", u"'a b' : c"s, {{T::string, 0, 5}, {T::indicator, 6, 1}, {T::string, 8, 1}}},
    {"colon_inside_quotes_is_not_key", u"it's: x"s, {{T::string, 0, 7}}},
    {"comment_line", u"# comment"s, {{T::comment, 0, 9}}},
    {"indented_comment", u"  # c"s, {{T::comment, 2, 3}}},
    {"hash_inside_plain_value", u"a: b#c"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 1}, {T::comment, 4, 2}}},
    {"comment_after_plain_value", u"a: b # c"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 1}, {T::comment, 5, 3}}},
    {"comment_as_value", u"a: # c"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::comment, 3, 3}}},
    {"trailing_blanks_after_colon", u"a:   "s, {{T::key, 0, 1}, {T::indicator, 1, 1}}},
    {"text_after_closed_quote_ignored", u"a: 'x' more"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 3}}},
    {"comment_after_quoted_value", u"a: 'x' # c"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 3}, {T::comment, 7, 3}}},
    {"unterminated_quote_runs_to_line_end", u"a: 'open\nb: 1"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 5}, {T::key, 9, 1}, {T::indicator, 10, 1}, {T::number, 12, 1}}},
    {"escaped_quote_in_double_quotes", u"a: \"x\\\"y\""s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 6}}},
    {"backslash_at_line_end_in_quote", u"a: \"x\\\nb"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 3}, {T::string, 7, 1}}},
    {"anchor_and_alias_are_plain", u"base: &b value\nuse: *b"s, {{T::key, 0, 4}, {T::indicator, 4, 1}, {T::string, 6, 8}, {T::key, 15, 3}, {T::indicator, 18, 1}, {T::string, 20, 2}}},
    {"merge_key", u"<<: *base"s, {{T::key, 0, 2}, {T::indicator, 2, 1}, {T::string, 4, 5}}},
    {"tag_is_plain", u"a: !!str 1"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 7}}},
    {"flow_sequence_is_plain", u"a: [1, 2]"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 6}}},
    {"block_scalar_line_with_colon_is_key", u"  text: more"s, {{T::key, 2, 4}, {T::indicator, 6, 1}, {T::string, 8, 4}}},
    {"crlf_line_ends", u"a: 1\r\nb: 2"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::number, 3, 1}, {T::key, 6, 1}, {T::indicator, 7, 1}, {T::number, 9, 1}}},
    {"line_separator_ends_line", u"a: 1\u2028b: 2"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::number, 3, 1}, {T::key, 5, 1}, {T::indicator, 6, 1}, {T::number, 8, 1}}},
    {"next_line_ends_line", u"a\u0085# c"s, {{T::string, 0, 1}, {T::comment, 2, 3}}},
    {"surrogate_pair_key", u"\U0001F600: x"s, {{T::key, 0, 2}, {T::indicator, 2, 1}, {T::string, 4, 1}}},
    {"surrogate_pair_value_then_comment", u"k: \U0001F600 #c"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 2}, {T::comment, 6, 2}}},
    {"lone_surrogate_value", u"k: \xD800"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 1}}},
    {"nul_value", u"k: \0"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 3, 1}}},
    // Regression: a value led by a no-break space got a token shifted one unit to the left.
    {"plain_scalar_after_no_break_space_starts_at_its_text", u"k: \u00A0value"s, {{T::key, 0, 1}, {T::indicator, 1, 1}, {T::string, 4, 5}}},
};

class YAMLLexerRows : public testing::TestWithParam<Row> {};

TEST_P(YAMLLexerRows, yieldsExpectedTokens)
{
    const Row& row = GetParam();
    const QString text = QString::fromStdU16String(row.text);
    const std::vector<SyntaxToken> actual = YAMLLexer().tokenize(text);
    EXPECT_EQ(actual, CarvexTest::tokens(row.expected));
    EXPECT_TRUE(CarvexTest::wellFormed(actual, text.size()));
}

INSTANTIATE_TEST_SUITE_P(Table, YAMLLexerRows, testing::ValuesIn(rows),
                         [](const testing::TestParamInfo<Row>& info) { return CarvexTest::rowName(info.param.name); });

// Plain scalars after "v: " and the kind each one gets.
struct ScalarRow {
    const char* name;
    const char16_t* scalar;
    T expected;
};

const ScalarRow scalarRows[] = {
    {"true", u"true", T::boolean},       {"False", u"False", T::boolean},     {"TRUE", u"TRUE", T::boolean},
    {"Yes", u"Yes", T::boolean},         {"no", u"no", T::boolean},           {"NO", u"NO", T::boolean},
    {"on", u"on", T::boolean},           {"OFF", u"OFF", T::boolean},         {"Off", u"Off", T::boolean},
    {"mixed_case_tRUE", u"tRUE", T::string}, {"y", u"y", T::string},          {"yEs", u"yEs", T::string},
    {"null", u"null", T::null},          {"Null", u"Null", T::null},          {"NULL", u"NULL", T::null},
    {"tilde", u"~", T::null},            {"nil", u"nil", T::string},          {"nUll", u"nUll", T::string},
    {"integer", u"42", T::number},       {"negative", u"-5", T::number},      {"plus_sign", u"+5", T::number},
    {"fraction", u"1.5", T::number},     {"leading_dot", u".5", T::number},   {"trailing_dot", u"5.", T::number},
    {"exponent", u"1e3", T::number},     {"exponent_sign", u"2.5E-3", T::number}, {"exponent_without_digits", u"1e", T::string},
    {"lone_dot", u".", T::string},       {"lone_sign", u"-", T::string},      {"hex", u"0x1F", T::number},
    {"hex_without_digits", u"0x", T::string}, {"hex_bad_digit", u"0xG", T::string}, {"hex_signed_after_prefix", u"0x-1", T::number},
    {"hex_float", u"0x1p3", T::number},  {"hex_float_no_exponent_digits", u"0x1p", T::string}, {"hex_beyond_64_bits_as_float", u"0x8000000000000000", T::number},
    {"octal", u"0o17", T::number},       {"octal_nine", u"0o9", T::string},   {"octal_signed", u"0o-7", T::number},
    {"octal_two_to_63", u"0o1000000000000000000000", T::string}, {"octal_minus_two_to_63", u"0o-1000000000000000000000", T::number},
    {"int64_max", u"9223372036854775807", T::number}, {"beyond_int64_as_float", u"99999999999999999999", T::number},
    {"inf", u"inf", T::number},          {"Infinity", u"-Infinity", T::number}, {"infin", u"infin", T::string},
    {"yaml_dot_inf", u".inf", T::string}, {"NaN", u"NaN", T::number},         {"nan_payload", u"nan(x_1)", T::number},
    {"nan_bad_payload", u"nan(x-1)", T::string}, {"underscore_digits", u"1_000", T::string}, {"comma_digits", u"1,000", T::string},
    {"time_like", u"12:30", T::string},  {"two_numbers", u"1 2", T::string},  {"version", u"3.0.3", T::string},
    {"word", u"Pet Store", T::string},   {"arabic_indic_digit", u"\u0661", T::string},
};

class YAMLScalarKinds : public testing::TestWithParam<ScalarRow> {};

TEST_P(YAMLScalarKinds, plainScalarGetsItsKind)
{
    const ScalarRow& row = GetParam();
    const QString scalar = QString::fromUtf16(row.scalar);
    const QString text = QStringLiteral("v: ") + scalar + QStringLiteral("  # note");
    const std::vector<SyntaxToken> actual = YAMLLexer().tokenize(text);
    const std::vector<SyntaxToken> expected = CarvexTest::tokens(
        {{T::key, 0, 1}, {T::indicator, 1, 1}, {row.expected, 3, scalar.size()}, {T::comment, 5 + scalar.size(), 6}});
    EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, YAMLScalarKinds, testing::ValuesIn(scalarRows),
                         [](const testing::TestParamInfo<ScalarRow>& info) { return CarvexTest::rowName(info.param.name); });

TEST(YAMLLexer, rangeOnlyFiltersTheWholeText)
{
    const QString text = QStringLiteral("a: 'one\ntwo'\nb: 2");
    // The second line's "two'" is an unterminated quote of its own line, never a continuation.
    EXPECT_EQ(YAMLLexer().tokenize(text, TextRange{9, 2}), CarvexTest::tokens({{T::string, 8, 4}}));
    EXPECT_EQ(YAMLLexer().tokenize(text, TextRange{5, 0}), CarvexTest::tokens({}));
}

TEST(YAMLLexer, offsetsStayExactAcrossMixedLineEnds)
{
    // Every line holds "k: v" preceded by an emoji; each separator kind counts as one unit.
    const std::u16string separators[] = {u"\n", u"\r\n", u"\r", u"\u2028", u"\u2029", u"\u0085", u"\f", u"\v"};
    QString text;
    std::vector<qsizetype> keyStarts;
    for (const std::u16string& separator : separators) {
        keyStarts.push_back(text.size());
        text += QString::fromStdU16String(u"\U0001F600 k: v" + separator);
    }
    const std::vector<SyntaxToken> tokens = YAMLLexer().tokenize(text);
    std::vector<qsizetype> actualKeyStarts;
    for (const SyntaxToken& token : tokens) {
        if (token.type == T::key)
            actualKeyStarts.push_back(token.range.location);
    }
    // The emoji and the blank before "k" make "<emoji> k" the key; its start is the line's start.
    EXPECT_EQ(actualKeyStarts, keyStarts);
    EXPECT_TRUE(CarvexTest::wellFormed(tokens, text.size()));
}

TEST(YAMLLexer, hundredThousandUnclosedQuotesOnOneLine)
{
    const QString text = QStringLiteral("k: ") + QString(100'000, u'\'');
    const std::vector<SyntaxToken> tokens = YAMLLexer().tokenize(text);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[2], (SyntaxToken{T::string, {3, 2}, nullptr}));
}

TEST(YAMLLexer, hundredThousandUnclosedQuotesOnSeparateLines)
{
    QString text;
    for (int i = 0; i < 100'000; ++i)
        text += QStringLiteral("- \"x\n");
    const std::vector<SyntaxToken> tokens = YAMLLexer().tokenize(text);
    ASSERT_EQ(tokens.size(), 200'000u);
    EXPECT_EQ(tokens.back(), (SyntaxToken{T::string, {text.size() - 3, 2}, nullptr}));
}

TEST(YAMLLexer, tenMegabyteSingleLineNumberIsClassified)
{
    const QString digits(10'000'000, u'7');
    EXPECT_EQ(YAMLLexer().tokenize(QStringLiteral("n: ") + digits).back(), (SyntaxToken{T::number, {3, digits.size()}, nullptr}));
    const QString word = QString(10'000'000, u'a') + QStringLiteral(": x");
    EXPECT_EQ(YAMLLexer().tokenize(word).front(), (SyntaxToken{T::key, {0, 10'000'000}, nullptr}));
}

TEST(YAMLLexer, millionOpenBracketsIsOnePlainScalar)
{
    const QString text(1'000'000, u'[');
    EXPECT_EQ(YAMLLexer().tokenize(text), CarvexTest::tokens({{T::string, 0, 1'000'000}}));
}

} // namespace

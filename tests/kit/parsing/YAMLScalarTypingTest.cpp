#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "kit/parsing/YAMLScalarResolver.h"

namespace {

using VoziZazIreParsing::YAMLScalarResolver;
using Kind = YAMLScalarResolver::Kind;

// What a plain value text stands for: its kind, and its value when it is a number or a boolean.
struct TypingCase {
  const char* name;
  std::string text;
  Kind kind;
  double number = 0;
  bool boolean = false;
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

class PlainValueTyping : public testing::TestWithParam<TypingCase> {};

TEST_P(PlainValueTyping, KindAndValue) {
  const TypingCase& c = GetParam();
  const auto resolved = YAMLScalarResolver::resolve(c.text);
  ASSERT_EQ(resolved.kind, c.kind) << c.text;
  if (c.kind == Kind::number) {
    ASSERT_TRUE(std::isfinite(resolved.number)) << c.text;
    EXPECT_EQ(resolved.number, c.number) << c.text;
  }
  if (c.kind == Kind::bool_) {
    EXPECT_EQ(resolved.boolean, c.boolean) << c.text;
  }
  // The tag-driven reading of numbers agrees: a word that is no number stays no number.
  EXPECT_EQ(YAMLScalarResolver::number(c.text).has_value(), c.kind == Kind::number) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlainValueTyping,
    testing::Values(
        // The words for infinity and not-a-number, in any letter case and with any sign, are text.
        TypingCase{"inf", "inf", Kind::string}, TypingCase{"Inf", "Inf", Kind::string},
        TypingCase{"INF", "INF", Kind::string}, TypingCase{"plus_inf", "+inf", Kind::string},
        TypingCase{"minus_inf", "-inf", Kind::string}, TypingCase{"infinity", "infinity", Kind::string},
        TypingCase{"Infinity", "Infinity", Kind::string}, TypingCase{"minus_Infinity", "-Infinity", Kind::string},
        TypingCase{"INFINITY", "INFINITY", Kind::string}, TypingCase{"nan", "nan", Kind::string},
        TypingCase{"NaN", "NaN", Kind::string}, TypingCase{"NAN", "NAN", Kind::string},
        TypingCase{"minus_NaN", "-NaN", Kind::string}, TypingCase{"plus_nan", "+nan", Kind::string},
        TypingCase{"nan_with_payload", "nan(123)", Kind::string},
        // YAML's own spellings with a leading point, octal and binary prefixes, separators.
        TypingCase{"dot_inf", ".inf", Kind::string}, TypingCase{"minus_dot_inf", "-.inf", Kind::string},
        TypingCase{"dot_NaN", ".NaN", Kind::string}, TypingCase{"octal_0o", "0o17", Kind::string},
        TypingCase{"binary_0b", "0b101", Kind::string}, TypingCase{"underscore", "1_000", Kind::string},
        TypingCase{"thousands_comma", "1,000", Kind::string}, TypingCase{"version", "3.1.0", Kind::string},
        TypingCase{"exponent_without_digits", "1e", Kind::string}, TypingCase{"bare_0x", "0x", Kind::string},
        TypingCase{"bare_sign", "-", Kind::string}, TypingCase{"bare_point", ".", Kind::string},
        TypingCase{"trailing_blank", "1 ", Kind::string}, TypingCase{"leading_blank", " 1", Kind::string},
        // Decimal forms, with a sign or a leading point, and 0x forms stay numbers.
        TypingCase{"exponent", "1e3", Kind::number, 1000}, TypingCase{"negative_fraction", "-0.5", Kind::number, -0.5},
        TypingCase{"hex", "0x1F", Kind::number, 31}, TypingCase{"hex_upper_prefix", "0X1f", Kind::number, 31},
        TypingCase{"negative_hex", "-0x10", Kind::number, -16},
        TypingCase{"hex_binary_exponent", "0x1p4", Kind::number, 16},
        TypingCase{"plus_sign", "+12", Kind::number, 12}, TypingCase{"leading_point", ".5", Kind::number, 0.5},
        TypingCase{"negative_leading_point", "-.5", Kind::number, -0.5},
        TypingCase{"trailing_point", "1.", Kind::number, 1}, TypingCase{"decimal", "3.1", Kind::number, 3.1},
        TypingCase{"capital_exponent", "2.5E-1", Kind::number, 0.25},
        TypingCase{"leading_zero", "007", Kind::number, 7},
        // Booleans in three spellings only; other words that some readers take as booleans are text.
        TypingCase{"true", "true", Kind::bool_, 0, true}, TypingCase{"True", "True", Kind::bool_, 0, true},
        TypingCase{"TRUE", "TRUE", Kind::bool_, 0, true}, TypingCase{"false", "false", Kind::bool_, 0, false},
        TypingCase{"FALSE", "FALSE", Kind::bool_, 0, false}, TypingCase{"mixed_case_true", "tRue", Kind::string},
        TypingCase{"yes", "yes", Kind::string}, TypingCase{"no", "no", Kind::string},
        TypingCase{"on", "on", Kind::string}, TypingCase{"off", "Off", Kind::string},
        TypingCase{"y", "y", Kind::string}, TypingCase{"n", "n", Kind::string},
        // Null.
        TypingCase{"null", "null", Kind::null}, TypingCase{"Null", "Null", Kind::null},
        TypingCase{"NULL", "NULL", Kind::null}, TypingCase{"tilde", "~", Kind::null},
        TypingCase{"empty", "", Kind::null}, TypingCase{"mixed_case_null", "nULL", Kind::string},
        TypingCase{"none", "none", Kind::string}),
    [](const testing::TestParamInfo<TypingCase>& info) { return std::string(info.param.name); });

}  // namespace

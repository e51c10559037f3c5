#include "kit/core/TextServices.h"

#include <gtest/gtest.h>

#include <cmath>

#include "kit/core/GraphemeCursor.h"

using namespace VoziZazIreCore;

TEST(TextServices, GraphemeCounting) {
  struct Row {
    const char* name;
    std::string text;
    std::size_t clusters;
  };
  for (const Row& row : std::vector<Row>{
           {"ascii", "abc", 3},
           {"crlf is one", "a\r\nb", 3},
           {"lone cr and lf", "\r\r\n\n", 3},
           {"combining mark", "e\u0301x", 2},
           {"emoji with modifier", "\U0001F44D\U0001F3FD!", 2},
           {"zwj family", "\U0001F468\u200D\U0001F469\u200D\U0001F467", 1},
           {"flags", "\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7", 2},
           {"leading combining mark", "\u0301a", 2},
           {"hangul", "\u1100\u1161\u11A8", 1},
       })
    EXPECT_EQ(TextServices::countGraphemes(row.text), row.clusters) << row.name;
}

TEST(TextServices, CursorCountsClustersStraddlingItsSteps) {
  std::string text = "\"e\u0301\" : \"\u0301x\"";
  GraphemeCursor cursor(text);
  // Stepping into the middle of "e" + U+0301 does not count the cluster yet.
  EXPECT_EQ(cursor.advanceTo(2), 1u);
  EXPECT_EQ(cursor.advanceTo(text.size()), TextServices::countGraphemes(text));
}

TEST(TextServices, Utf8Validation) {
  struct Row {
    const char* name;
    std::string bytes;
    bool valid;
  };
  for (const Row& row : std::vector<Row>{{"ascii", "hello", true},
                                         {"two byte", "\xC3\xA9", true},
                                         {"overlong", "\xC0\xAF", false},
                                         {"surrogate", "\xED\xA0\x80", false},
                                         {"above max", "\xF4\x90\x80\x80", false},
                                         {"truncated", "ab\xE2\x82", false},
                                         {"stray continuation", "\x80", false},
                                         {"four byte", "\xF0\x9F\x98\x80", true}})
    EXPECT_EQ(TextServices::isValidUtf8(row.bytes), row.valid) << row.name;
  std::size_t at = 0;
  EXPECT_FALSE(TextServices::isValidUtf8("abcdefghij\xFFxyz", &at));
  EXPECT_EQ(at, 10u);
}

// Overflow, underflow and -0 are read through the JSON parser's number table.
TEST(TextServices, NumbersReadAndPrintLocaleFree) {
  EXPECT_EQ(TextServices::parseDouble("2.5e3"), 2500.0);
  for (const char* bad : {"", "-", "inf", "nan", "0x10", "1.5x", " 1"})
    EXPECT_FALSE(TextServices::parseDouble(bad).has_value()) << bad;
  EXPECT_EQ(TextServices::formatDouble(3.0), "3.0");
  EXPECT_EQ(TextServices::formatDouble(-5.0), "-5.0");
  EXPECT_EQ(TextServices::formatDouble(0.1), "0.1");
  EXPECT_EQ(TextServices::formatDouble(1e16), "1e+16");
  EXPECT_EQ(TextServices::formatDouble(1e-5), "1e-05");
  EXPECT_EQ(TextServices::formatDouble(0.1 + 0.2), "0.30000000000000004");
}

TEST(TextServices, ExactIntegerConversionChecksRangeFirst) {
  EXPECT_EQ(TextServices::exactInt64(-9223372036854775808.0), INT64_MIN);
  EXPECT_EQ(TextServices::exactInt64(-0.0), 0);
  for (double d : {std::nan(""), double(INFINITY), -double(INFINITY), 1e19, 9223372036854775808.0, 3.5, 1e300})
    EXPECT_FALSE(TextServices::exactInt64(d)) << d;
}

TEST(TextServices, WhiteSpaceClasses) {
  EXPECT_TRUE(TextServices::isWhiteSpace(U'\u0085'));
  EXPECT_TRUE(TextServices::isWhiteSpace(U'\u2028'));
  EXPECT_FALSE(TextServices::isWhiteSpace(U'x'));
  EXPECT_TRUE(TextServices::isSpaceSeparator(U'\u00A0'));
  EXPECT_FALSE(TextServices::isSpaceSeparator(U'\n'));
}

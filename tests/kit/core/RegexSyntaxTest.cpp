#include <gtest/gtest.h>

#include <string>

#include "kit/core/RegexSyntax.h"

namespace {

using VoziZazIreCore::RegexSyntax::compiles;

TEST(RegexSyntax, AnswersAlikeWhenAskedAgainAndForLongPatterns) {
  struct Row {
    std::string pattern;
    bool compiles;
  };
  const std::string longValid = "^(" + std::string(3000, 'a') + ")+$";
  const std::string longInvalid = "(" + std::string(3000, 'a');
  const Row rows[] = {{"^[a-z]+$", true}, {"\\p{L}+", true}, {"", true}, {"[a-", false}, {"(?<name", false},
                      {"a{2,1}", false},  {longValid, true}, {longInvalid, false}};
  for (int pass = 0; pass < 2; ++pass)
    for (const Row& row : rows) EXPECT_EQ(compiles(row.pattern), row.compiles) << row.pattern.substr(0, 20) << " pass " << pass;
}

TEST(RegexSyntax, FollowsTheSyntaxOfICU) {
  for (const char* pattern : {R"(^\p{L}+$)", R"((?<year>\d{4})-(?<month>\d{2}))", R"((?i)^abc$)", R"((?<=\$)\d+)",
                              R"(^(?!admin$).*)", R"(a++b)", R"(^[\u0041-\u005A]+$)", "^[äöü]+€$"})
    EXPECT_TRUE(compiles(pattern)) << pattern;
  for (const char* pattern : {"abc)", "*a", "[z-a]", "abc\\", R"(\p{NoSuchProperty})"})
    EXPECT_FALSE(compiles(pattern)) << pattern;
}

TEST(RegexSyntax, KeepsAnsweringPastItsMemoryBound) {
  for (int i = 0; i < 1500; ++i) ASSERT_TRUE(compiles("^x" + std::to_string(i) + "$"));
  EXPECT_FALSE(compiles("[a-"));
  EXPECT_TRUE(compiles("^x0$"));
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/transform/DocumentTextChecks.h"

namespace {

namespace Checks = VoziZazIreTransform::DocumentTextChecks;

struct TextRow {
  const char* text;
  bool passes;
};

void expectRows(const std::vector<TextRow>& rows, bool (*check)(std::string_view)) {
  for (const TextRow& row : rows) EXPECT_EQ(check(row.text), row.passes) << "'" << row.text << "'";
}

TEST(UriReferenceCheck, AcceptsAbsoluteAndRelativeReferencesOnly) {
  expectRows({{"https://example.com/a?b=c#d", true},
              {"https://json-schema.org/draft/2020-12/schema", true},
              {"urn:ietf:rfc:3986", true},
              {"mailto:someone@example.com", true},
              {"//host/path", true},
              {"relative/path", true},
              {"?query", true},
              {"#fragment", true},
              {"http://[::1]:8080/", true},
              {"http://a/%41", true},
              {"", false},
              {"a b", false},
              {"http://a b", false},
              {"ht tp://x", false},
              {"http://a/%zz", false},
              {"http://[::1", false},
              {"https://\xc3\xbc.example/", false},
              {"http://a/\n", false},
              {"<http://a>", false}},
             Checks::isUriReference);
}

TEST(EmailCheck, NeedsADottedDomainWithALetterSuffix) {
  expectRows({{"someone@example.com", true},
              {"first.last+tag@mail.example.co.uk", true},
              {"a_b%c-d@x-y.io", true},
              {"a@b.co", true},
              {"a@b.c", false},
              {"someone@localhost", false},
              {"@example.com", false},
              {"a b@example.com", false},
              {"a@@example.com", false},
              {"a@example.c0m", false},
              {"\xc3\xa4@example.com", false},
              {"a@example.com\n", false},
              {"", false}},
             Checks::isEmailAddress);
}

TEST(BlankCheck, SpaceSeparatorsAndTabsOnly) {
  expectRows({{"", true},
              {"   ", true},
              {"\t \t", true},
              {"\xc2\xa0", true},          // no-break space
              {"\xe3\x80\x80", true},      // ideographic space
              {"\n", false},               // line breaks are not removed
              {" \r\n ", false},
              {"\xe2\x80\x8b", false},     // zero-width space is no space separator
              {" a ", false}},
             [](std::string_view text) { return Checks::isBlank(text); });
}

TEST(VersionPattern, MajorMinorAndADecimalPatch) {
  for (const char* text : {"3.0.0", "3.0.3", "3.0.10"}) {
    EXPECT_TRUE(Checks::matchesVersionPattern(text, false)) << text;
    EXPECT_FALSE(Checks::matchesVersionPattern(text, true)) << text;
  }
  for (const char* text : {"3.0", "3.0.x", "3.0.3-rc1", " 3.0.3", "3.0.3 ", "3.0.", "3.00.1", "3.0.3\n"})
    EXPECT_FALSE(Checks::matchesVersionPattern(text, false)) << text;
  EXPECT_TRUE(Checks::matchesVersionPattern("3.1.0", true));
  EXPECT_FALSE(Checks::matchesVersionPattern("3.1", true));
  EXPECT_FALSE(Checks::matchesVersionPattern("3.10.2", true));
}

TEST(TemplateNames, EachNameOnceInOrderOfFirstUse) {
  EXPECT_EQ(Checks::templateNames("/{version}/{region}/{version}"), (std::vector<std::string>{"version", "region"}));
  EXPECT_EQ(Checks::templateNames("https://{host}:{port}/{}"), (std::vector<std::string>{"host", "port"}))
      << "empty braces name nothing";
  EXPECT_EQ(Checks::templateNames("/{a{b}/c}"), (std::vector<std::string>{"a{b"}));
  EXPECT_EQ(Checks::templateNames("/{unclosed"), std::vector<std::string>{});
  EXPECT_EQ(Checks::templateNames("/{r\xc3\xa9gion}"), (std::vector<std::string>{"r\xc3\xa9gion"}));
}

// A regular-expression search restarted at every "{" of an unclosed run: 40,000 braces took 9 seconds.
TEST(TemplateNames, LongRunsOfBracesAndManyNamesTakeLinearTime) {
  EXPECT_TRUE(Checks::templateNames(std::string(1'000'000, '{')).empty());
  EXPECT_EQ(Checks::templateNames(std::string(500'000, '{') + "}").size(), 1u);
  std::string many;
  for (int i = 0; i < 100'000; ++i) many += "{v" + std::to_string(i) + "}";
  const auto names = Checks::templateNames(many);
  ASSERT_EQ(names.size(), 100'000u);
  EXPECT_EQ(names.back(), "v99999");
}

TEST(TextChecks, LongAdversarialTextsFinishQuickly) {
  std::string dots = "a@";
  for (int i = 0; i < 200'000; ++i) dots += "aa.";
  EXPECT_FALSE(Checks::isEmailAddress(dots + "1"));
  EXPECT_TRUE(Checks::isEmailAddress(dots + "io"));
  EXPECT_FALSE(Checks::isEmailAddress(std::string(500'000, 'a') + "@" + std::string(500'000, '-')));
  EXPECT_FALSE(Checks::matchesVersionPattern("3.0." + std::string(1'000'000, '1') + "x", false));
  EXPECT_FALSE(Checks::isUriReference("http://a/" + std::string(1'000'000, '%')));
  EXPECT_FALSE(Checks::isBlank(std::string(1'000'000, ' ') + "a"));
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/transform/DocumentTextChecks.h"

namespace {

namespace Checks = VoziZazIreTransform::DocumentTextChecks;

void expectEach(bool (*check)(std::string_view), std::initializer_list<const char*> texts, bool passes) {
  for (const char* text : texts) EXPECT_EQ(check(text), passes) << "'" << text << "'";
}

TEST(UriReferenceCheck, AcceptsAbsoluteAndRelativeReferencesOnly) {
  expectEach(Checks::isUriReference,
             {"https://example.com/a?b=c#d", "https://json-schema.org/draft/2020-12/schema", "urn:ietf:rfc:3986",
              "mailto:someone@example.com", "//host/path", "relative/path", "?query", "#fragment", "http://[::1]:8080/",
              "http://a/%41"},
             true);
  expectEach(Checks::isUriReference,
             {"", "a b", "http://a b", "ht tp://x", "http://a/%zz", "http://[::1", "https://\xc3\xbc.example/",
              "http://a/\n", "<http://a>"},
             false);
}

TEST(EmailCheck, NeedsADottedDomainWithALetterSuffix) {
  expectEach(Checks::isEmailAddress, {"someone@example.com", "first.last+tag@mail.example.co.uk", "a_b%c-d@x-y.io", "a@b.co"},
             true);
  expectEach(Checks::isEmailAddress,
             {"a@b.c", "someone@localhost", "@example.com", "a b@example.com", "a@@example.com", "a@example.c0m",
              "\xc3\xa4@example.com", "a@example.com\n", ""},
             false);
}

TEST(BlankCheck, SpaceSeparatorsAndTabsOnly) {
  auto blank = [](std::string_view text) { return Checks::isBlank(text); };
  // no-break space and ideographic space are blank; line breaks and the zero-width space are not
  expectEach(blank, {"", "   ", "\t \t", "\xc2\xa0", "\xe3\x80\x80"}, true);
  expectEach(blank, {"\n", " \r\n ", "\xe2\x80\x8b", " a "}, false);
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

#include <gtest/gtest.h>

#include "kit/validation/DocumentRulesText.h"
#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::described;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;
namespace RuleText = VoziZazIreValidation::RuleText;

// ---- The URL test (DOC-004, DOC-005, DOC-007) ----

struct UrlRow {
  const char* name;
  const char* text;
  bool passes;
};

class UrlTest : public testing::TestWithParam<UrlRow> {};

TEST_P(UrlTest, SchemeOrLeadingSlashIsRequired) {
  EXPECT_EQ(RuleText::passesURLTest(GetParam().text), GetParam().passes) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UrlTest,
    testing::Values(UrlRow{"absolute_http", "https://example.com/terms", true},
                    UrlRow{"relative_with_slash", "/legal/terms", true},
                    UrlRow{"bare_file_name", "terms.html", false},
                    UrlRow{"mail_link_without_host", "mailto:api@example.com", true},
                    UrlRow{"urn", "urn:isbn:0451450523", true},
                    UrlRow{"empty", "", false},
                    UrlRow{"space_inside", "https://example.com/a b", false},
                    UrlRow{"braces", "https://example.com/{id}", false},
                    UrlRow{"only_fragment", "#terms", false},
                    UrlRow{"scheme_relative_begins_with_slash", "//example.com/terms", true},
                    UrlRow{"non_ascii", "https://exämple.com", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The e-mail pattern (DOC-006) ----

struct EmailRow {
  const char* name;
  const char* text;
  bool valid;
};

class EmailTest : public testing::TestWithParam<EmailRow> {};

TEST_P(EmailTest, Pattern) { EXPECT_EQ(RuleText::looksLikeEmail(GetParam().text), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(
    Rows, EmailTest,
    testing::Values(EmailRow{"plain", "api@example.com", true},
                    EmailRow{"dots_plus_percent_hyphen", "first.last+tag%x@mail-server.example.co.uk", true},
                    EmailRow{"one_letter_top_level", "api@example.c", false},
                    EmailRow{"no_dot_after_at", "api@localhost", false},
                    EmailRow{"digits_in_top_level", "api@example.c0m", false},
                    EmailRow{"two_at_signs", "a@b@example.com", false},
                    EmailRow{"space", "api @example.com", false},
                    EmailRow{"empty", "", false},
                    EmailRow{"text_around", "mail api@example.com now", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Trimming (DOC-002, DOC-003) ----

TEST(Trimming, SpacesAndTabsAreBlankButLineBreaksAreNot) {
  EXPECT_TRUE(RuleText::isBlankAfterTrimming(""));
  EXPECT_TRUE(RuleText::isBlankAfterTrimming(" \t "));
  EXPECT_TRUE(RuleText::isBlankAfterTrimming("\xC2\xA0\xE3\x80\x80"));  // no-break space, ideographic space
  EXPECT_FALSE(RuleText::isBlankAfterTrimming("\n"));
  EXPECT_FALSE(RuleText::isBlankAfterTrimming(" x "));
  EXPECT_FALSE(RuleText::isBlankAfterTrimming("\xFF"));  // a broken byte is text, not space
}

// ---- The info rules on documents ----

std::string document30(std::string_view info) {
  return "openapi: 3.0.3\ninfo:\n" + std::string(info) + "paths: {}\n";
}
std::string document31(std::string_view info) {
  return "openapi: 3.1.0\ninfo:\n" + std::string(info) + "paths: {}\n";
}

const std::initializer_list<std::string_view> kInfoCodes = {"DOC-002", "DOC-003", "DOC-004", "DOC-005",
                                                            "DOC-006", "DOC-007", "V31-008"};

TEST(InfoRules, EveryInfoFindingInItsOrderAndPlace) {
  const auto found = validateYaml(document30(R"(  title: " \t"
  version: ""
  termsOfService: terms.html
  contact:
    url: "not a url"
    email: api@example.c
  license:
    name: MIT
    url: license.txt
)"));
  EXPECT_EQ(described(withCodes(found, kInfoCodes)),
            (std::vector<std::string>{
                "error [DOC-002] info.title must not be empty @ /info 3:3",
                "error [DOC-003] info.version must not be empty @ /info 3:3",
                "warning [DOC-004] info.termsOfService should be a valid URL: terms.html @ /info 3:3",
                "warning [DOC-005] info.contact.url should be a valid URL: not a url @ /info/contact 7:5",
                "warning [DOC-006] info.contact.email should be a valid email: api@example.c @ /info/contact 7:5",
                "warning [DOC-007] info.license.url should be a valid URL: license.txt @ /info/license 10:5",
            }));
}

TEST(InfoRules, AValidInfoGivesNothing) {
  const auto found = validateYaml(document30(R"(  title: Pets
  version: 1.0.0
  termsOfService: /terms
  contact: {url: "https://example.com", email: api@example.com}
  license: {name: MIT, url: "https://opensource.org/licenses/MIT"}
)"));
  EXPECT_TRUE(withCodes(found, kInfoCodes).empty()) << testing::PrintToString(described(found));
}

TEST(InfoRules, ATitleOfOneLineBreakIsNotEmpty) {
  const auto found = validateYaml(document30("  title: \"\\n\"\n  version: \"\\t\"\n"));
  EXPECT_EQ(CarvexTest::messages(withCodes(found, kInfoCodes)),
            (std::vector<std::string>{"[DOC-003] info.version must not be empty"}));
}

struct LicenseRow {
  const char* name;
  const char* license;
  std::vector<std::string> expected;
};

class License31Test : public testing::TestWithParam<LicenseRow> {};

TEST_P(License31Test, IdentifierAndUrl) {
  const auto found =
      validateYaml(document31("  title: t\n  version: '1'\n  license:\n" + std::string(GetParam().license)));
  EXPECT_EQ(CarvexTest::messages(withCodes(found, kInfoCodes)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, License31Test,
    testing::Values(
        LicenseRow{"identifier_and_valid_url", "    name: MIT\n    identifier: MIT\n    url: https://mit.edu/x\n",
                   {"[V31-008] license must have either 'identifier' or 'url', not both"}},
        LicenseRow{"identifier_and_invalid_url", "    name: MIT\n    identifier: MIT\n    url: mit.txt\n",
                   {"[DOC-007] info.license.url should be a valid URL: mit.txt",
                    "[V31-008] license must have either 'identifier' or 'url', not both"}},
        LicenseRow{"identifier_alone", "    name: MIT\n    identifier: MIT\n", {}},
        LicenseRow{"neither", "    name: MIT\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InfoRules, V31LicenseConflictIsPlacedAtTheLicense) {
  const auto found = validateYaml(
      document31("  title: t\n  version: '1'\n  license:\n    name: MIT\n    identifier: MIT\n    url: /l\n"));
  EXPECT_EQ(described(withCodes(found, {"V31-008"})),
            (std::vector<std::string>{
                "error [V31-008] license must have either 'identifier' or 'url', not both @ /info/license 6:5"}));
}

}  // namespace

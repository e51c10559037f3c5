#include <gtest/gtest.h>

#include "kit/validation/DocumentRulesText.h"
#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::messagesOf;
using CarvexTest::Row;
namespace RuleText = VoziZazIreValidation::RuleText;

// The text tests behind the info rules: each row gives texts that pass and texts that fail.
struct TextRow {
  const char* name;
  bool (*test)(std::string_view);
  std::vector<std::string> passing, failing;
};
void PrintTo(const TextRow& row, std::ostream* os) { *os << row.name; }
class TextTest : public testing::TestWithParam<TextRow> {};

TEST_P(TextTest, PassingAndFailing) {
  for (const auto& text : GetParam().passing) EXPECT_TRUE(GetParam().test(text)) << text;
  for (const auto& text : GetParam().failing) EXPECT_FALSE(GetParam().test(text)) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TextTest,
    testing::Values(
        // DOC-004, DOC-005, DOC-007: a scheme or a leading slash is required.
        TextRow{"url",
                RuleText::passesURLTest,
                {"https://example.com/terms", "/legal/terms", "mailto:api@example.com", "urn:isbn:0451450523",
                 "//example.com/terms"},
                {"terms.html", "", "https://example.com/a b", "https://example.com/{id}", "#terms",
                 "https://ex\xC3\xA4mple.com"}},
        // DOC-006.
        TextRow{"email",
                RuleText::looksLikeEmail,
                {"api@example.com", "first.last+tag%x@mail-server.example.co.uk"},
                {"api@example.c", "api@localhost", "api@example.c0m", "a@b@example.com", "api @example.com", "",
                 "mail api@example.com now"}},
        // DOC-002, DOC-003: spaces and tabs (also no-break and ideographic) are blank, line breaks and broken
        // bytes are not.
        TextRow{"blank", RuleText::isBlankAfterTrimming, {"", " \t ", "\xC2\xA0\xE3\x80\x80"}, {"\n", " x ", "\xFF"}}),
    [](const testing::TestParamInfo<TextRow>& info) { return std::string(info.param.name); });

// The info rules on documents.
std::string withInfo(std::string_view info, std::string_view version = "3.0.3") {
  return "openapi: " + std::string(version) + "\ninfo:\n" + std::string(info) + "paths: {}\n";
}

const CarvexTest::Codes kInfoCodes = {"DOC-002", "DOC-003", "DOC-004", "DOC-005", "DOC-006", "DOC-007", "V31-008"};

TEST(InfoRules, EveryInfoFindingInItsOrderAndPlace) {
  EXPECT_EQ(CarvexTest::placesOf(withInfo(R"(  title: " \t"
  version: ""
  termsOfService: terms.html
  contact:
    url: "not a url"
    email: api@example.c
  license:
    name: MIT
    url: license.txt
)"),
                                 kInfoCodes),
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
  EXPECT_EQ(messagesOf(withInfo(R"(  title: Pets
  version: 1.0.0
  termsOfService: /terms
  contact: {url: "https://example.com", email: api@example.com}
  license: {name: MIT, url: "https://opensource.org/licenses/MIT"}
)"),
                       kInfoCodes),
            std::vector<std::string>{});
}

class License31Test : public CarvexTest::RowTest {};

TEST_P(License31Test, IdentifierAndUrl) {
  EXPECT_EQ(messagesOf(withInfo("  title: t\n  version: '1'\n  license:\n" + GetParam().input, "3.1.0"), kInfoCodes),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, License31Test,
                         testing::Values(Row{"identifier_and_invalid_url",
                                             "    name: MIT\n    identifier: MIT\n    url: mit.txt\n",
                                             {"[DOC-007] info.license.url should be a valid URL: mit.txt",
                                              "[V31-008] license must have either 'identifier' or 'url', not both"}},
                                         Row{"identifier_alone", "    name: MIT\n    identifier: MIT\n", {}},
                                         Row{"neither", "    name: MIT\n", {}}),
                         CarvexTest::rowName);

TEST(InfoRules, V31LicenseConflictIsPlacedAtTheLicense) {
  EXPECT_EQ(CarvexTest::placesOf(
                withInfo("  title: t\n  version: '1'\n  license:\n    name: MIT\n    identifier: MIT\n    url: /l\n",
                         "3.1.0"),
                kInfoCodes),
            (std::vector<std::string>{
                "error [V31-008] license must have either 'identifier' or 'url', not both @ /info/license 6:5"}));
}

}  // namespace

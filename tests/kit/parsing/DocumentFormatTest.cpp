#include "kit/parsing/DocumentFormat.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using VoziZazIreParsing::DocumentFormat;
namespace DocumentFormats = VoziZazIreParsing::DocumentFormats;

namespace {

struct DetectCase {
  const char* name;
  std::string text;
  DocumentFormat expected;
};

void PrintTo(const DetectCase& c, std::ostream* os) { *os << c.name; }

class DocumentFormatDetect : public testing::TestWithParam<DetectCase> {};

TEST_P(DocumentFormatDetect, Detects) {
  const DetectCase& c = GetParam();
  EXPECT_EQ(DocumentFormats::detect(c.text), c.expected);
}

// 255 ASCII bytes of YAML, so that the next character starts at byte 255.
const std::string kYamlLead = [] {
  std::string lead = "openapi: 3.1.0\ninfo:\n  title: ";
  lead.resize(254, 'x');
  return lead + "\n";
}();

INSTANTIATE_TEST_SUITE_P(
    Table, DocumentFormatDetect,
    testing::Values(
        DetectCase{"empty", "", DocumentFormat::yaml},
        DetectCase{"white_space_only", " \t\r\n", DocumentFormat::yaml},
        DetectCase{"object", "{\"openapi\": \"3.1.0\"}", DocumentFormat::json},
        DetectCase{"array_after_blank_lines", "\n\n  [1]", DocumentFormat::json},
        DetectCase{"yaml_mapping", "openapi: 3.0.3\n", DocumentFormat::yaml},
        DetectCase{"yaml_flow_mapping", "{openapi: 3.0.3}", DocumentFormat::json},
        DetectCase{"yaml_sequence_of_flow", "- {a: 1}", DocumentFormat::yaml},
        DetectCase{"comment_first", "# {\n{}", DocumentFormat::yaml},
        DetectCase{"unicode_spaces_skipped",
                   "\xc2\x85\xc2\xa0\xe2\x80\xa8\xe2\x80\xa9\xe3\x80\x80\v\f{}", DocumentFormat::json},
        DetectCase{"blank_beyond_256_bytes", std::string(300, ' ') + "{}", DocumentFormat::yaml},
        DetectCase{"brace_at_byte_255", std::string(255, ' ') + "{}", DocumentFormat::json},
        DetectCase{"invalid_utf8", "\xff{", DocumentFormat::json},
        DetectCase{"invalid_utf8_before_yaml", "a: \xc3(\n", DocumentFormat::json},
        // Regressions: a byte-order mark used to hide the brace, and a character cut by the 256-byte
        // limit used to decide JSON on its own.
        DetectCase{"byte_order_mark_skipped", "\xef\xbb\xbf  {\"a\": 1}", DocumentFormat::json},
        DetectCase{"byte_order_mark_before_yaml", "\xef\xbb\xbf" "a: 1", DocumentFormat::yaml},
        DetectCase{"two_byte_character_cut_at_256", kYamlLead + "\xc3\xa9 rest", DocumentFormat::yaml},
        DetectCase{"four_byte_character_cut_at_256", kYamlLead.substr(1) + "\xf0\x9f\x98\x80 x",
                   DocumentFormat::yaml},
        DetectCase{"character_ending_at_256", kYamlLead + "\xc3", DocumentFormat::json},
        DetectCase{"bad_byte_at_255", kYamlLead + "\xff more", DocumentFormat::json},
        DetectCase{"bad_byte_beyond_256_bytes", "a: 1\n" + std::string(300, '#') + "\xff", DocumentFormat::yaml}),
    [](const testing::TestParamInfo<DetectCase>& info) { return std::string(info.param.name); });

TEST(DocumentFormats, FromExtensionIgnoresCaseAndTakesNoDot) {
  using F = std::optional<DocumentFormat>;
  for (const auto& [extension, expected] : std::vector<std::pair<const char*, F>>{
           {"json", DocumentFormat::json}, {"JSON", DocumentFormat::json}, {"yaml", DocumentFormat::yaml},
           {"YaMl", DocumentFormat::yaml}, {"yml", DocumentFormat::yaml}, {"YML", DocumentFormat::yaml},
           {".json", std::nullopt}, {"txt", std::nullopt}, {"", std::nullopt}})
    EXPECT_EQ(DocumentFormats::fromExtension(extension), expected) << extension;
}

}  // namespace

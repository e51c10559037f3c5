#include "Carvex/Syntax/DocumentLanguageDetector.h"

#include <gtest/gtest.h>

#include <QUrl>

#include <string>

#include "tests/Carvex/Syntax/LexerTestSupport.h"

using namespace std::string_literals;
using Carvex::DocumentLanguage;
using Carvex::DocumentLanguageDetector;

namespace {

struct Row {
    const char* name;
    std::u16string input;
    DocumentLanguage expected;
};

std::string rowName(const testing::TestParamInfo<Row>& info)
{
    return CarvexTest::rowName(info.param.name);
}

const Row contentRows[] = {
    {"empty", u""s, DocumentLanguage::unknown},
    {"all_blank", u" \n\t\r\n "s, DocumentLanguage::unknown},
    {"object", u"{\"openapi\": \"3.1.0\"}"s, DocumentLanguage::json},
    {"array_after_blank_lines", u"\n\n   [1, 2]"s, DocumentLanguage::json},
    {"array_after_no_break_space", u"\u00A0[1]"s, DocumentLanguage::json},
    {"document_marker", u"---\nopenapi: 3.0.3"s, DocumentLanguage::yaml},
    {"version_line", u"openapi: 3.1.0\ninfo:\n"s, DocumentLanguage::yaml},
    {"colon_only_on_second_line", u"hello\nkey: value"s, DocumentLanguage::unknown},
    {"first_line_ends_at_line_separator", u"hello\u2028key: value"s, DocumentLanguage::unknown},
    {"first_line_ends_at_carriage_return", u"a: b\r{"s, DocumentLanguage::yaml},
    {"single_word", u"openapi"s, DocumentLanguage::unknown},
    {"comment_line_with_colon", u"# note: x"s, DocumentLanguage::yaml},
    {"nul_only", u"\0"s, DocumentLanguage::unknown},
};

class DetectFromContent : public testing::TestWithParam<Row> {};

TEST_P(DetectFromContent, givesLanguage)
{
    EXPECT_EQ(DocumentLanguageDetector().detectFromContent(QString::fromStdU16String(GetParam().input)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DetectFromContent, testing::ValuesIn(contentRows), rowName);

const Row extensionRows[] = {
    {"json", u"json"s, DocumentLanguage::json},     {"JSON", u"JSON"s, DocumentLanguage::json},
    {"yaml", u"yaml"s, DocumentLanguage::yaml},     {"YAML", u"YAML"s, DocumentLanguage::yaml},
    {"yml", u"yml"s, DocumentLanguage::yaml},       {"YmL", u"YmL"s, DocumentLanguage::yaml},
    {"empty", u""s, DocumentLanguage::unknown},     {"txt", u"txt"s, DocumentLanguage::unknown},
    {"jsonc", u"jsonc"s, DocumentLanguage::unknown}, {"dotted", u".json"s, DocumentLanguage::unknown},
};

class DetectFromExtension : public testing::TestWithParam<Row> {};

TEST_P(DetectFromExtension, givesLanguage)
{
    EXPECT_EQ(DocumentLanguageDetector().detectFromExtension(QString::fromStdU16String(GetParam().input)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DetectFromExtension, testing::ValuesIn(extensionRows), rowName);

const Row urlRows[] = {
    {"json_file", u"file:///tmp/petstore.json"s, DocumentLanguage::json},
    {"yml_file_in_capitals", u"file:///tmp/PETSTORE.YML"s, DocumentLanguage::yaml},
    {"several_dots", u"file:///tmp/api.v1.yaml"s, DocumentLanguage::yaml},
    {"no_extension", u"file:///tmp/README"s, DocumentLanguage::unknown},
    {"dot_in_folder_only", u"file:///tmp/x.json/README"s, DocumentLanguage::unknown},
    {"query_not_part_of_extension", u"https://example.org/api.json?v=2"s, DocumentLanguage::json},
    {"escaped_space", u"file:///tmp/my%20api.yaml"s, DocumentLanguage::yaml},
};

class DetectFromURL : public testing::TestWithParam<Row> {};

TEST_P(DetectFromURL, givesLanguageOfPathExtension)
{
    EXPECT_EQ(DocumentLanguageDetector().detect(QUrl(QString::fromStdU16String(GetParam().input))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DetectFromURL, testing::ValuesIn(urlRows), rowName);

TEST(DocumentLanguage, rawValuesRoundTripAndRejectOthers)
{
    for (DocumentLanguage language : {DocumentLanguage::json, DocumentLanguage::yaml, DocumentLanguage::unknown})
        EXPECT_EQ(VoziZazIreCore::fromRawValue<DocumentLanguage>(Carvex::rawValue(language)), language);
    EXPECT_EQ(Carvex::rawValue(DocumentLanguage::yaml), "yaml");
    for (const char* other : {"", "JSON", "yml", "json "})
        EXPECT_FALSE(VoziZazIreCore::fromRawValue<DocumentLanguage>(other).has_value()) << other;
}

} // namespace

// Both conversions end to end: errors and their texts, YAML to JSON with its numbers and order, and the
// published example descriptions converted both ways and read back.

#include "Carvex/Conversion/ConversionError.h"
#include "Carvex/Conversion/DocumentConversionService.h"

#include "tests/Carvex/Conversion/ConversionTestSupport.h"

#include "kit/parsing/JSONParser.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

using namespace Carvex;
using namespace ConversionTestSupport;

namespace {

enum class Direction { toJSON, toYAML };

QString convert(Direction direction, const QString& text) {
    const DocumentConversionService service;
    return direction == Direction::toJSON ? service.convertToJSON(text) : service.convertToYAML(text);
}

struct ErrorRow {
    const char* name;
    Direction direction;
    QString input;
    ConversionError::Kind kind;
    const char* description;  // exact, or the beginning when it ends in "..."
};

void PrintTo(const ErrorRow& row, std::ostream* os) { *os << row.name; }

class ConversionErrorTest : public testing::TestWithParam<ErrorRow> {};

TEST_P(ConversionErrorTest, FailsWithItsDescription) {
    const ErrorRow& row = GetParam();
    try {
        const QString output = convert(row.direction, row.input);
        FAIL() << "converted to: " << output.toStdString();
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.kind(), row.kind);
        const std::string description = error.localizedDescription().toStdString();
        std::string expected = row.description;
        if (expected.ends_with("...")) {
            expected.resize(expected.size() - 3);
            EXPECT_TRUE(description.starts_with(expected)) << description;
        } else {
            EXPECT_EQ(description, expected);
        }
        EXPECT_STREQ(error.what(), description.c_str());
    }
}

const QString kLoneSurrogate = QStringLiteral("a: ") + QChar(0xD800);

INSTANTIATE_TEST_SUITE_P(
    Errors, ConversionErrorTest,
    testing::Values(
        ErrorRow{"empty_yaml", Direction::toJSON, "", ConversionError::Kind::emptyDocument, "Document is empty"},
        ErrorRow{"blank_yaml", Direction::toJSON, " \n\t\r\n ", ConversionError::Kind::emptyDocument, "Document is empty"},
        ErrorRow{"empty_json", Direction::toYAML, "", ConversionError::Kind::emptyDocument, "Document is empty"},
        ErrorRow{"blank_json", Direction::toYAML, "\n  \n", ConversionError::Kind::emptyDocument, "Document is empty"},
        ErrorRow{"yaml_syntax", Direction::toJSON, "a: 1\n  b: 2\n", ConversionError::Kind::parsingFailed,
                 "Parsing failed: Unexpected ':' in a multi-line plain scalar at line 2, column 4"},
        ErrorRow{"yaml_unterminated_quote", Direction::toJSON, "a: \"x\n", ConversionError::Kind::parsingFailed,
                 "Parsing failed: Unterminated quoted scalar at line 1, column 4"},
        ErrorRow{"yaml_lone_surrogate", Direction::toJSON, kLoneSurrogate, ConversionError::Kind::parsingFailed,
                 "Parsing failed: Failed to encode as UTF-8"},
        ErrorRow{"yaml_top_null", Direction::toJSON, "~\n", ConversionError::Kind::conversionFailed,
                 "Conversion failed: Result is not valid JSON"},
        ErrorRow{"yaml_only_comment", Direction::toJSON, "# nothing\n", ConversionError::Kind::conversionFailed,
                 "Conversion failed: Result is not valid JSON"},
        ErrorRow{"yaml_infinity", Direction::toJSON, "a:\n  - 1\n  - -0x1p99999\n", ConversionError::Kind::conversionFailed,
                 "Conversion failed: Number at line 3, column 5 is not finite; JSON has no such number"},
        ErrorRow{"yaml_too_deep", Direction::toJSON, QString("- ").repeated(1001) + "x", ConversionError::Kind::parsingFailed,
                 "Parsing failed: Nesting deeper than 1000 levels..."},
        ErrorRow{"json_unclosed", Direction::toYAML, "{", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_trailing_comma", Direction::toYAML, "[1,]", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_single_quotes", Direction::toYAML, "{'a':1}", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_leading_zero", Direction::toYAML, "01", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_bare_fraction", Direction::toYAML, "[.5]", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_open_fraction", Direction::toYAML, "[1.]", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_empty_exponent", Direction::toYAML, "1e", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_plus_sign", Direction::toYAML, "+1", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_nan_word", Direction::toYAML, "[NaN]", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_comment", Direction::toYAML, "{} // x", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_two_values", Direction::toYAML, "[1] [2]", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_short_word", Direction::toYAML, "tru", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_raw_control", Direction::toYAML, "[\"a\tb\"]", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_bad_escape", Direction::toYAML, R"(["\x41"])", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_lone_high_escape", Direction::toYAML, R"(["\ud800"])", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_lone_low_escape", Direction::toYAML, R"(["\udc00x"])", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_missing_colon", Direction::toYAML, R"({"a" 1})", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_number_key", Direction::toYAML, R"({1:2})", ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_lone_surrogate", Direction::toYAML, QStringLiteral("\"") + QChar(0xDC00) + "\"",
                 ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"},
        ErrorRow{"json_too_deep", Direction::toYAML, QString("[").repeated(1001) + QString("]").repeated(1001),
                 ConversionError::Kind::parsingFailed, "Parsing failed: Invalid JSON syntax"}),
    [](const testing::TestParamInfo<ErrorRow>& info) { return std::string(info.param.name); });

TEST(ConversionErrorTest, DescribesEveryKind) {
    EXPECT_EQ(ConversionError::parsingFailed("x").localizedDescription(), "Parsing failed: x");
    EXPECT_EQ(ConversionError::conversionFailed("y").localizedDescription(), "Conversion failed: y");
    EXPECT_EQ(ConversionError::unknownFormat().localizedDescription(), "Could not determine document format");
    EXPECT_EQ(ConversionError::emptyDocument().localizedDescription(), "Document is empty");
}

struct JSONRow {
    const char* name;
    const char* yaml;
    const char* json;
};

void PrintTo(const JSONRow& row, std::ostream* os) { *os << row.name; }

class YAMLToJSONTest : public testing::TestWithParam<JSONRow> {};

TEST_P(YAMLToJSONTest, WritesTheExactText) {
    const JSONRow& row = GetParam();
    const QString json = convert(Direction::toJSON, QString::fromUtf8(row.yaml));
    EXPECT_EQ(json.toStdString(), row.json);
    // The result is JSON as the library's own parser reads it, too.
    EXPECT_NO_THROW(VoziZazIreParsing::JSONParser().parse(json.toStdString()));
}

INSTANTIATE_TEST_SUITE_P(
    Values, YAMLToJSONTest,
    testing::Values(
        JSONRow{"mapping_order_kept", "z: 1\na: x/y\nm: true\n", "{\n  \"z\": 1,\n  \"a\": \"x/y\",\n  \"m\": true\n}"},
        JSONRow{"nested", "a:\n  - b: null\n    c: []\n  - {}\n",
                "{\n  \"a\": [\n    {\n      \"b\": null,\n      \"c\": []\n    },\n    {}\n  ]\n}"},
        JSONRow{"top_level_text", "hello", "\"hello\""},
        JSONRow{"top_level_number", "2.5", "2.5"},
        JSONRow{"top_level_boolean", "true", "true"},
        JSONRow{"escapes", "a: \"q\\\"\\\\\\t\\u0001\\n\"", "{\n  \"a\": \"q\\\"\\\\\\t\\u0001\\n\"\n}"},
        JSONRow{"numbers", "[1.0, -0.0, 0x10, 1e3, 1.5e300, 007]", "[\n  1,\n  0,\n  16,\n  1000,\n  1.5e+300,\n  7\n]"},
        JSONRow{"int64_bounds", "[9223372036854775807, -9223372036854775808, 0x7FFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFF]",
                "[\n  9223372036854775807,\n  -9223372036854775808,\n  9223372036854775807,\n  18446744073709551615\n]"},
        JSONRow{"digits_beyond_a_double", "a: 9007199254740993\nb: +00123456789012345678901234567890\n",
                "{\n  \"a\": 9007199254740993,\n  \"b\": 123456789012345678901234567890\n}"},
        JSONRow{"digits_after_wide_characters", "\xc3\xa9\xf0\x9f\x91\x8d\xcc\x81: 9007199254740993",
                "{\n  \"\xc3\xa9\xf0\x9f\x91\x8d\xcc\x81\": 9007199254740993\n}"},
        JSONRow{"beyond_a_double_range", "[1e400, -1E+400]", "[\n  1e400,\n  -1E+400\n]"},
        JSONRow{"texts_that_look_like_numbers", "[1_000, .inf, 0o17, yes, inf, NaN]",
                "[\n  \"1_000\",\n  \".inf\",\n  \"0o17\",\n  \"yes\",\n  \"inf\",\n  \"NaN\"\n]"},
        JSONRow{"alias_number", "a: &n 9223372036854775807\nb: *n\n",
                "{\n  \"a\": 9223372036854775807,\n  \"b\": 9223372036854775807\n}"}),
    [](const testing::TestParamInfo<JSONRow>& info) { return std::string(info.param.name); });

QStringList corpusFiles() {
    QStringList files;
    QDirIterator it(QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai"), {"*.yaml", "*.json"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    files.sort();
    return files;
}

QString readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// Every published example converts to the other syntax and reads back as the same value; converting
// back and forth again changes nothing.
TEST(ConversionCorpusTest, EveryFileConvertsBothWaysAndReadsBack) {
    const QStringList files = corpusFiles();
    if (files.isEmpty()) GTEST_SKIP() << "no corpus";
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const QString source = readFile(path);
        const bool yaml = path.endsWith(".yaml");
        const PlainValueTree value = yaml ? readYAML(source) : readJSON(source);
        const QString other = convert(yaml ? Direction::toJSON : Direction::toYAML, source);
        const PlainValueTree back = yaml ? readJSON(other) : readYAML(other);
        std::string where;
        EXPECT_TRUE(sameValue(value, back, where)) << "differs at " << where;
        if (yaml) {
            // Back to YAML and to JSON again: the same value, and from then on the same texts (the YAML
            // puts the keys in its own order, which the JSON then keeps).
            const QString yaml1 = convert(Direction::toYAML, other);
            const QString json2 = convert(Direction::toJSON, yaml1);
            EXPECT_TRUE(sameValue(value, readJSON(json2), where)) << "differs at " << where;
            const QString yaml2 = convert(Direction::toYAML, json2);
            EXPECT_EQ(yaml1.toStdString(), yaml2.toStdString());
            EXPECT_EQ(json2.toStdString(), convert(Direction::toJSON, yaml2).toStdString());
        }
    }
}

}  // namespace

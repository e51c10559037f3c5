#include "Carvex/ModelAdapters/OpenAPIModelParsingService.h"
#include "Carvex/ModelAdapters/OpenAPIDocumentAdapter.h"

#include <gtest/gtest.h>

namespace {

using Carvex::DocumentFormat;
using Carvex::ModelOpenAPIVersion;
using Carvex::OpenAPIParseError;
using Kind = Carvex::OpenAPIParseError::Kind;

const char* const kMinimal30 = "openapi: 3.0.3\ninfo: {title: t, version: '1'}\npaths: {}\n";

struct OutcomeRow {
    const char* name;
    QString text;
    DocumentFormat format;
    std::optional<ModelOpenAPIVersion> version; // a model of this version, or else
    Kind kind;                                  // a failure of this kind
    const char* payloadPart;                    // found in the failure's payload
};

TEST(OpenAPIModelParsingServiceTest, EveryOutcomeIsAModelOrOneOfFourKinds)
{
    const QString swagger = QStringLiteral("swagger: '2.0'\ninfo: {title: t, version: '1'}\npaths: {}\n");
    QString lonely = QString::fromLatin1(kMinimal30);
    lonely.insert(lonely.indexOf(QLatin1String("title: t")) + 7, QChar(0xD800));
    const OutcomeRow rows[] = {
        {"blank yaml", QStringLiteral(" \t\n\r\n  "), DocumentFormat::yaml, {}, Kind::emptyDocument, ""},
        {"blank json", QStringLiteral("\n\n"), DocumentFormat::json, {}, Kind::emptyDocument, ""},
        {"blank unknown", QString(), DocumentFormat::unknown, {}, Kind::emptyDocument, ""},
        {"unicode blanks", QString::fromUtf16(u"\u00a0\u2028\u3000"), DocumentFormat::yaml, {}, Kind::emptyDocument, ""},
        {"unknown format", QString::fromLatin1(kMinimal30), DocumentFormat::unknown, {}, Kind::unsupportedFormat, ""},
        {"swagger 2.0", swagger, DocumentFormat::yaml, {}, Kind::unsupportedVersion,
         "OpenAPI version 2.0 is not yet supported"},
        {"openapi 4.0.0", QStringLiteral("openapi: 4.0.0\ninfo: {title: t, version: '1'}\npaths: {}\n"),
         DocumentFormat::yaml, {}, Kind::decodingFailed, "4.0.0"},
        {"yaml passed as json", QString::fromLatin1(kMinimal30), DocumentFormat::json, {}, Kind::decodingFailed, ""},
        {"missing info", QStringLiteral("openapi: 3.0.0\npaths: {}\n"), DocumentFormat::yaml, {}, Kind::decodingFailed,
         "info"},
        {"unpaired surrogate", lonely, DocumentFormat::yaml, {}, Kind::decodingFailed, "UTF-8"},
        {"lone low surrogate at end", QString::fromLatin1(kMinimal30) + QChar(0xDC00), DocumentFormat::yaml, {},
         Kind::decodingFailed, "UTF-8"},
        {"3.0", QString::fromLatin1(kMinimal30), DocumentFormat::yaml, ModelOpenAPIVersion::openAPI30, {}, ""},
        {"3.1 json", QStringLiteral(R"({"openapi": "3.1.0", "info": {"title": "t", "version": "1"}})"),
         DocumentFormat::json, ModelOpenAPIVersion::openAPI31, {}, ""},
        {"paired surrogates are fine",
         QString::fromUtf16(u"openapi: 3.1.0\ninfo: {title: \U0001F600, version: '1'}\n"), DocumentFormat::yaml,
         ModelOpenAPIVersion::openAPI31, {}, ""},
    };
    const Carvex::OpenAPIModelParsingService service;
    for (const OutcomeRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Carvex::OpenAPIModelParseResult result = service.parse(row.text, row.format);
        if (row.version) {
            ASSERT_TRUE(result.isSuccess()) << result.error()->localizedDescription().toStdString();
            EXPECT_EQ(result.model()->version(), *row.version);
            continue;
        }
        ASSERT_FALSE(result.isSuccess());
        EXPECT_EQ(result.error()->kind(), row.kind) << result.error()->localizedDescription().toStdString();
        EXPECT_TRUE(result.error()->payload().contains(QString::fromUtf8(row.payloadPart)))
            << result.error()->payload().toStdString();
    }
}

// Every placement of a surrogate in and across the eight-unit steps of the search, the text's ends too.
TEST(OpenAPIModelParsingServiceTest, SurrogatesAreCheckedWhereverTheyStand)
{
    const struct {
        const char* name;
        std::u16string insert;
        bool valid;
    } rows[] = {
        {"pair", u"\U0001F600", true},
        {"two pairs", u"\U0001F600\U0001F469", true},
        {"lone high", u"\xD83D", false},
        {"lone low", u"\xDE00", false},
        {"low before high", u"\xDE00\xD83D", false},
        {"high high low", u"\xD83D\xD83D\xDE00", false},
    };
    const QString ascii = QStringLiteral("abcdefghijklmnopqrstuvwx");
    for (const auto& row : rows) {
        for (qsizetype at = 0; at <= ascii.size(); ++at) {
            QString text = ascii;
            text.insert(at, QString::fromStdU16String(row.insert));
            const std::optional<QByteArray> utf8 = Carvex::OpenAPIModelParsingService::strictUtf8(text);
            ASSERT_EQ(utf8.has_value(), row.valid) << row.name << " at " << at;
            if (utf8) {
                EXPECT_EQ(*utf8, text.toUtf8()) << row.name << " at " << at;
            }
        }
    }
}

TEST(OpenAPIModelParsingServiceTest, ErrorTextsAndEquality)
{
    EXPECT_EQ(OpenAPIParseError::decodingFailed("x").localizedDescription(),
              QStringLiteral("Failed to parse OpenAPI document: x"));
    EXPECT_EQ(OpenAPIParseError::unsupportedVersion("2.0").localizedDescription(),
              QStringLiteral("OpenAPI version '2.0' is not supported. Please use OpenAPI 3.1."));
    EXPECT_EQ(OpenAPIParseError::unsupportedFormat().localizedDescription(),
              QStringLiteral("The document format is not supported. Please use JSON or YAML."));
    EXPECT_EQ(OpenAPIParseError::emptyDocument().localizedDescription(),
              QStringLiteral("The document is empty or contains no parseable content."));
    EXPECT_EQ(OpenAPIParseError::decodingFailed("a"), OpenAPIParseError::decodingFailed("a"));
    EXPECT_FALSE(OpenAPIParseError::decodingFailed("a") == OpenAPIParseError::decodingFailed("b"));
    EXPECT_FALSE(OpenAPIParseError::decodingFailed("a") == OpenAPIParseError::unsupportedVersion("a"));
}

TEST(OpenAPIModelParsingServiceTest, TextIsParsedUntrimmedSoLinesCountLeadingBlankLines)
{
    const QString text = QStringLiteral("\n\nopenapi: 3.0.0\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get:\n"
                                        "      responses: {}\n");
    const auto result = Carvex::OpenAPIModelParsingService().parse(text, DocumentFormat::yaml);
    ASSERT_TRUE(result.isSuccess());
    const auto operations = result.model()->makeAdapter()->allOperations();
    ASSERT_EQ(operations.size(), 1u);
    EXPECT_EQ(operations[0].operation->sourceLine(), 8);
}

TEST(OpenAPIModelParsingServiceTest, DeeplyNestedTextIsAFailureNotACrash)
{
    std::string deep = "openapi: 3.0.0\ninfo: {title: t, version: '1'}\npaths: {}\nx-deep: ";
    deep += std::string(5000, '[') + std::string(5000, ']') + "\n";
    const auto result = Carvex::OpenAPIModelParsingService().parse(QString::fromStdString(deep), DocumentFormat::yaml);
    ASSERT_FALSE(result.isSuccess());
    EXPECT_EQ(result.error()->kind(), Kind::decodingFailed);
}

} // namespace

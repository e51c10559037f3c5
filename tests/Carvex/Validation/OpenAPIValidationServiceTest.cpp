#include "Carvex/Validation/OpenAPIValidationService.h"

#include "kit/core/Diagnostic.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace Carvex;
using Kind = CarvexValidationResult::Kind;

namespace {

const char* const kValidYaml =
    "openapi: 3.0.3\ninfo:\n  title: T\n  version: \"1\"\npaths:\n  /a:\n    get:\n"
    "      responses:\n        \"200\":\n          description: ok\n";

struct ResultRow {
    const char* name;
    const char* text;
    Kind kind;
    const char* firstMessage;         // the first finding's message (or the version)
    std::optional<QString> description;
    int line;                         // of the first finding; 0 when it has no location
    int column;
    std::vector<CarvexValidationSeverity> severities;  // of every finding
    std::optional<QString> jsonPointer;
};

class ValidationServiceResultTest : public ::testing::TestWithParam<ResultRow> {};

TEST_P(ValidationServiceResultTest, MapsTheLibraryOutcome) {
    const ResultRow& row = GetParam();
    const CarvexValidationResult result =
        OpenAPIValidationService().validateNow(QString::fromUtf8(row.text));
    ASSERT_EQ(result.kind(), row.kind) << result.description().toStdString();
    if (row.kind == Kind::unsupportedVersion) {
        EXPECT_EQ(*result.unsupportedVersionValue(), QString::fromUtf8(row.firstMessage));
        EXPECT_TRUE(result.findings().empty());
        return;
    }
    const std::vector<CarvexValidationError> findings = result.findings();
    if (row.kind == Kind::success) {
        EXPECT_TRUE(findings.empty());
        return;
    }
    ASSERT_EQ(findings.size(), row.severities.size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
        EXPECT_EQ(findings[i].severity, row.severities[i]) << i;
        EXPECT_EQ(findings[i].isParsingError, row.kind == Kind::parsingError);
        EXPECT_FALSE(findings[i].id.isNull());
    }
    const CarvexValidationError& first = findings.front();
    EXPECT_TRUE(first.message.startsWith(QString::fromUtf8(row.firstMessage)))
        << first.message.toStdString();
    if (row.description) {
        EXPECT_EQ(first.description, row.description);
    }
    EXPECT_EQ(first.jsonPointer, row.jsonPointer);
    if (row.line == 0) {
        EXPECT_FALSE(first.sourceLocation || first.endLocation);
    } else {
        ASSERT_TRUE(first.sourceLocation && first.endLocation);
        EXPECT_EQ(first.sourceLocation->line, row.line);
        EXPECT_EQ(first.sourceLocation->column, row.column);
        EXPECT_TRUE(first.sourceLocation->fileName.isEmpty());
        EXPECT_TRUE(first.sourceLocation->offset.has_value());
    }
}

using S = CarvexValidationSeverity;

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ValidationServiceResultTest,
    ::testing::Values(
        ResultRow{"empty", "", Kind::parsingError, "Document is empty",
                  QStringLiteral("The document contains no content to validate."), 0, 0, {S::error}, std::nullopt},
        ResultRow{"blank_lines_and_tabs", " \n\t\r\n  ", Kind::parsingError, "Document is empty",
                  QStringLiteral("The document contains no content to validate."), 0, 0, {S::error}, std::nullopt},
        ResultRow{"valid_yaml", kValidYaml, Kind::success, "", std::nullopt, 0, 0, {}, std::nullopt},
        ResultRow{"valid_json_with_leading_blank", "\n {\"openapi\": \"3.1.0\", \"info\": {\"title\": \"T\", \"version\": \"1\"}, \"paths\": {}}",
                  Kind::success, "", std::nullopt, 0, 0, {}, std::nullopt},
        ResultRow{"warnings_only",
                  "openapi: 3.0.3\ninfo:\n  title: T\n  version: \"1\"\n  contact:\n    email: nope\npaths: {}\n",
                  Kind::validationErrors, "[DOC-006] ", std::nullopt, 6, 5, {S::warning}, QStringLiteral("/info/contact")},
        ResultRow{"json_syntax_error",
                  "{\"openapi\": \"3.0.3\", \"info\": {\"title\": \"T\", \"version\": \"1\"}, \"paths\": {}\n",
                  Kind::parsingError, "Expected ',' or '}' in object", std::nullopt, 2, 1, {S::error}, std::nullopt},
        ResultRow{"swagger_2", "swagger: \"2.0\"\ninfo: {}\n", Kind::unsupportedVersion, "2.0",
                  std::nullopt, 0, 0, {}, std::nullopt},
        ResultRow{"unknown_openapi_version", "openapi: 4.0.0\ninfo: {title: T, version: \"1\"}\npaths: {}\n",
                  Kind::parsingError, "Unsupported OpenAPI version: ", std::nullopt, 1, 10, {S::error}, QStringLiteral("/openapi")},
        ResultRow{"no_version", "info: {title: T, version: \"1\"}\npaths: {}\n", Kind::parsingError,
                  "Could not determine OpenAPI version.", std::nullopt, 1, 1, {S::error}, QString()},
        ResultRow{"finding_without_range_keeps_pointer",
                  "openapi: 3.0.3\ninfo:\n  title: T\n  version: \"1\"\npaths: {}\ncomponents:\n  schemas:\n"
                  "    A:\n      allOf:\n        - $ref: \"#/components/schemas/B\"\n    B:\n      allOf:\n"
                  "        - $ref: \"#/components/schemas/A\"\n",
                  Kind::validationErrors, "[REF-003] ", std::nullopt, 0, 0, {S::error},
                  QStringLiteral("#/components/schemas/A")}),
    [](const auto& info) { return std::string(info.param.name); });

// The editor breaks lines at LF, CR LF and a lone CR alike; the findings must come back on the
// lines it shows, with the offsets of the text it was given.
TEST(ValidationServiceTest, FindingsLandOnTheSameLineWhateverTheLineEnds) {
    struct Row {
        const char* name;
        const char* lineFeedText;  // written with LF; the other line ends are put in its place
        int line;                  // of the first finding, as the editor shows it
        int column;
    };
    const Row rows[] = {
        {"yaml", "openapi: 3.0.3\ninfo:\n  title: T\n  version: \"1\"\npaths:\n  /a:\n    get:\n"
                 "      responses:\n        \"200\":\n          description: ok\n          content:\n"
                 "            application/json:\n              schema: {type: array}\n",
         13, 23},
        {"json", "{\n  \"openapi\": \"3.0.3\",\n  \"info\": {\"title\": \"T\", \"version\": \"1\"},\n"
                 "  \"paths\": {\"/a\": {\"get\": {\"responses\": {\"200\": {\"description\": \"d\",\n"
                 "    \"content\": {\"a/b\": {\"schema\": {\"type\": \"array\"}}}}}}}}\n}\n",
         5, 35},
        {"yaml_blank_line", "openapi: 3.0.3\n\ninfo:\n  title: T\n  version: \"1\"\npaths: {}\n"
                            "components:\n  schemas:\n    L: {type: array}\n",
         9, 8},
    };
    struct Ending {
        const char* name;
        const char* text;
        bool sameOffsets;  // one unit per line break, as LF
    };
    const Ending endings[] = {{"LF", "\n", true}, {"CR", "\r", true}, {"CRLF", "\r\n", false}};
    for (const Row& row : rows) {
        for (const Ending& ending : endings) {
            QString text = QString::fromUtf8(row.lineFeedText);
            const CarvexValidationResult reference = OpenAPIValidationService().validateNow(text);
            text.replace(QStringLiteral("\n"), QString::fromLatin1(ending.text));
            const CarvexValidationResult result = OpenAPIValidationService().validateNow(text);
            const std::string where = std::string(row.name) + " " + ending.name;
            ASSERT_EQ(result.kind(), Kind::validationErrors) << where << ": " << result.description().toStdString();
            const CarvexValidationError first = result.findings().front();
            EXPECT_TRUE(first.message.startsWith(QStringLiteral("[SCH-011] "))) << where;
            ASSERT_TRUE(first.sourceLocation) << where;
            EXPECT_EQ(first.sourceLocation->line, row.line) << where;
            EXPECT_EQ(first.sourceLocation->column, row.column) << where;
            if (ending.sameOffsets) {
                EXPECT_EQ(first.sourceLocation->offset, reference.findings().front().sourceLocation->offset) << where;
            }
        }
    }
    // A CR right before a CR LF is a line break of its own.
    const CarvexValidationResult mixed = OpenAPIValidationService().validateNow(QStringLiteral(
        "openapi: 3.0.3\r\r\ninfo: {title: T, version: \"1\"}\rpaths: {}\r\ncomponents:\r  schemas:\r\n"
        "    L: {type: array}\r"));
    ASSERT_EQ(mixed.kind(), Kind::validationErrors) << mixed.description().toStdString();
    const std::optional<SourceLocation> mixedLocation = mixed.findings().front().sourceLocation;
    ASSERT_TRUE(mixedLocation);
    EXPECT_EQ(mixedLocation->line, 7);
}

TEST(ValidationServiceTest, RefusalMessagesGiveTheirVersion) {
    struct Row {
        const char* message;
        const char* version;
    };
    const Row rows[] = {
        {"OpenAPI version 2.0 is not yet supported", "2.0"},
        {"Version not supported", "unknown"},
        {"Version 3.10.2 is not supported", "3.10"},
        {"Version 7. or .5 or 1.x not supported", "unknown"},
        {"\xD9\xA1.\xD9\xA2 not supported", "\xD9\xA1.\xD9\xA2"},  // Arabic-Indic digits are digits
    };
    for (const Row& row : rows) {
        EXPECT_EQ(OpenAPIValidationService::versionIn(QString::fromUtf8(row.message)),
                  QString::fromUtf8(row.version))
            << row.message;
    }
}

TEST(ValidationServiceTest, SeveritiesMapOneToOneAndKeepTheLibraryOrder) {
    const auto warning = OpenAPIValidationService::makeError(VoziZazIreCore::Diagnostic::warning(
        "[DOC-006] w", "/info", VoziZazIreCore::SourceRange{{3, 4, 20}, {3, 9, 25}}, "ctx"));
    EXPECT_EQ(warning.severity, CarvexValidationSeverity::warning);
    EXPECT_EQ(warning.description, QStringLiteral("ctx"));
    EXPECT_EQ(warning.sourceLocation, (SourceLocation{QString(), 3, 4, 20}));
    EXPECT_EQ(warning.endLocation, (SourceLocation{QString(), 3, 9, 25}));
    const auto error =
        OpenAPIValidationService::makeError(VoziZazIreCore::Diagnostic::error("[X] e"));
    EXPECT_EQ(error.severity, CarvexValidationSeverity::error);
    EXPECT_FALSE(error.jsonPointer || error.sourceLocation || error.description);

    // Errors and warnings come out in the order the library found them.
    const char* text =
        "openapi: 3.0.3\ninfo:\n  title: T\n  version: \"1\"\n  contact:\n    email: nope\n"
        "paths: {}\ncomponents:\n  schemas:\n    A:\n      type: array\n";
    const auto result = OpenAPIValidationService().validateNow(QString::fromUtf8(text));
    ASSERT_EQ(result.kind(), Kind::validationErrors);
    const auto& list = *result.validationErrorsValue();
    ASSERT_EQ(list.size(), 2u);
    // The rules' findings in their walk order: the info's contact before the component schemas. The
    // transform finds the array without items too; that finding is listed once, where the rules put it.
    EXPECT_TRUE(list.front().message.startsWith(QStringLiteral("[DOC-006]")));
    EXPECT_TRUE(list.back().message.startsWith(QStringLiteral("[SCH-011]")));
    bool sawWarning = false;
    for (const auto& finding : list) {
        const bool isWarning = finding.message.startsWith(QStringLiteral("[DOC-006]"));
        sawWarning = sawWarning || isWarning;
        EXPECT_EQ(finding.severity, isWarning ? CarvexValidationSeverity::warning
                                              : CarvexValidationSeverity::error)
            << finding.message.toStdString();
    }
    EXPECT_TRUE(sawWarning);
}

TEST(ValidationServiceTest, TwoRunsDifferOnlyInTheirIds) {
    const char* text =
        "openapi: 3.0.3\ninfo:\n  title: T\n  version: \"1\"\n  contact:\n    email: nope\npaths: {}\n";
    OpenAPIValidationService service;
    auto first = service.validateNow(QString::fromUtf8(text)).findings();
    auto second = service.validateNow(QString::fromUtf8(text)).findings();
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(first[0].id, second[0].id);
    EXPECT_NE(first[0], second[0]);
    second[0].id = first[0].id;
    EXPECT_EQ(first[0], second[0]);
}

TEST(ValidationServiceTest, RunsOffTheMainThreadAndAnswersOnTheMainScheduler) {
    CarvexPlatform::TestApplication::ensure();
    auto fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    OpenAPIValidationService service(fake);
    std::vector<CarvexValidationResult> results;
    service.validate(QString::fromUtf8(kValidYaml),
                     [&](CarvexValidationResult result) { results.push_back(std::move(result)); });
    CarvexPlatform::BackgroundTask::waitForIdle();
    EXPECT_TRUE(results.empty());  // nothing until the main scheduler's next turn
    fake->runPending();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], CarvexValidationResult::success());

    // A cancelled run delivers nothing.
    auto item = service.validate(QStringLiteral("swagger: \"2.0\"\n"),
                                 [&](CarvexValidationResult result) { results.push_back(result); });
    item.cancel();
    CarvexPlatform::BackgroundTask::waitForIdle();
    fake->runPending();
    EXPECT_EQ(results.size(), 1u);
}

TEST(ValidationServiceTest, ResultEqualityAndDescription) {
    EXPECT_EQ(CarvexValidationResult::unsupportedVersion("2.0"),
              CarvexValidationResult::unsupportedVersion("2.0"));
    EXPECT_NE(CarvexValidationResult::unsupportedVersion("2.0"), CarvexValidationResult::success());
    EXPECT_NE(CarvexValidationResult::validationErrors({}), CarvexValidationResult::success());
    EXPECT_EQ(CarvexValidationResult::unsupportedVersion("2.0").description(),
              QStringLiteral("unsupportedVersion(2.0)"));
    EXPECT_EQ(VoziZazIreCore::fromRawValue<CarvexValidationSeverity>("warning"),
              CarvexValidationSeverity::warning);
    EXPECT_EQ(VoziZazIreCore::fromRawValue<CarvexValidationSeverity>("Warning"), std::nullopt);
    EXPECT_EQ(rawValue(CarvexValidationSeverity::error), "error");
}

}  // namespace

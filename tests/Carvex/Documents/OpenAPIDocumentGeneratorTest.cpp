#include "Carvex/Documents/NewDocumentConfigurationValidator.h"
#include "Carvex/Documents/OpenAPIDocumentGenerator.h"
#include "Carvex/Validation/OpenAPIValidationService.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>

using namespace Carvex;

namespace {

NewDocumentConfiguration configuration(NewDocumentOpenAPIVersion version, DocumentFormat format, bool include,
                                       std::optional<QString> path, std::set<HTTPMethod> methods) {
    NewDocumentConfiguration result;
    result.version = version;
    result.format = format;
    result.includeInitialPath = include;
    result.initialPath = std::move(path);
    result.methods = std::move(methods);
    return result;
}

const NewDocumentConfiguration petsExample = configuration(
    NewDocumentOpenAPIVersion::v3_1, DocumentFormat::yaml, true, QStringLiteral("pets"),
    {HTTPMethod::post, HTTPMethod::get});

TEST(OpenAPIDocumentGeneratorTest, YAMLExampleIsWrittenLineByLine) {
    const QString text = OpenAPIDocumentGenerator().generate(petsExample);
    const QStringList expected = {
        "openapi: \"3.1.0\"", "info:", "  title: New API", "  version: \"1.0.0\"", "paths:", "  /pets:",
        "    get:", "      responses:", "        \"200\":", "          description: OK",
        "    post:", "      responses:", "        \"200\":", "          description: OK",
    };
    EXPECT_EQ(text, expected.join('\n'));
    EXPECT_EQ(text.split('\n').size(), 14);
}

TEST(OpenAPIDocumentGeneratorTest, JSONExampleIsWrittenLineByLine) {
    NewDocumentConfiguration json = petsExample;
    json.format = DocumentFormat::json;
    const QStringList expected = {
        "{",
        "  \"openapi\": \"3.1.0\",",
        "  \"info\": {",
        "    \"title\": \"New API\",",
        "    \"version\": \"1.0.0\"",
        "  },",
        "  \"paths\": {",
        "    \"/pets\": {",
        "      \"get\": {",
        "        \"responses\": {",
        "          \"200\": {",
        "            \"description\": \"OK\"",
        "          }",
        "        }",
        "      },",
        "      \"post\": {",
        "        \"responses\": {",
        "          \"200\": {",
        "            \"description\": \"OK\"",
        "          }",
        "        }",
        "      }",
        "    }",
        "  }",
        "}",
    };
    EXPECT_EQ(OpenAPIDocumentGenerator().generate(json), expected.join('\n'));
    json.format = DocumentFormat::unknown;
    EXPECT_EQ(OpenAPIDocumentGenerator().generate(json), expected.join('\n'));
}

struct EmptyPathsCase {
    const char* name;
    bool include;
    std::optional<QString> path;
    std::set<HTTPMethod> methods;
};

TEST(OpenAPIDocumentGeneratorTest, EmptyPathsObjectUnlessPathAndMethodsAreGiven) {
    const EmptyPathsCase cases[] = {
        {"included without methods", true, QStringLiteral("/a"), {}},
        {"not included with path and methods", false, QStringLiteral("/a"), {HTTPMethod::get}},
        {"included without a path", true, std::nullopt, {HTTPMethod::get}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        for (DocumentFormat format : {DocumentFormat::json, DocumentFormat::yaml}) {
            const QString text = OpenAPIDocumentGenerator().generate(
                configuration(NewDocumentOpenAPIVersion::v3_0, format, row.include, row.path, row.methods));
            const QStringList lines = text.split('\n');
            if (format == DocumentFormat::json) {
                EXPECT_EQ(lines.size(), 8);
                EXPECT_EQ(lines.value(6), "  \"paths\": {}");
                EXPECT_EQ(lines.value(1), "  \"openapi\": \"3.0.0\",");
            } else {
                EXPECT_EQ(lines.size(), 5);
                EXPECT_EQ(lines.value(4), "paths: {}");
                EXPECT_EQ(lines.value(0), "openapi: \"3.0.0\"");
            }
        }
    }
}

TEST(OpenAPIDocumentGeneratorTest, MethodsFollowDeclarationOrderAndOnlyTheLastHasNoComma) {
    const auto config = configuration(NewDocumentOpenAPIVersion::v3_0, DocumentFormat::json, true, "/x",
                                      {HTTPMethod::trace, HTTPMethod::get, HTTPMethod::delete_});
    const QStringList lines = OpenAPIDocumentGenerator().generateJSON(config).split('\n');
    QStringList heads;
    QStringList closings;
    for (const QString& line : lines) {
        if (line.startsWith("      \"") && line.endsWith(": {")) {
            heads << line.trimmed();
        }
        if (line == "      }" || line == "      },") {
            closings << line;
        }
    }
    EXPECT_EQ(heads, QStringList({"\"get\": {", "\"delete\": {", "\"trace\": {"}));
    EXPECT_EQ(closings, QStringList({"      },", "      },", "      }"}));

    const QStringList yaml = OpenAPIDocumentGenerator().generateYAML(config).split('\n');
    EXPECT_EQ(yaml.filter(QRegularExpression("^    \\w+:$")), QStringList({"    get:", "    delete:", "    trace:"}));

    const auto single = configuration(NewDocumentOpenAPIVersion::v3_0, DocumentFormat::json, true, "/x",
                                      {HTTPMethod::patch});
    const QString text = OpenAPIDocumentGenerator().generateJSON(single);
    EXPECT_TRUE(text.contains("\n      }\n    }"));
    EXPECT_FALSE(text.contains("      },"));
}

TEST(OpenAPIDocumentGeneratorTest, PathIsEscapedInJSONAndLeftAsIsInYAML) {
    struct Row {
        const char* name;
        QString typed;
        QString json;
        QString yaml;
    };
    const Row rows[] = {
        {"quote", "/a\"b", "    \"/a\\\"b\": {", "  /a\"b:"},
        {"backslash first", "/a\\\"", "    \"/a\\\\\\\"\": {", "  /a\\\":"},
        {"controls", "/a\n\r\tb", "    \"/a\\n\\r\\tb\": {", "  /a\n\r\tb:"},
        {"no slash typed", "pets", "    \"/pets\": {", "  /pets:"},
        {"empty path", "", "    \"/\": {", "  /:"},
        {"unicode untouched", "/caf\u00e9/{id}", "    \"/caf\u00e9/{id}\": {", "  /caf\u00e9/{id}:"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto config = configuration(NewDocumentOpenAPIVersion::v3_0, DocumentFormat::json, true, row.typed,
                                    {HTTPMethod::get});
        EXPECT_EQ(OpenAPIDocumentGenerator().generateJSON(config).split('\n').value(7), row.json);
        EXPECT_TRUE(OpenAPIDocumentGenerator().generateYAML(config).contains("\n" + row.yaml + "\n    get:"));
    }
}

TEST(OpenAPIDocumentGeneratorTest, NoFinalLineFeedAndNoCarriageReturns) {
    for (DocumentFormat format : {DocumentFormat::json, DocumentFormat::yaml}) {
        for (bool include : {false, true}) {
            const QString text = OpenAPIDocumentGenerator().generate(configuration(
                NewDocumentOpenAPIVersion::v3_1, format, include, "/a", {HTTPMethod::get, HTTPMethod::head}));
            EXPECT_FALSE(text.endsWith('\n'));
            EXPECT_FALSE(text.contains('\r'));
            EXPECT_FALSE(text.contains('\t'));
        }
    }
}

// Every skeleton the sheet can make is a valid description of its version.
TEST(OpenAPIDocumentGeneratorTest, EverySkeletonValidatesCleanly) {
    const OpenAPIValidationService service;
    const std::set<HTTPMethod> all(allHTTPMethods.begin(), allHTTPMethods.end());
    const std::set<HTTPMethod> someMethods[] = {{}, {HTTPMethod::get}, {HTTPMethod::options, HTTPMethod::put}, all};
    for (NewDocumentOpenAPIVersion version : allNewDocumentOpenAPIVersions) {
        for (DocumentFormat format : {DocumentFormat::json, DocumentFormat::yaml}) {
            for (const auto& methods : someMethods) {
                for (bool include : {false, true}) {
                    const QString text = OpenAPIDocumentGenerator().generate(
                        configuration(version, format, include, "/pets/{petId}/toys", methods));
                    const CarvexValidationResult result = service.validateNow(text);
                    EXPECT_EQ(result.kind(), CarvexValidationResult::Kind::success)
                        << result.description().toStdString() << "\n" << text.toStdString();
                }
            }
        }
    }
}

TEST(NewDocumentConfigurationValidatorTest, Cases) {
    struct Row {
        const char* name;
        bool include;
        std::optional<QString> path;
        std::set<HTTPMethod> methods;
        std::optional<QString> message;
    };
    const QString badPath = NewDocumentConfigurationValidator::invalidPathMessage;
    const QString noMethod = NewDocumentConfigurationValidator::noMethodMessage;
    const Row rows[] = {
        {"off, no methods", false, std::nullopt, {}, std::nullopt},
        {"off, bad path", false, QStringLiteral("a b"), {}, std::nullopt},
        {"slash added", true, QStringLiteral("pets"), {HTTPMethod::get}, std::nullopt},
        {"nested path", true, QStringLiteral("/pets/{id}"), {HTTPMethod::get}, std::nullopt},
        {"no path", true, std::nullopt, {HTTPMethod::get}, badPath},
        {"empty path", true, QStringLiteral(""), {HTTPMethod::get}, badPath},
        {"just a slash", true, QStringLiteral("/"), {HTTPMethod::get}, badPath},
        {"blank inside", true, QStringLiteral("/a b"), {HTTPMethod::get}, badPath},
        {"blank only", true, QStringLiteral(" "), {HTTPMethod::get}, badPath},
        {"bad path beats no methods", true, QStringLiteral("/"), {}, badPath},
        {"no methods", true, QStringLiteral("/a"), {}, noMethod},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ValidationResult result = NewDocumentConfigurationValidator().validate(
            configuration(NewDocumentOpenAPIVersion::v3_0, DocumentFormat::json, row.include, row.path, row.methods));
        EXPECT_EQ(result.isSuccess(), !row.message);
        EXPECT_EQ(result.errorMessage(), row.message);
    }
    EXPECT_EQ(NewDocumentConfigurationValidator::normalizePath(""), "");
    EXPECT_EQ(NewDocumentConfigurationValidator::normalizePath("a"), "/a");
    EXPECT_EQ(NewDocumentConfigurationValidator::normalizePath("/a"), "/a");
    EXPECT_EQ(NewDocumentConfigurationValidator::normalizePath(" a"), "/ a");
}

// A path the sheet accepts makes a skeleton that reads back in both formats; a path it can't write
// faithfully (white space or control characters, which would break the YAML key) is refused.
TEST(NewDocumentConfigurationValidatorTest, AcceptedPathsMakeValidSkeletons) {
    struct Row {
        const char* name;
        QString path;
        bool accepted;
    };
    const Row rows[] = {
        {"template", "/pets/{petId}", true},
        {"hash and colon", "/a#b:c", true},
        {"quotes", "/a\"b'c", true},
        {"flow characters", "/a,b[c]{d}", true},
        {"non-breaking space", "/a\u00a0b", false},
        {"tab", "/a\tb", false},
        {"tab before a hash", "/a\t#b", false},
        {"colon before a tab", "/a:\tb", false},
        {"line feed", "/a\nb", false},
        {"carriage return", "/a\rb", false},
        {"control character", QStringLiteral("/a") + QChar(0x01) + QStringLiteral("b"), false},
        {"line separator", "/a\u2028b", false},
        {"ideographic space", "/a\u3000b", false},
    };
    const OpenAPIValidationService service;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (DocumentFormat format : {DocumentFormat::json, DocumentFormat::yaml}) {
            const auto config =
                configuration(NewDocumentOpenAPIVersion::v3_1, format, true, row.path, {HTTPMethod::get});
            const ValidationResult checked = NewDocumentConfigurationValidator().validate(config);
            EXPECT_EQ(checked.isSuccess(), row.accepted);
            if (!checked.isSuccess()) {
                EXPECT_EQ(checked.errorMessage(), NewDocumentConfigurationValidator::invalidPathMessage);
                continue;
            }
            const QString text = OpenAPIDocumentGenerator().generate(config);
            const CarvexValidationResult result = service.validateNow(text);
            EXPECT_EQ(result.kind(), CarvexValidationResult::Kind::success)
                << result.description().toStdString() << "\n" << text.toStdString();
        }
    }
}

TEST(NewDocumentConfigurationTest, DefaultAndVersions) {
    const auto defaults = NewDocumentConfiguration::default_();
    EXPECT_EQ(defaults, configuration(NewDocumentOpenAPIVersion::v3_0, DocumentFormat::json, false, std::nullopt,
                                      {HTTPMethod::get}));
    EXPECT_EQ(newDocumentOpenAPIVersion(0), NewDocumentOpenAPIVersion::v3_0);
    EXPECT_EQ(newDocumentOpenAPIVersion(1), NewDocumentOpenAPIVersion::v3_1);
    EXPECT_EQ(newDocumentOpenAPIVersion(2), std::nullopt);
    EXPECT_EQ(newDocumentOpenAPIVersion(-1), std::nullopt);
    EXPECT_EQ(versionString(NewDocumentOpenAPIVersion::v3_1), "3.1.0");
}

}  // namespace

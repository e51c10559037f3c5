#include "Carvex/Snippets/SnippetPlaceholders.h"
#include "Carvex/Snippets/SnippetSuggestion.h"
#include "Carvex/Snippets/SnippetTemplateCoding.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "kit/core/ParseError.h"
#include "kit/facade/OpenApiParser.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace Carvex;

namespace {

QJsonArray transcription() {
    QFile file(QStringLiteral(CARVEX_SOURCE_DIR "/tests/Carvex/Snippets/data/built_in_templates.json"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll()).array();
}

QStringList strings(const QJsonValue& value) {
    QStringList out;
    for (const QJsonValue& item : value.toArray()) out.push_back(item.toString());
    return out;
}

std::optional<QString> optionalString(const QJsonValue& value) {
    return value.isNull() ? std::nullopt : std::optional<QString>(value.toString());
}

// (index, default) of every placeholder in text order.
std::vector<std::pair<int, QString>> placeholdersOf(const QString& content) {
    std::vector<std::pair<int, QString>> found;
    QRegularExpressionMatchIterator it = SnippetTemplateCoding::placeholderPattern().globalMatch(content);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        found.emplace_back(SnippetTemplateCoding::placeholderIndex(match.capturedView(1)), match.captured(2));
    }
    return found;
}

TEST(BuiltInTemplateTableTest, RowsAndBodiesEqualTheTranscription) {
    const QJsonArray rows = transcription();
    ASSERT_EQ(rows.size(), 38);
    for (const QString& version : {QStringLiteral("3.0"), QStringLiteral("3.1")}) {
        const std::vector<SnippetTemplate> yaml = TemplateCatalog::builtInTemplates(version, FileFormat::yaml);
        const std::vector<SnippetTemplate> json = TemplateCatalog::builtInTemplates(version, FileFormat::json);
        ASSERT_EQ(yaml.size(), 38u);
        ASSERT_EQ(json.size(), 38u);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QJsonObject row = rows[i].toObject();
            SCOPED_TRACE("row " + std::to_string(row["row"].toInt()) + " " + row["id"].toString().toStdString());
            for (const auto& [made, triggers, body] :
                 {std::tuple(yaml[size_t(i)], row["yamlTriggers"], row["yaml"]),
                  std::tuple(json[size_t(i)], row["jsonTriggers"], row["json"])}) {
                EXPECT_EQ(made.id, row["id"].toString());
                EXPECT_EQ(made.name, row["name"].toString());
                EXPECT_EQ(made.triggerKeywords, strings(triggers));
                EXPECT_EQ(made.content, body.toString());
                EXPECT_EQ(made.openAPIVersion, version);
                EXPECT_EQ(made.depthScore, row["depthScore"].toInt());
                ASSERT_TRUE(made.context.has_value());
                EXPECT_EQ(made.context->parentPath, std::nullopt);
                EXPECT_EQ(made.context->requiredParent, optionalString(row["requiredParent"]));
                EXPECT_EQ(made.context->immediateParent, optionalString(row["immediateParent"]));
                EXPECT_EQ(made.context->minIndentLevel, row["minIndentLevel"].toInt());
            }
        }
    }
}

TEST(BuiltInTemplateTableTest, BothBodiesHoldTheSamePlaceholdersNumberedWithoutGaps) {
    const std::vector<SnippetTemplate> yaml = TemplateCatalog::builtInTemplates("3.0", FileFormat::yaml);
    const std::vector<SnippetTemplate> json = TemplateCatalog::builtInTemplates("3.0", FileFormat::json);
    std::map<QString, int> highest;
    for (size_t i = 0; i < yaml.size(); ++i) {
        SCOPED_TRACE(yaml[i].id.toStdString());
        const auto inYaml = placeholdersOf(yaml[i].content);
        EXPECT_EQ(inYaml, placeholdersOf(json[i].content));
        ASSERT_FALSE(inYaml.empty());
        for (size_t k = 0; k < inYaml.size(); ++k) EXPECT_EQ(inYaml[k].first, int(k) + 1);
        highest[yaml[i].id] = inYaml.back().first;
    }
    EXPECT_EQ(highest["schema-definition"], 10);
    // The three example addresses.
    int addresses = 0;
    for (const SnippetTemplate& row : yaml) addresses += int(row.content.count(QStringLiteral("example.com")));
    EXPECT_EQ(addresses, 3);
}

// The body as the inline suggestion inserts it after the trigger: rendered under the trigger's
// line with a two-space unit, each placeholder replaced by its default text.
QString inserted(const SnippetTemplate& row, const QString& baseIndent, FileFormat format) {
    const QString rendered = SnippetSuggestion::render(row.content, baseIndent, IndentationStyle::spaces(2), format);
    return parseSnippetPlaceholders(rendered, 0).displayText;
}

// Where a body is typed: the text before the trigger's line, the trigger's line up to the caret
// (its indentation and the trigger word), and the rest of the document.
struct Host {
    const char* before;
    const char* indent;
    const char* trigger;
    const char* after;
};

const char* const kYamlHead = "openapi: 3.0.3\ninfo:\n  title: T\n  version: '1'\n";
const char* const kYamlResponse200 = "paths:\n  /items:\n    get:\n      responses:\n        '200':\n";
const char* const kYamlSchemas = "paths: {}\ncomponents:\n  schemas:\n";
const char* const kYamlProperties = "paths: {}\ncomponents:\n  schemas:\n    Pet:\n      properties:\n";

const std::map<QString, Host>& yamlHosts() {
    static const std::map<QString, Host> hosts = {
        {"info", {"openapi: 3.0.3\n", "", "info:", "\npaths: {}\n"}},
        {"operation-get", {"paths:\n  /items:\n", "    ", "get:", "\n"}},
        {"operation-post", {"paths:\n  /items:\n", "    ", "post:", "\n"}},
        {"operation-put", {"paths:\n  /items:\n", "    ", "put:", "\n"}},
        {"operation-delete", {"paths:\n  /items:\n", "    ", "delete:", "\n"}},
        {"parameter", {"paths:\n  /items:\n    get:\n      parameters:\n", "        ", "-", "\n"}},
        {"parameter-full", {"paths:\n  /items:\n    get:\n      parameters:\n", "        ", "- name:", "\n"}},
        {"response", {"paths:\n  /items:\n    get:\n      responses:\n", "        ", "'200':", "\n"}},
        {"schema", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "schema:", "\n"}},
        {"request-body", {"paths:\n  /items:\n    post:\n", "      ", "requestBody:", "\n"}},
        {"security-scheme", {"paths: {}\ncomponents:\n", "  ", "securitySchemes:", "\n"}},
        {"server", {"servers:\n", "  ", "- url:", "\npaths: {}\n"}},
        {"schema-definition", {kYamlSchemas, "    ", "Pet:", "\n"}},
        {"schema-parameter",
         {"paths:\n  /items:\n    get:\n      parameters:\n        - name: id\n          in: query\n", "          ",
          "schema:", "\n"}},
        {"schema-response",
         {"paths:\n  /items:\n    get:\n      responses:\n        '200':\n          description: ok\n"
          "          content:\n            application/json:\n",
          "              ", "schema:", "\n"}},
        {"schema-requestbody",
         {"paths:\n  /items:\n    post:\n      requestBody:\n        content:\n          application/json:\n",
          "            ", "schema:", "\n"}},
        {"schema-header",
         {"paths:\n  /items:\n    get:\n      responses:\n        '200':\n          description: ok\n"
          "          headers:\n            X-Rate:\n",
          "              ", "schema:", "\n"}},
        {"schema-property", {kYamlProperties, "        ", "id:", "\n"}},
        {"schema-items", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n      properties:\n        tags:\n",
                          "          ", "items:", "\n"}},
        {"schema-inline", {kYamlResponse200, "          ", "schema:", "\n"}},
        {"tag-object", {"paths: {}\ntags:\n", "  ", "-", "\n"}},
        {"external-docs", {"paths: {}\n", "", "externalDocs:", "\n"}},
        {"response-definition", {"paths: {}\ncomponents:\n  responses:\n", "    ", "NotFound:", "\n"}},
        {"schema-enum", {kYamlSchemas, "    ", "Status:", "\n"}},
        {"schema-array", {kYamlSchemas, "    ", "Pets:", "\n"}},
        {"schema-allof", {kYamlSchemas, "    ", "Dog:", "\n"}},
        {"schema-object-type", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "type:", "\n"}},
        {"schema-array-type", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "type:", "\n"}},
        {"schema-string-enum", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "type:", "\n"}},
        {"schema-allof-composition", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "allOf:", "\n"}},
        {"schema-properties-block", {"paths: {}\ncomponents:\n  schemas:\n    Pet:\n", "      ", "properties:", "\n"}},
        {"operation-get-pagination", {"paths:\n  /items:\n", "    ", "get:", "\n"}},
        {"operation-get-by-id", {"paths:\n  /items/{id}:\n", "    ", "get:", "\n"}},
        {"response-error", {"paths: {}\ncomponents:\n  responses:\n", "    ", "Error:", "\n"}},
        {"response-paginated", {"paths: {}\ncomponents:\n  responses:\n", "    ", "Page:", "\n"}},
        {"property-string-validation", {kYamlProperties, "        ", "code:", "\n"}},
        {"property-array", {kYamlProperties, "        ", "tags:", "\n"}},
        {"property-ref", {kYamlProperties, "        ", "owner:", "\n"}},
    };
    return hosts;
}

const char* const kJsonHead = "{\n  \"openapi\": \"3.0.3\",\n  \"info\": {\"title\": \"T\", \"version\": \"1\"},\n";
const char* const kJsonSchemas = "  \"paths\": {},\n  \"components\": {\n    \"schemas\": {\n";
const char* const kJsonProperties =
    "  \"paths\": {},\n  \"components\": {\n    \"schemas\": {\n      \"Pet\": {\n        \"properties\": {\n";
const char* const kJsonCloseProperties = "\n        }\n      }\n    }\n  }\n}\n";

// JSON bodies that open an object of their own.
const std::map<QString, Host>& jsonHosts() {
    static const std::map<QString, Host> hosts = {
        {"operation-get", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"get\":", "\n    }\n  }\n}\n"}},
        {"operation-post", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"post\":", "\n    }\n  }\n}\n"}},
        {"operation-put", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"put\":", "\n    }\n  }\n}\n"}},
        {"operation-delete", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"delete\":", "\n    }\n  }\n}\n"}},
        {"server", {"  \"paths\": {},\n  \"servers\": [\n", "    ", "", "\n  ]\n}\n"}},
        {"schema-definition", {kJsonSchemas, "      ", "\"Pet\":", "\n    }\n  }\n}\n"}},
        {"schema-property", {kJsonProperties, "          ", "\"id\":", kJsonCloseProperties}},
        {"tag-object", {"  \"paths\": {},\n  \"tags\": [\n", "    ", "", "\n  ]\n}\n"}},
        {"external-docs", {"  \"paths\": {},\n", "  ", "\"externalDocs\":", "\n}\n"}},
        {"response-definition",
         {"  \"paths\": {},\n  \"components\": {\n    \"responses\": {\n", "      ", "\"NotFound\":", "\n    }\n  }\n}\n"}},
        {"schema-enum", {kJsonSchemas, "      ", "\"Status\":", "\n    }\n  }\n}\n"}},
        {"schema-array", {kJsonSchemas, "      ", "\"Pets\":", "\n    }\n  }\n}\n"}},
        {"schema-allof", {kJsonSchemas, "      ", "\"Dog\":", "\n    }\n  }\n}\n"}},
        {"operation-get-pagination", {"  \"paths\": {\n    \"/items\": {\n", "      ", "\"get\":", "\n    }\n  }\n}\n"}},
        {"operation-get-by-id", {"  \"paths\": {\n    \"/items/{id}\": {\n", "      ", "\"get\":", "\n    }\n  }\n}\n"}},
        {"response-error",
         {"  \"paths\": {},\n  \"components\": {\n    \"responses\": {\n", "      ", "\"Error\":", "\n    }\n  }\n}\n"}},
        {"response-paginated",
         {"  \"paths\": {},\n  \"components\": {\n    \"responses\": {\n", "      ", "\"Page\":", "\n    }\n  }\n}\n"}},
        {"property-string-validation", {kJsonProperties, "          ", "\"code\":", kJsonCloseProperties}},
        {"property-array", {kJsonProperties, "          ", "\"tags\":", kJsonCloseProperties}},
        {"property-ref", {kJsonProperties, "          ", "\"owner\":", kJsonCloseProperties}},
    };
    return hosts;
}

// The message of the parse error the document raises, or "" when it reads.
std::string parseErrorOf(const QString& document, VoziZazIre::Format format) {
    try {
        (void)VoziZazIre::OpenApiParser().parse(document.toStdString(), format, VoziZazIreCore::ValidationLevel::none);
    } catch (const VoziZazIreCore::ParseError& error) {
        return error.what();
    } catch (const std::exception&) {
        // A transform error: the text reads, the description is merely incomplete.
    }
    return {};
}

// Bodies that begin with their own key, after a trigger that ends in the same key: the key stands
// twice on the trigger's line and the body's later lines land one level deeper than its first key,
// under a scalar ("type:type: object") or out of line with their siblings ("required:"). The
// other such bodies read back by chance: "- name:name:" and "allOf:allOf:" take their lines as
// the value of the doubled key.
const std::vector<std::string> kYamlBodiesThatMisplaceLaterLines = {
    "schema-object-type", "schema-array-type", "schema-string-enum", "schema-properties-block"};

TEST(BuiltInTemplateTableTest, BodiesRenderedUnderTheirTriggerReadBack) {
    std::vector<std::string> yamlFailures;
    for (const SnippetTemplate& row : TemplateCatalog::builtInTemplates("3.0", FileFormat::yaml)) {
        ASSERT_TRUE(yamlHosts().count(row.id)) << row.id.toStdString();
        const Host& host = yamlHosts().at(row.id);
        const QString document = QString::fromUtf8(kYamlHead) + host.before + host.indent + host.trigger +
                                 inserted(row, host.indent, FileFormat::yaml) + host.after;
        if (const std::string error = parseErrorOf(document, VoziZazIre::Format::yaml); !error.empty()) {
            yamlFailures.push_back(row.id.toStdString());
        }
    }
    EXPECT_EQ(yamlFailures, kYamlBodiesThatMisplaceLaterLines);

    int jsonRead = 0;
    for (const SnippetTemplate& row : TemplateCatalog::builtInTemplates("3.0", FileFormat::json)) {
        const bool opensObject = row.content.startsWith(u'{') || row.content.startsWith(u" {");
        EXPECT_EQ(opensObject, jsonHosts().count(row.id) == 1) << row.id.toStdString();
        if (!opensObject) continue;
        const Host& host = jsonHosts().at(row.id);
        const QString document = QString::fromUtf8(kJsonHead) + host.before + host.indent + host.trigger +
                                 inserted(row, host.indent, FileFormat::json) + host.after;
        EXPECT_EQ(parseErrorOf(document, VoziZazIre::Format::json), "") << row.id.toStdString() << "\n"
                                                                       << document.toStdString();
        ++jsonRead;
    }
    EXPECT_EQ(jsonRead, 20);
}

}  // namespace

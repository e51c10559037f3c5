#include "BuiltInTemplateHosts.h"

#include "Carvex/Snippets/SnippetPlaceholders.h"
#include "Carvex/Snippets/SnippetSuggestion.h"
#include "Carvex/Snippets/SnippetTemplateCoding.h"
#include "Carvex/Snippets/TemplateCatalog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace Carvex;
using namespace BuiltInTemplateHosts;

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
                const QStringList root = strings(row["parentPath"]);
                EXPECT_EQ(made.context->parentPath, root.isEmpty() ? std::nullopt : std::optional(root));
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

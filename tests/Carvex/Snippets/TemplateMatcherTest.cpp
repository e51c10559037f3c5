#include "Carvex/Snippets/MatchContextBuilder.h"
#include "Carvex/Snippets/TemplateMatcher.h"

#include <gtest/gtest.h>

using namespace Carvex;

namespace {

// A catalog of the built-in table without reading any folder.
class BuiltInCatalog : public TemplateCatalog {
public:
    explicit BuiltInCatalog(FileFormat format)
        : TemplateCatalog(builtInTemplates("3.0", format), "3.0", format) {}
};

MatchContext contextOf(const char* keyword, int indentLevel, QStringList path) {
    return MatchContext{QString(), 0, QString::fromUtf8(keyword), indentLevel, std::move(path), FileFormat::yaml};
}

QStringList idsOf(const std::vector<SnippetTemplate>& templates) {
    QStringList ids;
    for (const SnippetTemplate& t : templates) ids.push_back(t.id);
    return ids;
}

struct MatchRow {
    const char* name;
    const char* keyword;
    QStringList path;
    int indentLevel;
    QStringList expectedCandidates;
    const char* expectedBest;  // null: none
};

TEST(TemplateMatcherTest, BuiltInYamlCatalog) {
    const auto catalog = std::make_shared<BuiltInCatalog>(FileFormat::yaml);
    const TemplateMatcher matcher(catalog);
    const QStringList response200 = {"paths", "/items", "get", "responses", "200", "content", "application/json"};
    const MatchRow rows[] = {
        {"get under a path", "get:", {"paths", "/items"}, 2,
         {"operation-get", "operation-get-pagination", "operation-get-by-id"}, "operation-get"},
        {"schema of a response at level 5", "schema:", response200, 5, {"schema-response", "schema-inline"},
         "schema-response"},
        {"schema of a response at level 4", "schema:", response200, 4, {"schema-inline"}, "schema-inline"},
        {"key under schemas", "name:", {"components", "schemas"}, 3,
         {"schema-definition", "schema-enum", "schema-array", "schema-allof"}, "schema-definition"},
        {"empty path keeps only free rows", "schema:", {}, 2, {"schema-inline"}, "schema-inline"},
        {"info at the root", "info:", {}, 0, {"info"}, "info"},
        {"no trigger ends the word", "summary", {"paths", "/items", "get"}, 3, {}, nullptr},
        {"minimum level not reached", "get:", {"paths", "/items"}, 1, {}, nullptr},
        {"list item of parameters", "-", {"paths", "/items", "get", "parameters"}, 4, {"parameter"}, "parameter"},
        {"item of the root tags", "-", {"tags"}, 1, {"tag-object"}, "tag-object"},
        {"an operation's tags are names", "-", {"paths", "/items", "get", "tags"}, 4, {}, nullptr},
        {"properties at their level", "id:", {"components", "schemas", "Pet", "properties"}, 5,
         {"schema-property", "property-string-validation", "property-array", "property-ref"}, "schema-property"},
        {"response definition beats a plain schema row", "NotFound:", {"components", "responses"}, 3,
         {"response-definition", "response-error", "response-paginated"}, "response-definition"},
        {"higher score wins over catalog order", "'200':", {"paths", "/items", "get", "responses"}, 4,
         {"response"}, "response"},
    };
    for (const MatchRow& row : rows) {
        SCOPED_TRACE(row.name);
        const MatchContext context = contextOf(row.keyword, row.indentLevel, row.path);
        EXPECT_EQ(idsOf(catalog->contextCandidates(context)), row.expectedCandidates);
        const std::optional<SnippetTemplate> best = matcher.bestMatch(context);
        EXPECT_EQ(best ? best->id.toStdString() : "", row.expectedBest ? row.expectedBest : "");
    }
    // Every row whose trigger is ":" passes the keyword stage of "get:", and fails on its parent.
    QStringList colonRows;
    for (const SnippetTemplate& t : catalog->templates()) {
        if (t.triggerKeywords == QStringList{":"}) colonRows.push_back(t.id);
    }
    const QStringList keywordStage = idsOf(catalog->keywordCandidates(u"get:"));
    for (const QString& id : colonRows) EXPECT_TRUE(keywordStage.contains(id)) << id.toStdString();
}

TEST(TemplateMatcherTest, AnEmptyPathLeavesOnlyRowsWithoutParentConditions) {
    for (FileFormat format : {FileFormat::yaml, FileFormat::json}) {
        const BuiltInCatalog catalog(format);
        for (const char* word : {"get:", "schema:", "name:", "-", "{", "'200':", "- url:", "info:", "x"}) {
            for (const SnippetTemplate& passed : catalog.contextCandidates(contextOf(word, 10, {}))) {
                EXPECT_FALSE(passed.context->immediateParent || passed.context->requiredParent)
                    << word << " " << passed.id.toStdString();
            }
        }
    }
}

TEST(TemplateMatcherTest, EndToEndFromTheCaret) {
    struct Row {
        const char* name;
        FileFormat format;
        const char* text;  // "|" marks the caret
        const char* expectedBest;
    };
    const Row rows[] = {
        {"yaml operation", FileFormat::yaml, "openapi: 3.0.3\npaths:\n  /pets:\n    get:|", "operation-get"},
        {"yaml schema definition", FileFormat::yaml, "components:\n  schemas:\n      Pet:|", "schema-definition"},
        {"yaml parameter item", FileFormat::yaml, "paths:\n  /pets:\n    get:\n      parameters:\n        -|",
         "parameter"},
        {"json operation", FileFormat::json, "{\n  \"paths\": {\n    \"/pets\": {\n      \"get\":|", "operation-get"},
        {"json parameter object", FileFormat::json,
         "{\n  \"paths\": {\n    \"/pets\": {\n      \"get\": {\n        \"parameters\": [\n          {|", "parameter"},
        {"caret on a fresh line", FileFormat::yaml, "paths:\n  /pets:\n    get:\n|", nullptr},
        {"caret at the start", FileFormat::yaml, "|paths:", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QString text = QString::fromUtf8(row.text);
        const qsizetype caret = text.indexOf(u'|');
        text.remove(caret, 1);
        const TemplateMatcher matcher(std::make_shared<BuiltInCatalog>(row.format));
        const std::optional<MatchContext> context = MatchContextBuilder::build(text, caret, row.format);
        const std::optional<SnippetTemplate> best = context ? matcher.bestMatch(*context) : std::nullopt;
        EXPECT_EQ(best ? best->id.toStdString() : "", row.expectedBest ? row.expectedBest : "");
    }
    EXPECT_EQ(TemplateMatcher(nullptr).bestMatch(contextOf("get:", 0, {})), std::nullopt);
}

}  // namespace

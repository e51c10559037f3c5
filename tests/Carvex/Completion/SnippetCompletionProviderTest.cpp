#include "Carvex/Completion/SnippetCompletionProvider.h"

#include <gtest/gtest.h>

using namespace Carvex;

namespace {

SnippetTemplate makeTemplate(QString id, QStringList triggers, std::optional<TemplateContext> context = std::nullopt,
                             int depthScore = 0) {
    return SnippetTemplate{id, id + " name", triggers, std::move(context), "\n  body: ${1:x}", "3.0", depthScore};
}

CompletionContext keyContext(std::vector<PathComponent> path, QString prefix = {}, QSet<QString> existing = {}) {
    CompletionContext context;
    context.role = CursorRole::mappingKey;
    context.path = std::move(path);
    context.prefix = std::move(prefix);
    context.existingKeys = std::move(existing);
    return context;
}

QStringList labelsOf(const std::vector<CompletionItem>& items) {
    QStringList labels;
    for (const CompletionItem& item : items) labels.push_back(item.label);
    return labels;
}

TEST(SnippetCompletionProviderTest, DisplayLabelTable) {
    struct Row {
        const char* name;
        QStringList triggers;
        QString label;
    };
    const Row rows[] = {
        {"colon removed", {"get:"}, "get"},
        {"space before colon", {"get :", "get:"}, "get"},
        {"space after colon keeps it", {"get: "}, "get:"},
        {"list item dash", {"- name:"}, "name"},
        {"dash once only", {"- - x"}, "- x"},
        {"tabs trimmed", {"\tpaths\t:"}, "paths"},
        {"no triggers gives id", {}, "the-id"},
        {"empty after trimming gives id", {" :"}, "the-id"},
        {"dash alone is trimmed before the dash check", {"- :"}, "-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SnippetCompletionProvider::displayLabel(makeTemplate("the-id", row.triggers)), row.label);
    }
}

TEST(SnippetCompletionProviderTest, ContextMatchesTable) {
    struct Row {
        const char* name;
        TemplateContext context;
        QStringList path;
        int level;
        bool matches;
    };
    const Row rows[] = {
        {"empty context", {}, {}, 0, true},
        {"immediate parent", {std::nullopt, std::nullopt, QString("paths"), std::nullopt}, {"paths"}, 1, true},
        {"immediate parent not last", {std::nullopt, std::nullopt, QString("paths"), std::nullopt}, {"paths", "/a"}, 2, false},
        {"immediate parent empty path", {std::nullopt, std::nullopt, QString("paths"), std::nullopt}, {}, 0, false},
        {"min indent zero", {std::nullopt, std::nullopt, std::nullopt, 0}, {}, 0, true},
        {"min indent above level", {std::nullopt, std::nullopt, std::nullopt, 3}, {"a", "b"}, 2, false},
        {"required parent anywhere", {std::nullopt, QString("paths"), std::nullopt, std::nullopt}, {"paths", "/a", "get"}, 3, true},
        {"required parent case", {std::nullopt, QString("Paths"), std::nullopt, std::nullopt}, {"paths"}, 1, false},
        {"parent path prefix", {QStringList{"components", "schemas"}, std::nullopt, std::nullopt, std::nullopt}, {"components", "schemas", "Pet"}, 3, true},
        {"parent path longer than path", {QStringList{"components", "schemas"}, std::nullopt, std::nullopt, std::nullopt}, {"components"}, 1, false},
        {"parent path differs", {QStringList{"components"}, std::nullopt, std::nullopt, std::nullopt}, {"paths"}, 1, false},
        {"empty parent path", {QStringList{}, std::nullopt, std::nullopt, std::nullopt}, {}, 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SnippetCompletionProvider::contextMatches(makeTemplate("t", {}, row.context), row.path, row.level),
                  row.matches);
    }
    EXPECT_TRUE(SnippetCompletionProvider::contextMatches(makeTemplate("t", {}), {"anything"}, 0));
}

TEST(SnippetCompletionProviderTest, SuggestionsChooseBodyOnlyOrFullItems) {
    const std::vector<SnippetTemplate> templates = {
        makeTemplate("operation-get", {"get:", "get :"}, TemplateContext{std::nullopt, QString("paths"), std::nullopt, std::nullopt}, 30),
        makeTemplate("info", {"info:"}, TemplateContext{std::nullopt, std::nullopt, std::nullopt, std::nullopt}, 10),
        makeTemplate("schema", {"schema:"}, TemplateContext{QStringList{"components"}, std::nullopt, std::nullopt, std::nullopt}),
    };
    const SnippetCompletionProvider provider;
    const auto pathGet = std::vector<PathComponent>{PathComponent::key("paths"), PathComponent::dynamicKey("/pets"), PathComponent::key("get")};

    // Caret alone under "get:": the body of the get template only.
    const auto body = provider.suggestions(keyContext(pathGet), templates);
    ASSERT_EQ(labelsOf(body), QStringList{"get"});
    ASSERT_TRUE(body[0].snippetMetadata);
    EXPECT_TRUE(body[0].snippetMetadata->isBodyOnly);
    EXPECT_EQ(body[0].snippetMetadata->templateId, "operation-get");
    EXPECT_EQ(body[0].snippetMetadata->templateContent, templates[0].content);
    EXPECT_EQ(body[0].priority, -70);
    EXPECT_EQ(body[0].kind, CompletionItemKind::snippet);
    EXPECT_EQ(body[0].insertText, "get");
    EXPECT_EQ(body[0].shortDescription, QString("operation-get name"));
    EXPECT_FALSE(body[0].requiresColon);

    // Something typed, or keys present: full items whose context admits the path.
    const auto typed = provider.suggestions(keyContext(pathGet, "g"), templates);
    EXPECT_EQ(labelsOf(typed), (QStringList{"get", "info"}));
    for (const auto& item : typed) EXPECT_FALSE(item.snippetMetadata->isBodyOnly);
    EXPECT_EQ(labelsOf(provider.suggestions(keyContext(pathGet, {}, {"summary"}), templates)), (QStringList{"get", "info"}));

    // No body-only match: full items instead; at the root the path is empty.
    const auto components = std::vector<PathComponent>{PathComponent::key("components")};
    EXPECT_EQ(labelsOf(provider.suggestions(keyContext(components), templates)), (QStringList{"info", "schema"}));
    EXPECT_EQ(labelsOf(provider.suggestions(keyContext({}), templates)), (QStringList{"info"}));

    // Other roles get nothing.
    for (CursorRole role : {CursorRole::mappingValue, CursorRole::sequenceItem, CursorRole::unknown}) {
        auto context = keyContext(pathGet);
        context.role = role;
        EXPECT_TRUE(provider.suggestions(context, templates).empty());
    }
    // Items get ids of their own.
    EXPECT_NE(typed[0].id, provider.suggestions(keyContext(pathGet, "g"), templates)[0].id);
}

}  // namespace

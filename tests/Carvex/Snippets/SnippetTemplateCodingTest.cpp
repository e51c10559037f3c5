#include "Carvex/Snippets/SnippetTemplateCoding.h"

#include <gtest/gtest.h>

#include <string>

using namespace Carvex;

namespace {

const std::string kHead = R"("id":"operation-get","name":"GET Operation","triggerKeywords":["get:","get :"],)"
                          R"("content":"\n  summary: ${1:Summary}","openAPIVersion":"3.0")";

std::string joined(std::string_view a, std::string_view b, std::string_view c) {
    std::string out;
    out.append(a).append(b).append(c);
    return out;
}

std::string withHead(std::string_view extra) { return joined("{", joined(kHead, extra, ""), "}"); }

struct DecodeRow {
    const char* name;
    std::string json;
    bool decodes;
    int depthScore = 0;
    bool hasContext = false;
};

TEST(SnippetTemplateCodingTest, DecodingRulesTable) {
    const DecodeRow rows[] = {
        {"minimal", withHead(""), true},
        {"depth score null", withHead(R"(,"depthScore":null)"), true, 0},
        {"depth score given", withHead(R"(,"depthScore":7)"), true, 7},
        {"depth score integral real", withHead(R"(,"depthScore":5.0)"), true, 5},
        {"depth score negative", withHead(R"(,"depthScore":-3)"), true, -3},
        {"depth score as text", withHead(R"(,"depthScore":"5")"), false},
        {"depth score fraction", withHead(R"(,"depthScore":5.5)"), false},
        {"depth score beyond int", withHead(R"(,"depthScore":4294967296)"), false},
        {"depth score beyond 64 bits", withHead(R"(,"depthScore":123456789012345678901234567890)"), false},
        {"depth score boolean", withHead(R"(,"depthScore":true)"), false},
        {"context null", withHead(R"(,"context":null)"), true, 0, false},
        {"context empty", withHead(R"(,"context":{})"), true, 0, true},
        {"context as text", withHead(R"(,"context":"paths")"), false},
        {"context parent path", withHead(R"(,"context":{"parentPath":["paths"],"minIndentLevel":0})"), true, 0, true},
        {"context parent path not texts", withHead(R"(,"context":{"parentPath":[1]})"), false},
        {"context required parent number", withHead(R"(,"context":{"requiredParent":3})"), false},
        {"context indent fraction", withHead(R"(,"context":{"minIndentLevel":1.5})"), false},
        {"context nulls are absent", withHead(R"(,"context":{"requiredParent":null,"parentPath":null})"), true, 0, true},
        {"unknown key ignored", withHead(R"(,"description":"x","Depthscore":"y")"), true},
        {"empty trigger list", R"({"id":"a","name":"b","triggerKeywords":[],"content":"c","openAPIVersion":"3.0"})", true},
        {"id missing", R"({"name":"b","triggerKeywords":[],"content":"c","openAPIVersion":"3.0"})", false},
        {"id null", R"({"id":null,"name":"b","triggerKeywords":[],"content":"c","openAPIVersion":"3.0"})", false},
        {"key case differs", R"({"ID":"a","name":"b","triggerKeywords":[],"content":"c","openAPIVersion":"3.0"})", false},
        {"triggers null", R"({"id":"a","name":"b","triggerKeywords":null,"content":"c","openAPIVersion":"3.0"})", false},
        {"trigger not text", R"({"id":"a","name":"b","triggerKeywords":["x",2],"content":"c","openAPIVersion":"3.0"})", false},
        {"content missing", R"({"id":"a","name":"b","triggerKeywords":[],"openAPIVersion":"3.0"})", false},
        {"version missing", R"({"id":"a","name":"b","triggerKeywords":[],"content":"c"})", false},
        {"version number", R"({"id":"a","name":"b","triggerKeywords":[],"content":"c","openAPIVersion":3.0})", false},
        {"top level array", joined("[", withHead(""), "]"), false},
        {"not JSON", joined(withHead(""), ",", ""), false},
        {"truncated", withHead("").substr(0, 40), false},
        {"empty text", "", false},
        {"invalid UTF-8", R"({"id":"a)" "\xC3\x28" R"(","name":"b","triggerKeywords":[],"content":"c","openAPIVersion":"3.0"})", false},
    };
    for (const DecodeRow& row : rows) {
        SCOPED_TRACE(row.name);
        const auto decoded = SnippetTemplateCoding::decode(row.json);
        ASSERT_EQ(decoded.has_value(), row.decodes);
        if (!decoded) continue;
        EXPECT_EQ(decoded->depthScore, row.depthScore);
        EXPECT_EQ(decoded->context.has_value(), row.hasContext);
    }
}

TEST(SnippetTemplateCodingTest, StringsAreTakenAsTheyAre) {
    const auto decoded = SnippetTemplateCoding::decode(
        R"({"id":" get ","name":"GET Operation","triggerKeywords":["get:","get :"],"content":"\n  summary: ${1:Sum}\n\t$ref","openAPIVersion":"3.0","context":{"parentPath":["paths"],"immediateParent":"paths","minIndentLevel":0}})");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->id, " get ");
    EXPECT_EQ(decoded->triggerKeywords, (QStringList{"get:", "get :"}));
    EXPECT_EQ(decoded->content, "\n  summary: ${1:Sum}\n\t$ref");
    ASSERT_TRUE(decoded->context);
    EXPECT_EQ(decoded->context->parentPath, QStringList{"paths"});
    EXPECT_FALSE(decoded->context->requiredParent);
    EXPECT_EQ(decoded->context->immediateParent, QString("paths"));
    EXPECT_EQ(decoded->context->minIndentLevel, 0);
}

TEST(SnippetTemplateCodingTest, EncodingKeepsKeyOrderAndRoundTrips) {
    SnippetTemplate full{"operation-get", "GET \"Operation\"", {"get:", "get :"},
                         TemplateContext{QStringList{"paths"}, std::nullopt, QString("paths"), 1},
                         "\n  summary: ${1:Sum}\n  é", "3.0", 12};
    const std::string json = SnippetTemplateCoding::encode(full);
    const char* order[] = {"\"id\"", "\"name\"", "\"triggerKeywords\"", "\"context\"", "\"parentPath\"",
                           "\"immediateParent\"", "\"minIndentLevel\"", "\"content\"", "\"openAPIVersion\"",
                           "\"depthScore\""};
    std::size_t at = 0;
    for (const char* key : order) {
        SCOPED_TRACE(key);
        const std::size_t found = json.find(key, at);
        ASSERT_NE(found, std::string::npos) << json;
        at = found;
    }
    EXPECT_EQ(json.find("requiredParent"), std::string::npos);
    EXPECT_EQ(SnippetTemplateCoding::decode(json), full);

    SnippetTemplate bare{"a", "b", {}, std::nullopt, "c", "3.1", 0};
    const std::string bareJson = SnippetTemplateCoding::encode(bare);
    EXPECT_EQ(bareJson.find("context"), std::string::npos);
    EXPECT_NE(bareJson.find("\"depthScore\": 0"), std::string::npos);
    EXPECT_EQ(SnippetTemplateCoding::decode(bareJson), bare);

    SnippetTemplate emptyContext = bare;
    emptyContext.context = TemplateContext{};
    EXPECT_EQ(SnippetTemplateCoding::decode(SnippetTemplateCoding::encode(emptyContext)), emptyContext);
}

TEST(SnippetTemplateCodingTest, PlaceholderSyntaxTable) {
    struct Row {
        const char* name;
        QString content;
        QList<std::pair<int, QString>> expected;
    };
    const Row rows[] = {
        {"indices in text order", "a ${1:x} b ${0:y} c ${1:z}", {{1, "x"}, {0, "y"}, {1, "z"}}},
        {"empty default stays text", "${1:} ${2:ok}", {{2, "ok"}}},
        {"non-digit index stays text", "${a:x} ${-1:y}", {}},
        {"first brace closes", "${1:a{b}c}", {{1, "a{b"}}},
        {"dollar ref is text", "$ref: ${3:'#/x'}", {{3, "'#/x'"}}},
        {"index beyond range", "${99999999999:big}", {{0, "big"}}},
        {"leading zeros", "${007:bond}", {{7, "bond"}}},
        {"other script digits", QString::fromUtf8("${\u0663:arabic}"), {{0, "arabic"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QList<std::pair<int, QString>> found;
        auto it = SnippetTemplateCoding::placeholderPattern().globalMatch(row.content);
        while (it.hasNext()) {
            const auto m = it.next();
            found.push_back({SnippetTemplateCoding::placeholderIndex(m.capturedView(1)), m.captured(2)});
        }
        EXPECT_EQ(found, row.expected);
    }
}

}  // namespace

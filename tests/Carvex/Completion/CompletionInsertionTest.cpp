#include "Carvex/Completion/CompletionInsertion.h"

#include <gtest/gtest.h>

namespace CarvexTest {
namespace {

using namespace Carvex;
namespace Insertion = Carvex::CompletionInsertion;

CompletionItem snippetItem(const QString& label, const QString& content, bool bodyOnly = false) {
    SnippetMetadata metadata;
    metadata.templateId = QStringLiteral("t");
    metadata.isBodyOnly = bodyOnly;
    metadata.templateContent = content;
    metadata.openAPIVersion = QStringLiteral("3.0");
    return CompletionItem(label, content, CompletionItemKind::snippet, std::nullopt, std::nullopt, std::nullopt, 0,
                          false, false, metadata);
}

TEST(CompletionInsertionTest, TargetCoversTheTypedWordTheSelectionOrAQuote) {
    struct Row {
        const char* name;
        QString text;
        TextRange selection;
        DocumentLanguage language;
        bool requiresColon;
        TextRange range;
        QString indentation;
    };
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const Row rows[] = {
        {"JSON key after its opening quote", "{\n  \"ti", {7, 0}, DocumentLanguage::json, true, {4, 3}, "  "},
        {"JSON value keeps the quote without a colon", "{\n  \"ti", {7, 0}, DocumentLanguage::json, false, {5, 2}, "  "},
        {"YAML dash leading the line stays", "  -get", {6, 0}, DocumentLanguage::yaml, true, {3, 3}, "  "},
        {"YAML dash inside a word is the word's", "a: x-get", {8, 0}, DocumentLanguage::yaml, true, {3, 5}, ""},
        {"a selection is replaced as it is", "abc def", {4, 3}, DocumentLanguage::yaml, false, {4, 3}, ""},
        {"an emoji ends the word", emoji + "ab", {4, 0}, DocumentLanguage::yaml, false, {2, 2}, ""},
        {"word characters", "x: $ref#/a_b-c", {14, 0}, DocumentLanguage::yaml, false, {3, 11}, ""},
        {"caret at 0", "abc", {0, 0}, DocumentLanguage::json, false, {0, 0}, ""},
        {"tabs and spaces of the line", "a\n\t b", {5, 0}, DocumentLanguage::unknown, false, {4, 1}, "\t "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto target = Insertion::target(row.text, row.selection, row.language, row.requiresColon);
        ASSERT_TRUE(target);
        EXPECT_EQ(target->range, row.range);
        EXPECT_EQ(target->lineIndentation, row.indentation);
    }
    EXPECT_FALSE(Insertion::target(QStringLiteral("abc"), {2, 5}, DocumentLanguage::yaml, false));
    EXPECT_FALSE(Insertion::target(QStringLiteral("abc"), {4, 0}, DocumentLanguage::yaml, false));
    EXPECT_FALSE(Insertion::target(QStringLiteral("abc"), {-1, 0}, DocumentLanguage::yaml, false));
}

TEST(CompletionInsertionTest, SnippetPathWritesKeyBaseIndentationAndBraces) {
    struct Row {
        const char* name;
        QString text;
        qsizetype caret;
        DocumentLanguage language;
        CompletionItem item;
        TextRange range;
        QString inserted;
    };
    const Row rows[] = {
        {"JSON template led by a space and a brace: the key touches the brace", "{\n  \"inf\n}", 8,
         DocumentLanguage::json, snippetItem("info", " {\n  \"title\": \"${1:T}\"\n}"), {4, 4},
         "\"info\":{\n    \"title\": \"${1:T}\"\n  }"},
        {"JSON body only: no first line, no closing brace", "{\n  \"info\": \n}", 12, DocumentLanguage::json,
         snippetItem("info", "\"info\": {\n  \"title\": \"${1:T}\"\n}", true), {12, 0}, "\"title\": \"${1:T}\""},
        {"YAML template writing its own key", "paths:\n  /a:\n    ge", 19, DocumentLanguage::yaml,
         snippetItem("get", "get:\n  summary: ${1:S}\n  responses:\n    '200':\n      description: ${2:OK}"),
         {17, 2}, "get:\n      summary: ${1:S}\n      responses:\n        '200':\n          description: ${2:OK}"},
        {"YAML template without its key gets it and one more level", "info:\n  ", 8, DocumentLanguage::yaml,
         snippetItem("contact", "\n  name: ${1:N}"), {8, 0}, "contact:\n    name: ${1:N}"},
        {"YAML body under a sequence dash", "tags:\n  - ", 10, DocumentLanguage::yaml,
         snippetItem("tag", "name: ${1:n}\ndescription: ${2:d}", true), {10, 0}, "description: ${2:d}"},
        {"YAML after a dash and a space, not body only", "tags:\n  - na", 12, DocumentLanguage::yaml,
         snippetItem("name", "name: ${1:n}\n  x: 1"), {10, 2}, "name: ${1:n}\n      x: 1"},
        {"a brace after the final field goes where the text closes, the field's own stays", "{\"a\": }", 6, DocumentLanguage::json,
         snippetItem("a", "\"a\": ${3:API description}}"), {6, 0}, "\"a\": ${3:API description}"},
        {"tabs indent when the document does", "a:\n\tb: 1\n\tc: 2\n\td: 3\n\t", 22, DocumentLanguage::yaml,
         snippetItem("c", "c:\n  d: ${1:x}\n    e: 2"), {22, 0}, "c:\n\t\td: ${1:x}\n\t\t\te: 2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto insertion = Insertion::snippetInsertion(row.text, {row.caret, 0}, row.language, row.item);
        ASSERT_TRUE(insertion);
        EXPECT_EQ(insertion->range, row.range);
        EXPECT_EQ(insertion->text, row.inserted);
    }
    CompletionItem plain(QStringLiteral("info"), std::nullopt, CompletionItemKind::snippet);
    EXPECT_FALSE(Insertion::snippetInsertion(QStringLiteral("x"), {1, 0}, DocumentLanguage::yaml, plain))
        << "a snippet without metadata takes the ordinary path";
}

TEST(CompletionInsertionTest, BraceAndBracketScans) {
    struct Row {
        const char* text;
        bool closesAfter;
    };
    const Row scans[] = {
        {"", false},         {" }", true},          {"{}", false},          {"{ } ]", true},
        {"\"}\"", false},    {"\"\\\"}\" }", true}, {"\\} x", false},       {"[{}]", false},
    };
    for (const Row& row : scans) {
        EXPECT_EQ(Insertion::hasClosingBracketAfter(QString::fromUtf8(row.text), 0), row.closesAfter) << row.text;
    }
    EXPECT_FALSE(Insertion::hasClosingBracketAfter(QStringLiteral("}"), 5)) << "a start past the end";

    EXPECT_TRUE(Insertion::hasMoreClosingBraces(QStringLiteral("a: ${1:{x}} }")));
    EXPECT_FALSE(Insertion::hasMoreClosingBraces(QStringLiteral("{ ${1:x} }")));
    EXPECT_FALSE(Insertion::hasMoreClosingBraces(QStringLiteral("${1:unclosed {")));

    struct Cut {
        const char* name;
        QString content;
        QString expected;
    };
    const Cut cuts[] = {
        {"an object's own brace is stray", "{\n  a: ${1:x}\n}\n", "{\n  a: ${1:x}"},
        {"a final field stays", "a: ${1:x}", "a: ${1:x}"},
        {"two final fields stay", "${1:x}\n ${2:y}  ", "${1:x}\n ${2:y}  "},
        {"a brace after a field", "a: ${1:x} }", "a: ${1:x}"},
        {"nothing but white space", " \n", " \n"},
        {"no brace", "a: b", "a: b"},
    };
    for (const Cut& cut : cuts) {
        EXPECT_EQ(Insertion::removingStrayClosingBrace(cut.content), cut.expected) << cut.name;
    }
}

TEST(CompletionInsertionTest, ReindentReadsTwoColumnsALevel) {
    EXPECT_EQ(Insertion::reindent(u"a:\n    b\n      c\n\n   d", QStringLiteral(">"), QStringLiteral("\t")),
              QStringLiteral("a:\n>\t\tb\n>\t\t\tc\n\n>\td"))
        << "the first line has no indentation, so nothing is common";
    EXPECT_EQ(Insertion::reindent(u"  a\n    b\n  \t", QStringLiteral("  "), QStringLiteral("    ")),
              QStringLiteral("a\n      b\n"));
    EXPECT_EQ(Insertion::reindent(u"", QStringLiteral("  "), QStringLiteral("  ")), QString());
}

}  // namespace
}  // namespace CarvexTest

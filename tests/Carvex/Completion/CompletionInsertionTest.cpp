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

namespace CarvexTest {
namespace {

using namespace Carvex;
namespace Insertion = Carvex::CompletionInsertion;

CompletionItem ordinaryItem(const QString& label, const QString& insertText, CompletionItemKind kind,
                            bool requiresColon, bool requiresValue) {
    return CompletionItem(label, insertText, kind, std::nullopt, std::nullopt, std::nullopt, 0, requiresColon,
                          requiresValue);
}

TEST(CompletionInsertionTest, OrdinaryPathWritesTheRowForItsLanguage) {
    using Kind = CompletionItemKind;
    struct Row {
        const char* name;
        QString text;
        TextRange selection;
        DocumentLanguage language;
        CompletionItem item;
        TextRange range;
        QString written;
        qsizetype caret;
    };
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const auto key = [](const char* label, bool value) {
        return ordinaryItem(label, label, Kind::property, true, value);
    };
    const Row rows[] = {
        {"JSON key after its opening quote", "{\n  \"ti", {7, 0}, DocumentLanguage::json, key("title", true), {4, 3},
         "\"title\": ", 13},
        {"JSON key already quoted gets only the colon", "{\n  ", {4, 0}, DocumentLanguage::json,
         ordinaryItem("a", "\"a\"", Kind::property, true, true), {4, 0}, "\"a\": ", 9},
        {"JSON status code in single quotes", "{\n  ", {4, 0}, DocumentLanguage::json,
         ordinaryItem("200", "'200'", Kind::property, true, true), {4, 0}, "\"200\": ", 11},
        {"JSON value without colon", "{\"a\": tr", {8, 0}, DocumentLanguage::json,
         ordinaryItem("true", "true", Kind::value, false, false), {6, 2}, "true", 10},
        {"JSON bracket snippet opens a block", "{\"a\": ", {6, 0}, DocumentLanguage::json,
         ordinaryItem("{}", "{}", Kind::snippet, false, false), {6, 0}, "{\n  \n}", 10},
        {"YAML dash stays and gets a space", "  -get", {6, 0}, DocumentLanguage::yaml, key("get", true), {3, 3},
         " get: ", 9},
        {"YAML colon already after the caret", "de: x", {2, 0}, DocumentLanguage::yaml, key("description", true),
         {0, 2}, "description", 11},
        {"YAML key of a nested block", "    in", {6, 0}, DocumentLanguage::yaml, key("info", false), {4, 2},
         "info:\n      ", 16},
        {"YAML nested block in a four-space document goes one unit deeper",
         "a:\n    b:\n        c: 1\n    d:\n        e: 2\n        re", {53, 0}, DocumentLanguage::yaml,
         key("requestBody", false), {51, 2}, "requestBody:\n            ", 76},
        {"YAML key after a dash nests under the key", "  - sch", {7, 0}, DocumentLanguage::yaml,
         key("schema", false), {4, 3}, "schema:\n      ", 18},
        {"YAML key after a bare dash counts the space it gets", "  -sch", {6, 0}, DocumentLanguage::yaml,
         key("schema", false), {3, 3}, " schema:\n      ", 18},
        {"YAML key after a dash in a tab-indented line", "\t- sch", {6, 0}, DocumentLanguage::yaml,
         key("schema", false), {3, 3}, "schema:\n\t    ", 16},
        {"YAML key after a value keeps the line's indentation", "  - a: sch", {10, 0}, DocumentLanguage::yaml,
         key("schema", false), {7, 3}, "schema:\n    ", 19},
        {"YAML dash not doubled", "  - ty", {6, 0}, DocumentLanguage::yaml,
         ordinaryItem("type", "- type", Kind::value, false, false), {4, 2}, "type", 8},
        {"YAML key a reader would take for an alias is quoted", "content:\n  ", {11, 0}, DocumentLanguage::yaml,
         key("*/*", false), {11, 0}, "\"*/*\":\n    ", 22},
        {"YAML status code already quoted stays", "  ", {2, 0}, DocumentLanguage::yaml,
         ordinaryItem("200", "'200'", Kind::property, true, false), {2, 0}, "'200':\n    ", 13},
        {"YAML bracket row indented once, caret inside", "  type: ", {8, 0}, DocumentLanguage::yaml,
         ordinaryItem("[]", "[]", Kind::snippet, false, false), {8, 0}, "[\n    \n  ]", 14},
        {"YAML lines after the first follow the line", "  x", {3, 0}, DocumentLanguage::yaml,
         ordinaryItem("x", "a\nb", Kind::value, false, false), {2, 1}, "a\n  b", 7},
        {"YAML text on the lines below", "  k: ", {5, 0}, DocumentLanguage::yaml,
         ordinaryItem("v", "\n   x\ny", Kind::value, false, false), {5, 0}, "\n    x\n    y", 17},
        {"YAML selection replaced, colon after it kept", "foo: x", {0, 3}, DocumentLanguage::yaml,
         key("bar", true), {0, 3}, "bar", 3},
        {"unknown language adds nothing", "ti", {2, 0}, DocumentLanguage::unknown, key("title", true), {0, 2},
         "title", 5},
        {"emoji before the caret ends the word", emoji + "ti", {4, 0}, DocumentLanguage::unknown,
         key("title", true), {2, 2}, "title", 7},
        {"empty insert text removes the word", "ab", {2, 0}, DocumentLanguage::unknown,
         ordinaryItem("x", "", Kind::value, false, false), {0, 2}, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto insertion = Insertion::ordinaryInsertion(row.text, row.selection, row.language, row.item);
        ASSERT_TRUE(insertion);
        EXPECT_EQ(insertion->range, row.range);
        EXPECT_EQ(insertion->text, row.written);
        EXPECT_EQ(insertion->caret, row.caret);
    }
}

TEST(CompletionInsertionTest, OrdinaryPathRefusesWhatItCannotPlace) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const CompletionItem item = ordinaryItem("a", "a", CompletionItemKind::value, false, false);
    EXPECT_FALSE(Insertion::ordinaryInsertion(QStringLiteral("abc"), {4, 0}, DocumentLanguage::yaml, item));
    EXPECT_FALSE(Insertion::ordinaryInsertion(emoji, {1, 0}, DocumentLanguage::yaml, item));
    EXPECT_FALSE(Insertion::snippetInsertion(QStringLiteral("a: ") + emoji, {4, 0}, DocumentLanguage::yaml,
                                             snippetItem(QStringLiteral("s"), QStringLiteral("s: x"))))
        << "a snippet is not put between the halves of a character either";
    EXPECT_FALSE(Insertion::ordinaryInsertion(QStringLiteral("abc"), {0, 0}, DocumentLanguage::yaml,
                                              snippetItem(QStringLiteral("s"), QStringLiteral("s: x"))));
    // A long line costs one pass.
    const QString line(1 << 20, u'a');
    const auto insertion = Insertion::ordinaryInsertion(line, {line.size(), 0}, DocumentLanguage::yaml, item);
    ASSERT_TRUE(insertion);
    EXPECT_EQ(insertion->range, (TextRange{0, line.size()}));
}

}  // namespace
}  // namespace CarvexTest

namespace CarvexTest {
namespace {

using namespace Carvex;
namespace Insertion = Carvex::CompletionInsertion;

// A row chosen while the caret stands in a quoted scalar replaces what was written of it from the
// opening quote (and the closing quote, where the scalar ends) with a whole scalar, the caret after it.
TEST(CompletionInsertionTest, QuotedScalarIsWrittenWholeOverWhatWasTyped) {
    struct Row {
        const char* name;
        const char* text;  // the caret at ‸
        DocumentLanguage language;
        const char* label;
        const char* insertText;  // as the resolvers write it for a caret in a string
        bool requiresColon;
        const char* written;  // the text after the insertion, the caret at ‸
    };
    const auto json = DocumentLanguage::json;
    const auto yaml = DocumentLanguage::yaml;
    const Row rows[] = {
        {"JSON pointer typed in part", "{\"$ref\": \"#/components/schemas/O‸\n", json, "#/components/schemas/Obj",
         "#/components/schemas/Obj", false, "{\"$ref\": \"#/components/schemas/Obj\"‸\n"},
        {"JSON closing quote at the caret", "{\"$ref\": \"#/c‸\"}", json, "#/components/schemas/Obj",
         "#/components/schemas/Obj", false, "{\"$ref\": \"#/components/schemas/Obj\"‸}"},
        {"JSON string escaped", "{\"default\": \"‸", json, "say \"hi\"", "say \\\"hi\\\"", false,
         "{\"default\": \"say \\\"hi\\\"\"‸"},
        {"JSON quote further on that a key follows is the next string's", "{\"a\": \"‸, \"b\": 1}", json, "x", "x",
         false, "{\"a\": \"x\"‸, \"b\": 1}"},
        {"JSON caret inside a value: the value is replaced", "{\"a\": \"#/P‸et\", \"b\": 1}", json, "#/Pet", "#/Pet",
         false, "{\"a\": \"#/Pet\"‸, \"b\": 1}"},
        {"JSON key with a colon after it gets no second one", "{\"ti‸\": 1}", json, "title", "title", true,
         "{\"title\"‸: 1}"},
        {"JSON caret inside a key a colon follows", "{\"t‸i\": 1}", json, "title", "title", true,
         "{\"title\"‸: 1}"},
        {"JSON key holding a blank", "{\"x-my ke‸", json, "x-my key", "x-my key", true, "{\"x-my key\": ‸"},
        {"YAML double quotes, the value holds a colon", "default: \"c‸", yaml, "c: d", "c: d", false,
         "default: \"c: d\"‸"},
        {"YAML single quotes, the value holds quotes", "  - '‸", yaml, "'q'", "''q''", false, "  - '''q'''‸"},
        {"YAML single quotes closed after the caret", "  - '‸'", yaml, "'q'", "''q''", false, "  - '''q'''‸"},
        {"YAML single quotes, a doubled quote keeps the scalar open", "x: 'it''‸", yaml, "it's", "it''s", false,
         "x: 'it''s'‸"},
        {"YAML caret between the quotes of a doubled one", "x: 'it'‸'s'", yaml, "it's", "it''s", false,
         "x: 'it''s'‸"},
        {"YAML double quotes, an escaped quote keeps the scalar open", "x: \"a\\\"‸", yaml, "a\"b", "a\\\"b", false,
         "x: \"a\\\"b\"‸"},
        {"YAML backslash and quote escaped in double quotes", "x: \"‸", yaml, "say \"hi\" \\ ok",
         "say \\\"hi\\\" \\\\ ok", false, "x: \"say \\\"hi\\\" \\\\ ok\"‸"},
        {"YAML single quotes cannot write a control character", "x: 'b‸", yaml, "b\x07", "b\x07", false,
         "x: \"b\\a\"‸"},
        {"YAML closing quote at the caret is taken whatever follows it", "x: '‸'y", yaml, "v", "v", false,
         "x: 'v'‸y"},
        {"YAML caret inside a value before a comment", "type: \"st‸rx\"  # t", yaml, "string", "string", false,
         "type: \"string\"‸  # t"},
        {"YAML flow item", "type: [\"null\", 'str‸]", yaml, "string", "string", false,
         "type: [\"null\", 'string'‸]"},
        {"YAML a quote inside a plain scalar opens nothing", "x: it's ‸", yaml, "v", "v", false, "x: it's v‸"},
        {"YAML after a tag", "x: !!str \"‸", yaml, "a b", "a b", false, "x: !!str \"a b\"‸"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QString text = QString::fromUtf8(row.text);
        const qsizetype caret = text.indexOf(QChar(0x2038));
        text.remove(caret, 1);
        const CompletionItem item(QString::fromUtf8(row.label), QString::fromUtf8(row.insertText),
                                  row.requiresColon ? CompletionItemKind::property : CompletionItemKind::value,
                                  std::nullopt, std::nullopt, std::nullopt, 0, row.requiresColon, true);
        const auto insertion = Insertion::ordinaryInsertion(text, {caret, 0}, row.language, item);
        ASSERT_TRUE(insertion);
        text.replace(insertion->range.location, insertion->range.length, insertion->text);
        text.insert(insertion->caret, QChar(0x2038));
        EXPECT_EQ(text.toStdString(), row.written);
    }
}

}  // namespace
}  // namespace CarvexTest

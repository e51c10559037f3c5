#include "Carvex/CaretContext/CaretLine.h"
#include "Carvex/CaretContext/LineReading.h"
#include "Carvex/Snippets/MatchContextBuilder.h"

#include <unicode/uregex.h>

#include <gtest/gtest.h>

#include <random>

using namespace Carvex;

namespace {

struct ContextRow {
    const char* name;
    FileFormat format;
    QString text;  // "|" marks the caret
    QString keyword;
    int indentLevel;
    QStringList path;
    QString baseIndent;
};

TEST(MatchContextBuilderTest, CaretSurroundings) {
    const FileFormat yaml = FileFormat::yaml;
    const FileFormat json = FileFormat::json;
    const ContextRow rows[] = {
        {"caret at 0", yaml, "|paths:", "", 0, {}, "  "},
        {"key with colon and blank", yaml, "  responses: |", "responses:", 1, {}, "  "},
        {"quoted key in json", json, "  \"responses\": |", "responses:", 1, {}, "  "},
        {"quotes stay in yaml", yaml, "\"x\":|", "\"x\":", 0, {}, ""},
        {"last word of the line", yaml, "    description: some text|", "text", 2, {}, "    "},
        {"word before trailing blanks", yaml, "  - \t|", "-", 1, {}, "  "},
        {"blank line prefix", yaml, "a:\n    |", "", 2, {"a"}, "    "},
        {"nested keys", yaml, "paths:\n  /pets:\n    get:\n      x|", "x", 3, {"paths", "/pets", "get"}, "      "},
        {"indentation closes keys", yaml, "paths:\n  /pets:\n    get:\n  tags:\n    y|", "y", 2, {"paths", "tags"},
         "    "},
        {"lines without colon change nothing", yaml, "a:\n  - item\n  plain\n  b|", "b", 1, {"a"}, "  "},
        {"equal indent replaces", yaml, "a:\nb:\n  c|", "c", 1, {"b"}, "  "},
        {"json closers pop by indentation", json,
         "{\n  \"paths\": {\n    \"/a\": {\n    },\n    \"tags\": [\n    ]\n  },\n  \"info\": {\n    x|", "x", 2,
         {"info"}, "    "},
        {"json closer is never a key", json, "{\n  \"a\": {\n    \"b\": 1\n  }\n  z|", "z", 1, {}, "  "},
        {"key before the first colon, quotes removed", json, "  \"url\": \"http://x\",\n  \"k\":|", "k:", 1, {"url"},
         "  "},
        {"tabs count two columns", yaml, "\t\t x|", "x", 2, {}, "\t\t "},
        {"odd columns round down", yaml, "   x|", "x", 1, {}, "   "},
        {"start of a line: the previous line", yaml, "a:\n  b:\n|", "b:\n", 1, {"a", "b"}, "  "},
        {"crlf ends one line", yaml, "a:\r\n  b:\r\n|", "b:\r\n", 1, {"a", "b"}, "  "},
        {"cr-only lines", yaml, "a:\r  b:\r    c:|", "c:", 2, {}, "    "},
        {"line separator ends a line", yaml, "a:\u2028  b:|", "b:", 1, {}, "  "},
        {"caret inside the line", yaml, "  get: |more", "get:", 1, {}, "  "},
        {"yaml key holding a colon", yaml, "/a/{id}:get:\n  x|", "x", 1, {"/a/{id}:get"}, "  "},
        {"yaml quoted key", yaml, "'a: b':\n  x|", "x", 1, {"a: b"}, "  "},
        {"yaml comment is no key", yaml, "a:\n  # b: c\n  x|", "x", 1, {"a"}, "  "},
        {"yaml colon in a plain item", yaml, "a:\n  - http://x\n  x|", "x", 1, {"a"}, "  "},
        {"json key holding a colon and an escape", json, "{\n  \"a:\\\"b\": {\n    x|", "x", 2, {"a:\"b"}, "    "},
    };
    for (const ContextRow& row : rows) {
        SCOPED_TRACE(row.name);
        QString text = row.text;
        const qsizetype caret = text.indexOf(u'|');
        text.remove(caret, 1);
        EXPECT_EQ(MatchContextBuilder::lastKeyword(text, caret, row.format), row.keyword);
        EXPECT_EQ(MatchContextBuilder::indentLevel(text, caret), row.indentLevel);
        EXPECT_EQ(MatchContextBuilder::parentPath(text, caret, row.format), row.path);
        EXPECT_EQ(MatchContextBuilder::baseIndent(text, caret), row.baseIndent);
        const std::optional<MatchContext> built = MatchContextBuilder::build(text, caret, row.format);
        ASSERT_EQ(built.has_value(), !row.keyword.isEmpty());
        if (built) {
            EXPECT_EQ(*built, (MatchContext{text, caret, row.keyword, row.indentLevel, row.path, row.format}));
        }
    }
}

// A list of items reads alike at its key's column and one level deeper, and a block scalar's text is
// neither keys nor a place for templates.
TEST(MatchContextBuilderTest, ItemListsAndBlockScalarsInYaml) {
    struct Row {
        const char* name;
        QString text;  // "%" stands for the items' extra indentation, "^" for the caret
        QStringList path;
        bool built;
    };
    const Row rows[] = {
        {"item mappings", "paths:\n  /x:\n    get:\n      parameters:\n      %- name: a\n      %  in: q\n"
                          "      %- name: b\n      %  x^", {"paths", "/x", "get", "parameters", "- name"}, true},
        {"sibling after the list", "get:\n  parameters:\n  %- name: a\n  %  in: q\n  tags:\n    x^",
         {"get", "tags"}, true},
        {"list under an item", "- a:\n  %- b: 1\n  %  c^", {"- a", "- b"}, true},
        {"text of a block scalar", "get:\n  description: |\n    Use: this\n    %- not: an item\n    get:^",
         {"get", "description"}, false},
        {"after a block scalar", "get:\n  description: >-\n    a: b\n\n  summary: s\n  tags:\n    x^",
         {"get", "tags"}, true},
        {"item that is a block scalar", "enum:\n%- |\n%  a: b\n%  c:^", {"enum"}, false},
    };
    for (const char* extra : {"", "  "}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + (*extra ? " (items deeper)" : " (items at the key's column)"));
            QString text = row.text;
            text.replace(u'%', QString::fromUtf8(extra));
            const qsizetype caret = text.indexOf(u'^');
            text.remove(caret, 1);
            EXPECT_EQ(MatchContextBuilder::parentPath(text, caret, FileFormat::yaml), row.path);
            const std::optional<MatchContext> built = MatchContextBuilder::build(text, caret, FileFormat::yaml);
            EXPECT_EQ(built.has_value(), row.built);
            if (built) {
                EXPECT_EQ(built->parentPath, row.path);
            }
        }
    }
}

TEST(MatchContextBuilderTest, AnyCaretGivesAnAnswer) {
    const QString pair = QString::fromUtf16(u"k: \U0001F600");
    const QString texts[] = {"", "a", "a:\r\r\r", "\n\n\n", QString(5000, u'{'), pair, "\t\t\t", "\"\":\"\""};
    for (const QString& text : texts) {
        for (qsizetype caret : {qsizetype(-5), qsizetype(-1), qsizetype(0), qsizetype(1), text.size() - 1, text.size(),
                                text.size() + 1, qsizetype(1) << 40}) {
            for (FileFormat format : {FileFormat::yaml, FileFormat::json}) {
                const std::optional<MatchContext> built = MatchContextBuilder::build(text, caret, format);
                if (caret < 1 || caret > text.size()) {
                    EXPECT_FALSE(built.has_value());
                    EXPECT_EQ(MatchContextBuilder::indentLevel(text, caret), 0);
                    EXPECT_EQ(MatchContextBuilder::baseIndent(text, caret), "  ");
                }
                (void)MatchContextBuilder::parentPath(text, caret, format);
            }
        }
    }
    // Inside a surrogate pair the keyword ends with the lone high half.
    EXPECT_EQ(MatchContextBuilder::lastKeyword(pair, pair.size() - 1, FileFormat::yaml), pair.mid(3, 1));
}

// Group 1 of the first match of (\S+:?\s*)$ as the regular-expression engine finds it.
QString byPattern(const QString& part) {
    UErrorCode status = U_ZERO_ERROR;
    URegularExpression* pattern = uregex_openC("(\\S+:?\\s*)$", 0, nullptr, &status);
    uregex_setText(pattern, reinterpret_cast<const UChar*>(part.utf16()), int32_t(part.size()), &status);
    QString found;
    if (uregex_find(pattern, 0, &status)) {
        const int32_t start = uregex_start(pattern, 1, &status);
        found = part.mid(start, uregex_end(pattern, 1, &status) - start);
    }
    EXPECT_TRUE(U_SUCCESS(status));
    uregex_close(pattern);
    return found;
}

TEST(MatchContextBuilderTest, TrailingWordEqualsThePatternOnRandomLines) {
    const char16_t alphabet[] = {u'a', u'Z', u':', u':', u'"', u'-', u' ', u' ', u'\t', u'\n', u'\r', u'\v', u'\f',
                                 0x0085, 0x00A0, 0x1680, 0x2003, 0x2028, 0x2029, 0x202F, 0x3000, 0x00E9, 0x200B,
                                 0xFEFF, 0xD83D, 0xDE00, 0xD800};
    std::mt19937 random(20261207);
    std::uniform_int_distribution<size_t> pick(0, std::size(alphabet) - 1);
    std::uniform_int_distribution<int> length(0, 14);
    for (int round = 0; round < 20000; ++round) {
        QString part;
        for (int n = length(random); n > 0; --n) part.push_back(QChar(alphabet[pick(random)]));
        ASSERT_EQ(MatchContextBuilder::trailingWord(part).toString(), byPattern(part))
            << "round " << round << ": " << part.toStdString();
    }
    // Longer lines of mostly one word, as minified JSON gives: the keyword is the pattern's group,
    // trimmed, without quotes in JSON.
    const char16_t word[] = {u'a', u'"', u'"', u':', u'{', u',', 0x00E9, 0xD83D, 0xDE00, u' ', 0x3000};
    std::uniform_int_distribution<size_t> pickWord(0, std::size(word) - 1);
    std::uniform_int_distribution<int> longLength(0, 90);
    for (int round = 0; round < 5000; ++round) {
        QString line;
        for (int n = longLength(random); n > 0; --n) {
            const char16_t unit = word[pickWord(random)];
            line.push_back(QChar(unit == u' ' || unit == 0x3000 ? (round % 4 == 0 ? unit : u'b') : unit));
        }
        const QString group = CaretLine::trimmed(byPattern(line)).toString();
        ASSERT_EQ(MatchContextBuilder::lastKeyword(line, line.size(), FileFormat::yaml), group) << "round " << round;
        ASSERT_EQ(MatchContextBuilder::lastKeyword(line, line.size(), FileFormat::json), QString(group).remove(u'"'))
            << "round " << round;
    }
}

// The enclosing keys read the plain way: every line before the caret's, one at a time.
QStringList plainParentPath(const QString& text, qsizetype cursor, FileFormat format) {
    QStringList lines = text.left(cursor).split(u'\n');
    lines.removeLast();
    std::vector<std::pair<int, QString>> stack;
    for (const QString& line : lines) {
        const QString trimmed = CaretLine::trimmed(line).toString();
        if (trimmed.isEmpty()) continue;
        int indent = 0;
        for (QChar c : line) {
            if (c != u' ' && c != u'\t') break;
            indent += c == u'\t' ? 2 : 1;
        }
        const bool closer = trimmed == "}" || trimmed == "}," || trimmed == "]" || trimmed == "],";
        if (!(format == FileFormat::json && closer) && !trimmed.contains(u':')) continue;
        if (format == FileFormat::json && closer) {
            while (!stack.empty() && stack.back().first >= indent) stack.pop_back();
            continue;
        }
        // The key as the line reading finds it: in YAML after the dashes; in JSON a leading string that
        // a colon follows, else the text before the first colon without quotes.
        QString key = trimmed.left(trimmed.indexOf(u':'));
        if (format == FileFormat::yaml) {
            const qsizetype dashes = LineReading::afterDashes(trimmed);
            const auto found = LineReading::yamlKey(QStringView(trimmed).sliced(dashes));
            if (!found) continue;
            key = trimmed.left(dashes) + LineReading::decoded(found->name);
        } else if (const auto string = LineReading::jsonKey(trimmed);
                   string && string->raw.utf16() == QStringView(trimmed).utf16() + 1) {
            key = LineReading::decoded(*string);
        } else {
            key.remove(u'"');
        }
        while (!stack.empty() && stack.back().first >= indent) stack.pop_back();
        stack.emplace_back(indent, key);
    }
    QStringList path;
    for (const auto& entry : stack) path.push_back(entry.second);
    return path;
}

TEST(MatchContextBuilderTest, EnclosingKeysEqualThePlainReadingOnRandomTexts) {
    const char16_t alphabet[] = {u'a', u'b', u':', u'"', u'}', u']', u',', u' ', u' ', u' ', u'\t',
                                 u'\n', u'\n', u'\n', u'\r', 0x00A0, 0x3000, 0x2028};
    std::mt19937 random(35);
    std::uniform_int_distribution<size_t> pick(0, std::size(alphabet) - 1);
    std::uniform_int_distribution<int> length(0, 60);
    for (int round = 0; round < 4000; ++round) {
        QString text;
        for (int n = length(random); n > 0; --n) text.push_back(QChar(alphabet[pick(random)]));
        for (FileFormat format : {FileFormat::yaml, FileFormat::json}) {
            for (qsizetype cursor = 1; cursor <= text.size(); ++cursor) {
                const QStringList expected = plainParentPath(text, cursor, format);
                ASSERT_EQ(MatchContextBuilder::parentPath(text, cursor, format), expected)
                    << "round " << round << " cursor " << cursor;
                const std::optional<MatchContext> built = MatchContextBuilder::build(text, cursor, format);
                if (built) {
                    ASSERT_EQ(built->parentPath, expected) << "round " << round << " cursor " << cursor;
                }
            }
        }
    }
}

}  // namespace

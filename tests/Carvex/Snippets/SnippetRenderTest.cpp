#include "Carvex/Snippets/LineNumberOfPosition.h"
#include "Carvex/Snippets/SnippetSuggestion.h"

#include <gtest/gtest.h>

using namespace Carvex;

namespace {

struct RenderRow {
    const char* name;
    QString content;
    QString base;
    IndentationStyle unit;
    FileFormat format;
    QString expected;
};

TEST(SnippetRenderTest, ReindentsUnderTheCaretLine) {
    const QString levels = QStringLiteral("\n  a\n  b\n    c");
    const RenderRow rows[] = {
        {"yaml adds one unit to the base", levels, "    ", IndentationStyle::spaces(2), FileFormat::yaml,
         "\n      a\n      b\n        c"},
        {"json keeps the base", levels, "    ", IndentationStyle::spaces(2), FileFormat::json, "\n    a\n    b\n      c"},
        {"tabs style", levels, "", IndentationStyle::tabs(), FileFormat::yaml, "\n\ta\n\tb\n\t\tc"},
        {"four-space unit per two columns", levels, "  ", IndentationStyle::spaces(4), FileFormat::json,
         "\n  a\n  b\n      c"},
        {"one line is kept whatever the base", "   key: ${1:v}", "        ", IndentationStyle::spaces(2),
         FileFormat::yaml, "   key: ${1:v}"},
        {"first line never re-indented", "    x:\n      y", "", IndentationStyle::spaces(2), FileFormat::json,
         "    x:\ny"},
        {"blank line kept whole and not counted", "\n    a\n \t\u00a0\n    b", "", IndentationStyle::spaces(2),
         FileFormat::json, "\na\n \t\u00a0\nb"},
        {"empty line kept", "\n  a\n\n  b", "", IndentationStyle::spaces(2), FileFormat::yaml, "\n  a\n\n  b"},
        {"three columns deeper gains one unit", "\n  a\n     b", "", IndentationStyle::spaces(2), FileFormat::json,
         "\na\n  b"},
        {"a tab is one character in common, two columns deeper", "\n\ta\n\t\tb", "", IndentationStyle::spaces(2),
         FileFormat::json, "\na\n  b"},
        {"no indentation at all", "{\n\"a\": 1\n}", " ", IndentationStyle::spaces(2), FileFormat::json,
         "{\n \"a\": 1\n }"},
        {"trailing newline gives an empty last line", "x:\n  y\n", "", IndentationStyle::spaces(2), FileFormat::yaml,
         "x:\n  y\n"},
        {"zero-width unit", "\n  a\n    b", "", IndentationStyle::spaces(0), FileFormat::yaml, "\na\nb"},
    };
    for (const RenderRow& row : rows) {
        EXPECT_EQ(SnippetSuggestion::render(row.content, row.base, row.unit, row.format), row.expected) << row.name;
    }
}

struct LineRow {
    const char* name;
    QString text;
    qsizetype position;
    qsizetype expected;
};

TEST(SnippetRenderTest, LineNumberOfPositionCountsLinesUpToIt) {
    const LineRow rows[] = {
        {"empty text", "", 0, 0},
        {"text start", "abc", 0, 0},
        {"inside first line", "abc", 2, 1},
        {"end of text", "abc", 3, 1},
        {"past the end", "abc", 99, 1},
        {"below zero", "abc", -4, 0},
        {"end of line before LF", "a\nb", 1, 1},
        {"start of second line", "a\nb", 2, 1},
        {"inside second line", "a\nb", 3, 2},
        {"between CR and LF", "a\r\nb", 2, 1},
        {"after CR LF", "a\r\nb", 3, 1},
        {"second line after CR LF", "a\r\nb", 4, 2},
        {"lone CR", "a\rb", 3, 2},
        {"CR CR LF is two breaks", "a\r\r\nb", 5, 3},
        {"line separator start", QStringLiteral("a\u2028b"), 2, 1},
        {"line separator inside", QStringLiteral("a\u2028b"), 3, 2},
        {"paragraph separator", QStringLiteral("a\u2029b"), 3, 2},
        {"next line", QStringLiteral("a\u0085b"), 3, 2},
        {"empty lines", "\n\n", 2, 2},
        {"vertical tab is no break", "a\vb", 3, 1},
    };
    for (const LineRow& row : rows) {
        EXPECT_EQ(lineNumberOfPosition(row.text, row.position), row.expected) << row.name;
    }
}

}  // namespace

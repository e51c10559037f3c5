#include "Carvex/Text/LineEndingStyle.h"
#include "Carvex/Text/TextPositionConverter.h"

#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTextBoundaryFinder>

#include <string>
#include <vector>

using Carvex::TextPositionConverter;

namespace {

// Finds the node whose string value is `value` (depth first).
const VoziZazIreCore::GenericNode* findString(const VoziZazIreCore::GenericNode& node,
                                              std::string_view value) {
    if (node.stringValue() == value) {
        return &node;
    }
    if (auto object = node.objectValue()) {
        for (const auto& member : *object) {
            if (const auto* found = findString(*member.value, value)) {
                return found;
            }
        }
    }
    if (auto array = node.arrayValue()) {
        for (const auto& element : *array) {
            if (const auto* found = findString(*element, value)) {
                return found;
            }
        }
    }
    return nullptr;
}

struct ParserRow {
    const char* name;
    bool json;
    const char* text;       // what the parser reads (may hold CR LF)
    const char* startsWith;  // what the view text holds at the converted start
};

class TextPositionFromParserTest : public ::testing::TestWithParam<ParserRow> {};

// The parser reads the file's text; the view holds it with line feeds only. A position given by
// the parser as line and column lands on the same character of the view text.
TEST_P(TextPositionFromParserTest, ParserLineAndColumnLandOnTheNode) {
    const ParserRow& row = GetParam();
    const std::string source = row.text;
    VoziZazIreCore::NodePtr root;
    if (row.json) {
        root = VoziZazIreParsing::JSONParser().parse(std::string_view(source));
    } else {
        root = VoziZazIreParsing::YAMLParser().parse(std::string_view(source));
    }
    const auto* node = findString(*root, "target");
    ASSERT_NE(node, nullptr);
    const QString view = Carvex::normalizeLineEndings(QString::fromUtf8(row.text));
    TextPositionConverter converter(view);
    const auto range = node->range();
    const auto start = converter.position(range.start.line, range.start.column);
    ASSERT_TRUE(start.has_value());
    EXPECT_TRUE(view.mid(*start).startsWith(QString::fromUtf8(row.startsWith)))
        << view.mid(*start, 12).toStdString();
    const auto end = converter.position(range.end.line, range.end.column);
    ASSERT_TRUE(end.has_value());
    EXPECT_EQ(view.mid(*start, *end - *start).remove(u'"'), QStringLiteral("target"));
}

INSTANTIATE_TEST_SUITE_P(
    Clusters, TextPositionFromParserTest,
    ::testing::Values(
        ParserRow{"json_ascii", true, "{\"a\": \"x\", \"b\": \"target\"}", "\"target\""},
        ParserRow{"json_emoji_before", true, "{\"a\": \"\xF0\x9F\x98\x80\xF0\x9F\x98\x80\", \"b\": \"target\"}", "\"target\""},
        ParserRow{"json_zwj_family", true, "{\"a\": \"\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7\", \"b\": \"target\"}", "\"target\""},
        ParserRow{"json_flags", true, "{\"a\": \"\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA\", \"b\": \"target\"}", "\"target\""},
        ParserRow{"json_combining", true, "{\"a\": \"e\xCC\x81\xCC\x81x\", \"b\": \"target\"}", "\"target\""},
        ParserRow{"json_crlf_lines", true, "{\r\n  \"a\": \"\xC3\xA9\",\r\n  \"b\": \"target\"\r\n}\r\n", "\"target\""},
        ParserRow{"json_emoji_on_earlier_line", true, "{\n \"a\": \"\xF0\x9F\x98\x80\",\n \"b\": \"target\"}", "\"target\""},
        ParserRow{"yaml_ascii", false, "a: x\nb: target\n", "target"},
        ParserRow{"yaml_emoji_before", false, "a: x\nb\xF0\x9F\x98\x80: target\n", "target"},
        ParserRow{"yaml_combining_key", false, "a: x\ne\xCC\x81\xCC\x81k: target\n", "target"},
        ParserRow{"yaml_cjk", false, "\xE6\x97\xA5\xE6\x9C\xAC: [\xE8\xAA\x9E, target]\n", "target"},
        ParserRow{"yaml_crlf", false, "a: \xF0\x9F\x98\x80\r\nb:\r\n  - \xC3\xA9\r\n  - target\r\n", "target"},
        // A byte order mark stays in the view's text; the parsers do not count it.
        ParserRow{"json_bom_first_line", true, "\xEF\xBB\xBF{\"a\": \"x\", \"b\": \"target\"}", "\"target\""},
        ParserRow{"json_bom_later_line", true, "\xEF\xBB\xBF{\"a\": \"x\",\n \"b\": \"target\"}", "\"target\""},
        ParserRow{"yaml_bom_first_line", false, "\xEF\xBB\xBF[x, target]\n", "target"},
        ParserRow{"yaml_bom_later_line", false, "\xEF\xBB\xBF" "a: x\nb: target\n", "target"}),
    [](const auto& info) { return std::string(info.param.name); });

struct PlaceRow {
    const char* name;
    const char16_t* text;
    std::int64_t line;
    std::int64_t column;
    std::optional<qsizetype> expected;
};

class TextPositionPlaceTest : public ::testing::TestWithParam<PlaceRow> {};

TEST_P(TextPositionPlaceTest, Places) {
    const PlaceRow& row = GetParam();
    const QString text = QStringView(row.text).toString();  // as written: fromUtf16 drops a BOM
    TextPositionConverter converter(text);
    EXPECT_EQ(converter.position(row.line, row.column), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TextPositionPlaceTest,
    ::testing::Values(
        PlaceRow{"first_character", u"ab\ncd", 1, 1, 0},
        PlaceRow{"second_line", u"ab\ncd", 2, 2, 4},
        PlaceRow{"column_zero_counts_as_one", u"ab\ncd", 2, 0, 3},
        PlaceRow{"column_past_line_stops_at_break", u"ab\ncd", 1, 9, 2},
        PlaceRow{"column_past_crlf_line_stops_before_cr", u"ab\r\ncd", 1, 9, 2},
        PlaceRow{"lone_cr_is_no_break", u"a\rb\ncd", 1, 3, 2},
        PlaceRow{"line_zero", u"ab", 0, 1, std::nullopt},
        PlaceRow{"line_past_end", u"ab\ncd", 3, 1, std::nullopt},
        PlaceRow{"empty_line_after_final_break", u"ab\n", 2, 1, 3},
        PlaceRow{"empty_text", u"", 1, 1, 0},
        PlaceRow{"surrogate_pair_is_one_column", u"\U0001F600x", 1, 2, 2},
        PlaceRow{"combining_marks_join", u"e\u0301\u0301x", 1, 2, 3},
        PlaceRow{"ascii_then_combining_mark", u"abe\u0301x", 1, 4, 4},
        PlaceRow{"hangul_jamo", u"\u1100\u1161\u11A8x", 1, 2, 3},
        PlaceRow{"line_separator_is_no_break", u"a\u2028b\ncd", 2, 1, 4},
        PlaceRow{"leading_bom_is_no_column", u"\uFEFFab\ncd", 1, 2, 2},
        PlaceRow{"leading_bom_leaves_later_lines", u"\uFEFFab\ncd", 2, 2, 5},
        PlaceRow{"bom_inside_the_line_is_a_column", u"a\uFEFFb", 1, 3, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// A minified description is one long line: its checkpoints start after a byte order mark too.
TEST(TextPositionConverterTest, LongFirstLineAfterAByteOrderMark) {
    std::string source = "\xEF\xBB\xBF{";
    for (int i = 0; i < 900; ++i) {
        source += "\"k" + std::to_string(i) + "\": 1, ";
    }
    source += "\"b\": \"target\"}";
    const auto root = VoziZazIreParsing::JSONParser().parse(std::string_view(source));
    const auto* node = findString(*root, "target");
    ASSERT_NE(node, nullptr);
    const QString view = QString::fromUtf8(source);
    ASSERT_GT(view.size(), 4096);
    TextPositionConverter converter(view);
    const auto start = converter.position(node->range().start.line, node->range().start.column);
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(view.mid(*start, 8), QStringLiteral("\"target\""));
}

TEST(TextPositionConverterTest, LinesAndTheirEnds) {
    const QString text = QStringLiteral("ab\r\n\ncd");
    TextPositionConverter converter(text);
    ASSERT_EQ(converter.lineCount(), 3);
    EXPECT_EQ(converter.lineContentEnd(1), 2);
    EXPECT_EQ(converter.lineEnd(1), 4);
    EXPECT_EQ(converter.lineContentEnd(2), 4);
    EXPECT_EQ(converter.lineEnd(3), text.size());
    EXPECT_EQ(converter.lineEnd(4), std::nullopt);
    converter.clear();
    EXPECT_EQ(converter.lineCount(), 0);
    EXPECT_EQ(converter.position(1, 1), std::nullopt);
    // Clusters counted on a slice of a text, never past its end.
    EXPECT_EQ(TextPositionConverter::advanceClusters(u"x\U0001F600\U0001F600y", 1, 6, 2), 5);
    EXPECT_EQ(TextPositionConverter::advanceClusters(u"abc", 0, 2, 5), 2);
}

}  // namespace

namespace {

// A minified description is one long line: positions on it, asked in any order, agree with a walk
// from the line's start.
TEST(TextPositionConverterTest, LongLinesAgreeWithAWalkFromTheLineStart) {
    QString line;
    for (int i = 0; i < 3000; ++i) {
        line += (i % 7 == 0) ? QStringLiteral("\U0001F600e\u0301 ") : QStringLiteral("word ");
    }
    const QString text = QStringLiteral("first\n") + line + QStringLiteral("\nlast");
    const qsizetype start = 6;
    const qsizetype end = start + line.size();
    TextPositionConverter converter(text);
    const std::int64_t columns[] = {9000, 1, 1025, 2048, 4097, 1024, 12000, 11999, 13000, 99999, 5000};
    // The reference: Qt's own grapheme boundaries, walked from the line's start.
    auto reference = [&](std::int64_t column) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
        qsizetype at = 0;
        for (std::int64_t k = 1; k < column && at < line.size(); ++k) {
            at = finder.toNextBoundary();
        }
        return start + at;
    };
    for (std::int64_t column : columns) {
        EXPECT_EQ(converter.position(2, column), reference(column)) << column;
        EXPECT_EQ(TextPositionConverter::advanceClusters(text, start, end, column - 1), reference(column));
    }
    EXPECT_EQ(converter.position(2, 99999), end);
    EXPECT_EQ(converter.position(3, 2), end + 2);
}

}  // namespace

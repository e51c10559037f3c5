#include "Carvex/Snippets/PlaceholderSession.h"
#include "Carvex/Snippets/SnippetPlaceholderScanner.h"
#include "Carvex/Snippets/SnippetPlaceholders.h"
#include "Carvex/Snippets/SnippetTemplateCoding.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <random>
#include <string>
#include <vector>

using namespace Carvex;

namespace {

struct Expected {
    int index;
    QString defaultText;
    TextRange range;
};

struct ParseRow {
    const char* name;
    QString text;
    qsizetype offset;
    QString display;
    std::vector<Expected> placeholders;
};

QString withUnit(QString text, qsizetype at, char16_t unit) {
    text[at] = QChar(unit);
    return text;
}

TEST(SnippetPlaceholdersTest, ParsesFieldsIntoDefaultsInTabStopOrder) {
    const QString loneHigh = withUnit(QStringLiteral("${1:ab}"), 4, 0xD800);
    const QString loneLowBefore = withUnit(QStringLiteral("x${2:y}"), 0, 0xDC00);
    const ParseRow rows[] = {
        {"three characters then a field, at offset 100", "abc${1:x}", 100, "abcx", {{1, "x", {103, 1}}}},
        {"indices 2 then 1", "${2:bb} ${1:a}", 0, "bb a", {{1, "a", {3, 1}}, {2, "bb", {0, 2}}}},
        {"equal indices keep text order", "${1:p}${0:q}${1:r}", 5, "pqr",
         {{0, "q", {6, 1}}, {1, "p", {5, 1}}, {1, "r", {7, 1}}}},
        {"no fields", "$ref: x", 3, "$ref: x", {}},
        {"opening without closing", "a ${", 0, "a ${", {}},
        {"default without closing", "${1:abc", 0, "${1:abc", {}},
        {"empty default", "${1:}", 0, "${1:}", {}},
        {"no digits", "${x:y}", 0, "${x:y}", {}},
        {"no colon", "${12}", 0, "${12}", {}},
        {"the first brace closes", "${1:${2:a}}", 0, "${2:a}", {{1, "${2:a", {0, 5}}}},
        {"dollar before a field", "$${1:a}", 0, "$a", {{1, "a", {1, 1}}}},
        {"thirty-digit index reads as 0", "${123456789012345678901234567890:v}", 0, "v", {{0, "v", {0, 1}}}},
        {"index beyond int reads as 0", "${2147483648:v}${2147483647:w}", 0, "vw",
         {{0, "v", {0, 1}}, {2147483647, "w", {1, 1}}}},
        {"other decimal digits give index 0", "${\u0661\u0662:d}", 0, "d", {{0, "d", {0, 1}}}},
        {"digit outside the basic plane", "${\U0001D7CF:d}", 0, "d", {{0, "d", {0, 1}}}},
        {"a default over lines", "a: ${1:x\ny}", 0, "a: x\ny", {{1, "x\ny", {3, 3}}}},
        {"emoji before and inside", "\U0001F600${1:\U0001F431}z", 2, "\U0001F600\U0001F431z",
         {{1, "\U0001F431", {4, 2}}}},
        {"unpaired high surrogate inside a default", loneHigh, 0, withUnit("ab", 0, 0xD800),
         {{1, withUnit("ab", 0, 0xD800), {0, 2}}}},
        {"unpaired low surrogate before a field", loneLowBefore, 1, withUnit("xy", 0, 0xDC00), {{2, "y", {2, 1}}}},
    };
    for (const ParseRow& row : rows) {
        const SnippetPlaceholders parsed = parseSnippetPlaceholders(row.text, row.offset);
        EXPECT_EQ(parsed.displayText, row.display) << row.name;
        ASSERT_EQ(parsed.placeholders.size(), row.placeholders.size()) << row.name;
        for (std::size_t i = 0; i < row.placeholders.size(); ++i) {
            const Placeholder& got = parsed.placeholders[i];
            EXPECT_EQ(got.index, row.placeholders[i].index) << row.name << " #" << i;
            EXPECT_EQ(got.defaultText, row.placeholders[i].defaultText) << row.name << " #" << i;
            EXPECT_EQ(got.range, row.placeholders[i].range) << row.name << " #" << i;
            EXPECT_EQ(got.attachment, nullptr) << row.name << " #" << i;
        }
    }
}

// Random texts from pieces that make fields, near-fields and plain text with surrogate pairs.
QString randomTemplate(std::mt19937& random, bool withLoneSurrogates) {
    static const QString pieces[] = {
        "a", " ", "\n", ":", "}", "$", "{", "$ref", "${", "${1", "${1:", "${1:}", "${x:y}", "${7:v}", "${12:value}",
        "${3:\U0001F600}", "${1:\U0001F431 cat}", "\U0001F600", "\u00e9", "\u0663", "${\u0663:d}", "${00:z}", "0", "9",
    };
    QString text;
    const int count = std::uniform_int_distribution<int>(0, 24)(random);
    for (int i = 0; i < count; ++i) {
        if (withLoneSurrogates && random() % 9 == 0) {
            text += QChar(char16_t(random() % 2 ? 0xD83D : 0xDE00));
            continue;
        }
        text += pieces[random() % std::size(pieces)];
    }
    return text;
}

TEST(SnippetPlaceholdersTest, RangesAddressTheirDefaultsInRandomTemplates) {
    std::mt19937 random(34);
    for (int round = 0; round < 3000; ++round) {
        const QString text = randomTemplate(random, round % 2 == 1);
        const qsizetype offset = qsizetype(random() % 50);
        const SnippetPlaceholders parsed = parseSnippetPlaceholders(text, offset);
        int previousIndex = -1;
        for (const Placeholder& p : parsed.placeholders) {
            ASSERT_GE(p.range.location, offset) << text.toStdString();
            ASSERT_EQ(parsed.displayText.mid(p.range.location - offset, p.range.length), p.defaultText)
                << text.toStdString();
            ASSERT_FALSE(p.defaultText.isEmpty());
            ASSERT_GE(p.index, previousIndex);
            previousIndex = p.index;
        }
        // Display text = original minus each field's "${n:" and "}".
        qsizetype removed = 0;
        SnippetPlaceholderScanner scanner(text);
        while (const auto m = scanner.next()) removed += m->range.length - m->defaultText.length;
        ASSERT_EQ(parsed.displayText.size(), text.size() - removed);
    }
}

// On texts Qt's engine accepts (well-formed UTF-16) the scanner finds exactly the pattern's matches.
TEST(SnippetPlaceholdersTest, ScannerAgreesWithThePattern) {
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        const QString text = randomTemplate(random, false);
        std::vector<std::pair<QString, QString>> expected;
        auto it = SnippetTemplateCoding::placeholderPattern().globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            expected.emplace_back(m.captured(1), m.captured(2));
        }
        std::vector<std::pair<QString, QString>> found;
        SnippetPlaceholderScanner scanner(text);
        while (const auto m = scanner.next()) {
            found.emplace_back(text.mid(m->digits.location, m->digits.length),
                               text.mid(m->defaultText.location, m->defaultText.length));
        }
        ASSERT_EQ(found, expected) << text.toStdString();
    }
}

struct AdjustRow {
    const char* name;
    std::vector<TextRange> before;
    TextRange edit;
    qsizetype newLength;
    std::vector<TextRange> after;
    std::optional<std::size_t> answer;
    std::vector<bool> keepsChip;
};

TEST(SnippetPlaceholdersTest, AdjustRangesFollowsEdits) {
    const std::vector<TextRange> three = {{10, 4}, {20, 3}, {30, 2}};
    const AdjustRow rows[] = {
        {"two units inside replaced by five", three, {11, 2}, 5, {{11, 5}, {23, 3}, {33, 2}}, 0, {false, true, true}},
        {"insertion at a start overlaps nothing", three, {20, 0}, 3, {{10, 4}, {20, 3}, {33, 2}}, std::nullopt,
         {true, true, true}},
        {"one edit over two placeholders", three, {12, 10}, 1, {{12, 1}, {12, 1}, {21, 2}}, 1, {false, false, true}},
        {"deletion before all", three, {0, 2}, 0, {{8, 4}, {18, 3}, {28, 2}}, std::nullopt, {true, true, true}},
        {"edit past the text", three, {1000, 5}, 9, three, std::nullopt, {true, true, true}},
        {"edit at a placeholder's end", three, {14, 0}, 2, {{10, 4}, {22, 3}, {32, 2}}, std::nullopt,
         {true, true, true}},
        {"negative edit length is an insertion", three, {5, -3}, 2, {{12, 4}, {22, 3}, {32, 2}}, std::nullopt,
         {true, true, true}},
        {"negative new length is a deletion", three, {10, 4}, -7, {{10, 0}, {16, 3}, {26, 2}}, 0,
         {false, true, true}},
        {"edit reaching before the text", three, {-5, 8}, 0, {{7, 4}, {17, 3}, {27, 2}}, std::nullopt,
         {true, true, true}},
        {"emptied placeholder inside a deleted span stays at the edit", {{10, 2}, {15, 0}, {30, 2}}, {12, 10}, 0,
         {{10, 2}, {12, 0}, {20, 2}}, std::nullopt, {true, true, true}},
        {"emptied placeholder inside a replaced span lands after the new text", {{15, 0}}, {12, 10}, 3, {{15, 0}},
         std::nullopt, {true}},
        {"no placeholders", {}, {0, 1}, 1, {}, std::nullopt, {}},
    };
    for (const AdjustRow& row : rows) {
        std::vector<Placeholder> placeholders;
        for (const TextRange& range : row.before)
            placeholders.push_back(Placeholder{1, "d", range, std::make_shared<PlaceholderChip>()});
        PlaceholderSession session(std::move(placeholders), 0, LineRange{0, 3}, true);
        EXPECT_EQ(session.adjustRanges(row.edit, row.newLength), row.answer) << row.name;
        ASSERT_EQ(session.placeholders().size(), row.after.size()) << row.name;
        for (std::size_t i = 0; i < row.after.size(); ++i) {
            EXPECT_EQ(session.placeholders()[i].range, row.after[i]) << row.name << " #" << i;
            EXPECT_EQ(session.placeholders()[i].attachment != nullptr, row.keepsChip[i]) << row.name << " #" << i;
        }
    }
}

}  // namespace

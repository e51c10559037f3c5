#include "Carvex/Completion/RawTextLines.h"
#include "Carvex/Completion/RequiredFieldResolver.h"

#include <gtest/gtest.h>

#include <QString>

#include <random>

namespace {

// The one-pass JSON line reader gives, line for line, what splitting at line feeds, trimming and
// counting brackets give, on seeded random texts full of quotes, escapes, brackets and spaces.
TEST(RawTextLines, oneReadPerLineEqualsSplitTrimAndCount)
{
    const char16_t alphabet[] = {u'\n', u'\n', u'"', u'"', u'\\', u'[', u']', u'{', u'}', u' ', u' ', u' ',
                                 u' ',  u' ',  u' ', u'\t',
                                 u'\r', u'a', u':', 0x3000, 0x2028, 0x00A0, 0xD83D};
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        QString text;
        const int length = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < length; ++i)
            text += QChar(alphabet[random() % std::size(alphabet)]);
        std::vector<std::tuple<QString, int, int>> expected;
        for (QStringView line : Carvex::RawTextLines::split(text)) {
            const QStringView trimmed = Carvex::RawTextLines::trimWhitespace(line);
            const Carvex::RawTextLines::BracketTally tally = Carvex::RawTextLines::tallyBrackets(trimmed);
            expected.emplace_back(trimmed.toString(), tally.opening, tally.closing);
        }
        std::vector<std::tuple<QString, int, int>> read;
        for (qsizetype start = 0; start >= 0;) {
            const Carvex::RawTextLines::JSONLineRead line = Carvex::RawTextLines::readJSONLine(text, start);
            read.emplace_back(line.trimmed.toString(), line.tally.opening, line.tally.closing);
            start = line.next;
        }
        ASSERT_EQ(read, expected) << text.toStdString();
    }
}

TEST(RawTextLines, bracketCountsOfJSONLines)
{
    struct Row {
        const char* line;
        int opening;
        int closing;
    };
    const Row rows[] = {
        {R"({"a": [1, {"b": "}"}]})", 3, 3},
        {R"("escaped \" [ still a string")", 0, 0},
        {R"("k": "open [ string {)", 2, 0}, // the unterminated string's brackets count too
        {R"(]}, "x\\": [)", 1, 2},
    };
    for (const Row& row : rows) {
        const auto [opening, closing] = Carvex::RequiredFieldResolver::jsonBracketCounts(QString::fromUtf8(row.line));
        EXPECT_EQ(opening, row.opening) << row.line;
        EXPECT_EQ(closing, row.closing) << row.line;
    }
}

} // namespace

#include "Carvex/Completion/QuotedTextScanner.h"

#include <gtest/gtest.h>

#include <QString>

#include <unicode/uregex.h>

#include <random>

namespace {

// The patterns through ICU's own regular expressions: what the scanner must answer.
class IcuPattern {
public:
    explicit IcuPattern(const char16_t* pattern)
    {
        UErrorCode status = U_ZERO_ERROR;
        regex_ = uregex_open(reinterpret_cast<const UChar*>(pattern), -1, 0, nullptr, &status);
        EXPECT_TRUE(U_SUCCESS(status));
    }
    ~IcuPattern() { uregex_close(regex_); }
    IcuPattern(const IcuPattern&) = delete;
    IcuPattern& operator=(const IcuPattern&) = delete;

    // Group 1 of every match, left to right (the first only when `all` is false).
    std::vector<QString> groups(const QString& text, bool all)
    {
        std::vector<QString> found;
        UErrorCode status = U_ZERO_ERROR;
        uregex_setText(regex_, reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()), &status);
        while (uregex_findNext(regex_, &status) && U_SUCCESS(status)) {
            const int32_t start = uregex_start(regex_, 1, &status);
            const int32_t end = uregex_end(regex_, 1, &status);
            found.push_back(text.mid(start, end - start));
            if (!all)
                break;
        }
        EXPECT_TRUE(U_SUCCESS(status));
        return found;
    }

private:
    URegularExpression* regex_ = nullptr;
};

std::vector<QString> strings(const std::vector<QStringView>& views)
{
    std::vector<QString> out;
    for (QStringView view : views)
        out.push_back(view.toString());
    return out;
}

std::vector<QString> optional(std::optional<QStringView> view)
{
    return view ? std::vector<QString>{view->toString()} : std::vector<QString>{};
}

// Seeded random lines over the characters that matter (quotes, colons, every kind of white space,
// surrogates) answer the same through the scanner and through ICU.
TEST(QuotedTextScanner, answersAsTheIcuPatternsDo)
{
    IcuPattern firstKey(u"\"([^\"]+)\"\\s*:");
    IcuPattern leadingKey(u"^\\s*\"([^\"]+)\"\\s*:");
    IcuPattern quoted(u"\"([^\"]+)\"");
    const char16_t alphabet[] = {u'"',    u'"',    u'"',    u':',    u':',    u' ',    u'\t',   u'a',
                                 u'b',    u'[',    u',',    u'\\',   0x000B,  0x000C,  u'\r',   0x0085,
                                 0x00A0,  0x1680,  0x2007,  0x2028,  0x3000,  0x200B,  0xFEFF,  0xD83D,
                                 0xDE00,  0x00E9};
    std::mt19937 random(20261206);
    for (int round = 0; round < 20000; ++round) {
        QString line;
        const int length = std::uniform_int_distribution<int>(0, 14)(random);
        for (int i = 0; i < length; ++i)
            line += QChar(alphabet[std::uniform_int_distribution<std::size_t>(0, std::size(alphabet) - 1)(random)]);
        ASSERT_EQ(optional(Carvex::QuotedTextScanner::firstKey(line)), firstKey.groups(line, false))
            << line.toStdString();
        ASSERT_EQ(optional(Carvex::QuotedTextScanner::leadingKey(line)), leadingKey.groups(line, false))
            << line.toStdString();
        ASSERT_EQ(strings(Carvex::QuotedTextScanner::quotedTexts(line)), quoted.groups(line, true))
            << line.toStdString();
    }
}

TEST(QuotedTextScanner, readsKeysAndStrings)
{
    struct Row {
        const char* line;
        const char* first;
        const char* leading;
        std::vector<QString> texts;
    };
    const Row rows[] = {
        {R"(  "type": ["string", "null"])", "type", "type", {"type", "string", "null"}},
        {R"("a" "b":)", "b", "", {"a", "b"}},
        {R"(x "k" : 1)", "k", "", {"k"}},
        {R"("":"v":)", "v", "", {":"}},
        {R"("open)", "", "", {}},
    };
    for (const Row& row : rows) {
        const QString line = QString::fromUtf8(row.line);
        EXPECT_EQ(Carvex::QuotedTextScanner::firstKey(line).value_or(QStringView()).toString(), row.first) << row.line;
        EXPECT_EQ(Carvex::QuotedTextScanner::leadingKey(line).value_or(QStringView()).toString(), row.leading)
            << row.line;
        EXPECT_EQ(strings(Carvex::QuotedTextScanner::quotedTexts(line)), row.texts) << row.line;
    }
}

} // namespace

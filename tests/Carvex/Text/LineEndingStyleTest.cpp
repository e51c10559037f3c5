#include "Carvex/Text/LineEndingStyle.h"

#include <gtest/gtest.h>

using namespace Carvex;

namespace {

struct LineEndingStyleRow {
    const char* name;
    const char* text;
    LineEndingStyle style;
    const char* normalized;
};

}  // namespace

class LineEndingStyleTest : public ::testing::TestWithParam<LineEndingStyleRow> {};

TEST_P(LineEndingStyleTest, DetectsNormalizesAndRestores) {
    const auto& row = GetParam();
    const QString text = QString::fromUtf8(row.text);
    EXPECT_EQ(detectLineEndingStyle(text), row.style);
    const QString normalized = normalizeLineEndings(text);
    EXPECT_EQ(normalized, QString::fromUtf8(row.normalized));
    EXPECT_FALSE(normalized.contains(u'\r'));
    // Text written in a single style comes back exactly.
    if (text.count(u'\r') == 0 || text.count("\r\n") == text.count(u'\r') ||
        text.count(u'\n') == 0) {
        EXPECT_EQ(applyLineEndingStyle(normalized, row.style), text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineEndingStyleTest,
    ::testing::Values(LineEndingStyleRow{"empty", "", LineEndingStyle::lf, ""},
                      LineEndingStyleRow{"no_break", "abc", LineEndingStyle::lf, "abc"},
                      LineEndingStyleRow{"lf", "a\nb\n", LineEndingStyle::lf, "a\nb\n"},
                      LineEndingStyleRow{"crlf", "a\r\nb\r\n", LineEndingStyle::crlf, "a\nb\n"},
                      LineEndingStyleRow{"cr", "a\rb\r", LineEndingStyle::cr, "a\nb\n"},
                      LineEndingStyleRow{"crlf_blank_lines", "\r\n\r\na", LineEndingStyle::crlf, "\n\na"},
                      LineEndingStyleRow{"first_break_decides", "a\r\nb\nc\r", LineEndingStyle::crlf,
                                    "a\nb\nc\n"},
                      LineEndingStyleRow{"cr_then_lf_pair_is_one_break", "a\r\n", LineEndingStyle::crlf,
                                    "a\n"},
                      LineEndingStyleRow{"lf_cr_is_two_breaks", "a\n\rb", LineEndingStyle::lf, "a\n\nb"}),
    [](const auto& info) { return std::string(info.param.name); });

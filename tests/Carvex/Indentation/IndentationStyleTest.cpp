#include "Carvex/Indentation/IndentationDetector.h"
#include "Carvex/Indentation/IndentationPreferencesStore.h"
#include "Carvex/Indentation/IndentationStyle.h"
#include "Carvex/Indentation/IndentationStyleDecodingError.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

using namespace Carvex;

TEST(IndentationStyleTest, StringsWidthsAndDescriptions) {
    EXPECT_EQ(IndentationStyle::default_(), IndentationStyle::spaces(2));
    EXPECT_EQ(IndentationStyle::spaces(3).indentString(), "   ");
    EXPECT_EQ(IndentationStyle::tabs().indentString(), "\t");
    EXPECT_EQ(IndentationStyle::spaces(4).width(8), 4);
    EXPECT_EQ(IndentationStyle::tabs().width(8), 8);
    EXPECT_EQ(IndentationStyle::spaces(4).description(), "4 Spaces");
    EXPECT_EQ(IndentationStyle::tabs().description(), "Tabs");
    EXPECT_NE(IndentationStyle::spaces(0), IndentationStyle::tabs());
    EXPECT_EQ(IndentationStyle::spaces(-5).indentString(), "");
}

TEST(IndentationStyleTest, SerialisedFormRoundTrips) {
    EXPECT_EQ(IndentationStyle::spaces(4).encodedJson(), R"({"spaces":{"width":4}})");
    EXPECT_EQ(IndentationStyle::tabs().encodedJson(), R"({"tabs":{}})");
    for (const auto& style : {IndentationStyle::spaces(4), IndentationStyle::tabs(),
                              IndentationStyle::spaces(0)}) {
        EXPECT_EQ(IndentationStyle::decode(style.encodedJson()), style);
    }
    EXPECT_EQ(IndentationStyle::decode(QByteArray(R"({"spaces":{"width":8},"other":1})")),
              IndentationStyle::spaces(8));
}

namespace {

struct DecodeFailure {
    const char* name;
    const char* json;
    const char* message;
};

}  // namespace

class IndentationStyleDecodeTest : public ::testing::TestWithParam<DecodeFailure> {};

TEST_P(IndentationStyleDecodeTest, FailsWithItsMessage) {
    try {
        IndentationStyle::decode(QByteArray(GetParam().json));
        FAIL() << "decoded " << GetParam().json;
    } catch (const IndentationStyleDecodingError& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IndentationStyleDecodeTest,
    ::testing::Values(
        DecodeFailure{"both_keys", R"({"spaces": {"width": 4}, "tabs": {}})",
                      "Invalid number of keys found, expected one."},
        DecodeFailure{"no_keys", R"({})", "Invalid number of keys found, expected one."},
        DecodeFailure{"unknown_key_only", R"({"tab": {}})",
                      "Invalid number of keys found, expected one."},
        DecodeFailure{"missing_width", R"({"spaces": {}})", "No value associated with key 'width'."},
        DecodeFailure{"fractional_width", R"({"spaces": {"width": 2.5}})",
                      "Expected an integer for key 'width'."},
        DecodeFailure{"text_width", R"({"spaces": {"width": "4"}})",
                      "Expected an integer for key 'width'."},
        DecodeFailure{"nested_not_object", R"({"tabs": 1})", "Expected an object for key 'tabs'."},
        DecodeFailure{"huge_width_refused", R"({"spaces": {"width": 1e12}})",
                      "Indentation width 1e+12 is out of range 0 to 16."}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct DetectRow {
    const char* name;
    const char* text;
    std::optional<IndentationStyle> expected;
};

}  // namespace

class IndentationDetectorTest : public ::testing::TestWithParam<DetectRow> {};

TEST_P(IndentationDetectorTest, Votes) {
    const QString text = QString::fromUtf8(GetParam().text);
    EXPECT_EQ(IndentationDetector{}.detect(text), GetParam().expected);
    // The same text with CR LF line breaks gives the same answer.
    QString crlf = text;
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(IndentationDetector{}.detect(crlf), GetParam().expected) << "with CR LF";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IndentationDetectorTest,
    ::testing::Values(
        DetectRow{"fewer_than_three_indented", "a:\n  b: 1\n  c: 2\n", std::nullopt},
        DetectRow{"three_tab_lines", "a\n\tb\n\tc\n\td\n", IndentationStyle::tabs()},
        DetectRow{"tabs_and_spaces_tie", "a\n\tb\n\tc\n\td\nx\n  y\n    z\n  w\n", std::nullopt},
        DetectRow{"steps_of_two", "a\n  b\n    c\n  d\n    e\n      f\n", IndentationStyle::spaces(2)},
        DetectRow{"steps_of_four", "a\n    b\n        c\n    d\n", IndentationStyle::spaces(4)},
        DetectRow{"two_and_four_tie_goes_to_two", "a\n  b\n    c\nd\n    e\n        f\n",
                  IndentationStyle::spaces(2)},
        DetectRow{"steps_of_three", "a\n   b\n      c\n         d\n", IndentationStyle::spaces(3)},
        DetectRow{"steps_of_eight", "a\n        b\n                c\n        d\n",
                  IndentationStyle::spaces(8)},
        DetectRow{"steps_of_one_never_win", "a\n b\n  c\n   d\n", std::nullopt},
        DetectRow{"blank_lines_reset_previous", "a\n  b\n\n  c\n\n  d\n", IndentationStyle::spaces(2)},
        DetectRow{"jumps_of_four_do_not_beat_two",
                  "a:\n  b:\n    c:\n      d: 1\n  e: 2\n  f:\n    g: 1\n",
                  IndentationStyle::spaces(2)},
        DetectRow{"steps_beyond_eight_ignored", "a\n          b\nc\n          d\ne\n          f\n",
                  std::nullopt},
        DetectRow{"empty_text", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IndentationDetectorLimitTest, OnlyTheFirstLinesAreScanned) {
    QString text = "a\n";
    for (int i = 0; i < 10; ++i) {
        text += "x\n  y\n";
    }
    EXPECT_EQ(IndentationDetector{5}.detect(text), std::nullopt);  // two steps in five lines
    EXPECT_EQ(IndentationDetector{7}.detect(text), IndentationStyle::spaces(2));
    EXPECT_EQ(IndentationDetector{0}.detect(text), std::nullopt);
}

TEST(IndentationDetectorLimitTest, crlf_line_breaks_do_not_reset_the_previous_indent) {
    // Read as a blank line after every line, this would vote steps 2, 4, 6, 4, 6 and 4 would win.
    const QString text = "a:\r\n  b:\r\n    c:\r\n      d:\r\n    e:\r\n      f:\r\n";
    EXPECT_EQ(IndentationDetector{}.detect(text), IndentationStyle::spaces(2));
}

class IndentationPreferencesStoreTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
    std::shared_ptr<CarvexPlatform::Settings> settings = CarvexPlatform::Settings::isolated();
    IndentationPreferencesStore store{settings};
};

TEST_F(IndentationPreferencesStoreTest, AbsentOrUnusableStoredWidthsReadAsTwo) {
    EXPECT_EQ(store.indentationStyle(), IndentationStyle::spaces(2));
    for (long long width : {0LL, -3LL, 17LL, 1000000000000LL}) {
        settings->setInteger("indentation.spacesWidth", width);
        EXPECT_EQ(store.indentationStyle(), IndentationStyle::spaces(2)) << width;
    }
    settings->setInteger("indentation.spacesWidth", 3);
    EXPECT_EQ(store.indentationStyle(), IndentationStyle::spaces(3));
}

TEST_F(IndentationPreferencesStoreTest, ChoosingTabsRemovesTheWidth) {
    store.setIndentationStyle(IndentationStyle::spaces(8));
    EXPECT_EQ(store.indentationStyle(), IndentationStyle::spaces(8));
    EXPECT_FALSE(settings->boolValue("indentation.useTabs"));
    store.setIndentationStyle(IndentationStyle::tabs());
    EXPECT_EQ(store.indentationStyle(), IndentationStyle::tabs());
    EXPECT_FALSE(settings->contains("indentation.spacesWidth"));
    settings->setBool("indentation.useTabs", false);  // back to spaces without a width
    EXPECT_EQ(store.indentationStyle(), IndentationStyle::spaces(2));
}

TEST_F(IndentationPreferencesStoreTest, TabKeyPreferenceAndReset) {
    EXPECT_TRUE(store.useTabKeyForIndent());
    store.setUseTabKeyForIndent(false);
    store.setIndentationStyle(IndentationStyle::tabs());
    EXPECT_FALSE(store.useTabKeyForIndent());
    store.reset();
    EXPECT_TRUE(store.useTabKeyForIndent());
    EXPECT_EQ(store.indentationStyle(), IndentationStyle::spaces(2));
    EXPECT_FALSE(settings->contains("indentation.useTabs"));
}

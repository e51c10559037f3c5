#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <limits>

using CarvexPlatform::Settings;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
    std::shared_ptr<Settings> store = Settings::isolated();
};

TEST_F(SettingsTest, AbsentAndRemovedKeysReadAsDefaults) {
    EXPECT_FALSE(store->object("editor.showIndentGuides").has_value());
    EXPECT_EQ(store->integerValue("indentation.spacesWidth"), 0);
    EXPECT_TRUE(store->data("syntaxTheme.stringColor.dark").isEmpty());
    store->setBool("a.flag", true);
    store->remove("a.flag");
    store->remove("never.stored");  // harmless
    EXPECT_FALSE(store->contains("a.flag"));
    EXPECT_FALSE(store->boolValue("a.flag"));
}

TEST_F(SettingsTest, ValuesRoundTripAndStayInTheirOwnStore) {
    store->setBool("a.flag", false);
    store->setInteger("a.width", -3);
    store->setData("a.blob", QByteArray("\x00\x01\xff", 3));
    store->setValue("a.text", QStringLiteral("not data"));
    store->sync();
    EXPECT_TRUE(store->contains("a.flag"));
    EXPECT_FALSE(store->boolValue("a.flag"));
    EXPECT_EQ(store->integerValue("a.width"), -3);
    EXPECT_EQ(store->data("a.blob"), QByteArray("\x00\x01\xff", 3));
    EXPECT_TRUE(store->data("a.text").isEmpty());  // a non-data value reads as no data
    store->setBool("a.flag", true);
    EXPECT_TRUE(store->boolValue("a.flag"));
    EXPECT_FALSE(Settings::isolated()->contains("a.flag"));
}

namespace {

struct TextReading {
    const char* name;
    const char* text;
    bool asBool;
    long long asInteger;
};

class SettingsTextReadingTest : public ::testing::TestWithParam<TextReading> {};

TEST_P(SettingsTextReadingTest, StoredTextsReadLikeTheUserDefaults) {
    CarvexPlatform::TestApplication::ensure();
    auto store = Settings::isolated();
    store->setValue("k", QString::fromUtf8(GetParam().text));
    EXPECT_EQ(store->boolValue("k"), GetParam().asBool);
    EXPECT_EQ(store->integerValue("k"), GetParam().asInteger);
}

constexpr long long maxInteger = std::numeric_limits<long long>::max();
constexpr long long minInteger = std::numeric_limits<long long>::min();

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsTextReadingTest,
    ::testing::Values(TextReading{"true_word", "true", true, 1}, TextReading{"false_word", "false", false, 0},
                      TextReading{"yes", "YES", true, 0}, TextReading{"no", "no", false, 0},
                      TextReading{"number", " 42", true, 42}, TextReading{"negative", "-3", true, -3},
                      TextReading{"zero_padded", "007", true, 7}, TextReading{"zeros", "000", false, 0},
                      TextReading{"trailing_text", "12px", true, 12}, TextReading{"empty", "", false, 0},
                      TextReading{"overflow_saturates", "99999999999999999999999", true, maxInteger},
                      TextReading{"underflow_saturates", "-99999999999999999999999", true, minInteger}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

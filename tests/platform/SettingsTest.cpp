#include "platform/Settings.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <limits>

using CarvexPlatform::Settings;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
    std::shared_ptr<Settings> store = Settings::isolated();
};

TEST_F(SettingsTest, AbsentKeysReadAsDefaults) {
    EXPECT_FALSE(store->contains("editor.showIndentGuides"));
    EXPECT_FALSE(store->object("editor.showIndentGuides").has_value());
    EXPECT_FALSE(store->boolValue("editor.showIndentGuides"));
    EXPECT_EQ(store->integerValue("indentation.spacesWidth"), 0);
    EXPECT_TRUE(store->data("syntaxTheme.stringColor.dark").isEmpty());
}

TEST_F(SettingsTest, ValuesRoundTripThroughTheStore) {
    store->setBool("a.flag", false);
    store->setInteger("a.width", -3);
    store->setData("a.blob", QByteArray("\x00\x01\xff", 3));
    store->sync();
    EXPECT_TRUE(store->contains("a.flag"));
    EXPECT_FALSE(store->boolValue("a.flag"));
    EXPECT_EQ(store->integerValue("a.width"), -3);
    EXPECT_EQ(store->data("a.blob"), QByteArray("\x00\x01\xff", 3));
    store->setBool("a.flag", true);
    EXPECT_TRUE(store->boolValue("a.flag"));
}

TEST_F(SettingsTest, RemovalMakesTheKeyAbsent) {
    store->setBool("a.flag", true);
    store->remove("a.flag");
    EXPECT_FALSE(store->contains("a.flag"));
    EXPECT_FALSE(store->boolValue("a.flag"));
    store->remove("never.stored");  // harmless
}

TEST_F(SettingsTest, IsolatedStoresDoNotShareValues) {
    auto other = Settings::isolated();
    store->setBool("a.flag", true);
    EXPECT_FALSE(other->contains("a.flag"));
}

TEST_F(SettingsTest, StandardStoreIsShared) {
    EXPECT_EQ(Settings::standard().get(), Settings::standard().get());
}

TEST_F(SettingsTest, DataReadOfANonDataValueIsEmpty) {
    store->setValue("a.text", QStringLiteral("not data"));
    EXPECT_TRUE(store->data("a.text").isEmpty());
    EXPECT_TRUE(store->contains("a.text"));
}

namespace {

struct TextReading {
    const char* name;
    const char* text;
    bool asBool;
    long long asInteger;
};

}  // namespace

class SettingsTextReadingTest : public ::testing::TestWithParam<TextReading> {};

TEST_P(SettingsTextReadingTest, StoredTextsReadLikeTheUserDefaults) {
    CarvexPlatform::TestApplication::ensure();
    auto store = Settings::isolated();
    store->setValue("k", QString::fromUtf8(GetParam().text));
    EXPECT_EQ(store->boolValue("k"), GetParam().asBool);
    EXPECT_EQ(store->integerValue("k"), GetParam().asInteger);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsTextReadingTest,
    ::testing::Values(TextReading{"true_word", "true", true, 1},
                      TextReading{"false_word", "false", false, 0},
                      TextReading{"yes", "YES", true, 0},
                      TextReading{"no", "no", false, 0},
                      TextReading{"number", " 42", true, 42},
                      TextReading{"negative", "-3", true, -3},
                      TextReading{"zero_padded", "007", true, 7},
                      TextReading{"zeros", "000", false, 0},
                      TextReading{"trailing_text", "12px", true, 12},
                      TextReading{"empty", "", false, 0},
                      TextReading{"overflow_saturates", "99999999999999999999999", true,
                                  std::numeric_limits<long long>::max()},
                      TextReading{"underflow_saturates", "-99999999999999999999999", true,
                                  std::numeric_limits<long long>::min()}),
    [](const auto& info) { return std::string(info.param.name); });

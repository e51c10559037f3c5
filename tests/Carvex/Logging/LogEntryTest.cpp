#include "Carvex/Logging/LogEntry.h"
#include "Carvex/Logging/LogLevel.h"
#include "Carvex/Logging/SourceLocation.h"
#include "platform/Appearance.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <unordered_set>

using namespace Carvex;

namespace {

LogEntry entry(std::optional<SourceLocation> location, std::optional<QString> pointer,
               std::optional<QString> description = std::nullopt) {
    return LogEntry(QUuid::createUuid(), QDateTime::currentDateTime(), LogLevel::error, "m",
                    std::move(description), std::move(location), std::move(pointer));
}

}  // namespace

TEST(SourceLocationTest, FormatsWithAndWithoutAFileName) {
    EXPECT_EQ((SourceLocation{"", 12, 5, 300}).formatted(), "12:5");
    EXPECT_EQ((SourceLocation{"api.yaml", 12, 5, 300}).formatted(), "api.yaml:12:5");
    EXPECT_EQ((SourceLocation{"", -1, 0, std::nullopt}).formatted(), "-1:0");
}

TEST(SourceLocationTest, EqualityAndHashTakeTheOffsetIntoAccount) {
    const SourceLocation a{"f", 1, 2, std::nullopt};
    const SourceLocation b{"f", 1, 2, 0};
    EXPECT_NE(a, b);
    EXPECT_NE(a.hash(), b.hash());
    std::unordered_set<SourceLocation> set{a, b, SourceLocation{"f", 1, 2, 0}};
    EXPECT_EQ(set.size(), 2u);
}

namespace {

struct MetadataRow {
    const char* name;
    std::optional<SourceLocation> location;
    std::optional<QString> pointer;
    std::optional<QString> expected;
};

}  // namespace

class LogEntryMetadataTest : public ::testing::TestWithParam<MetadataRow> {};

TEST_P(LogEntryMetadataTest, JoinsLocationAndPointer) {
    const auto& row = GetParam();
    EXPECT_EQ(entry(row.location, row.pointer).formattedLocationMetadata(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LogEntryMetadataTest,
    ::testing::Values(
        MetadataRow{"neither", std::nullopt, std::nullopt, std::nullopt},
        MetadataRow{"pointer_only", std::nullopt, QString("/paths"), QString("/paths")},
        MetadataRow{"location_only", SourceLocation{"", 3, 4, std::nullopt}, std::nullopt,
                    QString("3:4")},
        MetadataRow{"both", SourceLocation{"api.yaml", 3, 4, 9}, QString("/info"),
                    QString("api.yaml:3:4 \u2022 /info")},
        MetadataRow{"empty_pointer_counts", SourceLocation{"", 1, 1, std::nullopt}, QString(""),
                    QString("1:1 \u2022 ")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogEntryTest, ExpandableOnlyWithANonEmptyDescriptionTimestampBracketed) {
    EXPECT_FALSE(entry(std::nullopt, std::nullopt).isExpandable());
    EXPECT_FALSE(entry(std::nullopt, std::nullopt, QString("")).isExpandable());
    LogEntry e = entry(std::nullopt, std::nullopt, QString("detail"));
    EXPECT_TRUE(e.isExpandable());
    e.timestamp = QDateTime(QDate(2026, 3, 1), QTime(7, 5, 9), Qt::LocalTime);
    EXPECT_EQ(e.formattedTimestamp(), "[07:05:09]");
}

TEST(LogEntryTest, EqualityComparesEveryFieldIncludingTheId) {
    const LogEntry a = entry(std::nullopt, QString("/x"));
    LogEntry b = a;
    EXPECT_EQ(a, b);
    b.message = "other";
    EXPECT_NE(a, b);
    const LogEntry c(QUuid::createUuid(), a.timestamp, a.level, a.message, a.errorDescription,
                     a.sourceLocation, a.jsonPointer);
    EXPECT_NE(a, c);
}

TEST(LogLevelTest, RawValuesAreExactAndCaseSensitive) {
    using VoziZazIreCore::fromRawValue;
    for (LogLevel level : allLogLevels) {
        EXPECT_EQ(fromRawValue<LogLevel>(rawValue(level)), level);
    }
    EXPECT_FALSE(fromRawValue<LogLevel>("Error").has_value());
    EXPECT_FALSE(fromRawValue<LogLevel>("error ").has_value());
    EXPECT_FALSE(fromRawValue<LogLevel>("").has_value());
}

TEST(LogLevelTest, IconsAreTintedWithTheLevelColour) {
    CarvexPlatform::TestApplication::ensure();
    CarvexPlatform::Appearance::shared().setOverride(false);
    for (LogLevel level : allLogLevels) {
        const auto icon = makeIcon(level, 16);
        ASSERT_TRUE(icon.has_value()) << rawValue(level);
        EXPECT_EQ(icon->text("Description").toStdString(), rawValue(level));
        const QColor expected = CarvexPlatform::systemColor(iconColor(level), false);
        bool sawTint = false;
        for (int y = 0; y < icon->height() && !sawTint; ++y) {
            for (int x = 0; x < icon->width() && !sawTint; ++x) {
                const QColor c = icon->pixelColor(x, y);
                sawTint = c.alpha() == 255 && c.rgb() == expected.rgb();
            }
        }
        EXPECT_TRUE(sawTint) << rawValue(level);
    }
    CarvexPlatform::Appearance::shared().setOverride(std::nullopt);
}

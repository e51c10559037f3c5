#include "Carvex/Syntax/ColorArchive.h"

#include <gtest/gtest.h>

#include <QDataStream>
#include <QIODevice>

#include <functional>

using Carvex::ColorArchive;

namespace {

struct RoundTripRow {
    const char* name;
    QColor color;
};

QColor extended(float red, float green, float blue, float alpha)
{
    QColor color = QColor::fromRgbF(red, green, blue, alpha);
    return color.spec() == QColor::ExtendedRgb ? color : color.convertTo(QColor::ExtendedRgb);
}

TEST(ColorArchive, everyKindOfColourReadsBackExactly)
{
    const RoundTripRow rows[] = {
        {"rgb_from_fractions", QColor::fromRgbF(0.82f, 0.51f, 0.93f)},
        {"rgb_with_alpha", QColor::fromRgbF(0.6f, 0.6f, 0.6f, 0.7f)},
        {"rgb_sixteen_bit_components", QColor::fromRgba64(1, 2, 65534, 12345)},
        {"transparent", QColor(0, 0, 0, 0)},
        {"hsv", QColor::fromHsvF(0.3f, 0.4f, 0.5f, 0.25f)},
        {"achromatic_hsv", QColor::fromHsv(-1, 0, 128)},
        {"hsl", QColor::fromHslF(0.9f, 0.1f, 0.2f)},
        {"cmyk", QColor::fromCmykF(0.1f, 0.2f, 0.3f, 0.4f, 0.5f)},
        {"extended_rgb_beyond_unit_range", extended(1.5f, -0.25f, 0.5f, 1.0f)},
        {"extended_rgb_in_unit_range", extended(0.25f, 0.5f, 0.75f, 0.5f)},
    };
    for (const RoundTripRow& row : rows) {
        ASSERT_TRUE(row.color.isValid()) << row.name;
        const QByteArray data = ColorArchive::archive(row.color);
        ASSERT_FALSE(data.isEmpty()) << row.name;
        const std::optional<QColor> back = ColorArchive::unarchive(data);
        ASSERT_TRUE(back.has_value()) << row.name;
        EXPECT_EQ(back->spec(), row.color.spec()) << row.name;
        EXPECT_EQ(*back, row.color) << row.name;
        EXPECT_EQ(back->rgba64(), row.color.rgba64()) << row.name;
    }
}

TEST(ColorArchive, invalidColourCannotBeArchived)
{
    EXPECT_TRUE(ColorArchive::archive(QColor()).isEmpty());
}

struct GarbageRow {
    const char* name;
    std::function<QByteArray(QByteArray)> spoil; // turns a valid archive into something else
};

QByteArray withByte(QByteArray data, qsizetype at, char value)
{
    data[at] = value;
    return data;
}

// The record is a 12-byte header, the colour model at byte 12 and five big-endian components from byte 13.
QByteArray withComponent(QByteArray data, int index, quint16 value)
{
    data[13 + 2 * index] = char(value >> 8);
    data[14 + 2 * index] = char(value & 0xFF);
    return data;
}

TEST(ColorArchive, anythingButAnArchivedColourIsRecognised)
{
    const QByteArray validExtended = ColorArchive::archive(extended(0.5f, 0.25f, 1.0f, 0.5f));
    ASSERT_TRUE(ColorArchive::unarchive(validExtended).has_value());
    const GarbageRow rows[] = {
        {"empty", [](QByteArray) { return QByteArray(); }},
        {"text", [](QByteArray) { return QByteArray("#ff00ff"); }},
        {"number_as_text", [](QByteArray) { return QByteArray("16711680"); }},
        {"header_only", [](QByteArray d) { return d.left(12); }},
        {"truncated_by_one", [](QByteArray d) { return d.chopped(1); }},
        {"trailing_byte", [](QByteArray d) { return d + 'x'; }},
        {"other_version", [](QByteArray d) { return withByte(d, 11, '\x02'); }},
        {"other_header", [](QByteArray d) { return withByte(d, 0, 'c'); }},
        {"invalid_model", [](QByteArray d) { return withByte(d, 12, 0); }},
        {"unknown_model", [](QByteArray d) { return withByte(d, 12, 6); }},
        {"negative_model", [](QByteArray d) { return withByte(d, 12, char(-1)); }},
        {"hsv_hue_out_of_range", [](QByteArray d) { return withComponent(withByte(d, 12, QColor::Hsv), 1, 36000); }},
        {"hsl_hue_out_of_range", [](QByteArray d) { return withComponent(withByte(d, 12, QColor::Hsl), 1, 40000); }},
        {"extended_nan", [&](QByteArray) { return withComponent(validExtended, 2, 0x7E00); }},
        {"extended_infinity", [&](QByteArray) { return withComponent(validExtended, 3, 0x7C00); }},
        {"extended_alpha_above_one", [&](QByteArray) { return withComponent(validExtended, 0, 0x4000); }},
        {"extended_negative_alpha", [&](QByteArray) { return withComponent(validExtended, 0, 0xBC00); }},
        {"bare_qt_stream_without_header",
         [](QByteArray) {
             QByteArray raw;
             QDataStream out(&raw, QIODevice::WriteOnly);
             out << QColor(Qt::red);
             return raw;
         }},
    };
    const QByteArray valid = ColorArchive::archive(QColor::fromRgbF(0.5f, 0.25f, 1.0f, 0.5f));
    ASSERT_TRUE(ColorArchive::unarchive(valid).has_value());
    for (const GarbageRow& row : rows)
        EXPECT_FALSE(ColorArchive::unarchive(row.spoil(valid)).has_value()) << row.name;
}

TEST(ColorArchive, soundRecordsWrittenByHandAreAccepted)
{
    // An achromatic hue marker and an extended alpha of exactly one are legitimate.
    const QByteArray valid = ColorArchive::archive(QColor::fromRgbF(0.5f, 0.25f, 1.0f, 0.5f));
    EXPECT_TRUE(ColorArchive::unarchive(withComponent(withByte(valid, 12, QColor::Hsv), 1, 0xFFFF)).has_value());
    const QByteArray validExtended = ColorArchive::archive(extended(0.5f, 0.25f, 1.0f, 0.5f));
    EXPECT_TRUE(ColorArchive::unarchive(withComponent(validExtended, 0, 0x3C00)).has_value());
    EXPECT_TRUE(ColorArchive::unarchive(withComponent(validExtended, 0, 0x8000)).has_value());
}

} // namespace

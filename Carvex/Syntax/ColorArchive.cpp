#include "Carvex/Syntax/ColorArchive.h"

#include <QDataStream>
#include <QIODevice>

#include <array>

namespace Carvex {

namespace {

// "CarvexColor" and a format version.
constexpr char kHeader[] = "CarvexColor\x01";
constexpr qsizetype kHeaderLength = sizeof(kHeader) - 1;
// The colour's model (qint8) and five components (quint16), as QDataStream writes a QColor.
constexpr qsizetype kBodyLength = 1 + 5 * 2;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

bool componentsAreSound(QColor::Spec model, const std::array<quint16, 5>& c)
{
    switch (model) {
    case QColor::Rgb:
    case QColor::Cmyk:
        return true;
    case QColor::Hsv:
    case QColor::Hsl:
        // Hue is in hundredths of a degree, or the marker of an achromatic colour.
        return c[1] < 36000 || c[1] == 0xFFFF;
    case QColor::ExtendedRgb: {
        // Half-precision floats: alpha, red, green, blue. All finite (exponent not all ones), and
        // alpha between 0 and 1 (at most 0x3C00, or negative zero).
        for (std::size_t i = 0; i < 4; ++i) {
            if (((c[i] >> 10) & 0x1F) == 0x1F)
                return false;
        }
        return c[0] <= 0x3C00 || c[0] == 0x8000;
    }
    case QColor::Invalid:
        return false;
    }
    return false;
}

} // namespace

QByteArray ColorArchive::archive(const QColor& color)
{
    if (!color.isValid())
        return {};
    QByteArray data(kHeader, kHeaderLength);
    QDataStream out(&data, QIODevice::WriteOnly | QIODevice::Append);
    out.setVersion(kStreamVersion);
    out << color;
    if (out.status() != QDataStream::Ok || data.size() != kHeaderLength + kBodyLength)
        return {};
    return data;
}

std::optional<QColor> ColorArchive::unarchive(const QByteArray& data)
{
    if (data.size() != kHeaderLength + kBodyLength || !data.startsWith(QByteArrayView(kHeader, kHeaderLength)))
        return std::nullopt;

    const QByteArray body = data.mid(kHeaderLength);
    {
        QDataStream in(body);
        in.setVersion(kStreamVersion);
        qint8 model = 0;
        std::array<quint16, 5> components{};
        in >> model;
        for (quint16& component : components)
            in >> component;
        if (in.status() != QDataStream::Ok || model <= QColor::Invalid || model > QColor::ExtendedRgb)
            return std::nullopt;
        if (!componentsAreSound(QColor::Spec(model), components))
            return std::nullopt;
    }

    QDataStream in(body);
    in.setVersion(kStreamVersion);
    QColor color;
    in >> color;
    if (in.status() != QDataStream::Ok || !in.atEnd() || !color.isValid())
        return std::nullopt;
    return color;
}

} // namespace Carvex

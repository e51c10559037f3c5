#include "Carvex/ModelAdapters/HTTPMethod.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <utility>

namespace Carvex {

std::string_view rawValue(HTTPMethod method)
{
    switch (method) {
    case HTTPMethod::get: return "GET";
    case HTTPMethod::post: return "POST";
    case HTTPMethod::put: return "PUT";
    case HTTPMethod::patch: return "PATCH";
    case HTTPMethod::delete_: return "DELETE";
    case HTTPMethod::head: return "HEAD";
    case HTTPMethod::options: return "OPTIONS";
    case HTTPMethod::trace: return "TRACE";
    }
    return "GET";
}

std::optional<HTTPMethod> httpMethodFromName(std::string_view name)
{
    for (HTTPMethod method : allHTTPMethods) {
        const std::string_view raw = rawValue(method);
        if (raw.size() == name.size()
            && std::equal(raw.begin(), raw.end(), name.begin(), [](char upper, char given) {
                   return upper == static_cast<char>(std::toupper(static_cast<unsigned char>(given)));
               }))
            return method;
    }
    return std::nullopt;
}

QColor badgeColor(HTTPMethod method)
{
    switch (method) {
    case HTTPMethod::get: return QColor::fromRgbF(0.3f, 0.69f, 0.31f, 1.0f);
    case HTTPMethod::post: return QColor::fromRgbF(0.25f, 0.47f, 0.85f, 1.0f);
    case HTTPMethod::put: return QColor::fromRgbF(0.8f, 0.55f, 0.2f, 1.0f);
    case HTTPMethod::patch: return QColor::fromRgbF(0.7f, 0.65f, 0.25f, 1.0f);
    case HTTPMethod::delete_: return QColor::fromRgbF(0.8f, 0.3f, 0.3f, 1.0f);
    case HTTPMethod::head: return QColor::fromRgbF(0.55f, 0.4f, 0.7f, 1.0f);
    case HTTPMethod::options: return QColor::fromRgbF(0.5f, 0.5f, 0.55f, 1.0f);
    case HTTPMethod::trace: return QColor::fromRgbF(0.5f, 0.5f, 0.55f, 1.0f);
    }
    return QColor();
}

namespace {

struct BadgeLayout {
    QFont font;
    QSizeF size;
};

// The font and the one size of every badge: the widest name's width plus 12, its height plus 4.
const BadgeLayout& badgeLayout()
{
    static const BadgeLayout layout = [] {
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(8);
        font.setWeight(QFont::DemiBold);
        const QFontMetricsF metrics(font);
        qreal widest = 0;
        for (HTTPMethod method : allHTTPMethods) {
            const std::string_view raw = rawValue(method);
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(raw.data(), qsizetype(raw.size()))));
        }
        return BadgeLayout{font, QSizeF(std::ceil(widest + 12), std::ceil(metrics.height() + 4))};
    }();
    return layout;
}

} // namespace

QPixmap badgeImage(HTTPMethod method, qreal devicePixelRatio)
{
    const qreal ratio = std::isfinite(devicePixelRatio) ? std::clamp(devicePixelRatio, qreal(0.5), qreal(8)) : qreal(1);
    // Kept for the process and never destroyed: pixmaps must not outlive the application object.
    static auto* const cache = new std::map<std::pair<HTTPMethod, qreal>, QPixmap>();
    const auto key = std::make_pair(method, ratio);
    if (const auto found = cache->find(key); found != cache->end())
        return found->second;

    const BadgeLayout& layout = badgeLayout();
    QPixmap image(QSize(int(std::ceil(layout.size.width() * ratio)), int(std::ceil(layout.size.height() * ratio))));
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const QRectF bounds(QPointF(0, 0), layout.size);
        painter.setPen(Qt::NoPen);
        painter.setBrush(badgeColor(method));
        painter.drawRoundedRect(bounds, 3, 3);
        const std::string_view raw = rawValue(method);
        painter.setFont(layout.font);
        painter.setPen(Qt::white);
        painter.drawText(bounds, Qt::AlignCenter, QString::fromLatin1(raw.data(), qsizetype(raw.size())));
    }
    cache->emplace(key, image);
    return image;
}

} // namespace Carvex

template<>
std::optional<Carvex::HTTPMethod> VoziZazIreCore::fromRawValue<Carvex::HTTPMethod>(std::string_view text)
{
    for (Carvex::HTTPMethod method : Carvex::allHTTPMethods) {
        if (Carvex::rawValue(method) == text)
            return method;
    }
    return std::nullopt;
}

#include "Carvex/Completion/CompletionIconRenderer.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

static void initCompletionIconResources() { Q_INIT_RESOURCE(CompletionIcons); }

namespace Carvex {

using CarvexPlatform::SystemColor;

CompletionIconRenderer::CompletionIconRenderer(QString folder) : folder_(std::move(folder)) {
    initCompletionIconResources();
}

CompletionIconRenderer::~CompletionIconRenderer() = default;

QString CompletionIconRenderer::imageName(CompletionItemKind kind) {
    if (kind == CompletionItemKind::property) {
        return QStringLiteral("keyword");
    }
    const std::string_view raw = rawValue(kind);
    return QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()));
}

SystemColor CompletionIconRenderer::tintColor(CompletionItemKind kind) {
    switch (kind) {
        case CompletionItemKind::property: return SystemColor::systemBlue;
        case CompletionItemKind::value: return SystemColor::systemGreen;
        case CompletionItemKind::keyword: return SystemColor::systemPurple;
        case CompletionItemKind::snippet: return SystemColor::systemYellow;
        case CompletionItemKind::pathItem: return SystemColor::systemBlue;
        case CompletionItemKind::operation: return SystemColor::systemIndigo;
        case CompletionItemKind::parameter: return SystemColor::systemOrange;
        case CompletionItemKind::requestBody: return SystemColor::systemTeal;
        case CompletionItemKind::response: return SystemColor::systemGreen;
        case CompletionItemKind::server: return SystemColor::systemGray;
        case CompletionItemKind::security: return SystemColor::systemRed;
        case CompletionItemKind::schema: return SystemColor::systemPurple;
        case CompletionItemKind::tag: return SystemColor::systemPink;
        case CompletionItemKind::component: return SystemColor::systemCyan;
        case CompletionItemKind::link: return SystemColor::systemBlue;
        case CompletionItemKind::callback: return SystemColor::systemBrown;
        case CompletionItemKind::webhook: return SystemColor::systemMint;
        case CompletionItemKind::unknown: break;
    }
    return SystemColor::secondaryLabel;
}

std::shared_ptr<QSvgRenderer> CompletionIconRenderer::icon(CompletionItemKind kind) {
    if (const auto found = iconCache_.find(kind); found != iconCache_.end()) {
        return found->second;
    }
    const QString path = folder_ + u'/' + imageName(kind) + QStringLiteral(".svg");
    // An icon is a small file; anything else in its place is not read.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > 256 * 1024) {
        return nullptr;
    }
    auto image = std::make_shared<QSvgRenderer>(path);
    if (!image->isValid()) {
        return nullptr;
    }
    iconCache_.emplace(kind, image);
    return image;
}

QPixmap CompletionIconRenderer::pixmap(CompletionItemKind kind, qreal devicePixelRatio, const QColor& tint) {
    const qreal ratio = devicePixelRatio > 0 && std::isfinite(devicePixelRatio) ? std::min(devicePixelRatio, 8.0) : 1.0;
    const auto key = std::make_tuple(kind, static_cast<int>(std::lround(ratio * 100)), tint.rgba());
    if (const auto found = pixmaps_.find(key); found != pixmaps_.end()) {
        return found->second;
    }
    const std::shared_ptr<QSvgRenderer> image = icon(kind);
    if (!image) {
        return QPixmap();
    }
    const int side = static_cast<int>(std::ceil(iconSize * ratio));
    QImage canvas(side, side, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        image->render(&painter, QRectF(0, 0, side, side));
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(canvas.rect(), tint);
    }
    canvas.setDevicePixelRatio(ratio);
    QPixmap drawn = QPixmap::fromImage(canvas);
    pixmaps_.emplace(key, drawn);
    return drawn;
}

}  // namespace Carvex

#pragma once

#include "Carvex/Completion/CompletionItemKind.h"
#include "platform/SystemColor.h"

#include <QColor>
#include <QPixmap>
#include <QString>

#include <map>
#include <memory>
#include <tuple>

class QSvgRenderer;

namespace Carvex {

// The icon of each proposal kind in the completion list: a one-colour SVG image of the
// application's resources, named by `imageName`, loaded once per kind, drawn at 16 px for a
// screen's pixel ratio and tinted with the kind's system colour. A kind whose image is missing
// gives none, and is looked up again on the next request. Main thread only.
class CompletionIconRenderer {
public:
    static constexpr int iconSize = 16;
    static inline const QString resourceFolder = QStringLiteral(":/CompletionIcons");

    // Images from `folder` (the application's icon resources unless a test names another).
    explicit CompletionIconRenderer(QString folder = resourceFolder);
    ~CompletionIconRenderer();
    CompletionIconRenderer(const CompletionIconRenderer&) = delete;
    CompletionIconRenderer& operator=(const CompletionIconRenderer&) = delete;

    // "keyword" for properties and keywords, otherwise the kind's raw value.
    static QString imageName(CompletionItemKind kind);
    // The tint of the kind; properties and keywords share an image but not a tint.
    static CarvexPlatform::SystemColor tintColor(CompletionItemKind kind);

    // The kind's image, loaded on the first request and the same object afterwards; null when
    // the resources hold no valid image of its name.
    std::shared_ptr<QSvgRenderer> icon(CompletionItemKind kind);
    // The image drawn `iconSize` points wide for `devicePixelRatio`, every pixel in `tint` with the
    // image's coverage; a null pixmap without an image. Kept for the next row of the same look.
    QPixmap pixmap(CompletionItemKind kind, qreal devicePixelRatio, const QColor& tint);
    // Whether the kind's image has been loaded.
    bool isCached(CompletionItemKind kind) const { return iconCache_.count(kind) != 0; }

private:
    QString folder_;
    std::map<CompletionItemKind, std::shared_ptr<QSvgRenderer>> iconCache_;
    std::map<std::tuple<CompletionItemKind, int, QRgb>, QPixmap> pixmaps_;
};

}  // namespace Carvex

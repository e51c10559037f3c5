#include "Carvex/Properties/InertImageHandler.h"

#include <QTextFormat>

#include <algorithm>

namespace Carvex {

QSizeF InertImageHandler::intrinsicSize(QTextDocument*, int, const QTextFormat& format) {
    const QTextImageFormat image = format.toImageFormat();
    const auto side = [](qreal asked) { return asked > 0 ? std::min(asked, maximumSide) : 0; };
    return {side(image.width()), side(image.height())};
}

void InertImageHandler::drawObject(QPainter*, const QRectF&, QTextDocument*, int, const QTextFormat&) {}

}  // namespace Carvex

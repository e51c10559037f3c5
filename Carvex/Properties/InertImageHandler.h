#pragma once

#include <QObject>
#include <QTextObjectInterface>

namespace Carvex {

// Stands in for a text layout's own image handler, which reads an image's file by its path when
// the document gives it no resource. Images take the room their width and height ask for (at most
// 2000 by 2000) and draw nothing.
class InertImageHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    static constexpr qreal maximumSide = 2000;

    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;
};

}  // namespace Carvex

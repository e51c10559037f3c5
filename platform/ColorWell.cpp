#include "platform/ColorWell.h"

#include "platform/SystemColor.h"

#include <QColorDialog>
#include <QPainter>
#include <QPainterPath>

namespace CarvexPlatform {

ColorWell::ColorWell(QWidget* parent) : QAbstractButton(parent) {
    setFixedSize(30, 20);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &ColorWell::openDialog);
}

void ColorWell::setColor(const QColor& color) {
    if (!color.isValid() || color == color_) {
        return;
    }
    color_ = color;
    update();
}

void ColorWell::pickColor(const QColor& color) {
    if (!color.isValid()) {
        return;
    }
    setColor(color);
    emit activated();
}

void ColorWell::openDialog() {
    const QColor picked =
        QColorDialog::getColor(color_, this, QString(), QColorDialog::ShowAlphaChannel);
    if (picked.isValid()) {
        pickColor(picked);
    }
}

void ColorWell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(frame, 4, 4);
    if (color_.alpha() < 255) {
        // A checkerboard shows through translucent colours.
        painter.save();
        painter.setClipPath(shape);
        painter.fillRect(rect(), Qt::white);
        for (int y = 0; y < height(); y += 5) {
            for (int x = (y / 5) % 2 * 5; x < width(); x += 10) {
                painter.fillRect(x, y, 5, 5, QColor(204, 204, 204));
            }
        }
        painter.restore();
    }
    painter.fillPath(shape, color_);
    painter.setPen(QPen(systemColor(isDown() ? SystemColor::controlAccent : SystemColor::separator), 1));
    painter.drawPath(shape);
}

}  // namespace CarvexPlatform

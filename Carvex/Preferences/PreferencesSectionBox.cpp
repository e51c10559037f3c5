#include "Carvex/Preferences/PreferencesSectionBox.h"

#include "platform/SystemColor.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace Carvex {

PreferencesSectionBox::PreferencesSectionBox(QWidget* content, const QMargins& insets, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(insets);
    layout->addWidget(content);
}

void PreferencesSectionBox::paintEvent(QPaintEvent*) {
    using CarvexPlatform::SystemColor;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25), 8, 8);
    painter.fillPath(shape, CarvexPlatform::systemColor(SystemColor::controlBackground));
    painter.setPen(QPen(CarvexPlatform::systemColor(SystemColor::separator), 0.5));
    painter.drawPath(shape);
}

}  // namespace Carvex

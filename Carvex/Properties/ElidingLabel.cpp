#include "Carvex/Properties/ElidingLabel.h"

#include <QPainter>
#include <QStyle>

namespace Carvex {

ElidingLabel::ElidingLabel(const QString& text, Qt::TextElideMode mode, QWidget* parent)
    : QLabel(text, parent), mode_(mode) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setWordWrap(false);
    setTextFormat(Qt::PlainText);
}

QString ElidingLabel::elidedText() const {
    const QRect area = contentsRect();
    return fontMetrics().elidedText(text(), mode_, area.width());
}

QSize ElidingLabel::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QChar(0x2026)) + 2, QLabel::minimumSizeHint().height()};
}

void ElidingLabel::paintEvent(QPaintEvent* event) {
    // The frame (and a style sheet's border) as any label draws it, then the text cut to fit.
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    painter.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine, elidedText());
}

}  // namespace Carvex

#include "Carvex/Properties/ElidingLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

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

QString ElidingLabel::effectiveToolTip() const {
    if (!toolTip().isEmpty()) {
        return toolTip();
    }
    return elidedText() == text() ? QString() : text();
}

bool ElidingLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const QString tip = effectiveToolTip();
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
        }
        return true;
    }
    return QLabel::event(event);
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

#include "Carvex/Properties/ElidingComboBox.h"

#include <QAbstractItemView>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

namespace Carvex {

ElidingComboBox::ElidingComboBox(QWidget* parent) : QComboBox(parent) {}

QString ElidingComboBox::elidedText() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, std::max(field.width(), 0));
}

void ElidingComboBox::showPopup() {
    // The list shows whole titles even when the button is narrower.
    QAbstractItemView* list = view();
    list->setTextElideMode(Qt::ElideNone);
    const int contents = list->sizeHintForColumn(0) + 2 * list->frameWidth() + 24;
    list->setMinimumWidth(std::max(width(), contents));
    QComboBox::showPopup();
}

void ElidingComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = elidedText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace Carvex

#pragma once

#include "platform/SystemColor.h"

#include <QFont>
#include <QFontDatabase>
#include <QLabel>

namespace Carvex {

// The fonts and labels of the operation detail tabs: the system font and the monospaced system
// font at a point size and weight.
namespace DetailFonts {

inline QFont system(double pointSize, QFont::Weight weight = QFont::Normal) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    return font;
}

inline QFont monospaced(double pointSize, QFont::Weight weight = QFont::Normal) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    return font;
}

inline void setTextColor(QWidget* widget, CarvexPlatform::SystemColor color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, CarvexPlatform::systemColor(color));
    palette.setColor(QPalette::ButtonText, CarvexPlatform::systemColor(color));
    widget->setPalette(palette);
}

// A plain-text label in `font` and `color`.
inline QLabel* label(const QString& text, const QFont& font, CarvexPlatform::SystemColor color,
                     QWidget* parent = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    setTextColor(label, color);
    return label;
}

}  // namespace DetailFonts

}  // namespace Carvex

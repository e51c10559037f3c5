#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QStringView>

class QPainter;

namespace Carvex {

class SyntaxThemePreferencesStore;

// Draws placeholder chips: a rounded rectangle (corner radius 3, a one-unit border on the
// rectangle inset by half a unit) filled in the chip's background colour, its label centred in the
// chip font. Colours are read from the theme store at every call, so chips follow the appearance
// and the theme at the moment they are drawn. Nothing is cached.
namespace PlaceholderImageGenerator {

// The label font: the system font at 10 points, medium weight.
const QFont& chipFont();

struct ChipColors {
    QColor background;
    QColor border;
    QColor text;
};

// The chip colours of the active or inactive style for an appearance.
ChipColors colors(const SyntaxThemePreferencesStore& store, bool isActive, bool isDark);
// Whether the application shows its dark appearance.
bool isDarkAppearance();

// The size of a free-standing chip image for `label`: the label's size grown by 10 across and 4
// down, rounded up.
QSizeF imageSize(QStringView label);

// Draws a chip over `extent` (the place of its text on screen): the rounded rectangle takes the
// extent's width and the image height (never more than the extent's height), centred on the
// extent; the label is elided to fit.
void drawChip(QPainter& painter, const QRectF& extent, QStringView label, const ChipColors& colors);

}  // namespace PlaceholderImageGenerator

}  // namespace Carvex

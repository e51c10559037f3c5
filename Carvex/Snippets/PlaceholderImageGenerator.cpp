#include "Carvex/Snippets/PlaceholderImageGenerator.h"

#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"
#include "platform/Appearance.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace Carvex::PlaceholderImageGenerator {

namespace {

// Longer labels are cut before they are measured or drawn: a chip never shows more than a line.
constexpr qsizetype longestDrawnLabel = 512;

QString drawnLabel(QStringView label) {
    QString shown = label.left(longestDrawnLabel).toString();
    for (QChar& c : shown) {
        if (c == u'\n' || c == u'\t' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            c = u' ';
        }
    }
    return shown;
}

}  // namespace

const QFont& chipFont() {
    static const QFont font = [] {
        QFont made = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        made.setPointSizeF(10);
        made.setWeight(QFont::Medium);
        return made;
    }();
    return font;
}

ChipColors colors(const SyntaxThemePreferencesStore& store, bool isActive, bool isDark) {
    if (isActive) {
        return ChipColors{store.placeholderActiveBackgroundColor(isDark), store.placeholderActiveBorderColor(isDark),
                          store.placeholderActiveTextColor(isDark)};
    }
    return ChipColors{store.placeholderInactiveBackgroundColor(isDark), store.placeholderInactiveBorderColor(isDark),
                      store.placeholderInactiveTextColor(isDark)};
}

bool isDarkAppearance() { return CarvexPlatform::Appearance::shared().isDark(); }

QSizeF imageSize(QStringView label) {
    const QFontMetricsF metrics(chipFont());
    const qreal width = metrics.horizontalAdvance(drawnLabel(label));
    return QSizeF(std::ceil(width + 10), std::ceil(metrics.height() + 4));
}

void drawChip(QPainter& painter, const QRectF& extent, QStringView label, const ChipColors& colors) {
    if (extent.width() <= 0 || extent.height() <= 0) {
        return;
    }
    const QFontMetricsF metrics(chipFont());
    const qreal height = std::min(extent.height(), std::ceil(metrics.height() + 4));
    const QRectF chip(extent.left(), extent.top() + (extent.height() - height) / 2, extent.width(), height);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath outline;
    outline.addRoundedRect(chip.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.fillPath(outline, colors.background);
    painter.setPen(QPen(colors.border, 1.0));
    painter.drawPath(outline);
    const QString shown = metrics.elidedText(drawnLabel(label), Qt::ElideRight, std::max<qreal>(chip.width() - 4, 0));
    if (!shown.isEmpty()) {
        const qreal width = metrics.horizontalAdvance(shown);
        const QRectF box(chip.left() + (chip.width() - width) / 2, chip.top() + (chip.height() - metrics.height()) / 2,
                         width, metrics.height());
        painter.setFont(chipFont());
        painter.setPen(colors.text);
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, shown);
    }
    painter.restore();
}

}  // namespace Carvex::PlaceholderImageGenerator

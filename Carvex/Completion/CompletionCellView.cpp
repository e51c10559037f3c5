#include "Carvex/Completion/CompletionCellView.h"

#include "Carvex/Completion/CompletionIconRenderer.h"
#include "Carvex/Completion/CompletionListModel.h"
#include "platform/SystemColor.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace Carvex {

using CarvexPlatform::SystemColor;

namespace {

// A row shows at most this much of a text; the rest could never fit.
constexpr qsizetype maximumShownLength = 512;

QString shown(const QString& text) {
    QString head = text.size() > maximumShownLength ? text.left(maximumShownLength) : text;
    for (QChar& unit : head) {
        if (unit == u'\n' || unit == u'\r' || unit == u'\t' || unit == QChar::LineSeparator ||
            unit == QChar::ParagraphSeparator) {
            unit = u' ';
        }
    }
    return head;
}

}  // namespace

CompletionCellView::CompletionCellView(const CompletionListModel& model, CompletionIconRenderer& icons,
                                       QObject* parent)
    : QStyledItemDelegate(parent), model_(model), icons_(icons) {}

QFont CompletionCellView::labelFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(12);
    font.setWeight(QFont::Normal);
    return font;
}

QFont CompletionCellView::secondaryFont() {
    QFont font;
    font.setPointSizeF(11);
    return font;
}

QString CompletionCellView::secondaryText(const CompletionItem& item) {
    if (item.kind != CompletionItemKind::snippet || !item.shortDescription) {
        return QString();
    }
    return *item.shortDescription;
}

QSize CompletionCellView::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(option.rect.width() > 0 ? option.rect.width() : 300, rowHeight);
}

void CompletionCellView::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const CompletionItem* item = model_.itemAt(index.row());
    if (item == nullptr) {
        return;
    }
    painter->save();
    const QRect cell = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        QColor band = CarvexPlatform::systemColor(SystemColor::controlAccent);
        band.setAlphaF(0.85f);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(band);
        painter->drawRoundedRect(QRectF(cell).adjusted(2, 1, -2, -1), 4, 4);
    }

    int x = cell.x() + iconLeading;
    const QWidget* widget = option.widget;
    const qreal ratio = widget ? widget->devicePixelRatioF() : 1.0;
    const QColor tint = selected ? CarvexPlatform::systemColor(SystemColor::white)
                                 : CarvexPlatform::systemColor(CompletionIconRenderer::tintColor(item->kind));
    const QPixmap icon = icons_.pixmap(item->kind, ratio, tint);
    const int iconSide = CompletionIconRenderer::iconSize;
    if (!icon.isNull()) {
        painter->drawPixmap(QRect(x, cell.y() + (cell.height() - iconSide) / 2, iconSide, iconSide), icon);
    }
    x += iconSide + labelLeading;

    // The label keeps its width; the short description takes what is left, at most 160.
    const int right = cell.right() + 1 - secondaryTrailing;
    const QFont font = labelFont();
    const QFontMetrics metrics(font);
    const QString label = shown(item->label);
    int labelWidth = std::max(0, right - x);
    const QString secondary = secondaryText(*item);
    if (!secondary.isEmpty()) {
        const QFontMetrics secondaryMetrics(secondaryFont());
        const QString text = shown(secondary);
        // A pixel to spare: an advance is rounded, and a label that just fits must not be elided.
        const int labelNeeds = metrics.horizontalAdvance(label) + 2;
        const int room = right - x - std::min(labelNeeds, labelWidth) - labelSecondaryGap;
        const int width = std::min({secondaryMetrics.horizontalAdvance(text), secondaryMaximumWidth, room});
        if (width > secondaryMetrics.horizontalAdvance(QChar(0x2026)) * 2) {
            const QRect place(right - width, cell.y(), width, cell.height());
            painter->setFont(secondaryFont());
            painter->setPen(selected ? CarvexPlatform::systemColor(SystemColor::white)
                                     : CarvexPlatform::systemColor(SystemColor::tertiaryLabel));
            painter->drawText(place, Qt::AlignRight | Qt::AlignVCenter,
                              secondaryMetrics.elidedText(text, Qt::ElideRight, width));
            labelWidth = std::max(0, place.x() - labelSecondaryGap - x);
        }
    }
    painter->setFont(font);
    painter->setPen(selected ? CarvexPlatform::systemColor(SystemColor::white)
                             : CarvexPlatform::systemColor(SystemColor::label));
    painter->drawText(QRect(x, cell.y(), labelWidth, cell.height()), Qt::AlignLeft | Qt::AlignVCenter,
                      metrics.elidedText(label, Qt::ElideRight, labelWidth));
    painter->restore();
}

}  // namespace Carvex

#include "Carvex/Properties/OperationRowDelegate.h"

#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/Properties/OperationsTableModel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace Carvex {

void OperationRowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->features &= ~QStyleOptionViewItem::WrapText;
    option->textElideMode = Qt::ElideRight;
    option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
}

void OperationRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto* model = qobject_cast<const OperationsTableModel*>(index.model());
    if (!model || index.column() != OperationsTableModel::methodColumn || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= model->operations().size()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);

    const HTTPMethod method = model->operations()[static_cast<std::size_t>(index.row())].method();
    const QPixmap badge = badgeImage(method, painter->device() ? painter->device()->devicePixelRatioF() : 1.0);
    const QSizeF size = badge.deviceIndependentSize();
    const QPointF topLeft(option.rect.x() + (option.rect.width() - size.width()) / 2,
                          option.rect.y() + (option.rect.height() - size.height()) / 2);
    painter->save();
    painter->setClipRect(option.rect);
    painter->drawPixmap(QPointF(std::round(topLeft.x()), std::round(topLeft.y())), badge);
    painter->restore();
}

QString OperationRowDelegate::toolTipText(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (index.column() != OperationsTableModel::pathColumn && index.column() != OperationsTableModel::summaryColumn) {
        return {};
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    if (item.text.isEmpty()) {
        return {};
    }
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    // The style keeps a small margin on each side of the text inside that rectangle.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int room = textRect.width() - 2 * margin;
    return QFontMetrics(item.font).horizontalAdvance(item.text) > room ? item.text : QString();
}

bool OperationRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) {
    if (!event || !view || event->type() != QEvent::ToolTip || !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    const QString text = toolTipText(option, index);
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    }
    return true;
}

}  // namespace Carvex

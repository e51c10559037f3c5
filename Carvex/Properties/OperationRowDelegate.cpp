#include "Carvex/Properties/OperationRowDelegate.h"

#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/Properties/OperationsTableModel.h"

#include <QApplication>
#include <QPainter>

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

}  // namespace Carvex

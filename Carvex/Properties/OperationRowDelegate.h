#pragma once

#include <QStyledItemDelegate>

namespace Carvex {

// Paints a row of the operations table: the method's badge centred in its cell at the painter's
// pixel ratio, the path and summary as the model gives them, on one line elided at the end.
class OperationRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace Carvex

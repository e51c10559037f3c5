#pragma once

#include <QStyledItemDelegate>

namespace Carvex {

// Paints a row of the operations table: the method's badge centred in its cell at the painter's
// pixel ratio, the path and summary as the model gives them, on one line elided at the end. A path or
// summary cut short by its column shows in full in the cell's tooltip.
class OperationRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The tooltip of a cell laid out by `option`: its whole text when the cell cuts it short, else empty.
    QString toolTipText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace Carvex

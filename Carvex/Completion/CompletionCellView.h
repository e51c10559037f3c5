#pragma once

#include "Carvex/Completion/CompletionItem.h"

#include <QStyledItemDelegate>

namespace Carvex {

class CompletionIconRenderer;
class CompletionListModel;

// Draws one row of the completion list, 22 high: the kind's tinted icon (16 × 16, 4 from the
// leading edge), the label in the monospaced font at 12 points, elided at its end, and for a
// snippet its short description on the right (at most 160 wide, 11 points, the tertiary label
// colour, elided). The selected row gets the selection colour. Main thread only.
class CompletionCellView : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int rowHeight = 22;
    static constexpr int iconLeading = 4;
    static constexpr int labelLeading = 4;
    static constexpr int secondaryTrailing = 8;
    static constexpr int secondaryMaximumWidth = 160;
    static constexpr int labelSecondaryGap = 4;

    CompletionCellView(const CompletionListModel& model, CompletionIconRenderer& icons, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QFont labelFont();
    static QFont secondaryFont();
    // The text beside the label of a row: the short description of a snippet, else nothing.
    static QString secondaryText(const CompletionItem& item);

private:
    const CompletionListModel& model_;
    CompletionIconRenderer& icons_;
};

}  // namespace Carvex

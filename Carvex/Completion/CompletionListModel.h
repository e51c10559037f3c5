#pragma once

#include "Carvex/Completion/CompletionItem.h"

#include <QAbstractListModel>

#include <vector>

namespace Carvex {

// The rows of the completion list: one proposal per row, its label as display text. Replacing
// the proposals resets the model. Main thread only.
class CompletionListModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setItems(std::vector<CompletionItem> items);
    const std::vector<CompletionItem>& items() const { return items_; }
    // The proposal of a row, or null outside the rows.
    const CompletionItem* itemAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<CompletionItem> items_;
};

}  // namespace Carvex

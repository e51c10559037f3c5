#include "Carvex/Completion/CompletionListModel.h"

#include <limits>

namespace Carvex {

void CompletionListModel::setItems(std::vector<CompletionItem> items) {
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

const CompletionItem* CompletionListModel::itemAt(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < items_.size() ? &items_[static_cast<std::size_t>(row)] : nullptr;
}

int CompletionListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return static_cast<int>(std::min<std::size_t>(items_.size(), std::numeric_limits<int>::max()));
}

QVariant CompletionListModel::data(const QModelIndex& index, int role) const {
    const CompletionItem* item = index.isValid() ? itemAt(index.row()) : nullptr;
    if (item == nullptr) {
        return QVariant();
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        // A label can be long: a row shows only its beginning.
        return item->label.left(512);
    }
    return QVariant();
}

}  // namespace Carvex

#include "Carvex/Console/ConsoleOutlineModel.h"

#include <QSize>

namespace Carvex {

QString ConsoleOutlineModel::identifier(RowKind kind) {
    switch (kind) {
        case RowKind::entryOneLine: return QStringLiteral("LogEntryRow1L");
        case RowKind::entryTwoLines: return QStringLiteral("LogEntryRow2L");
        case RowKind::description: return QStringLiteral("LogDescriptionRow");
    }
    return {};
}

int ConsoleOutlineModel::height(RowKind kind) {
    switch (kind) {
        case RowKind::entryOneLine: return 24;
        case RowKind::entryTwoLines: return 38;
        case RowKind::description: return 40;
    }
    return 24;
}

ConsoleOutlineModel::RowKind ConsoleOutlineModel::kindOf(const LogEntry& entry) {
    // Location metadata exists exactly when a location or a pointer does.
    return entry.sourceLocation || entry.jsonPointer ? RowKind::entryTwoLines : RowKind::entryOneLine;
}

void ConsoleOutlineModel::setStore(std::shared_ptr<LogStore> store) {
    beginResetModel();
    store_ = std::move(store);
    const auto* list = entries();
    count_ = list ? static_cast<int>(list->size()) : 0;
    lastId_ = count_ > 0 ? list->back().id() : QUuid();
    endResetModel();
}

bool ConsoleOutlineModel::storeOnlyGrew() const {
    const auto* list = entries();
    const int now = list ? static_cast<int>(list->size()) : 0;
    return now >= count_ && (count_ == 0 || (*list)[static_cast<std::size_t>(count_ - 1)].id() == lastId_);
}

bool ConsoleOutlineModel::sync() {
    const auto* list = entries();
    const int now = list ? static_cast<int>(list->size()) : 0;
    if (storeOnlyGrew()) {
        if (now > count_) {
            beginInsertRows({}, count_, now - 1);
            count_ = now;
            lastId_ = list->back().id();
            endInsertRows();
        }
        return false;
    }
    beginResetModel();
    count_ = now;
    lastId_ = now > 0 ? list->back().id() : QUuid();
    endResetModel();
    return true;
}

const LogEntry* ConsoleOutlineModel::entryAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return nullptr;
    const int row = index.internalId() == 0 ? index.row() : static_cast<int>(index.internalId() - 1);
    const auto* list = entries();
    // The store may have been cleared before the model heard of it.
    if (!list || row < 0 || row >= count_ || static_cast<std::size_t>(row) >= list->size()) return nullptr;
    return &(*list)[static_cast<std::size_t>(row)];
}

bool ConsoleOutlineModel::isDescription(const QModelIndex& index) const {
    return index.isValid() && index.internalId() != 0;
}

ConsoleOutlineModel::RowKind ConsoleOutlineModel::kindAt(const QModelIndex& index) const {
    if (isDescription(index)) return RowKind::description;
    const LogEntry* entry = entryAt(index);
    return entry ? kindOf(*entry) : RowKind::entryOneLine;
}

QModelIndex ConsoleOutlineModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid()) return row < count_ ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || row != 0) return {};
    const LogEntry* entry = entryAt(parent);
    if (!entry || !entry->isExpandable()) return {};
    return createIndex(0, 0, quintptr(parent.row()) + 1);
}

QModelIndex ConsoleOutlineModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0) return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr(0));
}

int ConsoleOutlineModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return count_;
    if (parent.internalId() != 0) return 0;
    const LogEntry* entry = entryAt(parent);
    return entry && entry->isExpandable() ? 1 : 0;
}

int ConsoleOutlineModel::columnCount(const QModelIndex&) const { return 1; }

bool ConsoleOutlineModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant ConsoleOutlineModel::data(const QModelIndex& index, int role) const {
    const LogEntry* entry = entryAt(index);
    if (!entry) return {};
    const bool description = isDescription(index);
    switch (role) {
        case Qt::DisplayRole:
            return description ? entry->errorDescription.value_or(QString()) : entry->message;
        case Qt::SizeHintRole: return QSize(0, height(kindAt(index)));
        case KindRole: return identifier(kindAt(index));
        default: return {};
    }
}

Qt::ItemFlags ConsoleOutlineModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    // Description rows show text only: they cannot be selected.
    if (isDescription(index)) return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace Carvex

#pragma once

#include "Carvex/Logging/LogEntry.h"
#include "Carvex/Logging/LogStore.h"

#include <QAbstractItemModel>
#include <QUuid>

#include <memory>

namespace Carvex {

// The console's outline as an item model: one top-level row per log entry, oldest first, and under an
// entry with a non-empty error description one child row holding that description. Rows are made only
// when a view asks for them; nothing is kept per entry.
//
// The model follows its store through `sync`: entries added at the end become inserted rows (the rows
// before them stay as they are); anything else - a cleared log, another store - resets the model.
class ConsoleOutlineModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum class RowKind { entryOneLine, entryTwoLines, description };
    // The row kind's identifier: "LogEntryRow1L", "LogEntryRow2L" or "LogDescriptionRow".
    static QString identifier(RowKind kind);
    // 24, 38 and 40 points.
    static int height(RowKind kind);
    static RowKind kindOf(const LogEntry& entry);

    enum Role {
        // The row's kind identifier (text).
        KindRole = Qt::UserRole + 1,
        // The entry of an entry row, or of the description row's parent (a `const LogEntry*`).
        EntryRole,
    };

    ConsoleOutlineModel() = default;

    // The store shown; null shows nothing. Resets the model.
    void setStore(std::shared_ptr<LogStore> store);
    const std::shared_ptr<LogStore>& store() const { return store_; }

    // Brings the rows in line with the store: rows for appended entries are inserted, any other
    // change resets the model. Returns true when it reset.
    bool sync();
    // True when the store only gained entries at the end since the last `sync` (or not even that).
    bool storeOnlyGrew() const;
    // The entries the rows stand for (the store may already hold more until `sync`).
    int entryCount() const { return count_; }

    // The entry of a row (entry or description row), or null.
    const LogEntry* entryAt(const QModelIndex& index) const;
    bool isDescription(const QModelIndex& index) const;
    RowKind kindAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Entry rows carry 0 as internal id, description rows their entry's row plus one.
    const std::vector<LogEntry>* entries() const { return store_ ? &store_->entries() : nullptr; }

    std::shared_ptr<LogStore> store_;
    int count_ = 0;
    QUuid lastId_;
};

}  // namespace Carvex

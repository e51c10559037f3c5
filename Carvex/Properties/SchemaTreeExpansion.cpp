#include "Carvex/Properties/SchemaTreeExpansion.h"

#include <QAbstractItemModel>

namespace Carvex {

std::vector<QModelIndex> expandAllLevels(const QAbstractItemModel& model, int rowBudget)
{
    std::vector<QModelIndex> opened;
    std::vector<QModelIndex> level;
    for (int row = 0; row < model.rowCount(); ++row)
        level.push_back(model.index(row, 0));
    long long shown = static_cast<long long>(level.size());
    while (!level.empty()) {
        std::vector<QModelIndex> next;
        for (const QModelIndex& index : level) {
            const int count = model.rowCount(index);
            if (count <= 0)
                continue;
            if (shown + count > rowBudget)
                return opened;
            shown += count;
            opened.push_back(index);
            for (int row = 0; row < count; ++row)
                next.push_back(model.index(row, 0, index));
        }
        level = std::move(next);
    }
    return opened;
}

} // namespace Carvex

#pragma once

#include <QModelIndex>

#include <vector>

class QAbstractItemModel;

namespace Carvex {

// The rows Expand All opens in `model`, parents before their children. The tree is opened level by
// level (not branch by branch) and no row is opened whose children would bring the rows shown past
// `rowBudget`: on a tree that shared definitions make huge, the upper levels show whole and only the
// deepest are cut, instead of the first branch taking everything. Reads only the rows it opens.
std::vector<QModelIndex> expandAllLevels(const QAbstractItemModel& model, int rowBudget);

} // namespace Carvex

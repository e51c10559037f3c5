#include "Carvex/Properties/SchemaTreeModel.h"

namespace Carvex {

void SchemaTreeModel::setRoot(SchemaTreeNode::Ptr root)
{
    beginResetModel();
    rows_.clear();
    root_ = std::move(root);
    if (root_)
        rows_.emplace(root_.get(), 0);
    endResetModel();
}

const SchemaTreeNode* SchemaTreeModel::node(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<const SchemaTreeNode*>(index.internalPointer());
}

int SchemaTreeModel::level(const QModelIndex& index) const
{
    int level = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        ++level;
    return level;
}

QModelIndex SchemaTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column != 0)
        return {};
    if (!parent.isValid())
        return (row == 0 && root_) ? createIndex(0, 0, root_.get()) : QModelIndex();
    const SchemaTreeNode* owner = node(parent);
    if (!owner)
        return {};
    const auto& children = owner->children();
    if (std::size_t(row) >= children.size())
        return {};
    const SchemaTreeNode* child = children[std::size_t(row)].get();
    rows_[child] = row;
    return createIndex(row, 0, child);
}

QModelIndex SchemaTreeModel::parent(const QModelIndex& child) const
{
    const SchemaTreeNode* node = this->node(child);
    if (!node || node == root_.get())
        return {};
    const SchemaTreeNode::Ptr owner = node->parent();
    if (!owner)
        return {};
    const auto found = rows_.find(owner.get());
    if (found != rows_.end())
        return createIndex(found->second, 0, owner.get());
    // An index is made for a parent before any of its children, so this is only reached for a row
    // made some other way; look the row up once.
    const SchemaTreeNode::Ptr grand = owner->parent();
    if (!grand)
        return {};
    const auto& siblings = grand->children();
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == owner.get()) {
            rows_[owner.get()] = int(i);
            return createIndex(int(i), 0, owner.get());
        }
    }
    return {};
}

int SchemaTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return root_ ? 1 : 0;
    const SchemaTreeNode* owner = node(parent);
    return owner ? int(owner->children().size()) : 0;
}

int SchemaTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool SchemaTreeModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant SchemaTreeModel::data(const QModelIndex& index, int role) const
{
    const SchemaTreeNode* node = this->node(index);
    if (!node)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return node->name();
    return {};
}

Qt::ItemFlags SchemaTreeModel::flags(const QModelIndex& index) const
{
    // Rows are shown, never selected or edited.
    return node(index) ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

} // namespace Carvex

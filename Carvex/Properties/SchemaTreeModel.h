#pragma once

#include "Carvex/ModelAdapters/SchemaTreeNode.h"

#include <QAbstractItemModel>

#include <unordered_map>

namespace Carvex {

// The schema outline's rows over a tree of `SchemaTreeNode`s: one top-level row for the root, then each
// node's children. It reads only what the view asks for, the rows shown and their child counts, so a
// large or deferred tree is made only as far as the user opens it. Main thread only.
class SchemaTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    using QAbstractItemModel::QAbstractItemModel;

    // Shows `root` (none for an empty outline); the model keeps the tree alive while it shows it.
    void setRoot(SchemaTreeNode::Ptr root);
    const SchemaTreeNode::Ptr& root() const noexcept { return root_; }

    // The node of a row of this model, null for the top level or an index of another model.
    const SchemaTreeNode* node(const QModelIndex& index) const;
    // The level of a row: 0 for the root.
    int level(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    SchemaTreeNode::Ptr root_;
    // The row of every node an index was made for, so that `parent` needs no search.
    mutable std::unordered_map<const SchemaTreeNode*, int> rows_;
};

} // namespace Carvex

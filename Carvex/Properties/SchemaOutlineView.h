#pragma once

#include "Carvex/ModelAdapters/SchemaTreeNode.h"

#include <QTreeView>

#include <functional>

namespace Carvex {

class SchemaTreeCellView;
class SchemaTreeModel;

// The Schema tab's outline: one column without header over a `SchemaTreeModel`, rows drawn by a
// `SchemaTreeCellView`, 16 pt of indentation per level, alternating rows and no selection. Description
// rows are measured again when the width changes, and only as they are laid out.
class SchemaOutlineView : public QTreeView {
    Q_OBJECT

public:
    explicit SchemaOutlineView(QWidget* parent = nullptr);
    ~SchemaOutlineView() override;

    // Shows `root` (none: an empty outline) with the root opened one level.
    void setRoot(SchemaTreeNode::Ptr root);
    SchemaTreeModel& treeModel() const noexcept { return *model_; }
    SchemaTreeCellView& cellView() const noexcept { return *cells_; }

    // Opens the tree level by level until the rows shown would pass `rowBudget`.
    void expandAllWithinBudget(int rowBudget);

    // Called with the line of a row whose "Reveal in Editor" was pressed.
    void setOnRevealInEditor(std::function<void(int64_t)> callback);

    // The width the description rows were last measured for.
    qreal lastKnownOutlineWidth() const noexcept { return lastKnownOutlineWidth_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The disclosure triangle stands beside the row's first line, above a description.
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    void followWidth();

    SchemaTreeModel* model_;
    SchemaTreeCellView* cells_;
    qreal lastKnownOutlineWidth_ = 0;
};

} // namespace Carvex

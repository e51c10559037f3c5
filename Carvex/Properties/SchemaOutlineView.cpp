#include "Carvex/Properties/SchemaOutlineView.h"

#include "Carvex/Properties/SchemaTreeCellView.h"
#include "Carvex/Properties/SchemaTreeExpansion.h"
#include "Carvex/Properties/SchemaTreeModel.h"

#include <QResizeEvent>

#include <algorithm>

namespace Carvex {

SchemaOutlineView::SchemaOutlineView(QWidget* parent)
    : QTreeView(parent)
    , model_(new SchemaTreeModel(this))
    , cells_(new SchemaTreeCellView(this))
{
    setModel(model_);
    setItemDelegate(cells_);
    setHeaderHidden(true);
    setIndentation(int(SchemaTreeCellView::indentationPerLevel));
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
}

SchemaOutlineView::~SchemaOutlineView() = default;

void SchemaOutlineView::setRoot(SchemaTreeNode::Ptr root)
{
    model_->setRoot(std::move(root));
    if (model_->root())
        expand(model_->index(0, 0));
}

void SchemaOutlineView::expandAllWithinBudget(int rowBudget)
{
    const std::vector<QModelIndex> opened = expandAllLevels(*model_, rowBudget);
    // With a layout pending, each expand only records the row; the outline is laid out once after.
    scheduleDelayedItemsLayout();
    for (const QModelIndex& index : opened)
        expand(index);
}

void SchemaOutlineView::setOnRevealInEditor(std::function<void(int64_t)> callback)
{
    cells_->onRevealInEditor = std::move(callback);
}

void SchemaOutlineView::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    followWidth();
}

void SchemaOutlineView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    QRect firstLine = rect;
    firstLine.setHeight(std::min(rect.height(), SchemaTreeCellView::plainRowHeight));
    QTreeView::drawBranches(painter, firstLine, index);
}

void SchemaOutlineView::followWidth()
{
    const qreal width = viewport()->width();
    if (width <= 0 || width == lastKnownOutlineWidth_)
        return;
    lastKnownOutlineWidth_ = width;
    cells_->setOutlineWidth(width);
    // Rows forget their heights and measure again as they are laid out.
    scheduleDelayedItemsLayout();
}

} // namespace Carvex

#include "Carvex/Console/ConsoleOutlineView.h"

#include "platform/SystemColor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <algorithm>

namespace Carvex {

ConsoleOutlineView::ConsoleOutlineView(QWidget* parent) : QAbstractItemView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The rows paint every pixel (background included), so scrolling moves what is on screen and
    // paints only the strip that comes into view.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void ConsoleOutlineView::setModel(QAbstractItemModel* model) {
    if (this->model()) disconnect(this->model(), nullptr, this, nullptr);
    QAbstractItemView::setModel(model);
    if (model) {
        // Removed rows shift everything after them: lay out again.
        connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { rebuild(); });
        connect(model, &QAbstractItemModel::rowsMoved, this, [this] { rebuild(); });
    }
    expanded_.clear();
    rebuild();
}

void ConsoleOutlineView::reset() {
    QAbstractItemView::reset();
    expanded_.clear();
    rebuild();
}

void ConsoleOutlineView::doItemsLayout() {
    rebuild();
    QAbstractItemView::doItemsLayout();
}

int ConsoleOutlineView::measuredHeight(const QModelIndex& index) const {
    const int height = model()->data(index, Qt::SizeHintRole).toSize().height();
    return height > 0 ? height : 20;
}

void ConsoleOutlineView::appendRowsOf(int item) {
    const QModelIndex index = model()->index(item, 0, rootIndex());
    rows_.push_back(Row{item, false});
    tops_.push_back(tops_.back() + measuredHeight(index));
    if (expanded_.count(item) && model()->rowCount(index) > 0) {
        rows_.push_back(Row{item, true});
        tops_.push_back(tops_.back() + measuredHeight(model()->index(0, 0, index)));
    }
}

void ConsoleOutlineView::rebuild() {
    rows_.clear();
    tops_.assign(1, 0);
    if (model()) {
        const int items = model()->rowCount(rootIndex());
        rows_.reserve(static_cast<std::size_t>(items));
        tops_.reserve(static_cast<std::size_t>(items) + 1);
        for (int item = 0; item < items; ++item) appendRowsOf(item);
    }
    updateGeometries();
    viewport()->update();
}

void ConsoleOutlineView::recomputeTops(std::size_t from) {
    tops_.resize(rows_.size() + 1);
    for (std::size_t r = from; r < rows_.size(); ++r) tops_[r + 1] = tops_[r] + rowHeight(static_cast<int>(r));
}

void ConsoleOutlineView::rowsInserted(const QModelIndex& parent, int start, int end) {
    const int items = rows_.empty() ? 0 : rows_.back().item + 1;
    if (parent == rootIndex() && start == items) {
        // Appended at the end: only the new rows are laid out, and only what of them is in sight painted.
        const int firstNew = rowCount();
        for (int item = start; item <= end; ++item) appendRowsOf(item);
        QAbstractItemView::rowsInserted(parent, start, end);
        updateGeometries();
        const QRect added = rowRect(firstNew).united(rowRect(rowCount() - 1)).intersected(viewport()->rect());
        if (!added.isEmpty()) viewport()->update(added);
        return;
    }
    if (parent == rootIndex() || (parent.parent() == rootIndex() && expanded_.count(parent.row()))) rebuild();
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update();
}

void ConsoleOutlineView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    if (parent == rootIndex()) {
        // Expanded items after the removed ones move up.
        std::unordered_set<int> moved;
        for (int item : expanded_) {
            if (item < start) moved.insert(item);
            if (item > end) moved.insert(item - (end - start + 1));
        }
        expanded_ = std::move(moved);
    }
}

void ConsoleOutlineView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    if (roles.isEmpty() || roles.contains(Qt::SizeHintRole)) {
        recomputeTops(0);
        updateGeometries();
    }
    viewport()->update();
}

QModelIndex ConsoleOutlineView::indexOfRow(int row) const {
    if (!model() || row < 0 || row >= rowCount()) return {};
    const Row& r = rows_[static_cast<std::size_t>(row)];
    const QModelIndex item = model()->index(r.item, 0, rootIndex());
    return r.child ? model()->index(0, 0, item) : item;
}

int ConsoleOutlineView::rowOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model()) return -1;
    const QModelIndex parent = index.parent();
    Row wanted;
    if (parent == rootIndex()) {
        wanted = Row{index.row(), false};
    } else if (parent.isValid() && parent.parent() == rootIndex() && index.row() == 0) {
        wanted = Row{parent.row(), true};
    } else {
        return -1;
    }
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), wanted, [](const Row& a, const Row& b) {
        return a.item < b.item || (a.item == b.item && !a.child && b.child);
    });
    if (it == rows_.end() || it->item != wanted.item || it->child != wanted.child) return -1;
    return static_cast<int>(it - rows_.begin());
}

int ConsoleOutlineView::firstRowBelow(int y) const {
    // The row whose span holds content coordinate y (the last row when y lies below all of them).
    const auto it = std::upper_bound(tops_.begin(), tops_.end(), static_cast<std::int64_t>(y));
    return std::max(0, static_cast<int>(it - tops_.begin()) - 1);
}

int ConsoleOutlineView::rowAt(const QPoint& point) const {
    const std::int64_t y = static_cast<std::int64_t>(point.y()) + verticalOffset();
    if (point.y() < 0 || y < 0 || y >= tops_.back() || point.x() < 0 || point.x() >= viewport()->width()) return -1;
    return std::min(firstRowBelow(static_cast<int>(y)), rowCount() - 1);
}

int ConsoleOutlineView::rowHeight(int row) const {
    if (row < 0 || row >= rowCount()) return 0;
    if (static_cast<std::size_t>(row) + 1 < tops_.size() && tops_[static_cast<std::size_t>(row) + 1] > tops_[static_cast<std::size_t>(row)])
        return static_cast<int>(tops_[static_cast<std::size_t>(row) + 1] - tops_[static_cast<std::size_t>(row)]);
    return measuredHeight(indexOfRow(row));
}

QRect ConsoleOutlineView::rowRect(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    const std::int64_t top = tops_[static_cast<std::size_t>(row)] - verticalOffset();
    return QRect(0, static_cast<int>(top), viewport()->width(),
                 static_cast<int>(tops_[static_cast<std::size_t>(row) + 1] - tops_[static_cast<std::size_t>(row)]));
}

QRect ConsoleOutlineView::disclosureRect(int row) const {
    if (row < 0 || row >= rowCount() || rows_[static_cast<std::size_t>(row)].child) return {};
    const QModelIndex index = indexOfRow(row);
    if (!model()->hasChildren(index)) return {};
    const QRect rect = rowRect(row);
    return QRect(rect.left(), rect.top(), kIndentation, rect.height());
}

bool ConsoleOutlineView::isExpanded(const QModelIndex& index) const {
    return index.isValid() && index.parent() == rootIndex() && expanded_.count(index.row()) > 0;
}

void ConsoleOutlineView::expand(const QModelIndex& index) {
    if (!index.isValid() || index.parent() != rootIndex() || isExpanded(index)) return;
    if (model()->rowCount(index) == 0) return;
    expanded_.insert(index.row());
    const int row = rowOf(index);
    if (row >= 0) {
        rows_.insert(rows_.begin() + row + 1, Row{index.row(), true});
        tops_.insert(tops_.begin() + row + 2, 0);
        const auto r = static_cast<std::size_t>(row) + 1;
        tops_[r + 1] = tops_[r] + measuredHeight(model()->index(0, 0, index));
        recomputeTops(r + 1);
    }
    updateGeometries();
    viewport()->update();
    emit expandedChanged(index, true);
}

void ConsoleOutlineView::collapse(const QModelIndex& index) {
    if (!isExpanded(index)) return;
    expanded_.erase(index.row());
    const int row = rowOf(index);
    if (row >= 0 && row + 1 < rowCount() && rows_[static_cast<std::size_t>(row) + 1].child) {
        const QModelIndex child = indexOfRow(row + 1);
        if (selectionModel() && selectionModel()->isSelected(child)) selectionModel()->select(child, QItemSelectionModel::Deselect);
        rows_.erase(rows_.begin() + row + 1);
        tops_.erase(tops_.begin() + row + 2);
        recomputeTops(static_cast<std::size_t>(row) + 1);
    }
    updateGeometries();
    viewport()->update();
    emit expandedChanged(index, false);
}

QSize ConsoleOutlineView::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    return {QAbstractItemView::minimumSizeHint().width(), fontMetrics().height() + frame};
}

QRect ConsoleOutlineView::visualRect(const QModelIndex& index) const { return rowRect(rowOf(index)); }

void ConsoleOutlineView::scrollRowToVisible(int row) {
    if (row < 0 || row >= rowCount()) return;
    updateGeometries();
    const std::int64_t top = tops_[static_cast<std::size_t>(row)];
    const std::int64_t bottom = tops_[static_cast<std::size_t>(row) + 1];
    const int height = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    if (top < bar->value()) {
        bar->setValue(static_cast<int>(top));
    } else if (bottom > bar->value() + height) {
        bar->setValue(static_cast<int>(bottom - height));
    }
}

void ConsoleOutlineView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const int row = rowOf(index);
    if (row < 0) return;
    QScrollBar* bar = verticalScrollBar();
    const auto top = static_cast<int>(tops_[static_cast<std::size_t>(row)]);
    const int height = viewport()->height();
    switch (hint) {
        case PositionAtTop: bar->setValue(top); break;
        case PositionAtBottom: bar->setValue(top + rowHeight(row) - height); break;
        case PositionAtCenter: bar->setValue(top + rowHeight(row) / 2 - height / 2); break;
        case EnsureVisible: scrollRowToVisible(row); break;
    }
}

QModelIndex ConsoleOutlineView::indexAt(const QPoint& point) const { return indexOfRow(rowAt(point)); }

QModelIndex ConsoleOutlineView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers) {
    const QModelIndex current = currentIndex();
    int row = rowOf(current);
    auto selectable = [this](int r) { return r >= 0 && r < rowCount() && !rows_[static_cast<std::size_t>(r)].child; };
    auto step = [&](int from, int by) {
        int r = from + by;
        while (r >= 0 && r < rowCount() && !selectable(r)) r += by;
        return selectable(r) ? r : from;
    };
    switch (cursorAction) {
        case MoveUp:
        case MovePrevious: row = row < 0 ? step(rowCount(), -1) : step(row, -1); break;
        case MoveDown:
        case MoveNext: row = step(row < 0 ? -1 : row, 1); break;
        case MoveHome: row = step(-1, 1); break;
        case MoveEnd: row = step(rowCount(), -1); break;
        case MovePageUp:
        case MovePageDown: {
            const QRect rect = rowRect(std::max(row, 0));
            const int by = cursorAction == MovePageUp ? -viewport()->height() : viewport()->height();
            int target = firstRowBelow(std::max(0, static_cast<int>(rect.top() + verticalOffset() + by)));
            target = std::clamp(target, 0, std::max(0, rowCount() - 1));
            row = selectable(target) ? target : step(target, cursorAction == MovePageUp ? -1 : 1);
            break;
        }
        case MoveLeft:
            if (row >= 0 && rows_[static_cast<std::size_t>(row)].child) return indexOfRow(row - 1);
            collapse(current);
            return current;
        case MoveRight:
            expand(current);
            return current;
    }
    return indexOfRow(row);
}

int ConsoleOutlineView::horizontalOffset() const { return 0; }

int ConsoleOutlineView::verticalOffset() const { return verticalScrollBar()->value(); }

bool ConsoleOutlineView::isIndexHidden(const QModelIndex& index) const { return rowOf(index) < 0; }

void ConsoleOutlineView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const QRect area = rect.normalized();
    int first = rowAt(QPoint(std::max(0, area.left()), area.top()));
    int last = rowAt(QPoint(std::max(0, area.left()), area.bottom()));
    if (first < 0 && last < 0) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    if (first < 0) first = last;
    if (last < 0) last = first;
    QItemSelection selection;
    for (int r = std::min(first, last); r <= std::max(first, last); ++r) {
        const QModelIndex index = indexOfRow(r);
        if (model()->flags(index) & Qt::ItemIsSelectable) selection.select(index, index);
    }
    selectionModel()->select(selection, command);
}

QRegion ConsoleOutlineView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        for (int r = range.top(); r <= range.bottom(); ++r) region += visualRect(model()->index(r, 0, range.parent()));
    }
    return region;
}

QItemSelectionModel::SelectionFlags ConsoleOutlineView::selectionCommand(const QModelIndex& index, const QEvent* event) const {
    if (index.isValid() && !(model()->flags(index) & Qt::ItemIsSelectable)) return QItemSelectionModel::NoUpdate;
    return QAbstractItemView::selectionCommand(index, event);
}

void ConsoleOutlineView::updateGeometries() {
    const int height = viewport()->height();
    const std::int64_t content = tops_.back();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, static_cast<int>(std::max<std::int64_t>(0, content - height)));
    bar->setPageStep(std::max(1, height));
    bar->setSingleStep(24);
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void ConsoleOutlineView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, viewport()->palette().brush(viewport()->backgroundRole()));
    if (!model() || rows_.empty()) return;
    const std::int64_t offset = verticalOffset();
    int row = firstRowBelow(static_cast<int>(std::max<std::int64_t>(0, offset + exposed.top())));
    const bool active = isActiveWindow();
    const QColor disclosure = CarvexPlatform::systemColor(CarvexPlatform::SystemColor::secondaryLabel);
    for (; row < rowCount() && tops_[static_cast<std::size_t>(row)] - offset <= exposed.bottom(); ++row) {
        const QModelIndex index = indexOfRow(row);
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = rowRect(row);
        option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Active);
        if (active) option.state |= QStyle::State_Active;
        const bool selected = selectionModel() && selectionModel()->isSelected(index);
        if (selected) {
            option.state |= QStyle::State_Selected;
            painter.fillRect(option.rect, palette().brush(active ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
        }
        const QRect triangle = disclosureRect(row);
        if (!triangle.isEmpty()) {
            const QPointF c = QRectF(triangle).center();
            QPainterPath path;
            if (isExpanded(index)) {
                path.moveTo(c.x() - 4, c.y() - 2);
                path.lineTo(c.x() + 4, c.y() - 2);
                path.lineTo(c.x(), c.y() + 3);
            } else {
                path.moveTo(c.x() - 2, c.y() - 4);
                path.lineTo(c.x() + 3, c.y());
                path.lineTo(c.x() - 2, c.y() + 4);
            }
            path.closeSubpath();
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(path, selected && active ? QColor(Qt::white) : disclosure);
            painter.restore();
        }
        option.rect.setLeft(option.rect.left() + kIndentation);
        painter.save();
        itemDelegateForIndex(index)->paint(&painter, option, index);
        painter.restore();
    }
}

void ConsoleOutlineView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point);
    if (event->button() == Qt::LeftButton && disclosureRect(row).contains(point)) {
        const QModelIndex index = indexOfRow(row);
        if (isExpanded(index)) {
            collapse(index);
        } else {
            expand(index);
        }
        event->accept();
        return;
    }
    QAbstractItemView::mousePressEvent(event);
}

void ConsoleOutlineView::keyPressEvent(QKeyEvent* event) { QAbstractItemView::keyPressEvent(event); }

}  // namespace Carvex

#pragma once

#include <QAbstractItemView>

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace Carvex {

// A two-level outline over an item model: top-level rows, each optionally expanded to show its
// children, laid out top to bottom with the heights the model gives (its size hints), scrolled by
// pixels. The view keeps one small record per row on screen or off (its item and its top), so
// rows appended at the end of the model are added without laying out the others again, and only
// the rows in sight are painted (by the item delegate). Children are indented by one level; a
// top-level row with children shows a disclosure triangle that expands or collapses it.
class ConsoleOutlineView : public QAbstractItemView {
    Q_OBJECT

public:
    static constexpr int kIndentation = 16;

    explicit ConsoleOutlineView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    // Rows as shown (expanded children included).
    int rowCount() const { return static_cast<int>(rows_.size()); }
    QModelIndex indexOfRow(int row) const;
    // The row showing `index`, or -1 when it is not shown.
    int rowOf(const QModelIndex& index) const;
    // The row at a point of the viewport, or -1.
    int rowAt(const QPoint& point) const;
    // The row's rectangle in viewport coordinates (full width).
    QRect rowRect(int row) const;
    int rowHeight(int row) const;
    void scrollRowToVisible(int row);

    bool isExpanded(const QModelIndex& index) const;
    void expand(const QModelIndex& index);
    void collapse(const QModelIndex& index);
    // The disclosure triangle's rectangle of a row in viewport coordinates (empty without one).
    QRect disclosureRect(int row) const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void doItemsLayout() override;
    void reset() override;
    // As low as a row: the scroll bar's own minimum would make the bottom panel grow when the
    // first entry takes the place of the empty state.
    QSize minimumSizeHint() const override;

signals:
    void expandedChanged(const QModelIndex& index, bool expanded);

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event = nullptr) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

protected slots:
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    struct Row {
        int item;          // the top-level row
        bool child;        // the (first) child of that row
    };
    void rebuild();
    void appendRowsOf(int item);
    void recomputeTops(std::size_t from);
    int measuredHeight(const QModelIndex& index) const;
    int firstRowBelow(int y) const;

    std::vector<Row> rows_;
    // tops_[r] is the top of row r in content coordinates; tops_[rowCount()] the content height.
    std::vector<std::int64_t> tops_{0};
    std::unordered_set<int> expanded_;
    bool rebuilding_ = false;
};

}  // namespace Carvex

#pragma once
#include <QSplitter>
#include <QSplitterHandle>
#include <vector>

namespace CarvexPlatform {

class SplitView;

// Answers a split view's questions while its dividers move. Held weakly by the view (cleared by
// its owner).
class SplitViewDelegate {
public:
    virtual ~SplitViewDelegate() = default;
    // Whether the pane may be collapsed to nothing at all.
    virtual bool splitViewCanCollapseSubview(SplitView&, QWidget*) { return false; }
    // Whether a double click on the divider collapses (or brings back) the pane.
    virtual bool splitViewShouldCollapseSubviewForDoubleClick(SplitView&, QWidget*, int /*dividerIndex*/) {
        return false;
    }
    // The smallest and largest position of a divider while the user drags it (the proposed value
    // when the delegate has no rule).
    virtual double splitViewConstrainMinCoordinate(SplitView&, double proposed, int) { return proposed; }
    virtual double splitViewConstrainMaxCoordinate(SplitView&, double proposed, int) { return proposed; }
    // After the panes changed size (a drag, a double click, a resize of the view, or a position set).
    virtual void splitViewDidResizeSubviews(SplitView&) {}
};

// Panes side by side (horizontal) or stacked (vertical) with dividers between them, whose drags are
// limited by a delegate, whose double clicks collapse a pane the delegate names (and bring it back),
// and whose divider positions can be set. A position is the coordinate of the divider's leading edge
// along the view. Main thread only.
class SplitView : public QSplitter {
    Q_OBJECT

public:
    explicit SplitView(Qt::Orientation orientation, QWidget* parent = nullptr);

    SplitViewDelegate* delegate() const { return delegate_; }
    void setDelegate(SplitViewDelegate* delegate) { delegate_ = delegate; }

    // The panes, in order.
    std::vector<QWidget*> subviews() const;
    // Whether the pane is collapsed (no size at all).
    bool isSubviewCollapsed(QWidget* subview) const;
    // Moves divider `index` (between panes index and index + 1) to `position`.
    void setPosition(double position, int dividerIndex);
    // The divider's position now.
    double positionOfDivider(int dividerIndex) const;
    // The length of the view along its orientation.
    int length() const;

    // What a drag of divider `index` to `position` does: the position after the delegate's limits.
    double constrainedPosition(double position, int dividerIndex);
    // What a double click on divider `index` does: collapses the pane the delegate names, or brings
    // it back to the size it had.
    void doubleClickDivider(int dividerIndex);

protected:
    QSplitterHandle* createHandle() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class SplitViewHandle;
    void announceResize();

    SplitViewDelegate* delegate_ = nullptr;
    std::vector<int> sizesBeforeCollapse_;
};

}  // namespace CarvexPlatform

#include "platform/SplitView.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <numeric>

namespace CarvexPlatform {

// A divider whose drags go through the view's delegate and whose double clicks collapse a pane.
class SplitViewHandle : public QSplitterHandle {
public:
    SplitViewHandle(Qt::Orientation orientation, SplitView* parent) : QSplitterHandle(orientation, parent) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            offset_ = pick(event->position().toPoint());
            pressed_ = true;
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!pressed_ || !(event->buttons() & Qt::LeftButton)) {
            return;
        }
        auto* view = static_cast<SplitView*>(splitter());
        const int position = pick(view->mapFromGlobal(event->globalPosition().toPoint())) - offset_;
        const int divider = view->indexOf(this) - 1;
        moveSplitter(static_cast<int>(view->constrainedPosition(position, divider)));
    }
    void mouseReleaseEvent(QMouseEvent*) override { pressed_ = false; }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            auto* view = static_cast<SplitView*>(splitter());
            view->doubleClickDivider(view->indexOf(this) - 1);
        }
    }

private:
    int pick(const QPoint& point) const { return orientation() == Qt::Horizontal ? point.x() : point.y(); }

    int offset_ = 0;
    bool pressed_ = false;
};

SplitView::SplitView(Qt::Orientation orientation, QWidget* parent) : QSplitter(orientation, parent) {
    setHandleWidth(1);
    connect(this, &QSplitter::splitterMoved, this, [this] { announceResize(); });
}

QSplitterHandle* SplitView::createHandle() { return new SplitViewHandle(orientation(), this); }

void SplitView::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    announceResize();
}

void SplitView::announceResize() {
    if (delegate_) {
        delegate_->splitViewDidResizeSubviews(*this);
    }
}

std::vector<QWidget*> SplitView::subviews() const {
    std::vector<QWidget*> result;
    for (int index = 0; index < count(); ++index) {
        result.push_back(widget(index));
    }
    return result;
}

int SplitView::length() const { return orientation() == Qt::Horizontal ? width() : height(); }

bool SplitView::isSubviewCollapsed(QWidget* subview) const {
    const int index = indexOf(subview);
    const QList<int> current = sizes();
    return index >= 0 && index < current.size() && current[index] == 0;
}

double SplitView::positionOfDivider(int dividerIndex) const {
    const QList<int> current = sizes();
    if (dividerIndex < 0 || dividerIndex + 1 >= current.size()) {
        return 0;
    }
    return std::accumulate(current.begin(), current.begin() + dividerIndex + 1, 0) + dividerIndex * handleWidth();
}

void SplitView::setPosition(double position, int dividerIndex) {
    QList<int> current = sizes();
    if (dividerIndex < 0 || dividerIndex + 1 >= current.size()) {
        return;
    }
    const int start = std::accumulate(current.begin(), current.begin() + dividerIndex, 0) + dividerIndex * handleWidth();
    int pair = current[dividerIndex] + current[dividerIndex + 1];
    if (std::accumulate(current.begin(), current.end(), 0) == 0) {
        // Not laid out yet: the two panes share the view's length.
        pair = std::max(0, length() - handleWidth() * (count() - 1));
    }
    const int first = std::clamp(static_cast<int>(position) - start, 0, pair);
    current[dividerIndex] = first;
    current[dividerIndex + 1] = pair - first;
    setSizes(current);
    announceResize();
}

double SplitView::constrainedPosition(double position, int dividerIndex) {
    if (!delegate_) {
        return position;
    }
    const double minimum = delegate_->splitViewConstrainMinCoordinate(*this, position, dividerIndex);
    const double maximum = delegate_->splitViewConstrainMaxCoordinate(*this, position, dividerIndex);
    return std::max(minimum, std::min(position, maximum));
}

void SplitView::doubleClickDivider(int dividerIndex) {
    if (!delegate_ || dividerIndex < 0 || dividerIndex + 1 >= count()) {
        return;
    }
    for (const int index : {dividerIndex + 1, dividerIndex}) {
        QWidget* pane = widget(index);
        if (!delegate_->splitViewShouldCollapseSubviewForDoubleClick(*this, pane, dividerIndex)) {
            continue;
        }
        QList<int> current = sizes();
        const int neighbour = index == dividerIndex ? dividerIndex + 1 : dividerIndex;
        if (current[index] == 0) {
            // Back to the size it had before it collapsed.
            const int previous = index < static_cast<int>(sizesBeforeCollapse_.size()) ? sizesBeforeCollapse_[index] : 0;
            const int restored = std::min(previous > 0 ? previous : current[neighbour] / 4, current[neighbour]);
            current[index] = restored;
            current[neighbour] -= restored;
        } else {
            sizesBeforeCollapse_.assign(current.begin(), current.end());
            current[neighbour] += current[index];
            current[index] = 0;
            setCollapsible(index, true);
        }
        setSizes(current);
        announceResize();
        return;
    }
}

}  // namespace CarvexPlatform

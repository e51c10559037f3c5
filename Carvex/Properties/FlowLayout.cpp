#include "Carvex/Properties/FlowLayout.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace Carvex {

namespace {

// Where the text baseline of an item of `height` lies below its top: labels and buttons centre
// their one line of text.
int baselineOf(const QLayoutItem& item, int height) {
    const QWidget* widget = item.widget();
    if (!widget) {
        return height;
    }
    const QFontMetrics metrics = widget->fontMetrics();
    return (height - metrics.height()) / 2 + metrics.ascent();
}

// The width and height an item would like. A widget's own hint counts even where its size policy
// tells box layouts to ignore it (eliding labels take what they get).
QSize preferredSize(const QLayoutItem& item) {
    const QWidget* widget = item.widget();
    if (!widget) {
        return item.sizeHint();
    }
    return widget->sizeHint().expandedTo(widget->minimumSizeHint()).expandedTo(widget->minimumSize()).boundedTo(
        widget->maximumSize());
}

}  // namespace

FlowLayout::FlowLayout(QWidget* parent, int horizontalSpacing, int verticalSpacing)
    : QLayout(parent), horizontalSpacing_(horizontalSpacing), verticalSpacing_(verticalSpacing) {
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0)) {
        delete item;
    }
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
    invalidate();
}

int FlowLayout::count() const { return static_cast<int>(items_.size()); }

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    if (index < 0 || index >= items_.size()) {
        return nullptr;
    }
    QLayoutItem* item = items_.takeAt(index);
    invalidate();
    return item;
}

Qt::Orientations FlowLayout::expandingDirections() const { return {}; }

bool FlowLayout::hasHeightForWidth() const { return true; }

int FlowLayout::heightForWidth(int width) const {
    if (width != measuredWidth_) {
        measuredHeight_ = arrange(QRect(0, 0, width, 0), false);
        measuredWidth_ = width;
    }
    return measuredHeight_;
}

void FlowLayout::invalidate() {
    measuredWidth_ = -1;
    QLayout::invalidate();
}

QSize FlowLayout::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : items_) {
        if (!item->isEmpty()) {
            size = size.expandedTo(item->minimumSize());
        }
    }
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize FlowLayout::sizeHint() const {
    // Everything on one line.
    int width = 0;
    for (const QLayoutItem* item : items_) {
        if (!item->isEmpty()) {
            width += (width > 0 ? horizontalSpacing_ : 0) + preferredSize(*item).width();
        }
    }
    const QMargins margins = contentsMargins();
    width += margins.left() + margins.right();
    return {width, heightForWidth(width)};
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool apply) const {
    const QMargins margins = contentsMargins();
    const QRect area = rect.marginsRemoved(margins);
    const int lineWidth = std::max(area.width(), 1);

    struct Placed {
        QLayoutItem* item;
        int width;
        int height;
        int baseline;
    };
    std::vector<Placed> line;
    int used = 0;
    int top = area.y();
    bool anyLine = false;
    const auto finishLine = [&] {
        if (line.empty()) {
            return;
        }
        int baseline = 0;
        for (const Placed& placed : line) {
            baseline = std::max(baseline, placed.baseline);
        }
        int height = 0;
        int left = area.x();
        for (const Placed& placed : line) {
            const int offset = baseline - placed.baseline;
            if (apply) {
                placed.item->setGeometry(QRect(left, top + offset, placed.width, placed.height));
            }
            left += placed.width + horizontalSpacing_;
            height = std::max(height, offset + placed.height);
        }
        top += height + verticalSpacing_;
        anyLine = true;
        line.clear();
        used = 0;
    };

    for (QLayoutItem* item : items_) {
        if (item->isEmpty()) {
            continue;
        }
        const QSize hint = preferredSize(*item);
        const int width = std::min(hint.width(), lineWidth);
        if (!line.empty() && used + horizontalSpacing_ + width > lineWidth) {
            finishLine();
        }
        const int height = item->hasHeightForWidth() ? item->heightForWidth(width) : hint.height();
        used += (line.empty() ? 0 : horizontalSpacing_) + width;
        line.push_back({item, width, height, baselineOf(*item, height)});
    }
    finishLine();
    const int bottom = anyLine ? top - verticalSpacing_ : area.y();
    return bottom - rect.y() + margins.bottom();
}

}  // namespace Carvex

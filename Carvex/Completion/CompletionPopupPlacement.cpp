#include "Carvex/Completion/CompletionPopupPlacement.h"

#include <algorithm>

namespace Carvex::CompletionPopupPlacement {

QRect frame(const QRect& caretLine, QSize panel, const std::optional<QRect>& available) {
    const int width = panel.width();
    const int height = panel.height();
    int x = caretLine.x();
    const int below = caretLine.y() + caretLine.height();
    const int above = caretLine.y() - height;
    if (!available || available->isEmpty()) {
        return QRect(x, below, width, height);
    }
    const QRect& screen = *available;
    const int screenRight = screen.x() + screen.width();
    const int screenBottom = screen.y() + screen.height();
    if (x + width > screenRight) {
        x = screenRight - width;
    }
    x = std::max(x, screen.x());

    int y = below;
    if (below + height <= screenBottom) {
        y = below;
    } else if (above >= screen.y()) {
        y = above;
    } else if (height >= screen.height()) {
        y = screen.y();
    } else {
        const int roomBelow = screenBottom - below;
        const int roomAbove = caretLine.y() - screen.y();
        y = roomBelow >= roomAbove ? screenBottom - height : screen.y();
    }
    return QRect(x, y, width, height);
}

}  // namespace Carvex::CompletionPopupPlacement

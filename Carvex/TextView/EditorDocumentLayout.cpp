#include "Carvex/TextView/EditorDocumentLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace Carvex {

namespace {

// Blocks of fewer lines are walked each time: that costs less than remembering them.
constexpr int fewestKeptLines = 32;

}  // namespace

EditorDocumentLayout::EditorDocumentLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {
    // A relayout for a new width lays every block out again without a change of the document.
    connect(this, &QAbstractTextDocumentLayout::update, this, [this] { forget(); });
}

void EditorDocumentLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    forget();
    ++work_;
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
}

QRectF EditorDocumentLayout::blockBoundingRect(const QTextBlock& block) const {
    const QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
    const int lineCount = layout != nullptr ? layout->lineCount() : 0;
    if (lineCount < fewestKeptLines || !block.isVisible()) {
        if (layout != nullptr && lineCount == 0) {
            ++work_;  // laid out now
        }
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    }
    Kept now;
    now.layout = layout;
    now.lineCount = lineCount;
    now.lineWidth = layout->lineAt(0).width();
    now.lastLine = layout->lineAt(lineCount - 1).rect();
    now.last = !block.next().isValid();
    now.margin = document()->documentMargin();
    const auto same = [&now](const Kept& kept) {
        return kept.layout == now.layout && kept.lineCount == now.lineCount && kept.lineWidth == now.lineWidth &&
               kept.lastLine == now.lastLine && kept.last == now.last && kept.margin == now.margin;
    };
    const auto found = std::find_if(kept_.begin(), kept_.end(), [&](const Kept& kept) { return kept.layout == layout; });
    if (found != kept_.end() && same(*found)) {
        return found->rect;
    }
    ++work_;
    now.rect = QPlainTextDocumentLayout::blockBoundingRect(block);
    if (found != kept_.end()) {
        *found = now;
    } else {
        kept_.push_back(now);
    }
    return now.rect;
}

}  // namespace Carvex

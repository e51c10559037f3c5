#include "Carvex/Validation/ValidationDecorationRenderer.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Validation/DecorationStyle.h"
#include "Carvex/Validation/ValidationDecoration.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace Carvex {

namespace {

bool byLocation(const ValidationDecorationRenderer::Mark& a,
                const ValidationDecorationRenderer::Mark& b) {
    return a.range.location < b.range.location;
}

QPen underlinePen(CarvexValidationSeverity severity) {
    QPen pen(DecorationStyle::forSeverity(severity).underlineColor.resolved());
    pen.setWidthF(2.0);  // thick
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({1.0, 1.0});  // dotted: dots and gaps as long as the line is thick
    return pen;
}

}  // namespace

const QString& ValidationDecorationRenderer::validationIdKey() {
    static const QString key = QStringLiteral("vantel.validationId");
    return key;
}

ValidationDecorationRenderer::ValidationDecorationRenderer(EditorTextView* view) : view_(view) {
    if (view_) {
        view_->addOverlay(this);
    }
}

ValidationDecorationRenderer::~ValidationDecorationRenderer() {
    if (view_) {
        view_->removeOverlay(this);
        view_->viewport()->update();
    }
}

void ValidationDecorationRenderer::beginEditing() { ++editing_; }

void ValidationDecorationRenderer::endEditing() {
    if (editing_ > 0 && --editing_ == 0 && changedWhileEditing_) {
        changedWhileEditing_ = false;
        changed();
    }
}

bool ValidationDecorationRenderer::isInText(TextRange range) const {
    return view_ && range.location >= 0 && range.length >= 0 && range.end() <= view_->textLength();
}

void ValidationDecorationRenderer::applyDecoration(const ValidationDecoration& decoration,
                                                   TextRange range) {
    if (!isInText(range)) {
        return;
    }
    if (!marks_.empty() && range.location < marks_.back().range.location) {
        unsorted_ = true;
    }
    marks_.push_back(Mark{decoration.id, range, decoration.severity()});
    maxLength_ = std::max(maxLength_, range.length);
    changed();
}

void ValidationDecorationRenderer::clearAllDecorations() {
    if (marks_.empty()) {
        return;
    }
    marks_.clear();
    unsorted_ = false;
    maxLength_ = 0;
    changed();
}

void ValidationDecorationRenderer::removeDecoration(const QUuid& validationId) {
    const auto it = std::find_if(marks_.begin(), marks_.end(), [&](const Mark& mark) {
        return mark.id == validationId;
    });
    if (it != marks_.end()) {
        marks_.erase(it);
        changed();
    }
}

void ValidationDecorationRenderer::setDecorations(
    const std::vector<ValidationDecoration>& decorations) {
    beginEditing();
    marks_.clear();
    unsorted_ = false;
    maxLength_ = 0;
    marks_.reserve(decorations.size());
    for (const ValidationDecoration& decoration : decorations) {
        applyDecoration(decoration, decoration.range);
    }
    changed();
    endEditing();
}

void ValidationDecorationRenderer::sortIfNeeded() const {
    if (unsorted_) {
        std::stable_sort(marks_.begin(), marks_.end(), byLocation);
        unsorted_ = false;
    }
}

const std::vector<ValidationDecorationRenderer::Mark>& ValidationDecorationRenderer::marks() const {
    sortIfNeeded();
    return marks_;
}

std::vector<ValidationDecorationRenderer::Mark> ValidationDecorationRenderer::marksAt(
    qsizetype index) const {
    sortIfNeeded();
    std::vector<Mark> found;
    auto it = std::lower_bound(marks_.begin(), marks_.end(), index - maxLength_,
                               [](const Mark& mark, qsizetype at) { return mark.range.location < at; });
    for (; it != marks_.end() && it->range.location <= index; ++it) {
        if (index < it->range.end()) {
            found.push_back(*it);
        }
    }
    return found;
}

void ValidationDecorationRenderer::changed() {
    if (editing_ > 0) {
        changedWhileEditing_ = true;
        return;
    }
    if (view_) {
        view_->viewport()->update();
    }
}

void ValidationDecorationRenderer::paintOverlay(EditorTextView& view, QPainter& painter,
                                                const QRect& rect) {
    paintedMarkCount_ = 0;
    if (marks_.empty()) {
        return;
    }
    sortIfNeeded();
    const std::vector<EditorTextView::VisibleBlock> blocks = view.visibleBlocks();
    if (blocks.empty()) {
        return;
    }
    // The wrapped lines of each block that meet `rect`: a minified description is one block of
    // thousands of lines, and only the few on screen may cost anything.
    std::vector<std::pair<int, int>> shownLines;  // [first, end) per visible block
    shownLines.reserve(blocks.size());
    for (const EditorTextView::VisibleBlock& visible : blocks) {
        const QTextLayout* layout = visible.block.layout();
        const int count = layout != nullptr && !visible.layingOut ? layout->lineCount() : 0;
        const qreal top = rect.top() - visible.geometry.top();
        const qreal bottom = rect.bottom() + 1 - visible.geometry.top();
        // Lines lie one below the other, so both ends are found by bisection.
        const auto firstLineWhere = [&](int from, auto&& test) {
            int lo = from;
            for (int hi = count; lo < hi;) {
                const int mid = lo + (hi - lo) / 2;
                if (test(layout->lineAt(mid))) {
                    hi = mid;
                } else {
                    lo = mid + 1;
                }
            }
            return lo;
        };
        const int from = firstLineWhere(0, [&](const QTextLine& line) { return line.y() + line.height() > top; });
        const int to = firstLineWhere(from, [&](const QTextLine& line) { return line.y() >= bottom; });
        shownLines.emplace_back(from, to);
    }
    const auto lineStartIn = [&](std::size_t index, int line) {
        return blocks[index].block.position() + blocks[index].block.layout()->lineAt(line).textStart();
    };
    const auto [frontFrom, frontTo] = shownLines.front();
    const auto [backFrom, backTo] = shownLines.back();
    const QTextLayout* backLayout = blocks.back().block.layout();
    const qsizetype first = frontFrom < frontTo ? lineStartIn(0, frontFrom) : blocks.front().block.position();
    const qsizetype last = backFrom < backTo && backTo < backLayout->lineCount() && !blocks.back().layingOut
                               ? lineStartIn(blocks.size() - 1, backTo)
                               : blocks.back().block.position() + blocks.back().block.length();
    const qreal stubWidth = QFontMetricsF(view.font()).horizontalAdvance(QLatin1Char(' '));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // A mark that reaches the screen starts at most `maxLength_` units before it.
    auto it = std::lower_bound(marks_.begin(), marks_.end(), first - maxLength_,
                               [](const Mark& mark, qsizetype at) { return mark.range.location < at; });
    for (; it != marks_.end() && it->range.location < last; ++it) {
        const qsizetype start = it->range.location;
        const qsizetype end = std::max(it->range.end(), start + 1);
        if (end <= first) {
            continue;
        }
        ++paintedMarkCount_;
        painter.setPen(underlinePen(it->severity));
        // The visible blocks the mark touches.
        auto block = std::upper_bound(blocks.begin(), blocks.end(), start,
                                      [](qsizetype at, const EditorTextView::VisibleBlock& b) {
                                          return at < b.block.position();
                                      });
        if (block != blocks.begin()) {
            --block;
        }
        for (; block != blocks.end() && block->block.position() < end; ++block) {
            const QTextLayout* layout = block->block.layout();
            if (layout == nullptr || !block->geometry.intersects(rect)) {
                continue;
            }
            const qsizetype blockStart = block->block.position();
            const int from = static_cast<int>(std::max(start, blockStart) - blockStart);
            const int to = static_cast<int>(std::min(end, blockStart + block->block.length()) - blockStart);
            const auto [shownFrom, shownTo] = shownLines[static_cast<std::size_t>(block - blocks.begin())];
            for (int i = shownFrom; i < shownTo; ++i) {
                const QTextLine line = layout->lineAt(i);
                const int lineStart = line.textStart();
                const int lineEnd = lineStart + line.textLength();
                const bool lastLine = i + 1 == layout->lineCount();
                // The line break belongs to the block's last line.
                if (from > lineEnd || (from == lineEnd && !lastLine) || to <= lineStart) {
                    continue;
                }
                qreal x1 = line.cursorToX(std::max(from, lineStart));
                qreal x2 = line.cursorToX(std::min(to, lineEnd));
                if (x2 - x1 < 1.0) {
                    x2 = x1 + stubWidth;  // a mark on a line break or a zero-width character
                }
                const qreal y = std::min(line.y() + line.ascent() + 2.0, line.y() + line.height() - 1.0);
                const QPointF origin = block->geometry.topLeft();
                painter.drawLine(QPointF(origin.x() + x1, origin.y() + y),
                                 QPointF(origin.x() + x2, origin.y() + y));
            }
        }
    }
    painter.restore();
}

}  // namespace Carvex

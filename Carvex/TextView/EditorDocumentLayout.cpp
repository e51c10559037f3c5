#include "Carvex/TextView/EditorDocumentLayout.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>

namespace Carvex {

namespace {

// Blocks of fewer lines are walked each time: that costs less than remembering them.
constexpr int fewestKeptLines = 32;

// A turn of a slice job lays lines out for about this long, and makes at most this many.
constexpr qint64 sliceMilliseconds = 8;
constexpr int sliceLines = 4096;
// A job held back looks again this often.
constexpr int holdPollMilliseconds = 20;

}  // namespace

EditorDocumentLayout::EditorDocumentLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {
    // A relayout for a new width lays every block out again without a change of the document.
    connect(this, &QAbstractTextDocumentLayout::update, this, [this] { forget(); });
}

void EditorDocumentLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    forget();
    ++work_;
    const int blocks = document()->blockCount();
    const bool sameBlocks = blocks == blockCount_;
    blockCount_ = blocks;
    bool touched = false;
    if (job_) {
        // Where the block stood before the change: a change that meets it (or removes it) ends the job.
        // Text put in at the start of the next block (the rest of a load) leaves it be.
        touched = from < job_->start + job_->length && from + charsRemoved >= job_->start;
        // A block before it laid out again in place (new colours, shaped text dropped) ends where
        // it starts, and leaves it where it was.
        if (touched && sameBlocks && charsRemoved == charsAdded && from + charsRemoved <= job_->start &&
            job_->block.isValid() && job_->block.position() == job_->start && job_->block.length() == job_->length) {
            touched = false;
        }
        if (!touched) {
            if (from < job_->start) {
                job_->start += charsAdded - charsRemoved;
            }
        } else {
            job_.reset();  // its handle may be gone with the block
        }
    }
    // The toolkit lays a block changed in place out again at once. One that was being laid out in
    // slices, or that grew by a long text (a load, a paste), is laid out in slices instead; a key in
    // a block already laid out keeps the toolkit's own relayout.
    if (slices_ && (touched || charsAdded - charsRemoved > longestBlockLaidOutAtOnce)) {
        const QTextBlock start = document()->findBlock(from);
        const QTextBlock end = document()->findBlock(std::max(0, from + charsRemoved + charsAdded - 1));
        if (start == end && start.isValid()) {
            QTextBlock(start).clearLayout();
            laidOutOnce_.remove(start.layout());
            if (sameBlocks && start.isVisible() && start.length() > longestBlockLaidOutAtOnce) {
                if (!job_) {
                    startJob(start);
                }
                emit update(QRectF(0., -document()->documentMargin(), 1000000000., 1000000000.));
                return;
            }
        }
    }
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
}

QRectF EditorDocumentLayout::standIn(const QTextBlock& block) const {
    // One line of the default font, no width: an invalid rectangle, so that nothing scrolls to a
    // place in the block or draws it.
    const qreal margin = document()->documentMargin();
    QRectF rect(0, 0, 0, QFontMetricsF(document()->defaultFont()).height());
    if (!block.next().isValid()) {
        rect.adjust(0, 0, 0, margin);
    }
    return rect;
}

int EditorDocumentLayout::pendingLines() const {
    return job_ ? job_->lines : 0;
}

bool EditorDocumentLayout::isLayingOut(const QTextBlock& block) const {
    if (!job_ || !block.isValid()) {
        return false;
    }
    return block == job_->block || waitsForSlices(block);
}

bool EditorDocumentLayout::waitsForSlices(const QTextBlock& block) const {
    // A block laid out before (its lines dropped for new colours or a new width) is laid out again
    // at once, as the toolkit does: its text would otherwise vanish for a while after each key.
    return slices_ && block.isVisible() && block.length() > longestBlockLaidOutAtOnce &&
           block.layout()->lineCount() == 0 && !laidOutOnce_.contains(block.layout());
}

void EditorDocumentLayout::startJob(const QTextBlock& block) const {
    job_ = Job{block, block.position(), block.length(), false, 0, 0, ++serial_, {}};
    job_->since.start();
    turns_ = 0;
    postStep();
}

void EditorDocumentLayout::postStep(int delayMilliseconds) const {
    const quint64 serial = job_->serial;
    auto* self = const_cast<EditorDocumentLayout*>(this);
    const auto step = [self, serial] {
        if (self->job_ && self->job_->serial == serial) {
            self->step();
        }
    };
    if (delayMilliseconds > 0) {
        QTimer::singleShot(delayMilliseconds, self, step);
    } else {
        QMetaObject::invokeMethod(self, step, Qt::QueuedConnection);
    }
}

void EditorDocumentLayout::step() {
    Job& job = *job_;
    QTextBlock block = job.block;
    if (!block.isValid() || !block.isVisible()) {
        job_.reset();
        return;
    }
    ++turns_;
    QTextLayout* layout = block.layout();
    QTextDocument* doc = document();
    const qreal margin = doc->documentMargin();
    // The lines were dropped under the job (new formats, a new width): it starts over.
    if (job.begun && layout->lineCount() != job.lines) {
        job.begun = false;
    }
    qreal availableWidth = sliceWidth_ > 0 ? sliceWidth_ : qreal(INT_MAX);
    const QTextOption option = doc->defaultTextOption();
    int extraMargin = 0;
    if (option.flags() & QTextOption::AddSpaceForLineAndParagraphSeparators) {
        extraMargin += QFontMetrics(block.charFormat().font()).horizontalAdvance(QChar(0x21B5));
    }
    availableWidth -= 2 * margin + extraMargin;
    if (!job.begun && layout->lineCount() > 0) {
        job_.reset();  // laid out meanwhile (by the toolkit, for a change in place)
        emit update(QRectF(0., -margin, 1000000000., 1000000000.));
        return;
    }
    if (!job.begun && held_ && job.since.elapsed() < longestHoldMilliseconds && held_()) {
        postStep(holdPollMilliseconds);
        return;
    }
    if (!job.begun) {
        layout->setTextOption(option);
        layout->beginLayout();
        job.begun = true;
        job.lines = 0;
        job.height = 0;
    }
    QElapsedTimer timer;
    timer.start();
    bool done = false;
    for (int made = 0;; ++made) {
        if (made == sliceLines || ((made & 63) == 63 && timer.elapsed() >= sliceMilliseconds)) {
            break;
        }
        QTextLine line = layout->createLine();
        if (!line.isValid()) {
            done = true;
            break;
        }
        line.setLeadingIncluded(true);
        line.setLineWidth(availableWidth);
        line.setPosition(QPointF(margin, job.height));
        job.height += line.height();
        if (line.leading() < 0) {
            job.height += std::ceil(line.leading());
        }
        ++job.lines;
    }
    if (!done) {
        postStep();
        return;
    }
    layout->endLayout();
    block.setLineCount(layout->lineCount());
    laidOutOnce_.insert(layout);
    job_.reset();
    ++work_;
    forget();
    emit documentSizeChanged(documentSize());
    emit update(QRectF(0., -margin, 1000000000., 1000000000.));
    emit blockLaidOut(block);
}

QRectF EditorDocumentLayout::blockBoundingRect(const QTextBlock& block) const {
    if (job_ && block.isValid() && block == job_->block) {
        return standIn(block);
    }
    const QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
    const int lineCount = layout != nullptr ? layout->lineCount() : 0;
    if (layout != nullptr && waitsForSlices(block)) {
        // Another long block is being laid out: this one comes after it.
        if (!job_) {
            startJob(block);
        }
        return standIn(block);
    }
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

#include "Carvex/TextView/SyntaxColorLayer.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/TextFormatLayer.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace Carvex {

namespace {

std::size_t indexOf(SyntaxTokenType type) { return static_cast<std::size_t>(type); }

int clampToInt(qsizetype v) {
    return static_cast<int>(std::clamp<qsizetype>(v, 0, std::numeric_limits<int>::max()));
}

// Appends `run` to `out`, merging with the previous run when they touch with the same kind.
void push(std::vector<SyntaxColorLayer::Run>& out, SyntaxColorLayer::Run run) {
    if (run.length <= 0) {
        return;
    }
    if (!out.empty() && out.back().end() == run.start && out.back().type == run.type) {
        out.back().length += run.length;
        return;
    }
    out.push_back(run);
}

// The part of a long block that carries formats, in units from the block's start.
class FormattedWindow : public QTextBlockUserData {
public:
    FormattedWindow(int start, int end) : start(start), end(end) {}
    int start;
    int end;
};

FormattedWindow* formattedWindowOf(const QTextBlock& block) {
    return static_cast<FormattedWindow*>(block.userData());
}

// The units of `block` on the lines that show in a viewport `height` high when the block's top
// stands at `top` (viewport coordinates); nothing when the block has no lines yet.
std::optional<std::pair<int, int>> shownPart(const QTextBlock& block, qreal top, int height) {
    const QTextLayout* layout = block.layout();
    const int lines = layout ? layout->lineCount() : 0;
    if (lines == 0) {
        return std::nullopt;
    }
    const qreal from = -top;
    const qreal to = from + height;
    // The lines stand top to bottom: the first that ends below `from`, the first that starts below `to`.
    int low = 0;
    int high = lines;
    while (low < high) {
        const int middle = (low + high) / 2;
        const QTextLine line = layout->lineAt(middle);
        if (line.y() + line.height() <= from) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    const int first = std::min(low, lines - 1);
    high = lines;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (layout->lineAt(middle).y() < to) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    const int last = std::max(first, low - 1);
    const QTextLine lastLine = layout->lineAt(last);
    return std::pair{layout->lineAt(first).textStart(), lastLine.textStart() + lastLine.textLength()};
}

}  // namespace

SyntaxColorLayer::SyntaxColorLayer(EditorTextView& view)
    : view_(view), theme_(SyntaxTheme::darkDefault()) {
    rebuildFormats();
}

void SyntaxColorLayer::setTheme(const SyntaxTheme& theme) {
    if (theme == theme_) {
        return;
    }
    theme_ = theme;
    rebuildFormats();
    invalidateAll();
}

void SyntaxColorLayer::rebuildFormats() {
    const QTextCharFormat& base = theme_.defaultAttributes();
    const QFont viewFont = view_.font();
    for (SyntaxTokenType type : allSyntaxTokenTypes) {
        const QTextCharFormat& attributes = theme_.attributes(type);
        QTextCharFormat format;
        if (attributes.hasProperty(QTextFormat::ForegroundBrush)) {
            format.setForeground(attributes.foreground());
        }
        if (attributes.hasProperty(QTextFormat::FontFamilies) && attributes.font() != viewFont) {
            format.setFont(attributes.font(), QTextCharFormat::FontPropertiesSpecifiedOnly);
        }
        formats_[indexOf(type)] = format;
        paintsDefault_[indexOf(type)] = attributes == base;
    }
    // Text outside tokens is drawn with the view's text colour.
    if (base.hasProperty(QTextFormat::ForegroundBrush)) {
        QPalette palette = view_.palette();
        if (palette.color(QPalette::Text) != base.foreground().color()) {
            palette.setColor(QPalette::Text, base.foreground().color());
            view_.setPalette(palette);
        }
    }
}

void SyntaxColorLayer::viewFontChanged() {
    rebuildFormats();
    invalidateAll();
}

void SyntaxColorLayer::invalidateAll() {
    generation_ = generation_ == std::numeric_limits<int>::max() ? 1 : generation_ + 1;
    view_.viewport()->update();
}

void SyntaxColorLayer::invalidate(TextRange range) {
    QTextDocument* document = view_.document();
    const int limit = std::max(0, document->characterCount() - 1);
    const int start = clampToInt(std::clamp<qsizetype>(range.location, 0, limit));
    const int end = clampToInt(std::clamp<qsizetype>(range.end(), start, limit));
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        block.setUserState(-1);
    }
    view_.viewport()->update();
}

void SyntaxColorLayer::addFormatLayer(TextFormatLayer* layer) {
    if (layer != nullptr && std::find(formatLayers_.begin(), formatLayers_.end(), layer) == formatLayers_.end()) {
        formatLayers_.push_back(layer);
        invalidateAll();
    }
}

void SyntaxColorLayer::removeFormatLayer(TextFormatLayer* layer) {
    const auto it = std::find(formatLayers_.begin(), formatLayers_.end(), layer);
    if (it != formatLayers_.end()) {
        formatLayers_.erase(it);
        invalidateAll();
    }
}

std::vector<SyntaxColorLayer::Run> SyntaxColorLayer::runsFromTokens(
    const std::vector<SyntaxToken>& tokens, int textLength) {
    std::vector<Run> result;
    result.reserve(tokens.size());
    bool sorted = true;
    for (const SyntaxToken& token : tokens) {
        const qsizetype start = std::max<qsizetype>(0, token.range.location);
        const qsizetype end = std::min<qsizetype>(textLength, token.range.end());
        if (end <= start) {
            continue;
        }
        Run run{static_cast<int>(start), static_cast<int>(end - start), token.type};
        if (!result.empty() && run.start < result.back().start) {
            sorted = false;
        }
        result.push_back(run);
    }
    if (!sorted) {
        std::stable_sort(result.begin(), result.end(),
                         [](const Run& a, const Run& b) { return a.start < b.start; });
    }
    // Later tokens win where ranges overlap: the earlier run keeps only what lies outside.
    std::vector<Run> clean;
    clean.reserve(result.size());
    std::vector<Run> tails;
    for (Run run : result) {
        tails.clear();
        while (!clean.empty() && clean.back().end() > run.start) {
            const Run previous = clean.back();
            clean.pop_back();
            if (previous.end() > run.end()) {
                const int from = std::max(previous.start, run.end());
                tails.push_back(Run{from, previous.end() - from, previous.type});
            }
            if (previous.start < run.start) {
                clean.push_back(Run{previous.start, run.start - previous.start, previous.type});
                break;
            }
        }
        push(clean, run);
        for (auto tail = tails.rbegin(); tail != tails.rend(); ++tail) {
            push(clean, *tail);
        }
    }
    return clean;
}

void SyntaxColorLayer::apply(const std::vector<SyntaxToken>& tokens, TextRange range) {
    applyRuns(runsFromTokens(tokens, clampToInt(view_.textLength())), range);
}

void SyntaxColorLayer::applyRuns(std::vector<Run> added, TextRange range) {
    settleShift();
    const int textLength = clampToInt(view_.textLength());
    const int clearStart = clampToInt(std::clamp<qsizetype>(range.location, 0, textLength));
    const int clearEnd = clampToInt(std::clamp<qsizetype>(range.end(), clearStart, textLength));
    if (clearStart == 0 && clearEnd == textLength &&
        (added.empty() || (added.front().start >= 0 && added.back().end() <= textLength))) {
        runs_ = std::move(added);  // the whole text: nothing of the old runs survives
        invalidateAll();
        return;
    }

    int regionStart = clearStart;
    int regionEnd = clearEnd;
    if (!added.empty()) {
        regionStart = std::min(regionStart, added.front().start);
        regionEnd = std::max(regionEnd, added.back().end());
    }
    if (regionEnd <= regionStart && added.empty()) {
        return;
    }

    // The existing runs that meet the region.
    auto first = std::lower_bound(runs_.begin(), runs_.end(), regionStart,
                                  [](const Run& r, int pos) { return r.end() <= pos; });
    auto last = first;
    while (last != runs_.end() && last->start < regionEnd) {
        ++last;
    }

    // Their parts outside the cleared range and outside every new run survive.
    std::vector<Run> kept;
    auto cover = added.begin();
    auto keepPiece = [&](Run piece) {
        // Subtract the new runs from the piece.
        while (cover != added.end() && cover->end() <= piece.start) {
            ++cover;
        }
        auto c = cover;
        int from = piece.start;
        while (c != added.end() && c->start < piece.end()) {
            if (c->start > from) {
                kept.push_back(Run{from, c->start - from, piece.type});
            }
            from = std::max(from, c->end());
            ++c;
        }
        if (from < piece.end()) {
            kept.push_back(Run{from, piece.end() - from, piece.type});
        }
    };
    for (auto it = first; it != last; ++it) {
        if (it->start < clearStart) {
            keepPiece(Run{it->start, std::min(it->end(), clearStart) - it->start, it->type});
        }
        if (it->end() > clearEnd) {
            const int from = std::max(it->start, clearEnd);
            keepPiece(Run{from, it->end() - from, it->type});
        }
    }

    std::vector<Run> merged;
    merged.reserve(kept.size() + added.size());
    std::size_t i = 0, j = 0;
    while (i < kept.size() || j < added.size()) {
        if (j >= added.size() || (i < kept.size() && kept[i].start < added[j].start)) {
            push(merged, kept[i++]);
        } else {
            push(merged, added[j++]);
        }
    }

    const auto firstIndex = first - runs_.begin();
    const auto lastIndex = last - runs_.begin();
    if (firstIndex == 0 && lastIndex == static_cast<std::ptrdiff_t>(runs_.size())) {
        runs_ = std::move(merged);
    } else {
        std::vector<Run> result;
        result.reserve(runs_.size() - static_cast<std::size_t>(lastIndex - firstIndex) + merged.size());
        result.insert(result.end(), runs_.begin(), runs_.begin() + firstIndex);
        for (const Run& run : merged) {
            push(result, run);
        }
        for (auto it = runs_.begin() + lastIndex; it != runs_.end(); ++it) {
            push(result, *it);
        }
        runs_ = std::move(result);
    }
    invalidateAll();
}

void SyntaxColorLayer::clear(TextRange range) { apply({}, range); }

void SyntaxColorLayer::reset() {
    runs_.clear();
    shift_ = 0;
    awaitedRevision_.reset();
    invalidateAll();
}

void SyntaxColorLayer::textDidChange(qsizetype location, qsizetype removedLength,
                                     qsizetype addedLength) {
    const int loc = clampToInt(location);
    const int removed = clampToInt(removedLength);
    const int added = clampToInt(addedLength);
    const int removedEnd = loc + removed;
    const int delta = added - removed;
    // A run's start inside the replaced text moves past the new text; an end inside it moves to
    // the change's start (the run lost those characters).
    auto mapStart = [&](int p) {
        if (p < loc) {
            return p;
        }
        return p >= removedEnd ? p + delta : loc + added;
    };
    auto mapEnd = [&](int p) {
        if (p <= loc) {
            return p;
        }
        return p > removedEnd ? p + delta : loc;
    };
    // Runs ending before the change stay as they are; those from the first starting at or after the
    // removed text's end on only move.
    const std::size_t count = runs_.size();
    const std::size_t first = firstRunEndingAfter(loc, true);
    std::size_t stop = first;
    while (stop < count && startOf(stop) < removedEnd) {
        ++stop;
    }
    stop = std::min(stop + 1, count);
    moveShiftStart(stop);
    std::vector<Run>::iterator out = runs_.begin() + static_cast<std::ptrdiff_t>(first);
    const std::vector<Run>::iterator last = runs_.begin() + static_cast<std::ptrdiff_t>(stop);
    for (auto in = out; in != last; ++in) {
        const int start = in->start;
        const int end = in->end();
        const int newStart = mapStart(start);
        int newEnd = mapEnd(end);
        // Text inserted right after a run's last character takes its kind.
        if (start < loc && end >= loc && end <= removedEnd) {
            newEnd = loc + added;
        }
        if (newEnd > newStart) {
            Run moved{newStart, newEnd - newStart, in->type};
            if (out != runs_.begin() && (out - 1)->end() == moved.start &&
                (out - 1)->type == moved.type) {
                (out - 1)->length += moved.length;
            } else {
                *out++ = moved;
            }
        }
    }
    // The runs after these move by the change's length (half the runs of the text on a key in
    // its middle): only the pending shift grows.
    const std::size_t dropped = static_cast<std::size_t>(last - out);
    if (dropped > 0) {
        runs_.erase(out, last);
    }
    shiftFrom_ = stop - dropped;
    shift_ += delta;

    // The blocks the change touched get new formats before they are drawn again. A long block
    // that carried formats gets them now, moved with the change: the change is announced before
    // the block is laid out again, so it is laid out once, not a second time when it is drawn.
    QTextDocument* document = view_.document();
    QTextBlock block = document->findBlock(loc);
    const int changedEnd = loc + added;
    while (block.isValid() && block.position() <= changedEnd) {
        const FormattedWindow* window = formattedWindowOf(block);
        if (window && block.userState() == generation_ && block.length() > longBlockLength) {
            const int blockStart = block.position();
            // Text put in at the part's start or end belongs to it: the part keeps covering what
            // it covered on screen, and the block is not given new formats when it is drawn.
            const int windowStart = blockStart + window->start;
            const int windowEnd = blockStart + window->end;
            const int start = (windowStart <= loc ? windowStart : mapStart(windowStart)) - blockStart;
            const int end =
                std::max(start, (windowEnd >= loc && windowEnd <= removedEnd ? loc + added : mapEnd(windowEnd)) -
                                    blockStart);
            setFormats(block, std::clamp(start, 0, block.length()), std::clamp(end, 0, block.length()));
        } else {
            block.setUserState(-1);
        }
        block = block.next();
    }
}

bool SyntaxColorLayer::setFormats(QTextBlock& block, int windowStart, int windowEnd) {
    const int blockStart = block.position();
    const int from = blockStart + windowStart;
    const int until = blockStart + windowEnd;
    QList<QTextLayout::FormatRange> ranges;
    for (std::size_t index = firstRunEndingAfter(from, false); index < runs_.size() && startOf(index) < until;
         ++index) {
        const Run run = runAt(index);
        if (paintsDefault_[indexOf(run.type)]) {
            continue;
        }
        const int start = std::max(run.start, from);
        const int end = std::min(run.end(), until);
        ranges.append(QTextLayout::FormatRange{start - blockStart, end - start, formats_[indexOf(run.type)]});
    }
    for (const TextFormatLayer* layer : formatLayers_) {
        // A layer's formats start from `from`; the layout's from the block's start.
        const qsizetype first = ranges.size();
        layer->appendFormats(from, until, ranges);
        for (qsizetype i = first; i < ranges.size(); ++i) {
            ranges[i].start += windowStart;
        }
    }
    // New formats drop the block's lines: the same formats are left as they are.
    QTextLayout* layout = block.layout();
    const bool changed = ranges != layout->formats();
    if (changed) {
        layout->setFormats(ranges);
    }
    if (block.length() > longBlockLength) {
        block.setUserData(new FormattedWindow(windowStart, windowEnd));
    } else if (block.userData()) {
        block.setUserData(nullptr);
    }
    block.setUserState(generation_);
    return changed;
}

void SyntaxColorLayer::materializeVisible() {
    materializedGeneration_ = generation_;
    QTextDocument* document = view_.document();
    const int viewportHeight = view_.viewport()->height();
    int dirtyStart = -1;
    int dirtyEnd = -1;
    for (const EditorTextView::VisibleBlock& visible : view_.visibleBlocks()) {
        QTextBlock block = visible.block;
        const int length = block.length();
        int windowStart = 0;
        int windowEnd = length;
        if (length > longBlockLength) {
            // A long block (a minified description is one line of megabytes) gets formats only
            // around the part on screen: laying a block out costs in proportion to its formats,
            // and every key typed lays the whole block out again. The part is widened while
            // the lines on screen stay inside it.
            const auto shown = visible.layingOut ? std::nullopt : shownPart(block, visible.geometry.top(), viewportHeight);
            const FormattedWindow* window = formattedWindowOf(block);
            const bool covered =
                window && (!shown || (window->start <= shown->first && shown->second <= window->end));
            if (block.userState() == generation_ && covered) {
                continue;
            }
            if (covered) {
                // New colours keep the part: where they are the colours already there, the
                // block keeps its formats and is not laid out again.
                windowStart = std::min(window->start, length);
                windowEnd = std::clamp(window->end, windowStart, length);
            } else {
                const int centre = shown ? shown->first : 0;
                const int shownEnd = shown ? shown->second : 0;
                windowStart = std::max(0, centre - longBlockMargin);
                windowEnd = std::min(length, shownEnd + longBlockMargin);
            }
        } else if (block.userState() == generation_) {
            continue;
        }
        if (!setFormats(block, windowStart, windowEnd)) {
            continue;
        }
        const int blockStart = block.position();
        dirtyStart = dirtyStart < 0 ? blockStart : dirtyStart;
        dirtyEnd = blockStart + length;
    }
    if (dirtyStart >= 0) {
        // Lays the changed blocks out again without any change signal.
        const int limit = document->characterCount();
        document->markContentsDirty(dirtyStart, std::min(dirtyEnd, limit) - dirtyStart);
    }
}

bool SyntaxColorLayer::awaitsColours() const {
    return awaitedRevision_ && *awaitedRevision_ == view_.textRevision();
}

void SyntaxColorLayer::formatNewLongBlocks(QTextBlock first) {
    // About as many units as a screen shows: its lines times the characters of a line (fewer
    // where characters are wider; more, and the block laid out again, only for narrower ones).
    const QFontMetricsF metrics(view_.font());
    const QWidget* viewport = view_.viewport();
    const qreal advance = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('0')));
    const qreal lineHeight = std::max<qreal>(1, metrics.lineSpacing());
    const qreal lines = std::ceil(viewport->height() / lineHeight) + 1;
    const qreal columns = std::ceil(viewport->width() / advance) + 1;
    const int screen = clampToInt(static_cast<qsizetype>(std::min<qreal>(lines * columns, 1e9)));
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        const int length = block.length();
        if (length > longBlockLength) {
            setFormats(block, 0, std::min(length, screen + longBlockMargin));
        }
    }
}

std::optional<SyntaxTokenType> SyntaxColorLayer::typeAt(qsizetype index) const {
    if (index < 0 || index >= std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    const std::size_t found = firstRunEndingAfter(static_cast<int>(index), false);
    if (found < runs_.size() && startOf(found) <= index) {
        return runs_[found].type;
    }
    return std::nullopt;
}

std::size_t SyntaxColorLayer::firstRunEndingAfter(int position, bool orAt) const {
    std::size_t low = 0;
    std::size_t high = runs_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const int end = startOf(middle) + runs_[middle].length;
        if (end < position || (!orAt && end == position)) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

void SyntaxColorLayer::moveShiftStart(std::size_t index) const {
    index = std::min(index, runs_.size());
    if (shift_ != 0) {
        for (std::size_t i = shiftFrom_; i < index; ++i) {
            runs_[i].start += shift_;
        }
        for (std::size_t i = index; i < shiftFrom_ && i < runs_.size(); ++i) {
            runs_[i].start -= shift_;
        }
    }
    shiftFrom_ = index;
}

void SyntaxColorLayer::settleShift() const {
    moveShiftStart(runs_.size());
    shift_ = 0;
}

QColor SyntaxColorLayer::colorAt(qsizetype index) const {
    const auto type = typeAt(index);
    const QTextCharFormat& attributes =
        type ? theme_.attributes(*type) : theme_.defaultAttributes();
    return attributes.foreground().color();
}

}  // namespace Carvex

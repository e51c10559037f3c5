#include "Carvex/Editor/RefLinkStyler.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/Syntax/SyntaxThemeDefaults.h"

#include <algorithm>
#include <limits>

namespace Carvex {

namespace {

using StyledLink = RefLinkStyler::StyledLink;

int toInt(qsizetype value) {
    return static_cast<int>(std::clamp<qsizetype>(value, 0, std::numeric_limits<int>::max()));
}

// The first link that ends after `position`.
std::vector<StyledLink>::const_iterator firstEndingAfter(const std::vector<StyledLink>& links, qsizetype position) {
    return std::partition_point(links.begin(), links.end(),
                                [position](const StyledLink& link) { return link.range.end() <= position; });
}

// The first link that starts at or after `position`.
std::vector<StyledLink>::iterator firstStartingAt(std::vector<StyledLink>& links, qsizetype position) {
    return std::partition_point(links.begin(), links.end(),
                                [position](const StyledLink& link) { return link.range.location < position; });
}

// The smallest range that holds every link of both lists (an empty range at 0 when both are empty).
TextRange extentOf(const std::vector<StyledLink>& a, const std::vector<StyledLink>& b) {
    qsizetype start = std::numeric_limits<qsizetype>::max();
    qsizetype end = 0;
    for (const std::vector<StyledLink>* list : {&a, &b}) {
        if (!list->empty()) {
            start = std::min(start, list->front().range.location);
            for (const StyledLink& link : *list) {
                end = std::max(end, link.range.end());
            }
        }
    }
    return start > end ? TextRange{0, 0} : TextRange{start, end - start};
}

}  // namespace

const QString& RefLinkStyler::refLinkPathKey() {
    static const QString key = QStringLiteral("CarvexRefLinkPath");
    return key;
}

RefLinkStyler::RefLinkStyler(EditorTextView* textView) : textView_(textView) {
    format_.setForeground(SyntaxThemeDefaults::darkLink().resolved());
    format_.setFontUnderline(true);
    if (textView == nullptr) {
        return;
    }
    revision_ = textView->textRevision();
    changeConnection_ = QObject::connect(textView, &EditorTextView::textDidChange,
                                         [this](const TextChange& change) { textDidChange(change); });
    loadConnection_ = QObject::connect(textView, &EditorTextView::textDidLoad, [this] { textDidLoad(); });
    textView->colorLayer().addFormatLayer(this);
}

RefLinkStyler::~RefLinkStyler() {
    QObject::disconnect(changeConnection_);
    QObject::disconnect(loadConnection_);
    if (textView_) {
        textView_->colorLayer().removeFormatLayer(this);
    }
}

std::vector<StyledLink> RefLinkStyler::styledLinksOf(const std::vector<RefLink>& links, std::size_t first,
                                                     std::size_t count, qsizetype length) {
    std::vector<StyledLink> styled;
    const std::size_t end = std::min(links.size(), first + count);
    for (std::size_t index = first; index < end; ++index) {
        const RefLink& link = links[index];
        if (!link.isLocal()) {
            continue;
        }
        const qsizetype start = std::clamp<qsizetype>(link.valueRange.location, 0, length);
        const qsizetype stop = std::clamp<qsizetype>(link.valueRange.end(), start, length);
        if (stop > start) {
            styled.push_back(StyledLink{TextRange{start, stop - start}, link.refPath});
        }
    }
    // The detector gives links in text order; a list from elsewhere is put in order.
    if (!std::is_sorted(styled.begin(), styled.end(), [](const StyledLink& a, const StyledLink& b) {
            return a.range.location < b.range.location;
        })) {
        std::stable_sort(styled.begin(), styled.end(), [](const StyledLink& a, const StyledLink& b) {
            return a.range.location < b.range.location;
        });
    }
    return styled;
}

void RefLinkStyler::applyLinkStyling(const std::vector<RefLink>& links) {
    if (!textView_) {
        return;
    }
    revision_ = textView_->textRevision();
    // The link colour follows the appearance; a highlighting pass after an appearance change
    // styles the links again.
    const QColor colour = SyntaxThemeDefaults::darkLink().resolved();
    const bool recoloured = format_.foreground().color() != colour;
    if (recoloured) {
        format_.setForeground(colour);
    }
    std::vector<StyledLink> styled = styledLinksOf(links, 0, links.size(), textView_->textLength());
    if (styled == links_) {
        if (recoloured) {
            redrawAll();
        }
        return;
    }
    links_ = std::move(styled);
    redrawAll();
}

void RefLinkStyler::clearLinkStyling() {
    if (!textView_ || links_.empty()) {
        return;
    }
    links_.clear();
    redrawAll();
}

void RefLinkStyler::clearLinkStyling(TextRange range) {
    if (!textView_) {
        return;
    }
    const qsizetype start = std::clamp<qsizetype>(range.location, 0, textView_->textLength());
    const qsizetype end = std::clamp<qsizetype>(range.end(), start, textView_->textLength());
    if (end <= start) {
        return;
    }
    auto first = links_.begin() + (firstEndingAfter(links_, start) - links_.cbegin());
    auto last = firstStartingAt(links_, end);
    if (first >= last) {
        return;
    }
    const TextRange cleared{first->range.location, std::prev(last)->range.end() - first->range.location};
    links_.erase(first, last);
    redraw(cleared);
}

std::optional<QString> RefLinkStyler::refPath(qsizetype index) const {
    if (const std::optional<StyledLink> link = linkAt(index)) {
        return link->path;
    }
    return std::nullopt;
}

std::optional<RefLinkStyler::StyledLink> RefLinkStyler::linkAt(qsizetype index) const {
    if (!textView_ || index < 0 || index >= textView_->textLength() || revision_ != textView_->textRevision()) {
        return std::nullopt;
    }
    // Links do not overlap: the last one starting at or before `index` is the only candidate.
    const auto after = std::partition_point(links_.begin(), links_.end(), [index](const StyledLink& link) {
        return link.range.location <= index;
    });
    if (after == links_.begin()) {
        return std::nullopt;
    }
    const StyledLink& link = *std::prev(after);
    if (index < link.range.end()) {
        return link;
    }
    return std::nullopt;
}

void RefLinkStyler::applySplice(const std::vector<RefLink>& links, const RefLinkRedetector::Splice& splice) {
    if (!textView_) {
        return;
    }
    revision_ = textView_->textRevision();
    const qsizetype length = textView_->textLength();
    const std::size_t after = splice.first + splice.inserted;
    // The unchanged neighbours bound the stretch whose links were replaced.
    const qsizetype regionStart = splice.first > 0 && splice.first <= links.size()
                                      ? links[splice.first - 1].fullRange.end()
                                      : 0;
    const qsizetype regionEnd = after < links.size() ? links[after].fullRange.location : length;
    auto first = firstStartingAt(links_, regionStart);
    auto last = first;
    while (last != links_.end() && last->range.location < regionEnd) {
        ++last;
    }
    std::vector<StyledLink> styled = styledLinksOf(links, splice.first, splice.inserted, length);
    if (std::equal(first, last, styled.begin(), styled.end())) {
        return;
    }
    const std::vector<StyledLink> removed(first, last);
    const TextRange changed = extentOf(removed, styled);
    const auto at = links_.erase(first, last);
    links_.insert(at, std::make_move_iterator(styled.begin()), std::make_move_iterator(styled.end()));
    redraw(changed);
}

void RefLinkStyler::textDidChange(const TextChange& change) {
    if (!textView_ || textView_->textRevision() == revision_) {
        return;  // styled after the change already
    }
    revision_ = textView_->textRevision();
    const qsizetype location = change.editedRange.location;
    const qsizetype removedEnd = location + change.editedRange.length - change.changeInLength;
    const qsizetype delta = change.changeInLength;
    // Links ending at or before the change stay; a link the change reaches into is dropped (it is
    // no longer the value that was detected); the later ones move.
    auto first = links_.begin() + (firstEndingAfter(links_, location) - links_.cbegin());
    auto last = first;
    while (last != links_.end() && last->range.location < removedEnd) {
        ++last;
    }
    for (auto link = last; link != links_.end(); ++link) {
        link->range.location += delta;
    }
    if (first == last) {
        return;
    }
    // The edited blocks are drawn again anyway; a dropped link may reach into others.
    const qsizetype droppedStart = first->range.location;
    const qsizetype droppedEnd = std::prev(last)->range.end();
    links_.erase(first, last);
    if (droppedStart < location || droppedEnd > removedEnd) {
        const qsizetype start = std::min(droppedStart, location);
        const qsizetype end = std::max(droppedEnd, removedEnd) + delta;
        redraw(TextRange{start, std::max<qsizetype>(end - start, 0)});
    }
}

void RefLinkStyler::textDidLoad() {
    if (textView_) {
        revision_ = textView_->textRevision();
    }
    links_.clear();
}

void RefLinkStyler::redraw(TextRange range) {
    if (textView_) {
        textView_->colorLayer().invalidate(range);
    }
}

void RefLinkStyler::redrawAll() {
    if (textView_) {
        textView_->colorLayer().invalidateAll();
    }
}

void RefLinkStyler::appendFormats(int blockStart, int blockEnd, QList<QTextLayout::FormatRange>& ranges) const {
    if (!textView_ || revision_ != textView_->textRevision()) {
        return;
    }
    for (auto link = firstEndingAfter(links_, blockStart); link != links_.end() && link->range.location < blockEnd;
         ++link) {
        const int from = toInt(std::max<qsizetype>(link->range.location, blockStart));
        const int to = toInt(std::min<qsizetype>(link->range.end(), blockEnd));
        if (to > from) {
            ranges.append(QTextLayout::FormatRange{from - blockStart, to - from, format_});
        }
    }
}

}  // namespace Carvex

#include "Carvex/Snippets/PlaceholderManager.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/TextView/SyntaxColorLayer.h"
#include "Carvex/Text/LineEndingStyle.h"
#include "Carvex/Snippets/LineNumberOfPosition.h"
#include "Carvex/Snippets/PlaceholderChipRenderer.h"
#include "Carvex/Snippets/PlaceholderImageGenerator.h"
#include "Carvex/Snippets/SnippetPlaceholders.h"
#include "Carvex/Syntax/SyntaxThemePreferencesStore.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>

namespace Carvex {

namespace {

bool isLineBreak(QChar c) {
    const char16_t unit = c.unicode();
    return unit == u'\n' || unit == u'\r' || unit == 0x0085 || unit == 0x2028 || unit == 0x2029;
}

// Whether `text` holds a line break in [from, to).
bool hasLineBreak(QStringView text, qsizetype from, qsizetype to) {
    from = std::clamp<qsizetype>(from, 0, text.size());
    to = std::clamp<qsizetype>(to, from, text.size());
    return std::any_of(text.begin() + from, text.begin() + to, isLineBreak);
}

// `lineNumberOfPosition` of the view's text at `position`, without walking the text before it: the
// line feeds before a position are the number of its block (a lookup in the view's block
// structure), and the rarer breaks (CR not before a line feed, NEL, LS, PS) are searched for only
// when the view may hold any.
qsizetype lineNumberInView(const EditorTextView& view, qsizetype position) {
    const QStringView text = view.viewText();
    const qsizetype end = std::clamp<qsizetype>(position, 0, text.size());
    const QStringView before = text.first(end);
    qsizetype breaks = view.lineNumber(end);
    if (!view.mayHoldOtherLineBreaks()) {
        return breaks + (end > 0 && !isLineBreak(text[end - 1]) ? 1 : 0);
    }
    for (const char16_t rare : {u'\r', char16_t(0x0085), char16_t(0x2028), char16_t(0x2029)}) {
        for (qsizetype at = before.indexOf(QChar(rare)); at >= 0; at = before.indexOf(QChar(rare), at + 1)) {
            if (!(rare == u'\r' && at + 1 < end && before[at + 1] == u'\n')) {
                ++breaks;
            }
        }
    }
    return breaks + (end > 0 && !isLineBreak(text[end - 1]) ? 1 : 0);
}

// A position moved by an edit that replaced `edit` by `newLength` units. A position inside the
// replaced text goes to the start of the replacement, or its end when `towardEnd`.
qsizetype movedPosition(qsizetype position, TextRange edit, qsizetype newLength, bool towardEnd) {
    if (position < edit.location || (position == edit.location && !towardEnd)) {
        return position;
    }
    if (position >= edit.end() && !(edit.length == 0 && position == edit.location && !towardEnd)) {
        return position + newLength - edit.length;
    }
    return towardEnd ? edit.location + newLength : edit.location;
}

// `range` clipped to the text, its ends moved off the middle of a surrogate pair.
TextRange clampedRange(QStringView text, TextRange range) {
    const auto settle = [&](qsizetype at) {
        at = std::clamp<qsizetype>(at, 0, text.size());
        if (at > 0 && at < text.size() && text[at].isLowSurrogate() && text[at - 1].isHighSurrogate()) {
            --at;
        }
        return at;
    };
    const qsizetype start = settle(range.location);
    const qsizetype end = std::max(start, settle(range.location + std::max<qsizetype>(range.length, 0)));
    return TextRange{start, end - start};
}

}  // namespace

// Sets the manager's internal-update flag for a scope (restoring the outer value).
class PlaceholderManager::InternalUpdate {
public:
    explicit InternalUpdate(PlaceholderManager& manager)
        : flag_(manager.isPerformingInternalUpdate_), saved_(std::exchange(flag_, true)) {}
    ~InternalUpdate() { flag_ = saved_; }
    InternalUpdate(const InternalUpdate&) = delete;
    InternalUpdate& operator=(const InternalUpdate&) = delete;

private:
    bool& flag_;
    bool saved_;
};

PlaceholderManager::PlaceholderManager(EditorTextView* textView, SyntaxThemePreferencesStore* themeStore)
    : textView_(textView), themeStore_(themeStore), renderer_(std::make_unique<PlaceholderChipRenderer>(*this)) {
    if (textView != nullptr) {
        textView->addOverlay(renderer_.get());
        textView->colorLayer().addFormatLayer(renderer_.get());
        QObject::connect(textView, &EditorTextView::textDidChange, &connections_,
                         [this](const TextChange& change) { followFilledSnippet(change); });
        QObject::connect(textView, &EditorTextView::selectionDidChange, &connections_,
                         [this] { forgetFilledSnippetIfLeft(); });
    }
}

PlaceholderManager::~PlaceholderManager() {
    if (EditorTextView* view = textView_.data()) {
        view->removeOverlay(renderer_.get());
        session_.reset();
        view->colorLayer().removeFormatLayer(renderer_.get());
        view->viewport()->update();
    }
}

const SyntaxThemePreferencesStore& PlaceholderManager::themeStore() const {
    return themeStore_ != nullptr ? *themeStore_ : SyntaxThemePreferencesStore::shared();
}

QColor PlaceholderManager::themeColor(SyntaxThemePreferenceKey key) const {
    return themeStore().color(key, PlaceholderImageGenerator::isDarkAppearance());
}

std::optional<TextRange> PlaceholderManager::snippetExtent() const {
    return hasActiveSession() ? std::optional<TextRange>(extent_) : std::nullopt;
}

bool PlaceholderManager::isInStep() const {
    const EditorTextView* view = textView_.data();
    return view != nullptr && view->textRevision() == placedRevision_;
}

bool PlaceholderManager::hasChip() const {
    return session_ && std::any_of(session_->placeholders().begin(), session_->placeholders().end(),
                                   [](const Placeholder& p) { return p.attachment != nullptr; });
}

void PlaceholderManager::refreshDisplay() {
    // The snippet colours change only with edits, whose blocks take their formats again anyway.
    if (EditorTextView* view = textView_.data()) {
        view->viewport()->update();
    }
}

// MARK: Insertion

qsizetype PlaceholderManager::insertSnippet(const QString& text, qsizetype location) {
    return insertSnippet(text, TextRange{location, 0});
}

qsizetype PlaceholderManager::insertSnippet(const QString& text, TextRange replacing) {
    EditorTextView* view = textView_.data();
    if (view == nullptr) {
        return 0;
    }
    view->finishLoading();
    endSession();
    const TextRange range = clampedRange(view->viewText(), replacing);
    // The view keeps line feeds only: the placeholders are placed in the text as it will stand.
    const SnippetPlaceholders parsed = parseSnippetPlaceholders(normalizeLineEndings(text), range.location);
    const qsizetype length = parsed.displayText.size();
    InternalUpdate internal(*this);
    // Ending the group puts the caret after the snippet and scrolls to it; with fields, the caret
    // belongs at the first one instead, so the view is scrolled only as far as that one needs.
    const int scrolledDown = view->verticalScrollBar()->value();
    const int scrolledAcross = view->horizontalScrollBar()->value();
    view->beginUndoGrouping();
    const bool inserted = view->replaceCharacters(range, parsed.displayText, false);
    if (inserted && !parsed.placeholders.empty()) {
        // The session stands before the change is announced, so that the editor treats the
        // insertion as part of placeholder mode.
        std::vector<Placeholder> placeholders = parsed.placeholders;
        for (Placeholder& placeholder : placeholders) {
            placeholder.attachment = std::make_shared<PlaceholderChip>(false);
        }
        placeholders.front().attachment->setActive(true);
        // Counted on the text as it now stands, from what it is made of: the view announces (and
        // takes in) the change only when the undo group ends, and the text before the location is
        // the same either way.
        const QString& display = parsed.displayText;
        const qsizetype lower = lineNumberInView(*view, range.location);
        qsizetype upper = lower;
        if (range.location == 0) {
            upper = lineNumberOfPosition(display, length);
        } else if (length > 0) {
            // From the unit before the location to the snippet's last unit, excluded.
            upper += (isLineBreak(view->viewText()[range.location - 1]) ? 1 : 0) +
                     std::count_if(display.begin(), display.end() - 1, isLineBreak);
        }
        session_ = std::make_unique<PlaceholderSession>(std::move(placeholders), 0, LineRange{lower, upper + 1}, true);
        extent_ = TextRange{range.location, length};
    }
    view->endUndoGrouping();
    if (!inserted) {
        return 0;
    }
    if (hasActiveSession()) {
        undoStepsAfterInsertion_ = view->document()->availableUndoSteps();
        placedRevision_ = view->textRevision();
        view->verticalScrollBar()->setValue(scrolledDown);
        view->horizontalScrollBar()->setValue(scrolledAcross);
        selectPlaceholder(0);
    }
    refreshDisplay();
    return length;
}

// MARK: Moving between placeholders

void PlaceholderManager::makeActive(int index) {
    if (!session_ || index < 0 || index >= static_cast<int>(session_->placeholders().size())) {
        return;
    }
    std::vector<Placeholder>& placeholders = session_->mutablePlaceholders();
    const int current = session_->activeIndex();
    if (current >= 0 && current < static_cast<int>(placeholders.size()) && current != index &&
        placeholders[static_cast<std::size_t>(current)].attachment) {
        placeholders[static_cast<std::size_t>(current)].attachment->setActive(false);
    }
    if (const auto& chip = placeholders[static_cast<std::size_t>(index)].attachment) {
        chip->setActive(true);
    }
    session_->setActiveIndex(index);
    if (EditorTextView* view = textView_.data()) {
        view->viewport()->update();
    }
}

void PlaceholderManager::selectPlaceholder(int index) {
    EditorTextView* view = textView_.data();
    if (!session_ || view == nullptr || index < 0 || index >= static_cast<int>(session_->placeholders().size())) {
        return;
    }
    InternalUpdate internal(*this);
    view->setSelectedRange(session_->placeholders()[static_cast<std::size_t>(index)].range);
    view->ensureCursorVisible();
}

bool PlaceholderManager::nextPlaceholder() {
    if (!hasActiveSession()) {
        return false;
    }
    const auto& placeholders = session_->placeholders();
    const int count = static_cast<int>(placeholders.size());
    for (int j = session_->activeIndex() + 1; j < count; ++j) {
        if (placeholders[static_cast<std::size_t>(j)].attachment) {
            makeActive(j);
            selectPlaceholder(j);
            return true;
        }
    }
    // Past the last field the caret goes on after the snippet, as if it had been typed out: the
    // field it leaves stays unselected, so that the next key does not type over it.
    if (EditorTextView* view = textView_.data(); view != nullptr && isInStep()) {
        InternalUpdate internal(*this);
        view->setSelectedRange(TextRange{extent_.end(), 0});
        view->ensureCursorVisible();
    }
    endSession();
    return false;
}

bool PlaceholderManager::leaveFilledSnippet() {
    EditorTextView* view = textView_.data();
    forgetFilledSnippetIfLeft();
    if (!filledSnippet_ || view == nullptr || hasActiveSession() || view->textRevision() != filledRevision_ ||
        view->selectedRange().length != 0) {
        return false;
    }
    const qsizetype end = filledSnippet_->end();
    filledSnippet_.reset();
    InternalUpdate internal(*this);
    view->setSelectedRange(TextRange{end, 0});
    view->ensureCursorVisible();
    return true;
}

void PlaceholderManager::followFilledSnippet(const TextChange& change) {
    const EditorTextView* view = textView_.data();
    if (!filledSnippet_ || view == nullptr || view->textRevision() == filledRevision_) {
        return;
    }
    const TextRange range{change.editedRange.location, change.editedRange.length - change.changeInLength};
    const qsizetype newLength = change.editedRange.length;
    const qsizetype start = movedPosition(filledSnippet_->location, range, newLength, false);
    const qsizetype end = movedPosition(filledSnippet_->end(), range, newLength, true);
    filledSnippet_ = TextRange{start, std::max<qsizetype>(end - start, 0)};
    filledRevision_ = view->textRevision();
    forgetFilledSnippetIfLeft();
}

void PlaceholderManager::forgetFilledSnippetIfLeft() {
    const EditorTextView* view = textView_.data();
    if (!filledSnippet_ || view == nullptr) {
        filledSnippet_.reset();
        return;
    }
    if (view->textRevision() != filledRevision_) {
        return;  // judged once the change in progress has been followed
    }
    const TextRange selection = view->selectedRange();
    if (selection.location < filledSnippet_->location || selection.end() > filledSnippet_->end()) {
        filledSnippet_.reset();
    }
}

bool PlaceholderManager::previousPlaceholder() {
    if (!hasActiveSession() || session_->activeIndex() <= 0) {
        return false;
    }
    const auto& placeholders = session_->placeholders();
    const int from = std::min(session_->activeIndex(), static_cast<int>(placeholders.size()));
    for (int k = from - 1; k >= 0; --k) {
        if (placeholders[static_cast<std::size_t>(k)].attachment) {
            makeActive(k);
            selectPlaceholder(k);
            return true;
        }
    }
    return false;
}

// MARK: The caret at a chip

std::optional<std::size_t> PlaceholderManager::chipStartingAt(qsizetype position) const {
    const auto& placeholders = session_->placeholders();
    for (std::size_t i = 0; i < placeholders.size(); ++i) {
        if (placeholders[i].attachment && placeholders[i].range.length > 0 &&
            placeholders[i].range.location == position) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> PlaceholderManager::chipEndingAt(qsizetype position) const {
    const auto& placeholders = session_->placeholders();
    for (std::size_t i = 0; i < placeholders.size(); ++i) {
        if (placeholders[i].attachment && placeholders[i].range.length > 0 && placeholders[i].range.end() == position) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<TextRange> PlaceholderManager::activePlaceholderRange() {
    EditorTextView* view = textView_.data();
    if (!hasActiveSession() || view == nullptr || !isInStep()) {
        return std::nullopt;
    }
    const TextRange selection = view->selectedRange();
    if (selection.length != 0) {
        return std::nullopt;
    }
    const qsizetype caret = selection.location;
    const auto& placeholders = session_->placeholders();
    const int active = session_->activeIndex();
    if (active >= 0 && active < static_cast<int>(placeholders.size())) {
        const Placeholder& filling = placeholders[static_cast<std::size_t>(active)];
        if (!filling.attachment && filling.range.location <= caret && caret <= filling.range.end()) {
            return std::nullopt;
        }
    }
    for (std::size_t i = 0; i < placeholders.size(); ++i) {
        const Placeholder& placeholder = placeholders[i];
        if (!placeholder.attachment || placeholder.range.length <= 0) {
            continue;
        }
        const TextRange range = placeholder.range;
        if (range.location < caret && caret < range.end()) {
            // The caret never rests inside a chip: the chip is taken whole.
            makeActive(static_cast<int>(i));
            InternalUpdate internal(*this);
            view->setSelectedRange(range);
            return range;
        }
        if (range.location == caret || range.end() == caret) {
            makeActive(static_cast<int>(i));
            return range;
        }
    }
    return std::nullopt;
}

bool PlaceholderManager::handleChipKey(const QKeyEvent& event) {
    EditorTextView* view = textView_.data();
    if (!hasActiveSession() || view == nullptr || !isInStep()) {
        return false;
    }
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier) {
        return false;
    }
    const bool extending = modifiers == Qt::ShiftModifier;
    QTextCursor cursor = view->textCursor();
    const qsizetype position = cursor.position();
    switch (event.key()) {
        case Qt::Key_Right:
        case Qt::Key_Left: {
            if (cursor.hasSelection() && !extending) {
                return false;
            }
            const bool right = event.key() == Qt::Key_Right;
            const std::optional<std::size_t> chip = right ? chipStartingAt(position) : chipEndingAt(position);
            if (!chip) {
                return false;
            }
            const TextRange range = session_->placeholders()[*chip].range;
            cursor.setPosition(static_cast<int>(right ? range.end() : range.location),
                               extending ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
            view->setTextCursor(cursor);
            view->ensureCursorVisible();
            return true;
        }
        case Qt::Key_Backspace:
        case Qt::Key_Delete: {
            if (cursor.hasSelection()) {
                return false;
            }
            const std::optional<std::size_t> chip =
                event.key() == Qt::Key_Backspace ? chipEndingAt(position) : chipStartingAt(position);
            if (!chip) {
                return false;
            }
            // Exactly the chip's range: the editor lets the change through and the chip goes.
            view->replaceCharacters(session_->placeholders()[*chip].range, QString());
            return true;
        }
        default:
            return false;
    }
}

// MARK: Following the text

void PlaceholderManager::followEdit(TextRange range, qsizetype newLength) {
    // Where the placeholders without a chip stood: they follow their text as it grows and
    // shrinks, which the session's own rule (made for chips) does not do.
    std::vector<Placeholder>& placeholders = session_->mutablePlaceholders();
    std::vector<std::optional<TextRange>> filled(placeholders.size());
    for (std::size_t i = 0; i < placeholders.size(); ++i) {
        if (!placeholders[i].attachment) {
            filled[i] = placeholders[i].range;
        }
    }
    std::vector<std::optional<qsizetype>> chipsAtInsertion(placeholders.size());
    if (range.length == 0) {
        for (std::size_t i = 0; i < placeholders.size(); ++i) {
            Placeholder& placeholder = placeholders[i];
            if (!placeholder.attachment) {
                continue;
            }
            if (placeholder.range.location == range.location) {
                chipsAtInsertion[i] = placeholder.range.location;
            } else if (placeholder.range.location < range.location && range.location < placeholder.range.end()) {
                // Text put inside a chip fills its placeholder.
                placeholder.attachment.reset();
                filled[i] = placeholder.range;
            }
        }
    }
    const int active = session_->activeIndex();
    (void)session_->adjustRanges(range, newLength);
    for (std::size_t i = 0; i < placeholders.size(); ++i) {
        if (chipsAtInsertion[i] && placeholders[i].attachment) {
            // Text inserted just before a chip pushes it on.
            placeholders[i].range.location = *chipsAtInsertion[i] + newLength;
        } else if (filled[i]) {
            const TextRange before = *filled[i];
            const bool typing = static_cast<int>(i) == active;
            const bool touches = before.location <= range.location && range.location <= before.end();
            const qsizetype start = movedPosition(before.location, range, newLength, false);
            const qsizetype end =
                movedPosition(before.end(), range, newLength, typing && touches && range.location == before.end());
            placeholders[i].range = TextRange{start, std::max<qsizetype>(end - start, 0)};
        }
    }
    const qsizetype start = movedPosition(extent_.location, range, newLength, false);
    const qsizetype end = movedPosition(extent_.end(), range, newLength, true);
    extent_ = TextRange{start, std::max<qsizetype>(end - start, 0)};
}

void PlaceholderManager::didReplaceText(TextRange range, qsizetype newLength) {
    if (isPerformingInternalUpdate_ || !hasActiveSession()) {
        return;
    }
    EditorTextView* view = textView_.data();
    if (view != nullptr && view->document()->availableUndoSteps() < undoStepsAfterInsertion_) {
        // An undo took the insertion back: the chips go with it.
        endSession();
        return;
    }
    followEdit(range, std::max<qsizetype>(newLength, 0));
    if (view != nullptr) {
        placedRevision_ = view->textRevision();
    }
    if (!hasChip()) {
        // Typing goes on in the field just filled: a Tab there still leaves the snippet.
        const TextRange filled = extent_;
        endSession();
        if (view != nullptr) {
            filledSnippet_ = filled;
            filledRevision_ = view->textRevision();
        }
        return;
    }
    refreshDisplay();
}

void PlaceholderManager::endSession() {
    filledSnippet_.reset();
    if (!hasActiveSession()) {
        return;
    }
    {
        InternalUpdate internal(*this);
        session_->setActive(false);
        // The default texts of the remaining chips already stand in the text.
        session_.reset();
        if (EditorTextView* view = textView_.data()) {
            PlaceholderChipRenderer::recolor(*view, extent_);
        }
        extent_ = TextRange{};
        refreshDisplay();
    }
    if (onPlaceholderModeExit) {
        onPlaceholderModeExit();
    }
}

bool PlaceholderManager::isOnSnippetLines(qsizetype position) const {
    const EditorTextView* view = textView_.data();
    if (!hasActiveSession()) {
        return false;
    }
    if (!isInStep()) {
        return true;  // judged once the change in progress has been reported
    }
    const QStringView text = view != nullptr ? QStringView(view->viewText()) : QStringView();
    const qsizetype start = extent_.location;
    const qsizetype end = extent_.end();
    if (start <= position && position <= end) {
        return true;
    }
    // A position's line counts the breaks before the unit just before it, so two positions share a
    // line when no break stands between the units just before each.
    if (position < start) {
        return position >= 1 && !hasLineBreak(text, position - 1, start - 1);
    }
    return end >= 1 && !hasLineBreak(text, end - 1, position - 1);
}

}  // namespace Carvex

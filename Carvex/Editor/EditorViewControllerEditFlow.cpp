// The per-keystroke half of the editor view controller: what happens before and after each edit,
// on selection changes and key presses, and Tab / Shift-Tab on selected lines.

#include "Carvex/Completion/CompletionController.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Editor/BreadcrumbController.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Indentation/AutoIndentController.h"
#include "Carvex/Editor/RefLinkHandler.h"
#include "Carvex/Snippets/SnippetSuggestionController.h"
#include "Carvex/TextView/SyntaxHighlightingController.h"
#include "Carvex/Validation/ValidationDecorationController.h"

#include <QKeyEvent>
#include <algorithm>

namespace Carvex {

namespace {

// The line of the view text (line feeds only) holding `location`: its start and the start of
// the next line (or the text's end).
TextRange lineRangeAt(QStringView text, qsizetype location) {
    location = std::clamp<qsizetype>(location, 0, text.size());
    const qsizetype start = location == 0 ? 0 : text.lastIndexOf(u'\n', location - 1) + 1;
    const qsizetype feed = text.indexOf(u'\n', location);
    const qsizetype end = feed < 0 ? text.size() : feed + 1;
    return TextRange{start, end - start};
}

// The lines a selection touches, from the start of the first to the end of the last.
TextRange fullLineRange(QStringView text, TextRange selection) {
    const TextRange first = lineRangeAt(text, selection.location);
    const TextRange last = lineRangeAt(text, std::max<qsizetype>(selection.location + selection.length - 1, 0));
    const qsizetype end = std::max(first.end(), last.end());
    return TextRange{first.location, end - first.location};
}

std::vector<qsizetype> lineStartsIn(QStringView text, TextRange lines) {
    std::vector<qsizetype> starts;
    qsizetype at = lines.location;
    do {
        starts.push_back(at);
        const TextRange line = lineRangeAt(text, at);
        if (line.length == 0) {
            break;
        }
        at = line.end();
    } while (at < lines.end());
    return starts;
}

// The units at `start` that one outdent removes.
qsizetype removablePrefix(QStringView text, qsizetype start, const IndentationStyle& style) {
    if (style.isTabs()) {
        return start < text.size() && text[start] == u'\t' ? 1 : 0;
    }
    qsizetype count = 0;
    while (count < style.spacesWidth() && start + count < text.size() && text[start + count] == u' ') {
        ++count;
    }
    return count;
}

}  // namespace

bool EditorViewController::isPlaceholderSessionActive() const {
    if (!snippetController_) {
        return false;
    }
    const std::shared_ptr<PlaceholderManager>& manager = snippetController_->placeholderManager();
    const PlaceholderSession* session = manager ? manager->session() : nullptr;
    return session != nullptr && session->isActive();
}

// MARK: Before an edit

bool EditorViewController::editorTextViewShouldChangeText(EditorTextView& view, TextRange range,
                                                          const QString& replacement) {
    if (autoIndentController_) {
        // The auto-indent controller may make an edit of its own here, asked of this delegate too.
        ++shouldChangeDepth_;
        const bool allowed = autoIndentController_->textViewShouldChangeText(view, range, replacement);
        --shouldChangeDepth_;
        if (!allowed) {
            return false;
        }
    }
    const qsizetype newLength = replacement.size();
    lastEditedRange_ = range;
    lastEditDelta_ = newLength - range.length;
    isProcessingTextChange_ = true;
    if (groupedEdits_) {
        groupedEdits_->push_back(GroupedEdit{range, newLength - range.length});
    }
    if (!isPlaceholderSessionActive()) {
        return true;
    }
    PlaceholderManager& manager = *snippetController_->placeholderManager();
    // Only text put in at the caret goes to a chip the caret touches; any other change (a
    // deletion beside the chip, an edit an aid makes while it is asked about a key) is applied
    // where it was asked and the placeholders follow it.
    const TextRange selection = view.selectedRange();
    const bool insertionAtCaret = range.length == 0 && selection.length == 0 && range.location == selection.location &&
                                  !replacement.isEmpty() && shouldChangeDepth_ == 0;
    const std::optional<TextRange> chip = insertionAtCaret ? manager.activePlaceholderRange() : std::nullopt;
    if (!chip) {
        // Placeholder edits stay in the undo history like every other edit: leaving one out
        // would make later undo steps apply at shifted places. The manager hears of every change
        // in a session, after it.
        pendingPlaceholderReplacement_ = PendingPlaceholderReplacement{range, newLength};
        return true;
    }
    // The typed text replaces the whole chip, as one change made here.
    if (highlightingController_) {
        highlightingController_->setPaused(true);
    }
    wasInPlaceholderMode_ = true;
    isUpdatingPlaceholders_ = true;
    lastEditedRange_ = *chip;
    lastEditDelta_ = newLength - chip->length;
    const bool replaced = view.replaceCharacters(*chip, replacement, false);
    if (replaced) {
        updateDocumentChangeCount();
        manager.didReplaceText(*chip, newLength);
    }
    isUpdatingPlaceholders_ = false;
    notifyPropertiesCoordinator();
    view.ensureCursorVisible();
    return false;
}

// MARK: After an edit

void EditorViewController::updateDocumentChangeCount() {
    if (!document_ || !editorTextView_) {
        return;
    }
    // Qt's modified flag follows the undo history: an undo or redo back to the state marked unmodified
    // clears it, and an edit made after undoing past that state sets it for good.
    const bool atSavedText = unmodifiedIsSavedText_ && !editorTextView_->document()->isModified();
    using CarvexPlatform::ChangeType;
    document_->updateChangeCount(atSavedText ? ChangeType::cleared : ChangeType::done);
}

void EditorViewController::moveValidationMarks(const TextChange& change) {
    if (!validationDecorationController_) {
        return;
    }
    if (groupedEdits_ && !groupedEdits_->empty()) {
        qsizetype total = 0;
        for (const GroupedEdit& edit : *groupedEdits_) {
            total += edit.delta;
        }
        if (total == change.changeInLength) {
            for (const GroupedEdit& edit : *groupedEdits_) {
                validationDecorationController_->updateForEdit(edit.range, edit.delta);
            }
            groupedEdits_->clear();
            return;
        }
        groupedEdits_->clear();
    }
    validationDecorationController_->updateForEdit(change);
}

void EditorViewController::editorTextViewWillChangeText(EditorTextView&) {
    // A text the coordinator still holds would make the view copy its whole text for this change.
    if (propertiesViewController_) {
        if (PropertiesViewCoordinator* coordinator = propertiesViewController_->coordinator()) {
            coordinator->documentWillChange();
        }
    }
}

void EditorViewController::editorTextViewDidChangeText(EditorTextView& view, const TextChange& change) {
    if (document_) {
        document_->contentSourceDidChange();
    }
    if (isUpdatingPlaceholders_ || isReloadingContent_) {
        moveValidationMarks(change);
        isProcessingTextChange_ = false;
        return;
    }
    updateDocumentChangeCount();
    if (isPlaceholderSessionActive()) {
        // The change as asked when it is the one announced; otherwise (an undo or redo, a group
        // of edits, a change nobody asked about) as the view reports it.
        PendingPlaceholderReplacement pending{
            TextRange{change.editedRange.location, change.editedRange.length - change.changeInLength},
            change.editedRange.length};
        if (pendingPlaceholderReplacement_ &&
            pendingPlaceholderReplacement_->range.location == change.editedRange.location &&
            pendingPlaceholderReplacement_->newLength == change.editedRange.length &&
            pendingPlaceholderReplacement_->newLength - pendingPlaceholderReplacement_->range.length ==
                change.changeInLength) {
            pending = *pendingPlaceholderReplacement_;
        }
        pendingPlaceholderReplacement_.reset();
        if (highlightingController_) {
            highlightingController_->setPaused(true);
        }
        wasInPlaceholderMode_ = true;
        isUpdatingPlaceholders_ = true;
        if (snippetController_ && snippetController_->placeholderManager()) {
            snippetController_->placeholderManager()->didReplaceText(pending.range, pending.newLength);
        }
        isUpdatingPlaceholders_ = false;
        moveValidationMarks(change);
    } else {
        pendingPlaceholderReplacement_.reset();
        const bool active = isPlaceholderSessionActive();
        if (highlightingController_) {
            highlightingController_->setPaused(active);
        }
        if (wasInPlaceholderMode_ && !active) {
            QPointer<EditorViewController> self(this);
            scheduler_->post([self] {
                if (self && self->highlightingController_) {
                    self->highlightingController_->highlightFullDocument();
                }
            });
        }
        wasInPlaceholderMode_ = active;
        if (!active) {
            if (completionController_) {
                completionController_->textDidChange();
            }
            if (snippetController_ && !(completionController_ && completionController_->isListOpen())) {
                snippetController_->textDidChange();
            }
            if (refLinkHandler_) {
                refLinkHandler_->updateLinks(currentLanguage_);
            }
        }
        // Marks follow every change, also those of a placeholder session.
        moveValidationMarks(change);
        lastEditedRange_.reset();
        lastEditDelta_ = 0;
        if (!active && breadcrumbController_) {
            breadcrumbController_->update(view.viewText(), view.selectedRange().location, currentLanguage_);
        }
    }
    notifyPropertiesCoordinator();
    view.ensureCursorVisible();
    isProcessingTextChange_ = false;
}

// MARK: Selection

void EditorViewController::editorTextViewDidChangeSelection(EditorTextView& view) {
    if (isAutoSelectingPlaceholder_ || isIndentingLines_) {
        return;
    }
    if (autoIndentController_) {
        autoIndentController_->cursorDidMove();
    }
    if (!isProcessingTextChange_ && completionController_) {
        completionController_->selectionDidChangeWithoutEdit();
    }
    if (breadcrumbController_) {
        breadcrumbController_->update(view.viewText(), view.selectedRange().location, currentLanguage_);
    }
    if (isPlaceholderSessionActive()) {
        PlaceholderManager& manager = *snippetController_->placeholderManager();
        if (!manager.isPerformingInternalUpdate()) {
            snippetController_->selectionDidChange();
            if (snippetController_ && snippetController_->placeholderManager()) {
                isAutoSelectingPlaceholder_ = true;
                (void)snippetController_->placeholderManager()->activePlaceholderRange();
                isAutoSelectingPlaceholder_ = false;
            }
        }
    }
}

// MARK: Keys, clicks, pointer, tooltips

bool EditorViewController::editorTextViewHandleKeyDown(EditorTextView&, QKeyEvent& event) {
    const bool sessionWasActive = isPlaceholderSessionActive();
    // The session's exit hook has resumed highlighting and queued the full pass already; a whole
    // pass started here as well would copy the whole text on this key.
    const auto resumeHighlighting = [this] {
        if (highlightingController_ && highlightingController_->isPaused()) {
            resumeHighlightingAfterPlaceholderMode();
        }
    };
    if (sessionWasActive && snippetController_->handleKeyDown(event)) {
        if (!isPlaceholderSessionActive()) {
            resumeHighlighting();
        }
        return true;
    }
    if (completionController_ && completionController_->handleKeyDown(event)) {
        return true;
    }
    if (snippetController_ && !(completionController_ && completionController_->isListOpen()) &&
        snippetController_->handleKeyDown(event)) {
        if (sessionWasActive && !isPlaceholderSessionActive()) {
            resumeHighlighting();
        }
        return true;
    }
    return handleTabKey(event);
}

bool EditorViewController::editorTextViewHandleCmdClickAt(EditorTextView&, QPoint point) {
    return refLinkHandler_ ? refLinkHandler_->handleCmdClick(point) : false;
}

std::optional<QCursor> EditorViewController::editorTextViewCursorAt(EditorTextView&, QPoint point,
                                                                    Qt::KeyboardModifiers modifiers) {
    return refLinkHandler_ ? refLinkHandler_->cursor(point, modifiers) : std::nullopt;
}

std::optional<QString> EditorViewController::editorTextViewTooltipAt(EditorTextView&, qsizetype characterIndex) {
    if (!validationDecorationController_) {
        return std::nullopt;
    }
    const ValidationDecoration* decoration = validationDecorationController_->decoration(characterIndex);
    if (decoration == nullptr) {
        return std::nullopt;
    }
    return decoration->tooltipText();
}

// MARK: Tab and Shift-Tab

bool EditorViewController::handleTabKey(const QKeyEvent& event) {
    if (event.key() != Qt::Key_Tab && event.key() != Qt::Key_Backtab) {
        return false;
    }
    if (!indentationPreferencesStore_.useTabKeyForIndent() || !editorTextView_) {
        return false;
    }
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const IndentationStyle style = indentationPreferencesStore_.indentationStyle();
    if (modifiers == Qt::ShiftModifier) {
        outdentSelectedLines(style);
        return true;
    }
    if (modifiers == Qt::NoModifier && event.key() == Qt::Key_Tab) {
        indentSelectedLines(style.indentString());
        return true;
    }
    return false;
}

void EditorViewController::indentSelectedLines(const QString& unit) {
    EditorTextView& view = *editorTextView_;
    const TextRange selection = view.selectedRange();
    const QStringView text = view.viewText();
    const TextRange first = lineRangeAt(text, selection.location);
    const TextRange last = lineRangeAt(text, std::max<qsizetype>(selection.location + selection.length - 1, 0));
    view.beginUndoGrouping();
    if (selection.length == 0 || first.location == last.location) {
        view.insertTextAtSelection(unit);
        view.endUndoGrouping();
        return;
    }
    const TextRange lines = fullLineRange(text, selection);
    const std::vector<qsizetype> starts = lineStartsIn(text, lines);
    groupedEdits_.emplace();
    isIndentingLines_ = true;
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        view.replaceCharacters(TextRange{*it, 0}, unit);
    }
    view.endUndoGrouping();
    isIndentingLines_ = false;
    groupedEdits_.reset();
    view.setSelectedRange(
        TextRange{lines.location, lines.length + static_cast<qsizetype>(starts.size()) * unit.size()});
}

void EditorViewController::outdentSelectedLines(const IndentationStyle& style) {
    EditorTextView& view = *editorTextView_;
    const TextRange selection = view.selectedRange();
    const QStringView text = view.viewText();
    const TextRange lines = fullLineRange(text, selection);
    struct Removal {
        qsizetype start;
        qsizetype length;
    };
    std::vector<Removal> removals;
    qsizetype total = 0;
    for (qsizetype start : lineStartsIn(text, lines)) {
        if (const qsizetype length = removablePrefix(text, start, style); length > 0) {
            removals.push_back(Removal{start, length});
            total += length;
        }
    }
    if (removals.empty()) {
        return;
    }
    view.beginUndoGrouping();
    groupedEdits_.emplace();
    isIndentingLines_ = true;
    for (auto it = removals.rbegin(); it != removals.rend(); ++it) {
        view.replaceCharacters(TextRange{it->start, it->length}, QString());
    }
    view.endUndoGrouping();
    isIndentingLines_ = false;
    groupedEdits_.reset();
    if (selection.length > 0) {
        view.setSelectedRange(TextRange{lines.location, std::max<qsizetype>(lines.length - total, 0)});
    } else {
        view.setSelectedRange(TextRange{std::max(selection.location - total, lines.location), 0});
    }
}

}  // namespace Carvex

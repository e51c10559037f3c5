#include "Carvex/Snippets/SnippetSuggestionController.h"

#include "Carvex/TextView/EditorTextView.h"

#include <QKeyEvent>

namespace Carvex {

SnippetSuggestionController::SnippetSuggestionController(EditorTextView* textView,
                                                         std::shared_ptr<TemplateCatalog> catalog)
    : textView_(textView), catalog_(std::move(catalog)) {
    if (textView != nullptr) {
        placeholderManager_ = std::make_shared<PlaceholderManager>(textView);
    }
}

SnippetSuggestionController::Factory& SnippetSuggestionController::factory() {
    static Factory installed;
    return installed;
}

std::unique_ptr<SnippetSuggestionController> SnippetSuggestionController::make(
    EditorTextView* textView, std::shared_ptr<TemplateCatalog> catalog) {
    const Factory& make = factory();
    return make ? make(textView, std::move(catalog)) : nullptr;
}

void SnippetSuggestionController::installFactory() {
    factory() = [](EditorTextView* textView, std::shared_ptr<TemplateCatalog> catalog) {
        return std::make_unique<SnippetSuggestionController>(textView, std::move(catalog));
    };
}

bool SnippetSuggestionController::isSessionActive() const {
    const PlaceholderSession* session = placeholderManager_ ? placeholderManager_->session() : nullptr;
    return session != nullptr && session->isActive();
}

void SnippetSuggestionController::textDidChange() {
    if (placeholderManager_ && placeholderManager_->isPerformingInternalUpdate()) {
        return;
    }
    debounceTimer_.cancel();
    if (isSessionActive()) {
        applyCaretLineRule();
    }
}

void SnippetSuggestionController::selectionDidChange() {
    if (isSessionActive()) {
        applyCaretLineRule();
    }
}

void SnippetSuggestionController::applyCaretLineRule() {
    if (!isSessionActive()) {
        return;
    }
    const EditorTextView* view = textView_.data();
    const qsizetype caret = view != nullptr ? view->selectedRange().location : 0;
    if (!placeholderManager_->isOnSnippetLines(caret)) {
        placeholderManager_->endSession();
    }
}

bool SnippetSuggestionController::handleKeyDown(QKeyEvent& event) {
    if (!isSessionActive()) {
        return false;
    }
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (event.key()) {
        case Qt::Key_Escape:
            placeholderManager_->endSession();
            return true;
        case Qt::Key_Tab:
            if (modifiers == Qt::NoModifier) {
                (void)placeholderManager_->nextPlaceholder();
                return true;
            }
            break;
        case Qt::Key_Backtab:
            if (modifiers == Qt::ShiftModifier) {
                (void)placeholderManager_->previousPlaceholder();
                return true;
            }
            break;
        default:
            break;
    }
    return placeholderManager_->handleChipKey(event);
}

void SnippetSuggestionController::updateSuggestion() {}

}  // namespace Carvex

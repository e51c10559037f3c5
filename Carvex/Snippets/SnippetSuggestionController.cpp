#include "Carvex/Snippets/SnippetSuggestionController.h"

#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Indentation/IndentationDetector.h"
#include "Carvex/Snippets/GhostTextRenderer.h"
#include "Carvex/Snippets/MatchContextBuilder.h"

#include <QKeyEvent>
#include <QTextDocument>

namespace Carvex {

namespace {

// How many lines the indentation unit is guessed from.
constexpr int indentationLinesToScan = 200;

Qt::KeyboardModifiers relevantModifiers(const QKeyEvent& event) {
    return event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

// The text without its fields of empty default ("${n:}"), which the ghost shows as nothing and the
// placeholder parser would leave standing as written.
QString withoutEmptyFields(const QString& text) {
    QString out;
    qsizetype copied = 0;
    for (qsizetype open = text.indexOf(u"${"); open >= 0; open = text.indexOf(u"${", open + 2)) {
        qsizetype at = open + 2;
        while (at < text.size() && text[at].isDigit()) {
            ++at;
        }
        if (at == open + 2 || at + 1 >= text.size() || text[at] != u':' || text[at + 1] != u'}') {
            continue;
        }
        out.append(QStringView(text).mid(copied, open - copied));
        copied = at + 2;
    }
    if (copied == 0) {
        return text;
    }
    out.append(QStringView(text).mid(copied));
    return out;
}

}  // namespace

SnippetSuggestionController::SnippetSuggestionController(EditorTextView* textView,
                                                         std::shared_ptr<TemplateCatalog> catalog)
    : textView_(textView), catalog_(std::move(catalog)) {
    if (catalog_) {
        templateMatcher_.emplace(catalog_);
    }
    if (textView == nullptr) {
        return;
    }
    placeholderManager_ = std::make_shared<PlaceholderManager>(textView);
    ghostRenderer_ = std::make_unique<GhostTextRenderer>(textView);
    QObject::connect(textView->document(), &QTextDocument::contentsChange, &connections_,
                     [this](int position, int removed, int added) {
                         ++rawEditCount_;
                         lastRawEdit_ = RawEdit{position, removed, added};
                     });
    // The view announces a change to its delegate (which tells this controller when it should
    // hear of it) before it emits the signal: a ghost still placed for the old text was not told.
    QObject::connect(textView, &EditorTextView::textDidChange, &connections_, [this] { viewDidAnnounceChange(); });
    QObject::connect(textView, &EditorTextView::textDidLoad, &connections_, [this] { viewDidLoadText(); });
    QObject::connect(textView, &EditorTextView::loadFinished, &connections_, [this] { rawEditCount_ = 0; });
    QObject::connect(textView, &EditorTextView::selectionDidChange, &connections_, [this] { caretDidMove(); });
}

SnippetSuggestionController::~SnippetSuggestionController() {
    debounceTimer_.cancel();
    dismissTimer_.cancel();
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

const std::shared_ptr<CarvexPlatform::MainScheduler>& SnippetSuggestionController::scheduler() const {
    if (const EditorTextView* view = textView_.data()) {
        return view->scheduler();
    }
    static const std::shared_ptr<CarvexPlatform::MainScheduler> none;
    return none;
}

bool SnippetSuggestionController::isSessionActive() const {
    const PlaceholderSession* session = placeholderManager_ ? placeholderManager_->session() : nullptr;
    return session != nullptr && session->isActive();
}

bool SnippetSuggestionController::isGhostShown() const { return ghostRenderer_ && ghostRenderer_->isShown(); }

// MARK: Changes

std::optional<QString> SnippetSuggestionController::textTypedAtGhost() const {
    const EditorTextView* view = textView_.data();
    const std::optional<qsizetype> point = ghostRenderer_ ? ghostRenderer_->currentInsertionPoint() : std::nullopt;
    if (view == nullptr || !point || rawEditCount_ != 1 || view->textRevision() != ghostRevision_ + 1) {
        return std::nullopt;
    }
    const RawEdit& edit = lastRawEdit_;
    const qsizetype caret = view->selectedRange().location;
    if (edit.position != *point || edit.removed != 0 || edit.added <= 0 || caret != *point + edit.added ||
        caret > view->textLength()) {
        return std::nullopt;
    }
    return view->viewText().mid(*point, edit.added);
}

void SnippetSuggestionController::textDidChange() {
    if (placeholderManager_ && placeholderManager_->isPerformingInternalUpdate()) {
        return;
    }
    debounceTimer_.cancel();
    if (isSessionActive()) {
        applyCaretLineRule();
        return;
    }
    EditorTextView* view = textView_.data();
    if (view == nullptr || view->selectedRange().length != 0) {
        return;
    }
    if (isGhostShown()) {
        const std::optional<QString> typed = textTypedAtGhost();
        if (typed && ghostRenderer_->currentGhostText()->startsWith(*typed)) {
            ghostRenderer_->trim(*typed);
            if (!isGhostShown()) {
                // Typed to its end: nothing is left to offer.
                hideSuggestion();
                return;
            }
            ghostRevision_ = view->textRevision();
            restartDismissTimer();
            return;
        }
        hideSuggestion();
    }
    debounceTimer_ = scheduler()->schedule(debounceDelay, [this] { updateSuggestion(); });
}

void SnippetSuggestionController::viewDidAnnounceChange() {
    rawEditCount_ = 0;
    const EditorTextView* view = textView_.data();
    if (isGhostShown() && view != nullptr && view->textRevision() != ghostRevision_) {
        hideSuggestion();
    }
}

void SnippetSuggestionController::viewDidLoadText() {
    rawEditCount_ = 0;
    if (currentSuggestion_ || isGhostShown() || debounceTimer_.isPending()) {
        hideSuggestion();
    }
}

void SnippetSuggestionController::caretDidMove() {
    const EditorTextView* view = textView_.data();
    const std::optional<qsizetype> point = ghostRenderer_ ? ghostRenderer_->currentInsertionPoint() : std::nullopt;
    // A caret moved by a change is the change's business (typing at the point trims the ghost).
    if (!isGhostShown() || view == nullptr || !point || view->textRevision() != ghostRevision_) {
        return;
    }
    const TextRange selection = view->selectedRange();
    if (selection.length != 0 || selection.location != *point) {
        hideSuggestion();
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

// MARK: Looking for a suggestion

std::optional<MatchContext> SnippetSuggestionController::buildMatchContext() const {
    const EditorTextView* view = textView_.data();
    if (view == nullptr) {
        return std::nullopt;
    }
    return MatchContextBuilder::build(view->viewText(), view->selectedRange().location, fileFormat_);
}

void SnippetSuggestionController::updateSuggestion() {
    if (isInlineSnippetEnabled && !isInlineSnippetEnabled()) {
        return;
    }
    EditorTextView* view = textView_.data();
    if (view == nullptr || !templateMatcher_ || !ghostRenderer_ || view->isLoading()) {
        return;
    }
    const QString& text = view->viewText();
    const std::optional<MatchContext> context = buildMatchContext();
    if (!context) {
        return;
    }
    std::optional<SnippetTemplate> match = templateMatcher_->bestMatch(*context);
    if (!match) {
        return;
    }
    const qsizetype caret = context->cursorPosition;
    const QString base = MatchContextBuilder::baseIndent(text, caret);
    const IndentationStyle unit =
        IndentationDetector{indentationLinesToScan}.detect(text).value_or(IndentationStyle::spaces(2));
    QString rendered = SnippetSuggestion::render(match->content, base, unit, fileFormat_);
    SnippetSuggestion suggestion{std::move(*match), std::move(rendered), caret, context->lastKeyword, base};
    std::optional<InlineSnippetInsertion> insertion = InlineSnippetInsertion::make(text, suggestion, unit, fileFormat_);
    if (!insertion) {
        return;
    }
    currentSuggestion_ = std::move(suggestion);
    insertion_ = std::move(insertion);
    ghostRenderer_->show(insertion_->ghostText, insertion_->replaceEnd, base);
    ghostRevision_ = view->textRevision();
    rawEditCount_ = 0;
    restartDismissTimer();
}

// MARK: Hiding and accepting

void SnippetSuggestionController::hideSuggestion() {
    if (ghostRenderer_) {
        ghostRenderer_->hide(true);
    }
    currentSuggestion_.reset();
    insertion_.reset();
    dismissTimer_.cancel();
    debounceTimer_.cancel();
}

void SnippetSuggestionController::restartDismissTimer() {
    dismissTimer_.cancel();
    if (const auto& clock = scheduler()) {
        dismissTimer_ = clock->schedule(dismissTimeout, [this] { hideSuggestion(); });
    }
}

bool SnippetSuggestionController::acceptSuggestion() {
    EditorTextView* view = textView_.data();
    if (view == nullptr || !currentSuggestion_ || !insertion_ || !placeholderManager_ || !ghostRenderer_) {
        return false;
    }
    const std::optional<qsizetype> point = ghostRenderer_->currentInsertionPoint();
    if (!isGhostShown() || !point || view->textRevision() != ghostRevision_ || *point > view->textLength() ||
        *point < insertion_->replaceEnd) {
        hideSuggestion();
        return false;
    }
    InlineSnippetInsertion insertion = *insertion_;
    insertion.snippetText = withoutEmptyFields(insertion.snippetText);
    ghostRenderer_->hide(true);
    currentSuggestion_.reset();
    insertion_.reset();
    dismissTimer_.cancel();
    // What the user typed over the ghost stands at [replaceEnd, point) and is what the snippet has
    // there: only the rest goes in, after it, unless the snippet also replaces the word before.
    const qsizetype typedLength = *point - insertion.replaceEnd;
    const QStringView typed = QStringView(view->viewText()).mid(insertion.replaceEnd, typedLength);
    const QStringView typedPart = QStringView(insertion.snippetText).left(typedLength);
    if (insertion.replaceStart == insertion.replaceEnd && typedPart == typed && !typedPart.contains(u"${")) {
        placeholderManager_->insertSnippet(insertion.snippetText.mid(typedLength), *point);
    } else {
        placeholderManager_->insertSnippet(insertion.snippetText,
                                           TextRange{insertion.replaceStart, *point - insertion.replaceStart});
    }
    return true;
}

// MARK: Keys

bool SnippetSuggestionController::handleKeyDown(QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = relevantModifiers(event);
    const bool session = isSessionActive();
    switch (event.key()) {
        case Qt::Key_Return:
            if (modifiers == Qt::AltModifier) {
                debounceTimer_.cancel();
                updateSuggestion();
                return true;
            }
            break;
        case Qt::Key_Escape:
            if (session) {
                if (isGhostShown()) {
                    hideSuggestion();
                }
                placeholderManager_->endSession();
                return true;
            }
            if (placeholderManager_) {
                placeholderManager_->endSession();  // a filled snippet is left behind too
            }
            if (isGhostShown()) {
                hideSuggestion();
                return true;
            }
            break;
        case Qt::Key_Tab:
            if (modifiers == Qt::NoModifier) {
                if (isGhostShown() && acceptSuggestion()) {
                    return true;
                }
                if (session) {
                    (void)placeholderManager_->nextPlaceholder();
                    return true;
                }
                if (placeholderManager_ && placeholderManager_->leaveFilledSnippet()) {
                    return true;
                }
            }
            break;
        case Qt::Key_Backtab:
            if (modifiers == Qt::ShiftModifier && session) {
                (void)placeholderManager_->previousPlaceholder();
                return true;
            }
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (isGhostShown()) {
                hideSuggestion();
            }
            break;
        default:
            break;
    }
    return session && placeholderManager_->handleChipKey(event);
}

}  // namespace Carvex

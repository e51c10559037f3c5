#include "Carvex/Completion/CompletionController.h"

#include "Carvex/Completion/CompletionInsertion.h"
#include "Carvex/Completion/SnippetCompletionInsertion.h"

#include "Carvex/Completion/CompletionPopupController.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Preferences/CompletionPreferencesStore.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace Carvex {

namespace {

using Rows = std::vector<CompletionItem>;

// The row to select among `items` given the row `kept` (end: none): the row labelled with the word
// typed whole wins over a longer one ranked above it ("date" over "date-time").
Rows::const_iterator preferringTheWord(const Rows& items, Rows::const_iterator kept, const QString& word) {
    if (word.isEmpty() || (kept != items.end() && kept->label == word)) {
        return kept;
    }
    const auto exact =
        std::find_if(items.begin(), items.end(), [&](const CompletionItem& item) { return item.label == word; });
    return exact != items.end() ? exact : kept;
}

}  // namespace

CompletionController::Factory& CompletionController::factory() {
    static Factory installed;
    return installed;
}

std::unique_ptr<CompletionController> CompletionController::make(EditorTextView* textView,
                                                                 CompletionPreferencesStore& preferencesStore) {
    const Factory& make = factory();
    return make ? make(textView, preferencesStore) : nullptr;
}

void CompletionController::installFactory() {
    factory() = [](EditorTextView* textView, CompletionPreferencesStore& preferencesStore) {
        return std::make_unique<CompletionController>(textView, preferencesStore);
    };
}

CompletionController::CompletionController() = default;

CompletionController::CompletionController(EditorTextView* textView, CompletionPreferencesStore& preferencesStore,
                                           CompletionCoordinator::Engine engine,
                                           std::shared_ptr<CarvexPlatform::MainScheduler> scheduler)
    : textView_(textView),
      preferencesStore_(&preferencesStore),
      scheduler_(scheduler),
      coordinator_(std::make_unique<CompletionCoordinator>(std::move(engine),
                                                           CompletionCoordinator::defaultDebounceInterval, scheduler)),
      self_(std::make_shared<CompletionController*>(this)) {
    coordinator_->setDelegate(this);
}

CompletionController::~CompletionController() {
    self_.reset();
    if (coordinator_) {
        coordinator_->setDelegate(nullptr);
        coordinator_->cancel();
    }
    if (popupController_) {
        popupController_->setDelegate(nullptr);
    }
}

CompletionPopupController& CompletionController::popup() {
    if (!popupController_) {
        popupController_ = std::make_unique<CompletionPopupController>(
            scheduler_ ? scheduler_ : CarvexPlatform::MainScheduler::shared());
        popupController_->setDelegate(this);
        QObject::connect(popupController_.get(), &CompletionPopupController::rowClicked, popupController_.get(),
                         [this] { rowMovedTo_ = true; });
    }
    return *popupController_;
}

void CompletionController::setLanguageFromPath(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("json")) {
        language_ = DocumentLanguage::json;
    } else if (extension == QLatin1String("yaml") || extension == QLatin1String("yml")) {
        language_ = DocumentLanguage::yaml;
    } else {
        language_ = DocumentLanguage::unknown;
    }
}

std::optional<DocumentFormat> CompletionController::format() const {
    switch (language_) {
        case DocumentLanguage::json:
            return DocumentFormat::json;
        case DocumentLanguage::yaml:
            return DocumentFormat::yaml;
        case DocumentLanguage::unknown:
            break;
    }
    return std::nullopt;
}

bool CompletionController::isPopupVisible() const { return popupController_ && popupController_->isVisible(); }

std::optional<CompletionController::TextPoint> CompletionController::currentPoint() const {
    EditorTextView* view = textView_;
    if (view == nullptr) {
        return std::nullopt;
    }
    return TextPoint{view->textRevision(), view->selectedRange().location};
}

// MARK: Edits and caret moves

void CompletionController::textDidChange() {
    if (isProcessingCompletion_ || !coordinator_) {
        return;
    }
    EditorTextView* view = textView_;
    const bool open = isListOpen();
    if (open) {
        // The open list follows the typing as long as the caret stays at or after its place.
        if (!anchorPosition_ || view == nullptr || view->selectedRange().location < *anchorPosition_) {
            hideCompletion();
            return;
        }
    } else if (preferencesStore_ == nullptr || !preferencesStore_->isAutoCompletionEnabled()) {
        return;
    }
    const std::optional<DocumentFormat> documentFormat = format();
    if (!documentFormat || view == nullptr) {
        hideCompletion();
        return;
    }
    const quint64 revision = view->textRevision();
    requestedFor_ = TextPoint{revision, view->selectedRange().location};
    QPointer<EditorTextView> weakView(view);
    coordinator_->requestCompletions(
        [weakView, revision]() -> const QString* {
            // A text changed without a request of its own (a reload, a placeholder edit) is not
            // the one this request was made for.
            if (!weakView || weakView->textRevision() != revision || weakView->isLoading()) {
                return nullptr;
            }
            return &weakView->viewText();
        },
        view->selectedRange().location, *documentFormat, snippetTemplates_);
    if (open) {
        followTyping();
    }
}

void CompletionController::selectionDidChangeWithoutEdit() {
    if (isProcessingCompletion_ || !isListOpen()) {
        return;
    }
    if (selectionOnShow_ && textView_ && textView_->selectedRange() == *selectionOnShow_) {
        return;
    }
    hideCompletion();
}

void CompletionController::hideCompletion() {
    if (coordinator_) {
        coordinator_->cancel();
    }
    if (popupController_) {
        popupController_->hide();
    }
    anchorPosition_.reset();
    selectionOnShow_.reset();
    shownFor_.reset();
    shownSnippetsOnly_ = false;
    answer_.reset();
    awaitingRows_ = false;
    heldSelection_.reset();
    askedAt_.reset();
    rowMovedTo_ = false;
    wordless_ = false;
}

// MARK: Explicit requests

void CompletionController::triggerCompletion() { requestExplicitly(false); }

void CompletionController::triggerSnippetOnlyCompletion() { requestExplicitly(true); }

void CompletionController::requestExplicitly(bool snippetsOnly) {
    EditorTextView* view = textView_;
    if (!format() || view == nullptr || !coordinator_ || !scheduler_) {
        return;
    }
    const qsizetype caret = view->selectedRange().location;
    const quint64 revision = view->textRevision();
    anchorPosition_ = caret;
    std::weak_ptr<CompletionController*> weakSelf = self_;
    scheduler_->post([weakSelf, caret, revision, snippetsOnly] {
        const std::shared_ptr<CompletionController*> alive = weakSelf.lock();
        if (!alive) {
            return;
        }
        CompletionController& controller = **alive;
        EditorTextView* view = controller.textView_;
        const std::optional<DocumentFormat> documentFormat = controller.format();
        if (view == nullptr || !documentFormat || view->textRevision() != revision || view->isLoading() ||
            view->selectedRange().location != caret) {
            // The text or the caret moved on before the request ran: its proposals would belong elsewhere.
            if (!controller.isListOpen()) {
                controller.anchorPosition_.reset();
            }
            return;
        }
        CompletionResult result =
            controller.coordinator_->engine()(view->viewText(), caret, *documentFormat, controller.snippetTemplates_);
        if (snippetsOnly) {
            std::erase_if(result.items,
                          [](const CompletionItem& item) { return item.kind != CompletionItemKind::snippet; });
            result.isIncomplete = false;
        }
        if (result.items.empty()) {
            // A popup already open stays; the next edit closes it, its place forgotten.
            controller.anchorPosition_.reset();
            return;
        }
        if (!snippetsOnly && result.items.size() == 1 && controller.preferencesStore_ != nullptr &&
            controller.preferencesStore_->isDirectInsertEnabled()) {
            // A row that is the typed text already writes nothing: no edit, no step of undo.
            const CompletionItem item = result.items.front();
            if (!controller.leavesTextAsItIs(item)) {
                controller.insertCompletion(item);
            }
            controller.hideCompletion();
            return;
        }
        controller.show(result, TextPoint{revision, caret}, snippetsOnly, true);
    });
}

// MARK: Showing

void CompletionController::showCompletions(const CompletionResult& result) {
    show(result, currentPoint(), false, false);
}

void CompletionController::show(const CompletionResult& result, std::optional<TextPoint> computedFor,
                                bool snippetsOnly, bool askedFor) {
    EditorTextView* view = textView_;
    const std::optional<QRect> line = caretLineScreenRect();
    if (result.items.empty() || view == nullptr || !line || isOnlyTheTypedText(result.items)) {
        hideCompletion();
        return;
    }
    // A list already open keeps the row the user selected while the answer still holds it.
    const bool opening = !isListOpen();
    const std::optional<RowKey> selected = opening ? std::nullopt : selectedRowKey();
    if (opening) {
        askedAt_.reset();
        rowMovedTo_ = false;
    }
    if (askedFor) {
        askedAt_ = view->selectedRange().location;
    }
    if (!anchorPosition_) {
        anchorPosition_ = view->selectedRange().location;
    }
    shownFor_ = computedFor;
    shownSnippetsOnly_ = snippetsOnly;
    const QString& text = view->viewText();
    const qsizetype caret = std::clamp<qsizetype>(view->selectedRange().location, 0, text.size());
    qsizetype lineStart = caret;
    while (lineStart > 0 && caret - lineStart < answerContextLength && text[lineStart - 1] != u'\n') {
        --lineStart;
    }
    qsizetype lineEnd = caret;
    while (lineEnd < text.size() && lineEnd - caret < answerContextLength && text[lineEnd] != u'\n') {
        ++lineEnd;
    }
    const bool filteredByWord = !result.context.hints.isRefValueContext && !result.isIncomplete;
    answer_ = Answer{result.items,
                     filteredByWord ? std::optional<QString>(result.context.prefix) : std::nullopt,
                     caret,
                     text.size(),
                     text.mid(lineStart, caret - lineStart),
                     text.mid(caret, lineEnd - caret)};
    showRows(result.items, *line, selected, result.context.prefix);
}

void CompletionController::showRows(std::vector<CompletionItem> items, const QRect& caretLine,
                                    const std::optional<RowKey>& selected, const QString& word) {
    Rows::const_iterator kept = items.cend();
    if (selected) {
        kept = std::find_if(items.begin(), items.end(), [&](const CompletionItem& item) {
            return item.label == selected->label && item.kind == selected->kind;
        });
    }
    const Rows::const_iterator row = preferringTheWord(items, kept, word);
    // A row moved to counts while it is the one selected.
    rowMovedTo_ = rowMovedTo_ && row == kept && kept != items.cend();
    wordless_ = word.isEmpty();
    const int selectedRow = row != items.cend() ? static_cast<int>(row - items.cbegin()) : 0;
    EditorTextView* view = textView_;
    selectionOnShow_ = view->selectedRange();
    awaitingRows_ = false;
    heldSelection_.reset();
    popup().show(std::move(items), caretLine, view->window(), selectedRow);
}

// MARK: Following the typing

void CompletionController::followTyping() {
    std::optional<Narrowed> narrowed = narrowedRows();
    const std::optional<QRect> line = caretLineScreenRect();
    if (!narrowed || narrowed->rows.empty() || !line || isOnlyTheTypedText(narrowed->rows)) {
        awaitAnswer();
        return;
    }
    showRows(std::move(narrowed->rows), *line, selectedRowKey(), narrowed->word);
}

std::optional<CompletionController::Narrowed> CompletionController::narrowedRows() const {
    EditorTextView* view = textView_;
    if (view == nullptr || !answer_ || !answer_->word) {
        return std::nullopt;
    }
    const QString& text = view->viewText();
    const TextRange selection = view->selectedRange();
    const qsizetype typed = selection.location - answer_->caret;
    // The answer's text with `typed` units put in at its caret, and nothing else changed around it.
    if (selection.length != 0 || typed < 0 || text.size() != answer_->textLength + typed ||
        answer_->caret < answer_->before.size() ||
        QStringView(text).sliced(answer_->caret - answer_->before.size(), answer_->before.size()) != answer_->before ||
        text.size() - selection.location < answer_->after.size() ||
        QStringView(text).sliced(selection.location, answer_->after.size()) != answer_->after) {
        return std::nullopt;
    }
    const QStringView added = QStringView(text).sliced(answer_->caret, typed);
    // The characters the engine reads as going on with the word; any other ends it or changes the place.
    const auto continuesWord = [](QChar c) {
        return c == u'_' || c == u'-' || c == u'$' || QChar::isLetterOrNumber(char32_t(c.unicode()));
    };
    if (!std::all_of(added.begin(), added.end(), continuesWord)) {
        return std::nullopt;
    }
    Narrowed narrowed{{}, *answer_->word + added.toString()};
    const QString word = narrowed.word.toLower();
    for (const CompletionItem& item : answer_->items) {
        if (item.label.toLower().startsWith(word)) {
            narrowed.rows.push_back(item);
        }
    }
    return narrowed;
}

void CompletionController::awaitAnswer() {
    if (isPopupVisible()) {
        heldSelection_ = selectedRowKey();
        popupController_->hide();
    }
    awaitingRows_ = true;
    if (textView_) {
        selectionOnShow_ = textView_->selectedRange();
    }
}

std::optional<CompletionController::RowKey> CompletionController::selectedRowKey() const {
    if (isPopupVisible()) {
        if (const CompletionItem* item = popupController_->selectedItem()) {
            return RowKey{item->label, item->kind};
        }
        return std::nullopt;
    }
    return awaitingRows_ ? heldSelection_ : std::nullopt;
}

bool CompletionController::leavesTextAsItIs(const CompletionItem& item) const {
    EditorTextView* view = textView_;
    if (view == nullptr) {
        return false;
    }
    const QString& text = view->viewText();
    const TextRange selection = view->selectedRange();
    const auto unchanged = [&text](TextRange range, const QString& written) {
        return range.location >= 0 && range.length >= 0 && range.location <= text.size() &&
               range.length <= text.size() - range.location &&
               QStringView(text).sliced(range.location, range.length) == written;
    };
    if (item.kind == CompletionItemKind::snippet && item.snippetMetadata) {
        const std::optional<CompletionInsertion::SnippetInsertion> insertion =
            CompletionInsertion::snippetInsertion(text, selection, language_, item);
        return insertion && unchanged(insertion->range, insertion->text);
    }
    const std::optional<CompletionInsertion::OrdinaryInsertion> insertion =
        CompletionInsertion::ordinaryInsertion(text, selection, language_, item);
    return insertion && unchanged(insertion->range, insertion->text);
}

bool CompletionController::isOnlyTheTypedText(const std::vector<CompletionItem>& items) const {
    return items.size() == 1 && leavesTextAsItIs(items.front());
}

std::optional<QRect> CompletionController::caretLineScreenRect() const {
    EditorTextView* view = textView_;
    if (view == nullptr || !view->isVisible()) {
        return std::nullopt;
    }
    QTextDocument* document = view->document();
    const qsizetype last = std::max(document->characterCount() - 1, 0);
    QTextCursor cursor(document);
    cursor.setPosition(static_cast<int>(std::clamp<qsizetype>(view->selectedRange().location, 0, last)));
    const QRect caret = view->cursorRect(cursor);
    const QPoint topLeft = view->viewport()->mapToGlobal(caret.topLeft());
    return QRect(topLeft, QSize(std::max(caret.width(), 1), std::max(caret.height(), 1)));
}

std::optional<QPoint> CompletionController::caretScreenPoint() const {
    const std::optional<QRect> line = caretLineScreenRect();
    if (!line) {
        return std::nullopt;
    }
    return QPoint(line->x(), line->y() + line->height());
}

// MARK: Keys

bool CompletionController::handleKeyDown(QKeyEvent& event) {
    if (event.key() == Qt::Key_Space && event.modifiers().testFlag(Qt::ControlModifier)) {
        triggerCompletion();
        return true;
    }
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event.key() == Qt::Key_Return && modifiers == Qt::AltModifier) {
        triggerSnippetOnlyCompletion();
        return true;
    }
    const bool accepting = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter ||
                           event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab;
    if (!isPopupVisible()) {
        // A list hidden until its answer shows nothing to accept or dismiss: it closes, and the key
        // is the editor's.
        if (awaitingRows_ && (accepting || event.key() == Qt::Key_Escape)) {
            hideCompletion();
        }
        return false;
    }
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const CompletionItem* selected = popupController_->selectedItem();
            if (selected == nullptr) {
                return false;
            }
            if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && returnEndsTheLine()) {
                hideCompletion();
                return false;
            }
            if (!shownRowsAreCurrent()) {
                return confirmForCurrentText();
            }
            if (leavesTextAsItIs(*selected)) {
                hideCompletion();
                return false;
            }
            popupController_->confirmSelection();
            return true;
        }
        case Qt::Key_Escape:
            hideCompletion();
            return true;
        case Qt::Key_Down:
            popupController_->moveDown();
            rowMovedTo_ = true;
            return true;
        case Qt::Key_Up:
            popupController_->moveUp();
            rowMovedTo_ = true;
            return true;
        default:
            return false;
    }
}

bool CompletionController::returnEndsTheLine() const {
    const bool askedHere = askedAt_ && textView_ && textView_->selectedRange().location == *askedAt_;
    return wordless_ && !rowMovedTo_ && !askedHere;
}

bool CompletionController::shownRowsAreCurrent() const {
    return shownFor_ && *shownFor_ == currentPoint() && !(coordinator_ && coordinator_->isPending());
}

// The rows on screen belong to a text the user has typed past, and the request for the current
// text has not run. Waiting for it would show the engine's answer for the current text with its
// first row selected; that answer is computed now instead (a few milliseconds on a 5 MB
// description), so the key writes the same thing however fast it followed the typing. The row the
// user had selected wins while the current text still offers it.
bool CompletionController::confirmForCurrentText() {
    EditorTextView* view = textView_;
    const std::optional<DocumentFormat> documentFormat = format();
    const CompletionItem* shown = popupController_ ? popupController_->selectedItem() : nullptr;
    if (view == nullptr || !documentFormat || shown == nullptr || !coordinator_ || !coordinator_->engine()) {
        hideCompletion();
        return false;
    }
    const QString selectedLabel = shown->label;
    const CompletionItemKind selectedKind = shown->kind;
    const bool snippetsOnly = shownSnippetsOnly_;
    coordinator_->cancel();
    view->finishLoading();
    CompletionResult result =
        coordinator_->engine()(view->viewText(), view->selectedRange().location, *documentFormat, snippetTemplates_);
    if (snippetsOnly) {
        std::erase_if(result.items,
                      [](const CompletionItem& item) { return item.kind != CompletionItemKind::snippet; });
    }
    if (result.items.empty()) {
        // Nothing fits the text as it is: the key does what it does without a popup.
        hideCompletion();
        return false;
    }
    const Rows::const_iterator same =
        std::find_if(result.items.cbegin(), result.items.cend(), [&](const CompletionItem& item) {
            return item.label == selectedLabel && item.kind == selectedKind;
        });
    const Rows::const_iterator chosen = preferringTheWord(result.items, same, result.context.prefix);
    const CompletionItem item = chosen != result.items.end() ? *chosen : result.items.front();
    if (leavesTextAsItIs(item)) {
        // The text already reads as the row would write it.
        hideCompletion();
        return false;
    }
    insertCompletion(item);
    // As after an acceptance from the popup: it hides, where it belonged stays until the next show or hide.
    popupController_->hide();
    return true;
}

// MARK: Delegates

void CompletionController::completionCoordinatorDidComplete(CompletionCoordinator&, const CompletionResult& result) {
    // Rows computed for one caret are not shown at another: the caret moved without an edit.
    if (currentPoint() != requestedFor_) {
        return;
    }
    const bool snippetsOnly = isListOpen() && shownSnippetsOnly_;
    if (!snippetsOnly) {
        show(result, requestedFor_, false, false);
        return;
    }
    CompletionResult snippets = result;
    std::erase_if(snippets.items, [](const CompletionItem& item) { return item.kind != CompletionItemKind::snippet; });
    show(snippets, requestedFor_, true, false);
}

void CompletionController::completionPopupDidSelectItem(CompletionPopupController&, const CompletionItem& item) {
    insertCompletion(item);
}

void CompletionController::insertCompletion(const CompletionItem& item) {
    EditorTextView* view = textView_;
    if (view == nullptr) {
        return;
    }
    // A request waiting for the keystroke before the acceptance would reopen the popup on stale rows.
    if (coordinator_) {
        coordinator_->cancel();
    }
    isProcessingCompletion_ = true;
    if (item.kind == CompletionItemKind::snippet && item.snippetMetadata) {
        if (placeholderManager_) {
            (void)insertSnippetCompletion(*view, *placeholderManager_, language_, item);
        }
    } else {
        view->finishLoading();
        const std::optional<CompletionInsertion::OrdinaryInsertion> insertion =
            CompletionInsertion::ordinaryInsertion(view->viewText(), view->selectedRange(), language_, item);
        if (insertion && view->replaceCharacters(insertion->range, insertion->text, true)) {
            view->setSelectedRange(TextRange{insertion->caret, 0});
        }
    }
    isProcessingCompletion_ = false;
}

// The popup hides itself after an acceptance; where it belonged stays until the next show or hide.
void CompletionController::completionPopupDidDismiss(CompletionPopupController&) {}

}  // namespace Carvex

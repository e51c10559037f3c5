#pragma once

#include "Carvex/Completion/CompletionCoordinator.h"
#include "Carvex/Completion/CompletionCoordinatorDelegate.h"
#include "Carvex/Completion/CompletionPopupDelegate.h"
#include "Carvex/Completion/CompletionResult.h"
#include "Carvex/Text/TextRange.h"
#include "Carvex/Snippets/PlaceholderManager.h"
#include "Carvex/Snippets/SnippetTemplate.h"
#include "Carvex/Syntax/DocumentLanguage.h"
#include "platform/MainScheduler.h"

#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QKeyEvent;

namespace Carvex {

class CompletionPopupController;
class CompletionPreferencesStore;
class EditorTextView;

// Completion in one editor: asks for proposals while the user types (after a pause, when automatic
// completion is on or the list is open) and on request (Ctrl+Space), shows them in the popup under
// the caret, keeps the list while the caret stays at or after the place it opened for, and routes
// the keys the open popup takes (Escape, Up, Down; Return, Tab, Shift-Tab or keypad Enter write the
// selected row, a snippet through the placeholder manager). Alt+Return asks for the snippets alone,
// and the list stays snippets alone until it closes. An explicit request with a single proposal
// writes it at once when direct insertion is on.
//
// The rows on screen always fit the word at the caret: while the user types on the word the last
// answer was computed for, its rows are narrowed at once by the engine's rule (a label beginning
// with the word, in any letter case) until the pause's answer comes; after any other edit the list
// is hidden until then. A selected row stays selected while the new rows hold it. A result is shown
// only for the text and caret it was computed from, and an accepting key never writes a row computed
// for older text: while the shown rows are behind (a request still waits), the key asks the engine
// at once for the current text and writes the selected row when it is still proposed, else the
// first proposal; with none, the popup hides and the key is the editor's. A row whose writing would
// leave the text as it is (the typed value `false` and the row `false`) is no acceptance: the list
// closes and the key is the editor's, and a list whose only row is such a row closes by itself.
// A row that is the word typed, exactly, is the selected one.
//
// Return and keypad Enter end the line while the rows on screen came by themselves with no word at
// the caret (after "{" or "," in JSON, after a key of a list in YAML, on a new line) and no row was
// moved to: the list closes and the key is the editor's. Tab still accepts, and so does a list the
// user asked for (Ctrl+Space, Alt+Return) while the caret stays where it was asked for.
// Settings are read at each decision. Holds its text view weakly.
//
// The editor makes it through `make`, which gives nothing until `installFactory` has run; tests
// install fakes that override the virtual members.
class CompletionController : public CompletionCoordinatorDelegate, public CompletionPopupDelegate {
public:
    using Factory = std::function<std::unique_ptr<CompletionController>(
        EditorTextView* textView, CompletionPreferencesStore& preferencesStore)>;

    // A controller for `textView`, its requests answered by `engine`, its pauses and explicit
    // requests on `scheduler`.
    CompletionController(EditorTextView* textView, CompletionPreferencesStore& preferencesStore,
                         CompletionCoordinator::Engine engine = CompletionCoordinator::defaultEngine(),
                         std::shared_ptr<CarvexPlatform::MainScheduler> scheduler =
                             CarvexPlatform::MainScheduler::shared());
    ~CompletionController() override;
    CompletionController(const CompletionController&) = delete;
    CompletionController& operator=(const CompletionController&) = delete;

    static Factory& factory();
    static std::unique_ptr<CompletionController> make(EditorTextView* textView,
                                                      CompletionPreferencesStore& preferencesStore);
    // Installs the factory of this class.
    static void installFactory();

    DocumentLanguage language() const { return language_; }
    void setLanguage(DocumentLanguage language) { language_ = language; }
    // The language of a file name's extension: "json", "yaml" or "yml" in any letter case.
    void setLanguageFromPath(const QString& path);
    const std::vector<SnippetTemplate>& snippetTemplates() const { return snippetTemplates_; }
    void setSnippetTemplates(std::vector<SnippetTemplate> templates) { snippetTemplates_ = std::move(templates); }
    const std::shared_ptr<PlaceholderManager>& placeholderManager() const { return placeholderManager_; }
    void setPlaceholderManager(std::shared_ptr<PlaceholderManager> manager) {
        placeholderManager_ = std::move(manager);
    }

    // After each edit outside placeholder mode, before every other aid.
    virtual void textDidChange();
    // On each selection change that no edit caused.
    virtual void selectionDidChangeWithoutEdit();
    // True when the completion machinery consumed the key.
    virtual bool handleKeyDown(QKeyEvent& event);
    // An explicit completion request.
    virtual void triggerCompletion();
    // An explicit request for the snippet proposals alone.
    virtual void triggerSnippetOnlyCompletion();
    // Writes a proposal into the text as one ordinary edit (a snippet through the placeholder
    // manager), the waiting request dropped; its own edit is not reported back.
    virtual void insertCompletion(const CompletionItem& item);
    // Whether the completion popup's window is on screen.
    virtual bool isPopupVisible() const;
    // Whether the list is open: on screen, or hidden until the answer for the current text comes.
    bool isListOpen() const { return isPopupVisible() || awaitingRows_; }
    // Dismisses the popup, drops the waiting request and forgets where the popup belongs.
    virtual void hideCompletion();
    // Shows the result's items under the caret (none: hides), as computed for the current text and caret.
    virtual void showCompletions(const CompletionResult& result);
    // The screen point under the caret's line where the popup's top-left corner goes; none
    // without a visible text view or a caret.
    std::optional<QPoint> caretScreenPoint() const;
    // The caret's line in screen coordinates, its left edge at the caret.
    std::optional<QRect> caretLineScreenRect() const;

    // Set while the controller edits the text itself: its own changes are not reported back.
    bool isProcessingCompletion() const { return isProcessingCompletion_; }
    const std::optional<qsizetype>& anchorPosition() const { return anchorPosition_; }
    const std::optional<TextRange>& selectionOnShow() const { return selectionOnShow_; }
    // Null until the popup is first needed.
    CompletionPopupController* popupController() const { return popupController_.get(); }
    CompletionCoordinator* coordinator() const { return coordinator_.get(); }

    void completionCoordinatorDidComplete(CompletionCoordinator& coordinator, const CompletionResult& result) override;
    void completionPopupDidSelectItem(CompletionPopupController& popup, const CompletionItem& item) override;
    void completionPopupDidDismiss(CompletionPopupController& popup) override;

protected:
    // For test doubles: no text view, nothing requested or shown.
    CompletionController();

    // The popup, made on first need.
    CompletionPopupController& popup();
    // An explicit request, all proposals or only snippets.
    void requestExplicitly(bool snippetsOnly);

    DocumentLanguage language_ = DocumentLanguage::unknown;
    std::vector<SnippetTemplate> snippetTemplates_;
    std::shared_ptr<PlaceholderManager> placeholderManager_;
    bool isProcessingCompletion_ = false;
    std::optional<qsizetype> anchorPosition_;
    std::optional<TextRange> selectionOnShow_;

private:
    // The text revision and caret a list of proposals was computed for.
    struct TextPoint {
        quint64 revision = 0;
        qsizetype caret = 0;
        bool operator==(const TextPoint& other) const = default;
    };
    // A row as the user selected it, found again among new rows.
    struct RowKey {
        QString label;
        CompletionItemKind kind = CompletionItemKind::unknown;
    };
    // The engine's answer the open list came from, kept to narrow it while the word is typed on: the
    // rows, the word they were filtered by (none when the engine narrows otherwise, as for a `$ref`
    // value), the caret and the text's length then, and the caret's line on either side of it (at
    // most `answerContextLength` units each).
    struct Answer {
        std::vector<CompletionItem> items;
        std::optional<QString> word;
        qsizetype caret = 0;
        qsizetype textLength = 0;
        QString before;
        QString after;
    };
    static constexpr qsizetype answerContextLength = 256;

    std::optional<DocumentFormat> format() const;
    std::optional<TextPoint> currentPoint() const;
    // `askedFor`: the answer of an explicit request.
    void show(const CompletionResult& result, std::optional<TextPoint> computedFor, bool snippetsOnly,
              bool askedFor);
    // Whether the popup's rows were computed for the text and caret as they are, no request waiting.
    bool shownRowsAreCurrent() const;
    // An accepting key while the shown rows are behind: writes the row the current text offers
    // (false, the popup hidden, when it offers none or its row would leave the text as it is).
    bool confirmForCurrentText();
    // Whether writing `item` at the caret now would leave the text as it is.
    bool leavesTextAsItIs(const CompletionItem& item) const;
    // Whether `items` is one row that would leave the text as it is.
    bool isOnlyTheTypedText(const std::vector<CompletionItem>& items) const;
    // After an edit with the list open: the rows narrowed to the word typed, or the list hidden
    // until the pause's answer.
    void followTyping();
    // The last answer's rows that fit the word at the caret, and that word; none when the text is
    // not the answer's with word characters typed at its caret.
    struct Narrowed {
        std::vector<CompletionItem> rows;
        QString word;
    };
    std::optional<Narrowed> narrowedRows() const;
    // Hides the popup until the answer for the current text comes; the list stays open.
    void awaitAnswer();
    // The row selected in the open list (shown or awaiting its answer).
    std::optional<RowKey> selectedRowKey() const;
    // Shows `items`, proposed for the word `word`, at the caret: the row labelled `word` selected,
    // else the row `selected` names when it is among them, else the first.
    void showRows(std::vector<CompletionItem> items, const QRect& caretLine, const std::optional<RowKey>& selected,
                  const QString& word);
    // Whether Return or keypad Enter is the editor's although rows are on screen: they came by
    // themselves with no word at the caret, and no row was moved to.
    bool returnEndsTheLine() const;

    QPointer<EditorTextView> textView_;
    CompletionPreferencesStore* preferencesStore_ = nullptr;
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    std::unique_ptr<CompletionCoordinator> coordinator_;
    std::unique_ptr<CompletionPopupController> popupController_;
    // Where the newest automatic request was made; the coordinator delivers no other.
    TextPoint requestedFor_;
    // Where the rows on screen were computed (none: not known), and whether they are snippets alone.
    std::optional<TextPoint> shownFor_;
    // Set from Alt+Return until the list closes: every answer meanwhile is cut to its snippets.
    bool shownSnippetsOnly_ = false;
    std::optional<Answer> answer_;
    // The popup is hidden while the list waits for the answer for the current text.
    bool awaitingRows_ = false;
    // The row that was selected when the popup was hidden to wait.
    std::optional<RowKey> heldSelection_;
    // Where the caret stood when the user asked for the open list (Ctrl+Space, Alt+Return).
    std::optional<qsizetype> askedAt_;
    // The selected row is one the user moved to (Up, Down, a click).
    bool rowMovedTo_ = false;
    // The rows on screen were proposed with no word at the caret.
    bool wordless_ = false;
    // Lets a posted explicit request find out that its controller is gone.
    std::shared_ptr<CompletionController*> self_;
};

}  // namespace Carvex

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
// completion is on or the popup is open) and on request (Ctrl+Space), shows them in the popup under
// the caret, keeps the popup while the caret stays at or after the place it opened for, and routes
// the keys the open popup takes (Escape, Up, Down; Return, Tab, Shift-Tab or keypad Enter write the
// selected row, a snippet through the placeholder manager). Alt+Return asks for the snippets alone.
// An explicit request with a single proposal writes it at once when direct insertion is on. A
// result is shown only for the text it was computed from, and an accepting key never writes a row
// computed for older text: while the shown rows are behind the text or caret (a request still
// waits), the key asks the engine at once for the current text and writes the selected row when it
// is still proposed, else the first proposal; with none, the popup hides and the key is the
// editor's. Settings are read at each decision. Holds its text view weakly.
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

    std::optional<DocumentFormat> format() const;
    std::optional<TextPoint> currentPoint() const;
    void show(const CompletionResult& result, std::optional<TextPoint> computedFor, bool snippetsOnly);
    // Whether the popup's rows were computed for the text and caret as they are, no request waiting.
    bool shownRowsAreCurrent() const;
    // An accepting key while the shown rows are behind: writes the row the current text offers
    // (false, the popup hidden, when it offers none).
    bool confirmForCurrentText();

    QPointer<EditorTextView> textView_;
    CompletionPreferencesStore* preferencesStore_ = nullptr;
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    std::unique_ptr<CompletionCoordinator> coordinator_;
    std::unique_ptr<CompletionPopupController> popupController_;
    // Where the newest automatic request was made; the coordinator delivers no other.
    TextPoint requestedFor_;
    // Where the rows on screen were computed (none: not known), and whether they are snippets alone.
    std::optional<TextPoint> shownFor_;
    bool shownSnippetsOnly_ = false;
    // Lets a posted explicit request find out that its controller is gone.
    std::shared_ptr<CompletionController*> self_;
};

}  // namespace Carvex

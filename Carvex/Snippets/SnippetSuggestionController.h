#pragma once

#include "Carvex/Text/FileFormat.h"
#include "Carvex/Snippets/InlineSnippetInsertion.h"
#include "Carvex/Snippets/MatchContext.h"
#include "Carvex/Snippets/PlaceholderManager.h"
#include "Carvex/Snippets/SnippetSuggestion.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "Carvex/Snippets/TemplateMatcher.h"
#include "platform/MainScheduler.h"
#include "platform/WorkItem.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QKeyEvent;

namespace Carvex {

class EditorTextView;
class GhostTextRenderer;

// Offers the best snippet at the caret inline and runs the placeholder session of an inserted
// snippet: it owns the editor's placeholder manager (which the editor also hands to the completion
// controller), routes Tab, Shift-Tab and Escape to a running session and ends the session when the
// caret leaves the snippet's lines. Holds its text view weakly. Made through `make`, which gives
// nothing until `installFactory` has run; the editor's tests override the virtual members.
//
// A pause of 0.15 s after typing looks for a template at the caret and shows it as ghost text;
// typing the ghost's next characters at its point shortens it, Tab inserts the rest as a snippet,
// Escape, an arrow key, the caret leaving the ghost's point or 20 s without matching input hide it. The ghost belongs to the text it was
// shown for: a change the controller did not hear of (one made while the completion popup was
// open, a reload) hides it, and it is never inserted into another text. Timers run on the view's
// main scheduler.
class SnippetSuggestionController {
public:
    using Factory = std::function<std::unique_ptr<SnippetSuggestionController>(
        EditorTextView* textView, std::shared_ptr<TemplateCatalog> catalog)>;

    static constexpr CarvexPlatform::MainScheduler::Duration debounceDelay{150};
    static constexpr CarvexPlatform::MainScheduler::Duration dismissTimeout{20000};

    // A controller for `textView` with a placeholder manager and a ghost renderer of its own (none
    // without a view).
    explicit SnippetSuggestionController(EditorTextView* textView = nullptr,
                                         std::shared_ptr<TemplateCatalog> catalog = nullptr);
    virtual ~SnippetSuggestionController();
    SnippetSuggestionController(const SnippetSuggestionController&) = delete;
    SnippetSuggestionController& operator=(const SnippetSuggestionController&) = delete;

    static Factory& factory();
    static std::unique_ptr<SnippetSuggestionController> make(EditorTextView* textView,
                                                             std::shared_ptr<TemplateCatalog> catalog);
    // Installs the factory of this class.
    static void installFactory();

    EditorTextView* textView() const { return textView_.data(); }
    const std::shared_ptr<TemplateCatalog>& catalog() const { return catalog_; }
    // YAML until set.
    FileFormat fileFormat() const { return fileFormat_; }
    void setFileFormat(FileFormat format) { fileFormat_ = format; }
    const std::shared_ptr<PlaceholderManager>& placeholderManager() const { return placeholderManager_; }
    void setPlaceholderManager(std::shared_ptr<PlaceholderManager> manager) {
        placeholderManager_ = std::move(manager);
    }
    GhostTextRenderer* ghostRenderer() const { return ghostRenderer_.get(); }
    // The suggestion on offer, none while no ghost is up.
    const std::optional<SnippetSuggestion>& currentSuggestion() const { return currentSuggestion_; }
    // Whether a ghost is drawn.
    bool isGhostShown() const;
    // The pending suggestion after typing (cancelled when none).
    CarvexPlatform::WorkItem& debounceTimer() { return debounceTimer_; }
    // The pending dismissal of the ghost on screen.
    const CarvexPlatform::WorkItem& dismissTimer() const { return dismissTimer_; }
    // Called when placeholder mode ends.
    std::function<void()> onPlaceholderModeExit;
    // Whether inline suggestions are on, asked at every lookup; on while none is installed. The
    // editor installs the completion preference.
    std::function<bool()> isInlineSnippetEnabled;

    // After each edit outside placeholder mode while the completion popup is hidden; with a
    // session running it applies the caret line rule.
    virtual void textDidChange();
    // On a selection change in an active session: the caret line rule.
    virtual void selectionDidChange();
    // True when the key was consumed. Alt+Return looks for a suggestion now; Escape hides the
    // ghost or ends a session; Tab (no modifiers) accepts the ghost or moves to the next
    // placeholder, Shift-Tab (exactly Shift) to the previous one; an arrow hides the ghost and
    // goes on; in a session the chip keys of the manager.
    virtual bool handleKeyDown(QKeyEvent& event);
    // Shows the best suggestion at the caret now (nothing when suggestions are off, the caret has
    // no keyword or no template matches).
    virtual void updateSuggestion();
    // Fades the ghost out and forgets the suggestion; no lookup stays pending.
    void hideSuggestion();
    // Inserts the ghost as a snippet (a session starts when it has fields): what the user typed
    // over the ghost stays and only the rest goes in, at the ghost's point. A ghost whose text has
    // changed unheard, or whose point lies past the end, is hidden instead. True when inserted.
    bool acceptSuggestion();
    // The ghost goes 20 s from now unless something else happens first.
    void restartDismissTimer();
    // The caret's surroundings for matching; none without a view or a keyword at the caret.
    std::optional<MatchContext> buildMatchContext() const;

    // Ends the session when the caret's line lies outside the snippet's lines.
    void applyCaretLineRule();

protected:
    FileFormat fileFormat_ = FileFormat::yaml;
    std::shared_ptr<PlaceholderManager> placeholderManager_;
    CarvexPlatform::WorkItem debounceTimer_;

private:
    // One change of the text document as it reported it, before the view announces it.
    struct RawEdit {
        int position = 0;
        int removed = 0;
        int added = 0;
    };

    bool isSessionActive() const;
    const std::shared_ptr<CarvexPlatform::MainScheduler>& scheduler() const;
    // The text typed at the ghost's point by the change just announced, when that change was only
    // that; none otherwise.
    std::optional<QString> textTypedAtGhost() const;
    void viewDidAnnounceChange();
    void viewDidLoadText();
    // The caret left the ghost's point without an edit (a click, a selection): the ghost goes.
    void caretDidMove();

    QPointer<EditorTextView> textView_;
    std::shared_ptr<TemplateCatalog> catalog_;
    std::optional<TemplateMatcher> templateMatcher_;
    std::unique_ptr<GhostTextRenderer> ghostRenderer_;
    std::optional<SnippetSuggestion> currentSuggestion_;
    // What acceptance writes and what the ghost shows.
    std::optional<InlineSnippetInsertion> insertion_;
    // The view's text revision the ghost was last placed for.
    quint64 ghostRevision_ = 0;
    CarvexPlatform::WorkItem dismissTimer_;
    std::shared_ptr<CarvexPlatform::MainScheduler> scheduler_;
    int rawEditCount_ = 0;
    RawEdit lastRawEdit_;
    // Owns the connections to the view's signals, which end with the controller.
    QObject connections_;
};

}  // namespace Carvex

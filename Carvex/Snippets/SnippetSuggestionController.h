#pragma once

#include "Carvex/Text/FileFormat.h"
#include "Carvex/Snippets/PlaceholderManager.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "platform/WorkItem.h"

#include <QPointer>

#include <functional>
#include <memory>

class QKeyEvent;

namespace Carvex {

class EditorTextView;

// Offers the best snippet at the caret inline and runs the placeholder session of an inserted
// snippet: it owns the editor's placeholder manager (which the editor also hands to the completion
// controller), routes Tab, Shift-Tab and Escape to a running session and ends the session when the
// caret leaves the snippet's lines. Holds its text view weakly. Made through `make`, which gives
// nothing until `installFactory` has run; the editor's tests override the virtual members.
class SnippetSuggestionController {
public:
    using Factory = std::function<std::unique_ptr<SnippetSuggestionController>(
        EditorTextView* textView, std::shared_ptr<TemplateCatalog> catalog)>;

    // A controller for `textView` with a placeholder manager of its own (none without a view).
    explicit SnippetSuggestionController(EditorTextView* textView = nullptr,
                                         std::shared_ptr<TemplateCatalog> catalog = nullptr);
    virtual ~SnippetSuggestionController() = default;

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
    // The pending suggestion after typing (cancelled when none).
    CarvexPlatform::WorkItem& debounceTimer() { return debounceTimer_; }
    // Called when placeholder mode ends.
    std::function<void()> onPlaceholderModeExit;

    // After each edit outside placeholder mode while the completion popup is hidden; with a
    // session running it applies the caret line rule.
    virtual void textDidChange();
    // On a selection change in an active session: the caret line rule.
    virtual void selectionDidChange();
    // True when the key was consumed. In a session: Escape ends it, Tab (no modifiers) and
    // Shift-Tab (exactly Shift) move between placeholders, and the chip keys of the manager.
    virtual bool handleKeyDown(QKeyEvent& event);
    // Shows the best suggestion at the caret now.
    virtual void updateSuggestion();

    // Ends the session when the caret's line lies outside the snippet's lines.
    void applyCaretLineRule();

protected:
    FileFormat fileFormat_ = FileFormat::yaml;
    std::shared_ptr<PlaceholderManager> placeholderManager_;
    CarvexPlatform::WorkItem debounceTimer_;

private:
    bool isSessionActive() const;

    QPointer<EditorTextView> textView_;
    std::shared_ptr<TemplateCatalog> catalog_;
};

}  // namespace Carvex

#pragma once

#include "Carvex/Text/FileFormat.h"
#include "Carvex/Snippets/PlaceholderManager.h"
#include "Carvex/Snippets/TemplateCatalog.h"
#include "platform/WorkItem.h"

#include <functional>
#include <memory>

class QKeyEvent;

namespace Carvex {

class EditorTextView;

// Offers the best snippet at the caret inline and runs the placeholder session of an inserted
// snippet. Holds its text view weakly. Made through `make`, which gives nothing until the snippet
// subsystem installs its factory.
class SnippetSuggestionController {
public:
    using Factory = std::function<std::unique_ptr<SnippetSuggestionController>(
        EditorTextView* textView, std::shared_ptr<TemplateCatalog> catalog)>;

    virtual ~SnippetSuggestionController() = default;

    static Factory& factory();
    static std::unique_ptr<SnippetSuggestionController> make(EditorTextView* textView,
                                                             std::shared_ptr<TemplateCatalog> catalog);

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

    // After each edit outside placeholder mode while the completion popup is hidden.
    virtual void textDidChange() = 0;
    // On a selection change in an active session; may end it.
    virtual void selectionDidChange() = 0;
    // True when the key was consumed; may end the placeholder session.
    virtual bool handleKeyDown(QKeyEvent& event) = 0;
    // Shows the best suggestion at the caret now.
    virtual void updateSuggestion() = 0;

protected:
    FileFormat fileFormat_ = FileFormat::yaml;
    std::shared_ptr<PlaceholderManager> placeholderManager_;
    CarvexPlatform::WorkItem debounceTimer_;
};

}  // namespace Carvex

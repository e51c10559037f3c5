#pragma once

#include "Carvex/Snippets/PlaceholderManager.h"
#include "Carvex/Snippets/SnippetTemplate.h"
#include "Carvex/Syntax/DocumentLanguage.h"

#include <functional>
#include <memory>
#include <vector>

class QKeyEvent;

namespace Carvex {

class CompletionPreferencesStore;
class EditorTextView;

// Completion in one editor: the popup, requests while typing and on demand, and the keys the popup
// takes. Holds its text view weakly. Made through `make`, which gives nothing until the completion
// subsystem installs its factory.
class CompletionController {
public:
    using Factory = std::function<std::unique_ptr<CompletionController>(
        EditorTextView* textView, CompletionPreferencesStore& preferencesStore)>;

    virtual ~CompletionController() = default;

    static Factory& factory();
    static std::unique_ptr<CompletionController> make(EditorTextView* textView,
                                                      CompletionPreferencesStore& preferencesStore);

    DocumentLanguage language() const { return language_; }
    void setLanguage(DocumentLanguage language) { language_ = language; }
    const std::vector<SnippetTemplate>& snippetTemplates() const { return snippetTemplates_; }
    void setSnippetTemplates(std::vector<SnippetTemplate> templates) { snippetTemplates_ = std::move(templates); }
    const std::shared_ptr<PlaceholderManager>& placeholderManager() const { return placeholderManager_; }
    void setPlaceholderManager(std::shared_ptr<PlaceholderManager> manager) {
        placeholderManager_ = std::move(manager);
    }

    // After each edit outside placeholder mode, before every other aid.
    virtual void textDidChange() = 0;
    // On each selection change that no edit caused.
    virtual void selectionDidChangeWithoutEdit() = 0;
    // True when the completion machinery consumed the key.
    virtual bool handleKeyDown(QKeyEvent& event) = 0;
    // An explicit completion request.
    virtual void triggerCompletion() = 0;
    // Whether the completion popup's window is on screen.
    virtual bool isPopupVisible() const = 0;

protected:
    DocumentLanguage language_ = DocumentLanguage::unknown;
    std::vector<SnippetTemplate> snippetTemplates_;
    std::shared_ptr<PlaceholderManager> placeholderManager_;
};

}  // namespace Carvex

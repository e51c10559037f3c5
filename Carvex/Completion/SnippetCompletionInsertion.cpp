#include "Carvex/Completion/SnippetCompletionInsertion.h"

#include "Carvex/Completion/CompletionInsertion.h"
#include "Carvex/Snippets/PlaceholderManager.h"
#include "Carvex/TextView/EditorTextView.h"

namespace Carvex {

bool insertSnippetCompletion(EditorTextView& view, PlaceholderManager& manager, DocumentLanguage language,
                             const CompletionItem& item) {
    view.finishLoading();
    const std::optional<CompletionInsertion::SnippetInsertion> insertion =
        CompletionInsertion::snippetInsertion(view.viewText(), view.selectedRange(), language, item);
    if (!insertion) {
        return false;
    }
    manager.insertSnippet(insertion->text, insertion->range);
    return true;
}

}  // namespace Carvex

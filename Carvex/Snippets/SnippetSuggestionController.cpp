#include "Carvex/Snippets/SnippetSuggestionController.h"

namespace Carvex {

SnippetSuggestionController::Factory& SnippetSuggestionController::factory() {
    static Factory installed;
    return installed;
}

std::unique_ptr<SnippetSuggestionController> SnippetSuggestionController::make(
    EditorTextView* textView, std::shared_ptr<TemplateCatalog> catalog) {
    const Factory& make = factory();
    return make ? make(textView, std::move(catalog)) : nullptr;
}

}  // namespace Carvex

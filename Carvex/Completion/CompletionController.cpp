#include "Carvex/Completion/CompletionController.h"

namespace Carvex {

CompletionController::Factory& CompletionController::factory() {
    static Factory installed;
    return installed;
}

std::unique_ptr<CompletionController> CompletionController::make(EditorTextView* textView,
                                                                 CompletionPreferencesStore& preferencesStore) {
    const Factory& make = factory();
    return make ? make(textView, preferencesStore) : nullptr;
}

}  // namespace Carvex

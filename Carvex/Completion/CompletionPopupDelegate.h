#pragma once

#include "Carvex/Completion/CompletionItem.h"

namespace Carvex {

class CompletionPopupController;

// Hears what the user does with the completion popup.
class CompletionPopupDelegate {
public:
    virtual ~CompletionPopupDelegate() = default;
    // The user accepted `item` (the popup hides itself afterwards).
    virtual void completionPopupDidSelectItem(CompletionPopupController& popup, const CompletionItem& item) = 0;
    virtual void completionPopupDidDismiss(CompletionPopupController& popup) = 0;
};

}  // namespace Carvex

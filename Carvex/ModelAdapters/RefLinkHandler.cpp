#include "Carvex/ModelAdapters/RefLinkHandler.h"

namespace Carvex {

RefLinkHandler::Factory& RefLinkHandler::factory() {
    static Factory installed;
    return installed;
}

std::unique_ptr<RefLinkHandler> RefLinkHandler::make(EditorTextView* textView, Document* document) {
    const Factory& make = factory();
    return make ? make(textView, document) : nullptr;
}

}  // namespace Carvex

#include "Carvex/Snippets/TemplateCatalog.h"

namespace Carvex {

TemplateCatalog::Factory& TemplateCatalog::factory() {
    static Factory installed;
    return installed;
}

std::unique_ptr<TemplateCatalog> TemplateCatalog::make(std::vector<SnippetTemplate> templates,
                                                       QString openAPIVersion, FileFormat fileFormat) {
    const Factory& make = factory();
    return make ? make(std::move(templates), std::move(openAPIVersion), fileFormat) : nullptr;
}

}  // namespace Carvex

#pragma once

#include "Carvex/Snippets/MatchContext.h"
#include "Carvex/Snippets/SnippetTemplate.h"
#include "Carvex/Snippets/TemplateCatalog.h"

#include <memory>
#include <optional>

namespace Carvex {

// Picks the one template to offer at the caret from a catalog.
class TemplateMatcher {
public:
    explicit TemplateMatcher(std::shared_ptr<TemplateCatalog> catalog) : catalog_(std::move(catalog)) {}

    const std::shared_ptr<TemplateCatalog>& catalog() const { return catalog_; }

    // Of the templates whose trigger keyword and context match, the one with the highest depth
    // score, the earliest in catalog order among equals; none when nothing matches or there is no
    // catalog.
    std::optional<SnippetTemplate> bestMatch(const MatchContext& context) const;

private:
    std::shared_ptr<TemplateCatalog> catalog_;
};

}  // namespace Carvex

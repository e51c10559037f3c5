#include "Carvex/Snippets/TemplateMatcher.h"

#include <algorithm>

namespace Carvex {

std::optional<SnippetTemplate> TemplateMatcher::bestMatch(const MatchContext& context) const {
    if (!catalog_) return std::nullopt;
    std::vector<SnippetTemplate> candidates = catalog_->contextCandidates(context);
    if (candidates.empty()) return std::nullopt;
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const SnippetTemplate& a, const SnippetTemplate& b) { return a.depthScore > b.depthScore; });
    return std::move(candidates.front());
}

}  // namespace Carvex

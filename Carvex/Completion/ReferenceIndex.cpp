#include "Carvex/Completion/ReferenceIndex.h"

#include <algorithm>

namespace Carvex {

std::vector<ReferenceTarget> ReferenceIndex::allTargets() const
{
    std::vector<ReferenceTarget> all;
    all.reserve(count());
    for (const auto& [kind, list] : targetsByKind)
        all.insert(all.end(), list.begin(), list.end());
    std::stable_sort(all.begin(), all.end());
    return all;
}

const std::vector<ReferenceTarget>& ReferenceIndex::targets(ReferenceKind kind) const
{
    static const std::vector<ReferenceTarget> none;
    const auto found = targetsByKind.find(kind);
    return found == targetsByKind.end() ? none : found->second;
}

std::vector<ReferenceTarget> ReferenceIndex::targets(const std::vector<ReferenceKind>& kinds) const
{
    std::vector<ReferenceTarget> joined;
    for (ReferenceKind kind : kinds) {
        const std::vector<ReferenceTarget>& list = targets(kind);
        joined.insert(joined.end(), list.begin(), list.end());
    }
    std::stable_sort(joined.begin(), joined.end());
    return joined;
}

bool ReferenceIndex::isEmpty() const
{
    return std::all_of(targetsByKind.begin(), targetsByKind.end(),
                       [](const auto& entry) { return entry.second.empty(); });
}

std::size_t ReferenceIndex::count() const
{
    std::size_t total = 0;
    for (const auto& entry : targetsByKind)
        total += entry.second.size();
    return total;
}

} // namespace Carvex

#pragma once

#include "Carvex/CaretContext/ReferenceKind.h"
#include "Carvex/Completion/ReferenceTarget.h"

#include <cstddef>
#include <map>
#include <vector>

namespace Carvex {

// The names a document defines under its components, per kind, in the order the scan met them.
// A kind whose section occurs in the text has an entry, possibly empty; other kinds have none.
struct ReferenceIndex {
    std::map<ReferenceKind, std::vector<ReferenceTarget>> targetsByKind;

    // Every target, sorted by kind raw value and then name (stable: a name met twice keeps its order).
    std::vector<ReferenceTarget> allTargets() const;
    // One kind's targets in scan order; empty when the kind has no entry.
    const std::vector<ReferenceTarget>& targets(ReferenceKind kind) const;
    // The targets of the given kinds (a kind given twice counts twice), sorted as allTargets.
    std::vector<ReferenceTarget> targets(const std::vector<ReferenceKind>& kinds) const;
    // True when no entry holds a target.
    bool isEmpty() const;
    std::size_t count() const;

    bool operator==(const ReferenceIndex& other) const = default;
};

} // namespace Carvex

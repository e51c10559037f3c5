#include "Carvex/Logging/InMemoryLogStore.h"

namespace Carvex {

void InMemoryLogStore::append(const LogEntry& entry) {
    entries_.push_back(entry);
    if (onEntriesChanged) {
        // A copy, so the hook may replace itself while it runs.
        auto hook = onEntriesChanged;
        hook();
    }
}

void InMemoryLogStore::clear() {
    entries_.clear();
    if (onEntriesChanged) {
        auto hook = onEntriesChanged;
        hook();
    }
}

}  // namespace Carvex

#pragma once

#include "Carvex/Logging/LogStore.h"

#include <functional>

namespace Carvex {

// The log store of a document: entries in memory, with one change hook. Whoever sets the hook last
// receives the notifications. Main thread only.
class InMemoryLogStore : public LogStore {
public:
    const std::vector<LogEntry>& entries() const override { return entries_; }
    // Appends, then calls the hook when one is set.
    void append(const LogEntry& entry) override;
    // Empties the log, then calls the hook when one is set (also when it was already empty).
    void clear() override;

    std::function<void()> onEntriesChanged;

private:
    std::vector<LogEntry> entries_;
};

}  // namespace Carvex

#pragma once

#include "Carvex/Logging/LogEntry.h"

#include <vector>

namespace Carvex {

// A document's log, held by reference. Main thread only.
class LogStore {
public:
    virtual ~LogStore() = default;
    // Oldest first.
    virtual const std::vector<LogEntry>& entries() const = 0;
    virtual void append(const LogEntry& entry) = 0;
    virtual void clear() = 0;
};

}  // namespace Carvex

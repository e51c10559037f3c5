#pragma once

#include "Carvex/Completion/CompletionResult.h"

namespace Carvex {

class CompletionCoordinator;

// Receives the proposals of each automatic request that was neither replaced nor cancelled.
class CompletionCoordinatorDelegate {
public:
    virtual ~CompletionCoordinatorDelegate() = default;
    virtual void completionCoordinatorDidComplete(CompletionCoordinator& coordinator,
                                                  const CompletionResult& result) = 0;
};

}  // namespace Carvex

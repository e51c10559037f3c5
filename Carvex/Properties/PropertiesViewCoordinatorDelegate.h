#pragma once

#include "Carvex/ModelAdapters/OperationDetailsViewModel.h"
#include "Carvex/ModelAdapters/OperationRowViewModel.h"

#include <vector>

namespace Carvex {

class PropertiesViewCoordinator;

// What the properties pane is told to show. Every call comes on the main thread.
class PropertiesViewCoordinatorDelegate {
public:
    virtual ~PropertiesViewCoordinatorDelegate() = default;
    // A parse gave at least one row.
    virtual void coordinatorDidUpdateOperations(PropertiesViewCoordinator& coordinator,
                                                const std::vector<OperationRowViewModel>& operations) = 0;
    // Details of the selected operation were built.
    virtual void coordinatorDidUpdateDetails(PropertiesViewCoordinator& coordinator,
                                             const OperationDetailsViewModel& details) = 0;
    // A parse gave no row.
    virtual void coordinatorDidRequestNoOperationsState(PropertiesViewCoordinator& coordinator) = 0;
    // The text declares a version that is not supported.
    virtual void coordinatorDidRequestVersionGatedState(PropertiesViewCoordinator& coordinator) = 0;
    // The text did not parse and the policy does not keep the last state.
    virtual void coordinatorDidRequestParseErrorState(PropertiesViewCoordinator& coordinator) = 0;
    // The document closed.
    virtual void coordinatorDidRequestNoDocumentState(PropertiesViewCoordinator& coordinator) = 0;
    // The selection ended.
    virtual void coordinatorDidClearSelection(PropertiesViewCoordinator& coordinator) = 0;
};

} // namespace Carvex

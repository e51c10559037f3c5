#pragma once

#include "Carvex/ModelAdapters/OperationDetailsViewModel.h"
#include "Carvex/ModelAdapters/OperationID.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"

#include <optional>

namespace Carvex {

// Turns one operation of a parsed model into its details; nothing when the model lacks it.
class OperationDetailsBuilding {
public:
    virtual ~OperationDetailsBuilding() = default;
    virtual std::optional<OperationDetailsViewModel> build(const OperationID& id, const ParsedOpenAPIModel& model) const = 0;
};

} // namespace Carvex

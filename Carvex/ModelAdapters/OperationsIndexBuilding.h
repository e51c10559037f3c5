#pragma once

#include "Carvex/ModelAdapters/OperationRowViewModel.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"

#include <vector>

namespace Carvex {

// Turns a parsed model into the sorted rows of the operations table.
class OperationsIndexBuilding {
public:
    virtual ~OperationsIndexBuilding() = default;
    virtual std::vector<OperationRowViewModel> build(const ParsedOpenAPIModel& model) const = 0;
};

} // namespace Carvex

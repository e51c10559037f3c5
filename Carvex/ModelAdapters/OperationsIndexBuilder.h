#pragma once

#include "Carvex/ModelAdapters/OperationsIndexBuilding.h"

namespace Carvex {

// The rows of every operation, sorted by path with the localized standard comparison and, within one
// path, by method in the order get, post, put, patch, delete, head, options, trace. Paths that compare
// equal without being equal (they differ in letter case only) keep their rows together, in the order in
// which the document lists them. Pure; safe on any thread.
class OperationsIndexBuilder final : public OperationsIndexBuilding {
public:
    std::vector<OperationRowViewModel> build(const ParsedOpenAPIModel& model) const override;
};

} // namespace Carvex

#pragma once

#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "Carvex/ModelAdapters/OperationRowViewModel.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"

#include <QString>

#include <optional>
#include <vector>

namespace Carvex {

// What the properties coordinator drives of the window's example-generator panel: after each
// successful parse the panel gets the model and the operation list (keeping the chosen operation when it
// is still there); when the document closes it is cleared. Main thread only.
class ExampleGeneratorPanel {
public:
    virtual ~ExampleGeneratorPanel() = default;
    virtual void setCurrentModel(const std::optional<ParsedOpenAPIModel>& model) = 0;
    virtual const std::vector<OperationRowViewModel>& operations() const = 0;
    virtual void setOperations(std::vector<OperationRowViewModel> operations) = 0;
    // The index chosen in the operation pop-up, or -1.
    virtual int selectedOperationIndex() const = 0;
    // Refills the operation pop-up, choosing the given operation when it is listed.
    virtual void reloadOperations(const std::optional<QString>& path, std::optional<HTTPMethod> method) = 0;
    virtual void reloadTargets() = 0;
    virtual void updateEmptyState() = 0;
    virtual void clear() = 0;
};

} // namespace Carvex

#pragma once

#include "Carvex/ModelAdapters/OperationID.h"
#include "Carvex/ModelAdapters/OperationParameterViewModel.h"
#include "Carvex/ModelAdapters/OperationRequestBodyViewModel.h"
#include "Carvex/ModelAdapters/OperationResponseViewModel.h"
#include "Carvex/ModelAdapters/OperationSecurityViewModel.h"
#include "Carvex/ModelAdapters/OperationServerViewModel.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Carvex {

// Everything the properties browser shows of one operation: a flat value that refers to nothing in the
// model, so it stays valid after the text is parsed again.
struct OperationDetailsViewModel {
    OperationID id;
    std::optional<QString> summary;
    std::optional<QString> description;
    std::optional<QString> operationId;
    bool deprecated = false;
    QStringList tags;
    // Path-item and operation parameters merged: required first, then by location, then by name.
    std::vector<OperationParameterViewModel> parameters;
    std::optional<OperationRequestBodyViewModel> requestBody;
    // Numeric codes in order, then other keys, then "default".
    std::vector<OperationResponseViewModel> responses;
    std::vector<OperationServerViewModel> servers;
    std::vector<OperationSecurityViewModel> security;
    std::optional<QString> externalDocsURL;

    // The parameters at one location, in the order of `parameters`.
    std::vector<OperationParameterViewModel> parametersIn(ParamLocation location) const
    {
        std::vector<OperationParameterViewModel> result;
        for (const auto& parameter : parameters) {
            if (parameter.location == location)
                result.push_back(parameter);
        }
        return result;
    }
    bool hasParameters() const { return !parameters.empty(); }
    bool hasRequestBody() const { return requestBody.has_value(); }

    friend bool operator==(const OperationDetailsViewModel&, const OperationDetailsViewModel&) = default;
};

} // namespace Carvex

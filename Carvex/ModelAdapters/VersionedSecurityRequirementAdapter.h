#pragma once

#include "Carvex/ModelAdapters/SecurityRequirementAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// SecurityRequirementAdapter over the SecurityRequirement object of one version's model (Model: OpenAPI30Model or OpenAPI31Model).
template<class Model>
class VersionedSecurityRequirementAdapter final : public SecurityRequirementAdapter {
public:
    explicit VersionedSecurityRequirementAdapter(std::shared_ptr<const typename Model::SecurityRequirement> requirement) : requirement(std::move(requirement)) {}

    std::vector<Item> items() const override
    {
        std::vector<Item> result;
        result.reserve(requirement->items.size());
        for (const auto& [name, scopes] : requirement->items)
            result.push_back({name, scopes});
        return result;
    }

    const std::shared_ptr<const typename Model::SecurityRequirement> requirement;
};

using OpenAPI30SecurityRequirementAdapter = VersionedSecurityRequirementAdapter<OpenAPI30Model>;
using OpenAPI31SecurityRequirementAdapter = VersionedSecurityRequirementAdapter<OpenAPI31Model>;

} // namespace Carvex

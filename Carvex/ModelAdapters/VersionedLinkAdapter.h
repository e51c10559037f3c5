#pragma once

#include "Carvex/ModelAdapters/LinkAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// LinkAdapter over the Link object of one version's model (Model: OpenAPI30Model or OpenAPI31Model).
template<class Model>
class VersionedLinkAdapter final : public LinkAdapter {
public:
    explicit VersionedLinkAdapter(std::shared_ptr<const typename Model::Link> link) : link(std::move(link)) {}

    std::optional<std::string> operationRef() const override { return link->operationRef.toOptional(); }
    std::optional<std::string> operationId() const override { return link->operationId; }
    std::optional<std::string> description() const override { return link->description.toOptional(); }

    const std::shared_ptr<const typename Model::Link> link;
};

using OpenAPI30LinkAdapter = VersionedLinkAdapter<OpenAPI30Model>;
using OpenAPI31LinkAdapter = VersionedLinkAdapter<OpenAPI31Model>;

} // namespace Carvex

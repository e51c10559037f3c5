#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/ParameterAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// ParameterAdapter over the Parameter object of one version's model (Model: OpenAPI30Model or OpenAPI31Model). Nested
// adapters it makes are of the same version and share the document.
template<class Model>
class VersionedParameterAdapter final : public ParameterAdapter {
public:
    VersionedParameterAdapter(const typename Model::Parameter* parameter,
                       std::shared_ptr<const typename Model::Document> document)
        : parameter(parameter), document(std::move(document))
    {
    }

    std::string name() const override;
    ParamLocation location() const override;
    bool required() const override;
    std::optional<std::string> description() const override;
    bool deprecated() const override;
    std::optional<RefOrValue<SchemaAdapter>> schema() const override;
    std::optional<int64_t> sourceLine() const override;

    const typename Model::Parameter* const parameter; // owned by the document
    const std::shared_ptr<const typename Model::Document> document;

private:
    AdapterMemo<std::optional<RefOrValue<SchemaAdapter>>> schema_;
};

extern template class VersionedParameterAdapter<OpenAPI30Model>;
extern template class VersionedParameterAdapter<OpenAPI31Model>;
using OpenAPI30ParameterAdapter = VersionedParameterAdapter<OpenAPI30Model>;
using OpenAPI31ParameterAdapter = VersionedParameterAdapter<OpenAPI31Model>;

} // namespace Carvex

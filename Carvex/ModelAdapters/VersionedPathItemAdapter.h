#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/PathItemAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// PathItemAdapter over the PathItem object of one version's model (Model: OpenAPI30Model or OpenAPI31Model). Nested
// adapters it makes are of the same version and share the document.
template<class Model>
class VersionedPathItemAdapter final : public PathItemAdapter {
public:
    VersionedPathItemAdapter(const typename Model::PathItem* pathItem,
                       std::shared_ptr<const typename Model::Document> document)
        : pathItem(pathItem), document(std::move(document))
    {
    }

    std::optional<std::string> summary() const override;
    std::optional<std::string> description() const override;
    std::optional<std::vector<RefOrValue<ParameterAdapter>>> parameters() const override;
    std::optional<std::vector<std::shared_ptr<const ServerAdapter>>> servers() const override;
    std::shared_ptr<const OperationAdapter> get() const override;
    std::shared_ptr<const OperationAdapter> post() const override;
    std::shared_ptr<const OperationAdapter> put() const override;
    std::shared_ptr<const OperationAdapter> delete_() const override;
    std::shared_ptr<const OperationAdapter> patch() const override;
    std::shared_ptr<const OperationAdapter> head() const override;
    std::shared_ptr<const OperationAdapter> options() const override;
    std::shared_ptr<const OperationAdapter> trace() const override;
    std::vector<MethodOperation> allOperations() const override;

    const typename Model::PathItem* const pathItem; // owned by the document
    const std::shared_ptr<const typename Model::Document> document;

private:
    AdapterMemo<std::optional<std::vector<RefOrValue<ParameterAdapter>>>> parameters_;
};

extern template class VersionedPathItemAdapter<OpenAPI30Model>;
extern template class VersionedPathItemAdapter<OpenAPI31Model>;
using OpenAPI30PathItemAdapter = VersionedPathItemAdapter<OpenAPI30Model>;
using OpenAPI31PathItemAdapter = VersionedPathItemAdapter<OpenAPI31Model>;

} // namespace Carvex

#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/OperationAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// OperationAdapter over the Operation object of one version's model (Model: OpenAPI30Model or OpenAPI31Model). Nested
// adapters it makes are of the same version and share the document.
template<class Model>
class VersionedOperationAdapter final : public OperationAdapter {
public:
    VersionedOperationAdapter(const typename Model::Operation* operation,
                       std::shared_ptr<const typename Model::Document> document)
        : operation(operation), document(std::move(document))
    {
    }

    std::optional<int64_t> sourceLine() const override;
    std::optional<SourceRange> sourceRange() const override;
    std::optional<std::string> summary() const override;
    std::optional<std::string> description() const override;
    std::optional<std::string> operationId() const override;
    bool deprecated() const override;
    std::vector<std::string> tags() const override;
    std::optional<std::vector<RefOrValue<ParameterAdapter>>> parameters() const override;
    std::optional<RefOrValue<RequestBodyAdapter>> requestBody() const override;
    std::shared_ptr<const ResponsesAdapter> responses() const override;
    std::optional<std::vector<std::shared_ptr<const ServerAdapter>>> servers() const override;
    std::optional<std::vector<std::shared_ptr<const SecurityRequirementAdapter>>> security() const override;
    std::optional<std::string> externalDocsURL() const override;

    const typename Model::Operation* const operation; // owned by the document
    const std::shared_ptr<const typename Model::Document> document;

private:
    AdapterMemo<std::optional<std::vector<RefOrValue<ParameterAdapter>>>> parameters_;
    AdapterMemo<std::optional<RefOrValue<RequestBodyAdapter>>> requestBody_;
    AdapterMemo<std::shared_ptr<const ResponsesAdapter>> responses_;
};

extern template class VersionedOperationAdapter<OpenAPI30Model>;
extern template class VersionedOperationAdapter<OpenAPI31Model>;
using OpenAPI30OperationAdapter = VersionedOperationAdapter<OpenAPI30Model>;
using OpenAPI31OperationAdapter = VersionedOperationAdapter<OpenAPI31Model>;

} // namespace Carvex

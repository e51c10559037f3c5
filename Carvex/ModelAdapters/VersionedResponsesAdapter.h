#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/ResponsesAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// ResponsesAdapter over the Responses object of one version's model (Model: OpenAPI30Model or OpenAPI31Model). Nested
// adapters it makes are of the same version and share the document.
template<class Model>
class VersionedResponsesAdapter final : public ResponsesAdapter {
public:
    VersionedResponsesAdapter(const typename Model::Responses* responses,
                       std::shared_ptr<const typename Model::Document> document)
        : responses(responses), document(std::move(document))
    {
    }

    // A null responses object (3.1 lets an operation omit it) reads as one without entries.
    std::vector<Item> items() const override;
    std::optional<RefOrValue<ResponseAdapter>> defaultResponse() const override;

    const typename Model::Responses* const responses; // owned by the document
    const std::shared_ptr<const typename Model::Document> document;

private:
    AdapterMemo<std::vector<Item>> items_;
};

extern template class VersionedResponsesAdapter<OpenAPI30Model>;
extern template class VersionedResponsesAdapter<OpenAPI31Model>;
using OpenAPI30ResponsesAdapter = VersionedResponsesAdapter<OpenAPI30Model>;
using OpenAPI31ResponsesAdapter = VersionedResponsesAdapter<OpenAPI31Model>;

} // namespace Carvex

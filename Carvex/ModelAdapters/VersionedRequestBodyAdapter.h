#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/RequestBodyAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// RequestBodyAdapter over the RequestBody object of one version's model (Model: OpenAPI30Model or OpenAPI31Model). Nested
// adapters it makes are of the same version and share the document.
template<class Model>
class VersionedRequestBodyAdapter final : public RequestBodyAdapter {
public:
    VersionedRequestBodyAdapter(const typename Model::RequestBody* requestBody,
                       std::shared_ptr<const typename Model::Document> document)
        : requestBody(requestBody), document(std::move(document))
    {
    }

    std::optional<std::string> description() const override;
    bool required() const override;
    VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>> content() const override;
    std::optional<int64_t> sourceLine() const override;

    const typename Model::RequestBody* const requestBody; // owned by the document
    const std::shared_ptr<const typename Model::Document> document;

private:
    AdapterMemo<VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>>> content_;
};

extern template class VersionedRequestBodyAdapter<OpenAPI30Model>;
extern template class VersionedRequestBodyAdapter<OpenAPI31Model>;
using OpenAPI30RequestBodyAdapter = VersionedRequestBodyAdapter<OpenAPI30Model>;
using OpenAPI31RequestBodyAdapter = VersionedRequestBodyAdapter<OpenAPI31Model>;

} // namespace Carvex

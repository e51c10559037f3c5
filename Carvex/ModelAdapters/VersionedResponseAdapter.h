#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/ResponseAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// ResponseAdapter over the Response object of one version's model (Model: OpenAPI30Model or OpenAPI31Model). Nested
// adapters it makes are of the same version and share the document.
template<class Model>
class VersionedResponseAdapter final : public ResponseAdapter {
public:
    VersionedResponseAdapter(const typename Model::Response* response,
                       std::shared_ptr<const typename Model::Document> document)
        : response(response), document(std::move(document))
    {
    }

    std::string description() const override;
    std::optional<int64_t> sourceLine() const override;
    std::optional<VoziZazIreCore::OrderedMap<RefOrValue<HeaderAdapter>>> headers() const override;
    std::optional<VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>>> content() const override;
    std::optional<VoziZazIreCore::OrderedMap<RefOrValue<LinkAdapter>>> links() const override;

    const typename Model::Response* const response; // owned by the document
    const std::shared_ptr<const typename Model::Document> document;

private:
    AdapterMemo<std::optional<VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>>>> content_;
};

extern template class VersionedResponseAdapter<OpenAPI30Model>;
extern template class VersionedResponseAdapter<OpenAPI31Model>;
using OpenAPI30ResponseAdapter = VersionedResponseAdapter<OpenAPI30Model>;
using OpenAPI31ResponseAdapter = VersionedResponseAdapter<OpenAPI31Model>;

} // namespace Carvex

#pragma once

#include "Carvex/ModelAdapters/AdapterMemo.h"
#include "Carvex/ModelAdapters/MediaTypeAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// MediaTypeAdapter over the MediaType object of one version's model (Model: OpenAPI30Model or OpenAPI31Model). Nested
// adapters it makes are of the same version and share the document.
template<class Model>
class VersionedMediaTypeAdapter final : public MediaTypeAdapter {
public:
    VersionedMediaTypeAdapter(const typename Model::MediaType* mediaType,
                       std::shared_ptr<const typename Model::Document> document)
        : mediaType(mediaType), document(std::move(document))
    {
    }

    std::optional<RefOrValue<SchemaAdapter>> schema() const override;
    std::optional<VoziZazIreCore::AnyValue> example() const override;
    std::optional<VoziZazIreCore::OrderedMap<RefOrValue<ExampleAdapter>>> examples() const override;

    const typename Model::MediaType* const mediaType; // owned by the document
    const std::shared_ptr<const typename Model::Document> document;

private:
    AdapterMemo<std::optional<RefOrValue<SchemaAdapter>>> schema_;
};

extern template class VersionedMediaTypeAdapter<OpenAPI30Model>;
extern template class VersionedMediaTypeAdapter<OpenAPI31Model>;
using OpenAPI30MediaTypeAdapter = VersionedMediaTypeAdapter<OpenAPI30Model>;
using OpenAPI31MediaTypeAdapter = VersionedMediaTypeAdapter<OpenAPI31Model>;

} // namespace Carvex

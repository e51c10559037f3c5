#pragma once

#include "Carvex/ModelAdapters/HeaderAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// HeaderAdapter over the Header object of one version's model (Model: OpenAPI30Model or OpenAPI31Model). Nested
// adapters it makes are of the same version and share the document.
template<class Model>
class VersionedHeaderAdapter final : public HeaderAdapter {
public:
    VersionedHeaderAdapter(const typename Model::Header* header,
                       std::shared_ptr<const typename Model::Document> document)
        : header(header), document(std::move(document))
    {
    }

    std::optional<std::string> description() const override;
    bool required() const override;
    bool deprecated() const override;
    std::optional<RefOrValue<SchemaAdapter>> schema() const override;

    const typename Model::Header* const header; // owned by the document
    const std::shared_ptr<const typename Model::Document> document;
};

extern template class VersionedHeaderAdapter<OpenAPI30Model>;
extern template class VersionedHeaderAdapter<OpenAPI31Model>;
using OpenAPI30HeaderAdapter = VersionedHeaderAdapter<OpenAPI30Model>;
using OpenAPI31HeaderAdapter = VersionedHeaderAdapter<OpenAPI31Model>;

} // namespace Carvex

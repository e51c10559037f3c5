#include "Carvex/ModelAdapters/VersionedHeaderAdapter.h"

#include "Carvex/ModelAdapters/AdapterConversion.h"
#include "Carvex/ModelAdapters/VersionedSchemaAdapter.h"

namespace Carvex {

namespace Convert = AdapterConversion;

template<class Model>
std::optional<std::string> VersionedHeaderAdapter<Model>::description() const
{
    return header->description;
}

template<class Model>
bool VersionedHeaderAdapter<Model>::required() const
{
    return Convert::flag(header->required);
}

template<class Model>
bool VersionedHeaderAdapter<Model>::deprecated() const
{
    return Convert::flag(header->deprecated);
}

template<class Model>
std::optional<RefOrValue<SchemaAdapter>> VersionedHeaderAdapter<Model>::schema() const
{
    if (!header->schema)
        return std::nullopt;
    return Convert::refOrValue<SchemaAdapter, VersionedSchemaAdapter<Model>>(*header->schema, document, document);
}

template class VersionedHeaderAdapter<OpenAPI30Model>;
template class VersionedHeaderAdapter<OpenAPI31Model>;

} // namespace Carvex

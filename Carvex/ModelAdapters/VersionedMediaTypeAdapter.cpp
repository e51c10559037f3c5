#include "Carvex/ModelAdapters/VersionedMediaTypeAdapter.h"

#include "Carvex/ModelAdapters/AdapterConversion.h"
#include "Carvex/ModelAdapters/VersionedExampleAdapter.h"
#include "Carvex/ModelAdapters/VersionedSchemaAdapter.h"

namespace Carvex {

namespace Convert = AdapterConversion;

template<class Model>
std::optional<RefOrValue<SchemaAdapter>> VersionedMediaTypeAdapter<Model>::schema() const
{
    return schema_.get([&]() -> typename decltype(schema_)::Value {
        if (!mediaType->schema)
            return std::nullopt;
        return Convert::refOrValue<SchemaAdapter, VersionedSchemaAdapter<Model>>(*mediaType->schema, document, document);
    });
}

template<class Model>
std::optional<VoziZazIreCore::AnyValue> VersionedMediaTypeAdapter<Model>::example() const
{
    return mediaType->example.toOptional();
}

template<class Model>
std::optional<VoziZazIreCore::OrderedMap<RefOrValue<ExampleAdapter>>> VersionedMediaTypeAdapter<Model>::examples() const
{
    return Convert::refOrValueMap<ExampleAdapter, VersionedExampleAdapter<Model>>(mediaType->examples, document);
}

template class VersionedMediaTypeAdapter<OpenAPI30Model>;
template class VersionedMediaTypeAdapter<OpenAPI31Model>;

} // namespace Carvex

#include "Carvex/ModelAdapters/VersionedParameterAdapter.h"

#include "Carvex/ModelAdapters/AdapterConversion.h"
#include "Carvex/ModelAdapters/VersionedSchemaAdapter.h"

namespace Carvex {

namespace Convert = AdapterConversion;

template<class Model>
std::string VersionedParameterAdapter<Model>::name() const
{
    return parameter->name;
}

template<class Model>
ParamLocation VersionedParameterAdapter<Model>::location() const
{
    return paramLocation(parameter->in);
}

template<class Model>
bool VersionedParameterAdapter<Model>::required() const
{
    if (parameter->required)
        return *parameter->required;
    return parameter->in == VoziZazIreModels::ParameterLocation::path;
}

template<class Model>
std::optional<std::string> VersionedParameterAdapter<Model>::description() const
{
    return parameter->description.toOptional();
}

template<class Model>
bool VersionedParameterAdapter<Model>::deprecated() const
{
    return Convert::flag(parameter->deprecated);
}

template<class Model>
std::optional<RefOrValue<SchemaAdapter>> VersionedParameterAdapter<Model>::schema() const
{
    return schema_.get([&]() -> typename decltype(schema_)::Value {
        if (!parameter->schema)
            return std::nullopt;
        return Convert::refOrValue<SchemaAdapter, VersionedSchemaAdapter<Model>>(*parameter->schema, document, document);
    });
}

template<class Model>
std::optional<int64_t> VersionedParameterAdapter<Model>::sourceLine() const
{
    return Convert::startLine(parameter->location);
}

template class VersionedParameterAdapter<OpenAPI30Model>;
template class VersionedParameterAdapter<OpenAPI31Model>;

} // namespace Carvex

#include "Carvex/ModelAdapters/VersionedRequestBodyAdapter.h"

#include "Carvex/ModelAdapters/AdapterConversion.h"
#include "Carvex/ModelAdapters/VersionedMediaTypeAdapter.h"

namespace Carvex {

namespace Convert = AdapterConversion;

template<class Model>
std::optional<std::string> VersionedRequestBodyAdapter<Model>::description() const
{
    return requestBody->description.toOptional();
}

template<class Model>
bool VersionedRequestBodyAdapter<Model>::required() const
{
    return Convert::flag(requestBody->required);
}

template<class Model>
VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>> VersionedRequestBodyAdapter<Model>::content() const
{
    return content_.get([&]() -> typename decltype(content_)::Value {
        return Convert::adapterMap<MediaTypeAdapter, VersionedMediaTypeAdapter<Model>>(requestBody->content, document);
    });
}

template<class Model>
std::optional<int64_t> VersionedRequestBodyAdapter<Model>::sourceLine() const
{
    return Convert::startLine(requestBody->location);
}

template class VersionedRequestBodyAdapter<OpenAPI30Model>;
template class VersionedRequestBodyAdapter<OpenAPI31Model>;

} // namespace Carvex

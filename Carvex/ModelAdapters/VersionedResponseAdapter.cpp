#include "Carvex/ModelAdapters/VersionedResponseAdapter.h"

#include "Carvex/ModelAdapters/AdapterConversion.h"
#include "Carvex/ModelAdapters/VersionedHeaderAdapter.h"
#include "Carvex/ModelAdapters/VersionedLinkAdapter.h"
#include "Carvex/ModelAdapters/VersionedMediaTypeAdapter.h"

namespace Carvex {

namespace Convert = AdapterConversion;

template<class Model>
std::string VersionedResponseAdapter<Model>::description() const
{
    return response->description;
}

template<class Model>
std::optional<int64_t> VersionedResponseAdapter<Model>::sourceLine() const
{
    return Convert::startLine(response->location);
}

template<class Model>
std::optional<VoziZazIreCore::OrderedMap<RefOrValue<HeaderAdapter>>> VersionedResponseAdapter<Model>::headers() const
{
    return Convert::refOrValueMap<HeaderAdapter, VersionedHeaderAdapter<Model>>(response->headers, document, document);
}

template<class Model>
std::optional<VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>>>
VersionedResponseAdapter<Model>::content() const
{
    return content_.get([&]() -> typename decltype(content_)::Value {
        if (!response->content)
            return std::nullopt;
        return Convert::adapterMap<MediaTypeAdapter, VersionedMediaTypeAdapter<Model>>(*response->content, document);
    });
}

template<class Model>
std::optional<VoziZazIreCore::OrderedMap<RefOrValue<LinkAdapter>>> VersionedResponseAdapter<Model>::links() const
{
    return Convert::refOrValueMap<LinkAdapter, VersionedLinkAdapter<Model>>(response->links, document);
}

template class VersionedResponseAdapter<OpenAPI30Model>;
template class VersionedResponseAdapter<OpenAPI31Model>;

} // namespace Carvex

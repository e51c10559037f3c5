#include "Carvex/ModelAdapters/VersionedResponsesAdapter.h"

#include "Carvex/ModelAdapters/AdapterConversion.h"
#include "Carvex/ModelAdapters/VersionedResponseAdapter.h"

namespace Carvex {

namespace Convert = AdapterConversion;

template<class Model>
std::vector<ResponsesAdapter::Item> VersionedResponsesAdapter<Model>::items() const
{
    return items_.get([&]() -> typename decltype(items_)::Value {
        std::vector<Item> result;
        if (!responses)
            return result;
        result.reserve(responses->items.size());
        for (const auto& [code, entry] : responses->items)
            result.push_back({code, Convert::refOrValue<ResponseAdapter, VersionedResponseAdapter<Model>>(entry, document, document)});
        return result;
    });
}

template<class Model>
std::optional<RefOrValue<ResponseAdapter>> VersionedResponsesAdapter<Model>::defaultResponse() const
{
    if (!responses)
        return std::nullopt;
    const auto* entry = responses->default_();
    if (!entry)
        return std::nullopt;
    return Convert::refOrValue<ResponseAdapter, VersionedResponseAdapter<Model>>(*entry, document, document);
}

template class VersionedResponsesAdapter<OpenAPI30Model>;
template class VersionedResponsesAdapter<OpenAPI31Model>;

} // namespace Carvex

#pragma once

#include "Carvex/ModelAdapters/RefOrValue.h"
#include "kit/core/LocationInfo.h"
#include "kit/core/OrderedMap.h"
#include "kit/core/ReferenceOr.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

// How the adapters wrap model entries: a "$ref" stays a reference, an inline object gets a new adapter
// of the same version (made with the document where the adapter keeps one).
namespace Carvex::AdapterConversion {

inline int64_t startLine(const VoziZazIreCore::LocationInfo& location)
{
    return location.locationRange.start.line;
}

// A model flag: true only when present and true.
inline bool flag(const std::optional<bool>& value)
{
    return value.value_or(false);
}

// Copies an optional field (std::optional or CompactOptional) into a std::optional.
template<class Optional>
std::optional<typename Optional::value_type> copy(const Optional& value)
{
    if (!value)
        return std::nullopt;
    return *value;
}

// The inline object of an entry as the adapter takes it: borrowed from the document by adapters that keep
// the document, shared by those that keep only their object.
template<class Adapter, class Model>
auto inlineObject(const VoziZazIreCore::ReferenceOr<Model>& entry)
{
    if constexpr (std::is_constructible_v<Adapter, std::shared_ptr<const Model>>)
        return *entry.sharedInlineValue();
    else
        return entry.inlineValue();
}

// `owner` keeps the model alive (the document): a reference is handed out sharing it, not copied.
template<class Protocol, class Adapter, class Model, class... Context>
RefOrValue<Protocol> refOrValue(const VoziZazIreCore::ReferenceOr<Model>& entry, const std::shared_ptr<const void>& owner,
                                const Context&... context)
{
    if (const VoziZazIreCore::Reference* reference = entry.referenceValue())
        return RefOrValue<Protocol>::reference(std::shared_ptr<const VoziZazIreCore::Reference>(owner, reference));
    return RefOrValue<Protocol>::value(std::make_shared<const Adapter>(inlineObject<Adapter>(entry), context...));
}

// An optional list of model entries as a list of RefOrValue; absent when the field is absent.
template<class Protocol, class Adapter, class Optional, class... Context>
std::optional<std::vector<RefOrValue<Protocol>>> refOrValueList(const Optional& field,
                                                                const std::shared_ptr<const void>& owner,
                                                                const Context&... context)
{
    if (!field)
        return std::nullopt;
    std::vector<RefOrValue<Protocol>> result;
    result.reserve(field->size());
    for (const auto& entry : *field)
        result.push_back(refOrValue<Protocol, Adapter>(entry, owner, context...));
    return result;
}

// An optional map of model entries as a map of RefOrValue, keys unchanged and in order.
template<class Protocol, class Adapter, class Optional, class... Context>
std::optional<VoziZazIreCore::OrderedMap<RefOrValue<Protocol>>> refOrValueMap(const Optional& field,
                                                                               const std::shared_ptr<const void>& owner,
                                                                               const Context&... context)
{
    if (!field)
        return std::nullopt;
    VoziZazIreCore::OrderedMap<RefOrValue<Protocol>> result;
    for (const auto& [key, entry] : *field)
        result.appendUnchecked(key, refOrValue<Protocol, Adapter>(entry, owner, context...));
    return result;
}

// A map of shared model objects as a map of adapters, keys unchanged and in order.
template<class Protocol, class Adapter, class Map, class... Context>
VoziZazIreCore::OrderedMap<std::shared_ptr<const Protocol>> adapterMap(const Map& map, const Context&... context)
{
    VoziZazIreCore::OrderedMap<std::shared_ptr<const Protocol>> result;
    for (const auto& [key, object] : map)
        result.appendUnchecked(key, std::make_shared<const Adapter>(object.get(), context...));
    return result;
}

// A list of shared model objects as a list of adapters.
template<class Protocol, class Adapter, class List, class... Context>
std::vector<std::shared_ptr<const Protocol>> adapterList(const List& list, const Context&... context)
{
    std::vector<std::shared_ptr<const Protocol>> result;
    result.reserve(list.size());
    for (const auto& object : list)
        result.push_back(std::make_shared<const Adapter>(object, context...));
    return result;
}

} // namespace Carvex::AdapterConversion

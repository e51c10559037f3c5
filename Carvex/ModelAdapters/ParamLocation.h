#pragma once

#include "kit/core/RawValue.h"
#include "kit/models/ParameterLocation.h"

#include <QString>

#include <functional>
#include <optional>
#include <string_view>

namespace Carvex {

// Where a parameter is carried, as the operation details show it.
enum class ParamLocation {
    query,
    header,
    path,
    cookie,
};

// "query", "header", "path", "cookie".
std::string_view rawValue(ParamLocation location);
// The raw value with its first letter capitalised: "Query".
QString displayName(ParamLocation location);
// Locations are ordered by their raw values as text: cookie, header, path, query.
bool rawValueLess(ParamLocation a, ParamLocation b);
// The model's location, case for case.
ParamLocation paramLocation(VoziZazIreModels::ParameterLocation location);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::ParamLocation> fromRawValue<Carvex::ParamLocation>(std::string_view text);
} // namespace VoziZazIreCore

template<>
struct std::hash<Carvex::ParamLocation> {
    std::size_t operator()(Carvex::ParamLocation location) const noexcept
    {
        return std::hash<std::string_view>{}(Carvex::rawValue(location));
    }
};

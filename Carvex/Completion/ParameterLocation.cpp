#include "Carvex/Completion/ParameterLocation.h"

namespace Carvex {

std::string_view rawValue(ParameterLocation location)
{
    switch (location) {
    case ParameterLocation::query: return "query";
    case ParameterLocation::header: return "header";
    case ParameterLocation::path: return "path";
    case ParameterLocation::cookie: return "cookie";
    }
    return "query";
}

} // namespace Carvex

template<>
std::optional<Carvex::ParameterLocation> VoziZazIreCore::fromRawValue<Carvex::ParameterLocation>(std::string_view text)
{
    for (Carvex::ParameterLocation location : Carvex::allParameterLocations) {
        if (Carvex::rawValue(location) == text)
            return location;
    }
    return std::nullopt;
}

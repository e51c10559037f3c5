#pragma once

#include "kit/core/RawValue.h"

#include <array>
#include <optional>
#include <string_view>

namespace Carvex {

// Where a parameter travels; raw values equal the case names.
enum class ParameterLocation {
    query,
    header,
    path,
    cookie,
};

// Every location, in declaration order.
inline constexpr std::array<ParameterLocation, 4> allParameterLocations{
    ParameterLocation::query, ParameterLocation::header, ParameterLocation::path, ParameterLocation::cookie};

std::string_view rawValue(ParameterLocation location);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::ParameterLocation> fromRawValue<Carvex::ParameterLocation>(std::string_view text);
} // namespace VoziZazIreCore

#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreModels::OpenAPI3_0 {

// The six type names of an OpenAPI 3.0 schema (no "null"). Raw values are the case names.
enum class SchemaType : std::uint8_t { string, number, integer, boolean, array, object };

std::string_view rawValue(SchemaType value) noexcept;

}  // namespace VoziZazIreModels::OpenAPI3_0

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::OpenAPI3_0::SchemaType>
fromRawValue<VoziZazIreModels::OpenAPI3_0::SchemaType>(std::string_view text);

}  // namespace VoziZazIreCore

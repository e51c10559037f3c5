#pragma once
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreModels {

// The type names of an OpenAPI 3.1 schema, "null" included. Raw values are the case names.
enum class SchemaType { string, number, integer, boolean, array, object, null };

std::string_view rawValue(SchemaType value) noexcept;

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::SchemaType>
fromRawValue<VoziZazIreModels::SchemaType>(std::string_view text);

}  // namespace VoziZazIreCore

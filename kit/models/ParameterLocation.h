#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreModels {

// Where a parameter is carried; serves both versions. Raw values are the case names.
enum class ParameterLocation : uint8_t { query, header, path, cookie };

std::string_view rawValue(ParameterLocation value) noexcept;

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::ParameterLocation>
fromRawValue<VoziZazIreModels::ParameterLocation>(std::string_view text);

}  // namespace VoziZazIreCore

#pragma once
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreModels {

// Where an OpenAPI 3.1 API key is carried. Raw values are the case names.
enum class APIKeyLocation { query, header, cookie };

std::string_view rawValue(APIKeyLocation value) noexcept;

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::APIKeyLocation>
fromRawValue<VoziZazIreModels::APIKeyLocation>(std::string_view text);

}  // namespace VoziZazIreCore

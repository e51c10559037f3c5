#pragma once
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreModels::OpenAPI3_0 {

// Where an OpenAPI 3.0 API key is carried. Raw values are the case names.
enum class APIKeyLocation { query, header, cookie };

std::string_view rawValue(APIKeyLocation value) noexcept;

}  // namespace VoziZazIreModels::OpenAPI3_0

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::OpenAPI3_0::APIKeyLocation>
fromRawValue<VoziZazIreModels::OpenAPI3_0::APIKeyLocation>(std::string_view text);

}  // namespace VoziZazIreCore

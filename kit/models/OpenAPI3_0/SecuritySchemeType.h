#pragma once
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreModels::OpenAPI3_0 {

// The kinds of an OpenAPI 3.0 security scheme. Raw values are the case names.
enum class SecuritySchemeType { apiKey, http, oauth2, openIdConnect };

std::string_view rawValue(SecuritySchemeType value) noexcept;

}  // namespace VoziZazIreModels::OpenAPI3_0

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::OpenAPI3_0::SecuritySchemeType>
fromRawValue<VoziZazIreModels::OpenAPI3_0::SecuritySchemeType>(std::string_view text);

}  // namespace VoziZazIreCore

#pragma once
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreModels {

// The kinds of an OpenAPI 3.1 security scheme. Raw values are the case names.
enum class SecuritySchemeType { apiKey, http, oauth2, openIdConnect, mutualTLS };

std::string_view rawValue(SecuritySchemeType value) noexcept;

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::SecuritySchemeType>
fromRawValue<VoziZazIreModels::SecuritySchemeType>(std::string_view text);

}  // namespace VoziZazIreCore

#pragma once

#include "kit/core/RawValue.h"

#include <optional>
#include <string_view>

namespace Carvex {

// The OpenAPI version whose grammar answers a completion request.
enum class OpenAPIVersion {
    openAPI30,
    openAPI31,
};

// "3.0" or "3.1".
std::string_view rawValue(OpenAPIVersion version);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::OpenAPIVersion> fromRawValue<Carvex::OpenAPIVersion>(std::string_view text);
} // namespace VoziZazIreCore

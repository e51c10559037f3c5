#pragma once

#include "kit/core/RawValue.h"

#include <functional>
#include <optional>
#include <string_view>

namespace Carvex {

// The OpenAPI version of a parsed model, as the properties browser names it.
enum class ModelOpenAPIVersion {
    openAPI30,
    openAPI31,
    unknown,
};

// "3.0", "3.1", "unknown".
std::string_view rawValue(ModelOpenAPIVersion version);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::ModelOpenAPIVersion> fromRawValue<Carvex::ModelOpenAPIVersion>(std::string_view text);
} // namespace VoziZazIreCore

// Hashing goes by the raw text, like equality.
template<>
struct std::hash<Carvex::ModelOpenAPIVersion> {
    std::size_t operator()(Carvex::ModelOpenAPIVersion version) const noexcept
    {
        return std::hash<std::string_view>{}(Carvex::rawValue(version));
    }
};

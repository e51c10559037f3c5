#pragma once

#include "kit/core/RawValue.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace Carvex {

// The kind of composition a schema declares.
enum class CompositionType : uint8_t {
    allOf,
    anyOf,
    oneOf,
};

inline constexpr std::array<CompositionType, 3> allCompositionTypes = {
    CompositionType::allOf, CompositionType::anyOf, CompositionType::oneOf,
};

// "allOf", "anyOf", "oneOf".
std::string_view rawValue(CompositionType type);

} // namespace Carvex

namespace VoziZazIreCore {
// Exactly "allOf", "anyOf" or "oneOf"; nothing for any other text.
template<>
std::optional<Carvex::CompositionType> fromRawValue<Carvex::CompositionType>(std::string_view text);
} // namespace VoziZazIreCore

template<>
struct std::hash<Carvex::CompositionType> {
    std::size_t operator()(Carvex::CompositionType type) const noexcept
    {
        return std::hash<std::string_view>{}(Carvex::rawValue(type));
    }
};

#pragma once
#include <cstdint>
#include <string_view>

namespace VoziZazIreCore {

enum class GenericNodeKind : uint8_t { object, array, string, number, bool_, null };

// "object", "array", "string", "number", "bool", "null"
std::string_view kindName(GenericNodeKind kind) noexcept;

}  // namespace VoziZazIreCore

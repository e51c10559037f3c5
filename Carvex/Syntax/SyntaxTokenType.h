#pragma once

#include "kit/core/RawValue.h"

#include <array>
#include <optional>
#include <string_view>

namespace Carvex {

// The kind of a syntax token; the highlighter paints each kind with the theme's attributes.
enum class SyntaxTokenType {
    string,
    number,
    boolean,
    null,
    punctuation,
    jsonKey,
    key,
    comment,
    indicator,
    unknown, // never produced by a lexer; painted with the theme's default attributes
};

// Every kind, in declaration order.
inline constexpr std::array<SyntaxTokenType, 10> allSyntaxTokenTypes = {
    SyntaxTokenType::string,      SyntaxTokenType::number,  SyntaxTokenType::boolean, SyntaxTokenType::null,
    SyntaxTokenType::punctuation, SyntaxTokenType::jsonKey, SyntaxTokenType::key,     SyntaxTokenType::comment,
    SyntaxTokenType::indicator,   SyntaxTokenType::unknown,
};

std::string_view rawValue(SyntaxTokenType type);

} // namespace Carvex

namespace VoziZazIreCore {
template<>
std::optional<Carvex::SyntaxTokenType> fromRawValue<Carvex::SyntaxTokenType>(std::string_view text);
} // namespace VoziZazIreCore

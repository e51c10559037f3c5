#include "Carvex/Syntax/SyntaxTokenType.h"

namespace Carvex {

std::string_view rawValue(SyntaxTokenType type)
{
    switch (type) {
    case SyntaxTokenType::string: return "string";
    case SyntaxTokenType::number: return "number";
    case SyntaxTokenType::boolean: return "boolean";
    case SyntaxTokenType::null: return "null";
    case SyntaxTokenType::punctuation: return "punctuation";
    case SyntaxTokenType::jsonKey: return "jsonKey";
    case SyntaxTokenType::key: return "key";
    case SyntaxTokenType::comment: return "comment";
    case SyntaxTokenType::indicator: return "indicator";
    case SyntaxTokenType::unknown: return "unknown";
    }
    return "unknown";
}

} // namespace Carvex

template<>
std::optional<Carvex::SyntaxTokenType> VoziZazIreCore::fromRawValue<Carvex::SyntaxTokenType>(std::string_view text)
{
    for (Carvex::SyntaxTokenType type : Carvex::allSyntaxTokenTypes) {
        if (Carvex::rawValue(type) == text)
            return type;
    }
    return std::nullopt;
}

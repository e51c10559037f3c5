#include "Carvex/SyntaxTokenType.h"

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

std::optional<SyntaxTokenType> syntaxTokenTypeFromRawValue(std::string_view text)
{
    for (SyntaxTokenType type : allSyntaxTokenTypes) {
        if (rawValue(type) == text)
            return type;
    }
    return std::nullopt;
}

} // namespace Carvex

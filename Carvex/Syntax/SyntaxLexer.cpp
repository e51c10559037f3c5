#include "Carvex/Syntax/SyntaxLexer.h"

#include <algorithm>

namespace Carvex {

std::vector<SyntaxToken> SyntaxLexer::tokenize(QStringView text, TextRange range) const
{
    std::vector<SyntaxToken> tokens = tokenize(text);
    if (range.length <= 0)
        return {};
    std::erase_if(tokens, [&](const SyntaxToken& token) { return token.range.intersectionLength(range) < 1; });
    return tokens;
}

} // namespace Carvex

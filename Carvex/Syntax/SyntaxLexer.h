#pragma once

#include "Carvex/Syntax/SyntaxToken.h"
#include "Carvex/Text/TextRange.h"

#include <QStringView>

#include <vector>

namespace Carvex {

// The role of a syntax lexer: turns a document's text into tokens. Lexers are purely lexical and
// stateless; they never fail and never report errors. Positions are UTF-16 units of the text.
class SyntaxLexer {
public:
    virtual ~SyntaxLexer() = default;

    // All tokens of the text, in ascending order of location, non-overlapping.
    virtual std::vector<SyntaxToken> tokenize(QStringView text) const = 0;

    // The whole text is tokenized; the tokens sharing at least one unit with `range` are kept
    // whole, in order. An empty range yields no tokens.
    std::vector<SyntaxToken> tokenize(QStringView text, TextRange range) const;

protected:
    SyntaxLexer() = default;
    SyntaxLexer(const SyntaxLexer&) = default;
    SyntaxLexer& operator=(const SyntaxLexer&) = default;
};

} // namespace Carvex

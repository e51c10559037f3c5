#pragma once

#include "Carvex/Syntax/SyntaxToken.h"

#include <QString>

#include <ostream>
#include <string>
#include <vector>

namespace Carvex {

// Prints tokens as "kind@location+length" so that a failing table row shows what came out.
inline void PrintTo(const SyntaxToken& token, std::ostream* os)
{
    *os << rawValue(token.type) << '@' << token.range.location << '+' << token.range.length;
}

} // namespace Carvex

namespace CarvexTest {

// One expected token of a table row.
struct Expected {
    Carvex::SyntaxTokenType type;
    qsizetype location;
    qsizetype length;
};

inline std::vector<Carvex::SyntaxToken> tokens(const std::vector<Expected>& expected)
{
    std::vector<Carvex::SyntaxToken> out;
    for (const Expected& e : expected)
        out.push_back(Carvex::SyntaxToken{e.type, Carvex::TextRange{e.location, e.length}, nullptr});
    return out;
}

// Tokens are in ascending order, non-overlapping, non-empty and inside the text.
inline bool wellFormed(const std::vector<Carvex::SyntaxToken>& tokens, qsizetype textLength)
{
    qsizetype previousEnd = 0;
    for (const Carvex::SyntaxToken& token : tokens) {
        if (token.range.length < 1 || token.range.location < previousEnd || token.range.end() > textLength)
            return false;
        previousEnd = token.range.end();
    }
    return true;
}

// Turns a row name into one GoogleTest accepts.
inline std::string rowName(std::string name)
{
    for (char& c : name) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            c = '_';
    }
    return name;
}

} // namespace CarvexTest

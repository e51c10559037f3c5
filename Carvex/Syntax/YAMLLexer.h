#pragma once

#include "Carvex/Syntax/SyntaxLexer.h"

namespace Carvex {

// The lexer for YAML text. Line by line, with no state carried between lines: comments, the
// document marker, sequence dashes, mapping keys and their colon, quoted strings, block-scalar
// indicators at the start of a line, and plain scalars classified as boolean, null, number or
// string. It does not parse YAML; it never fails and runs in time linear in the text.
class YAMLLexer final : public SyntaxLexer {
public:
    static constexpr char16_t hash = u'#';
    static constexpr char16_t dash = u'-';
    static constexpr char16_t colon = u':';
    static constexpr char16_t singleQuote = u'\'';
    static constexpr char16_t doubleQuote = u'"';
    static constexpr char16_t backslash = u'\\';
    static constexpr char16_t pipe = u'|';
    static constexpr char16_t greaterThan = u'>';

    YAMLLexer() = default;

    using SyntaxLexer::tokenize;
    std::vector<SyntaxToken> tokenize(QStringView text) const override;

    // The kind a plain scalar's text gets: boolean or null by the YAML word lists, number when it
    // reads as one, string otherwise.
    static SyntaxTokenType classifyScalar(QStringView scalar);

    // True when the text reads as a number: a decimal integer, a floating-point literal in the
    // C locale's strtod syntax consumed whole (including hexadecimal floats, inf and nan), or a
    // 0x hexadecimal or 0o octal integer that fits 64 bits.
    static bool isNumber(QStringView text);

private:
    class LineScanner;
};

} // namespace Carvex

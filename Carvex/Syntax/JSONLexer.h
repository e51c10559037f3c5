#pragma once

#include "Carvex/Syntax/SyntaxLexer.h"

namespace Carvex {

// The lexer for JSON text: strings, keys (a string followed by a colon), numbers, the keywords
// true, false and null, and punctuation. Works on single UTF-16 units; anything it does not
// recognise is skipped without a token, so it never fails and runs in time linear in the text.
class JSONLexer final : public SyntaxLexer {
public:
    static constexpr char16_t quote = u'"';
    static constexpr char16_t backslash = u'\\';
    static constexpr char16_t charT = u't';
    static constexpr char16_t charF = u'f';
    static constexpr char16_t charN = u'n';
    static constexpr char16_t minus = u'-';
    static constexpr char16_t plus = u'+';
    static constexpr char16_t dot = u'.';
    static constexpr char16_t charE = u'e';
    static constexpr char16_t charEUpper = u'E';
    static constexpr char16_t colon = u':';
    static constexpr char16_t openBrace = u'{';
    static constexpr char16_t closeBrace = u'}';
    static constexpr char16_t openBracket = u'[';
    static constexpr char16_t closeBracket = u']';
    static constexpr char16_t comma = u',';

    JSONLexer() = default;

    using SyntaxLexer::tokenize;
    std::vector<SyntaxToken> tokenize(QStringView text) const override;
};

} // namespace Carvex

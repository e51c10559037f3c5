#pragma once

namespace Carvex::CharacterSets {

// Character classes over single UTF-16 code units, as the editor's text scanners use them.

// A blank: exactly a space or a tab.
constexpr bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// Line breaks: line feed, vertical tab, form feed, carriage return, next line (U+0085),
// line separator (U+2028) and paragraph separator (U+2029). Each is one unit.
constexpr bool isNewline(char16_t c)
{
    return (c >= 0x000A && c <= 0x000D) || c == 0x0085 || c == 0x2028 || c == 0x2029;
}

// Whitespace of any kind: tab, the line breaks above and the space separators (Unicode Zs).
constexpr bool isWhitespaceOrNewline(char16_t c)
{
    if (c <= 0x0020)
        return c == 0x0020 || (c >= 0x0009 && c <= 0x000D);
    if (c < 0x0085)
        return false;
    return c == 0x0085 || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028
        || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

} // namespace Carvex::CharacterSets

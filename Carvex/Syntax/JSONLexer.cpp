#include "Carvex/Syntax/JSONLexer.h"

namespace Carvex {

namespace {

constexpr bool isJSONWhitespace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

constexpr bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool matches(const char16_t* at, qsizetype available, std::u16string_view word)
{
    if (available < qsizetype(word.size()))
        return false;
    return std::u16string_view(at, word.size()) == word;
}

} // namespace

std::vector<SyntaxToken> JSONLexer::tokenize(QStringView text) const
{
    const char16_t* const units = text.utf16();
    const qsizetype n = text.size();
    std::vector<SyntaxToken> tokens;
    tokens.reserve(std::size_t(n / 4));

    auto append = [&tokens](SyntaxTokenType type, qsizetype location, qsizetype length) {
        tokens.push_back(SyntaxToken{type, TextRange{location, length}, nullptr});
    };

    qsizetype i = 0;
    while (i < n) {
        const char16_t c = units[i];

        if (isJSONWhitespace(c)) {
            ++i;
            continue;
        }

        if (c == quote) {
            qsizetype j = i + 1;
            qsizetype length = -1;
            while (j < n) {
                const char16_t u = units[j];
                if (u == quote) {
                    length = j - i + 1;
                    break;
                }
                j += (u == backslash) ? 2 : 1;
            }
            if (length < 0)
                length = n - i; // unterminated: runs to the end, never past it
            qsizetype k = i + length;
            while (k < n && isJSONWhitespace(units[k]))
                ++k;
            const bool isKey = k < n && units[k] == colon;
            append(isKey ? SyntaxTokenType::jsonKey : SyntaxTokenType::string, i, length);
            i += length;
            continue;
        }

        if (isDigit(c) || c == minus) {
            qsizetype j = i;
            if (units[j] == minus)
                ++j;
            if (j < n && isDigit(units[j])) {
                while (j < n && isDigit(units[j]))
                    ++j;
                if (j < n && units[j] == dot) {
                    ++j;
                    while (j < n && isDigit(units[j]))
                        ++j;
                }
                if (j < n && (units[j] == charE || units[j] == charEUpper)) {
                    ++j;
                    if (j < n && (units[j] == minus || units[j] == plus))
                        ++j;
                    while (j < n && isDigit(units[j]))
                        ++j;
                }
                append(SyntaxTokenType::number, i, j - i);
                i = j;
                continue;
            }
            // A minus without a digit: falls through and is skipped below.
        }

        if (c == charT || c == charF || c == charN) {
            const qsizetype available = n - i;
            if (matches(units + i, available, u"true")) {
                append(SyntaxTokenType::boolean, i, 4);
                i += 4;
                continue;
            }
            if (matches(units + i, available, u"false")) {
                append(SyntaxTokenType::boolean, i, 5);
                i += 5;
                continue;
            }
            if (matches(units + i, available, u"null")) {
                append(SyntaxTokenType::null, i, 4);
                i += 4;
                continue;
            }
        }

        if (c == openBrace || c == closeBrace || c == openBracket || c == closeBracket || c == colon || c == comma) {
            append(SyntaxTokenType::punctuation, i, 1);
            ++i;
            continue;
        }

        ++i;
    }
    return tokens;
}

} // namespace Carvex

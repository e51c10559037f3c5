#include "Carvex/Syntax/YAMLLexer.h"

#include "Carvex/Syntax/CharacterSets.h"

#include <cstdint>
#include <limits>
#include <string_view>

namespace Carvex {

using CharacterSets::isBlank;
using CharacterSets::isNewline;
using CharacterSets::isWhitespaceOrNewline;

namespace {

constexpr bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

constexpr int digitValue(char16_t c, int radix)
{
    int value = radix; // not a digit
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'z')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'Z')
        value = c - u'A' + 10;
    return value < radix ? value : -1;
}

constexpr char16_t lower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

bool equalsIgnoringCase(const char16_t* s, qsizetype n, std::u16string_view word)
{
    if (n != qsizetype(word.size()))
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        if (lower(s[i]) != word[std::size_t(i)])
            return false;
    }
    return true;
}

// An optional sign followed by one or more digits of `radix` and nothing else, whose value fits a
// signed 64-bit integer (down to its minimum for a minus sign).
bool isSignedInteger(const char16_t* s, qsizetype n, int radix)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    if (i == n)
        return false;
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    std::uint64_t value = 0;
    bool fits = true;
    for (; i < n; ++i) {
        const int digit = digitValue(s[i], radix);
        if (digit < 0)
            return false;
        if (fits && value > (limit - std::uint64_t(digit)) / std::uint64_t(radix))
            fits = false; // keep scanning: the text must still be all digits to say anything
        if (fits)
            value = value * std::uint64_t(radix) + std::uint64_t(digit);
    }
    return fits;
}

// Whether strtod in the C locale consumes the whole text. Written as a grammar check so that its
// cost stays linear in the text's length whatever the text holds.
bool isWholeStrtodLiteral(const char16_t* s, qsizetype n)
{
    qsizetype i = 0;
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    const char16_t* rest = s + i;
    const qsizetype restLength = n - i;
    if (equalsIgnoringCase(rest, restLength, u"inf") || equalsIgnoringCase(rest, restLength, u"infinity"))
        return true;
    if (restLength >= 3 && equalsIgnoringCase(rest, 3, u"nan")) {
        if (restLength == 3)
            return true;
        if (rest[3] != u'(' || rest[restLength - 1] != u')')
            return false;
        for (qsizetype k = 4; k < restLength - 1; ++k) {
            const char16_t c = rest[k];
            if (!(digitValue(c, 36) >= 0 || c == u'_'))
                return false;
        }
        return true;
    }

    const bool hex = restLength >= 2 && rest[0] == u'0' && (rest[1] == u'x' || rest[1] == u'X');
    const int radix = hex ? 16 : 10;
    qsizetype j = i + (hex ? 2 : 0);
    qsizetype mantissaDigits = 0;
    while (j < n && digitValue(s[j], radix) >= 0) {
        ++j;
        ++mantissaDigits;
    }
    if (j < n && s[j] == u'.') {
        ++j;
        while (j < n && digitValue(s[j], radix) >= 0) {
            ++j;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false; // at best strtod reads the "0" of "0x" and stops
    if (j < n && (hex ? (s[j] == u'p' || s[j] == u'P') : (s[j] == u'e' || s[j] == u'E'))) {
        ++j;
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        qsizetype exponentDigits = 0;
        while (j < n && isDigit(s[j])) {
            ++j;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false; // strtod stops before the exponent marker
    }
    return j == n;
}

bool isWord(const char16_t* s, qsizetype n, std::initializer_list<std::u16string_view> words)
{
    const std::u16string_view text(s, std::size_t(n));
    for (std::u16string_view word : words) {
        if (text == word)
            return true;
    }
    return false;
}

} // namespace

bool YAMLLexer::isNumber(QStringView text)
{
    const char16_t* s = text.utf16();
    qsizetype n = text.size();
    while (n > 0 && isWhitespaceOrNewline(s[0])) {
        ++s;
        --n;
    }
    while (n > 0 && isWhitespaceOrNewline(s[n - 1]))
        --n;
    if (n == 0)
        return false;
    if (isSignedInteger(s, n, 10))
        return true;
    if (isWholeStrtodLiteral(s, n))
        return true;
    if (n >= 2 && s[0] == u'0') {
        if (s[1] == u'x' || s[1] == u'X')
            return isSignedInteger(s + 2, n - 2, 16);
        if (s[1] == u'o' || s[1] == u'O')
            return isSignedInteger(s + 2, n - 2, 8);
    }
    return false;
}

SyntaxTokenType YAMLLexer::classifyScalar(QStringView scalar)
{
    const char16_t* s = scalar.utf16();
    const qsizetype n = scalar.size();
    if (n <= 5) {
        if (isWord(s, n,
                   {u"true", u"false", u"True", u"False", u"TRUE", u"FALSE", u"yes", u"no", u"Yes", u"No", u"YES",
                    u"NO", u"on", u"off", u"On", u"Off", u"ON", u"OFF"}))
            return SyntaxTokenType::boolean;
        if (isWord(s, n, {u"null", u"Null", u"NULL", u"~"}))
            return SyntaxTokenType::null;
    }
    return isNumber(scalar) ? SyntaxTokenType::number : SyntaxTokenType::string;
}

// Lexes one line [start, end) of the text, appending tokens with positions of the whole text.
class YAMLLexer::LineScanner {
public:
    LineScanner(const char16_t* units, qsizetype start, qsizetype end, std::vector<SyntaxToken>& tokens)
        : u_(units), start_(start), end_(end), tokens_(tokens)
    {
    }

    void run()
    {
        qsizetype i = skipBlanks(start_);
        if (i == end_)
            return;
        if (u_[i] == hash) {
            add(SyntaxTokenType::comment, i, end_ - i);
            return;
        }
        if (u_[i] == dash) {
            if (i + 2 < end_ && u_[i + 1] == dash && u_[i + 2] == dash) {
                add(SyntaxTokenType::indicator, i, 3);
                i += 3;
            } else if (i + 1 == end_ || isBlank(u_[i + 1])) {
                add(SyntaxTokenType::indicator, i, 1);
                i = skipBlanks(i + 1);
            }
        }
        mainLoop(i);
    }

private:
    void add(SyntaxTokenType type, qsizetype location, qsizetype length)
    {
        tokens_.push_back(SyntaxToken{type, TextRange{location, length}, nullptr});
    }

    qsizetype skipBlanks(qsizetype p) const
    {
        while (p < end_ && isBlank(u_[p]))
            ++p;
        return p;
    }

    // The end of a quoted string opened at p; the end of the line when it is not closed.
    qsizetype quotedEnd(qsizetype p) const
    {
        const char16_t quote = u_[p];
        qsizetype q = p + 1;
        while (q < end_) {
            if (u_[q] == backslash)
                q += 2;
            else if (u_[q] == quote)
                return q + 1;
            else
                ++q;
        }
        return end_;
    }

    // The first colon outside quotes followed by a blank or the end of the line, or -1.
    qsizetype findKeyColon(qsizetype p) const
    {
        char16_t openQuote = 0;
        for (qsizetype q = p; q < end_; ++q) {
            const char16_t c = u_[q];
            if (openQuote != 0) {
                if (c == backslash)
                    ++q;
                else if (c == openQuote)
                    openQuote = 0;
                continue;
            }
            if (c == singleQuote || c == doubleQuote)
                openQuote = c;
            else if (c == colon && (q + 1 == end_ || isBlank(u_[q + 1])))
                return q;
        }
        return -1;
    }

    void mainLoop(qsizetype p)
    {
        while (p < end_) {
            const char16_t c = u_[p];
            if (isBlank(c)) {
                ++p;
            } else if (c == hash) {
                add(SyntaxTokenType::comment, p, end_ - p);
                return;
            } else if (c == singleQuote || c == doubleQuote) {
                const qsizetype q = quotedEnd(p);
                add(SyntaxTokenType::string, p, q - p);
                p = q;
            } else if (c == pipe || c == greaterThan) {
                add(SyntaxTokenType::indicator, p, 1);
                ++p;
            } else {
                keyOrValue(p);
                return;
            }
        }
    }

    void keyOrValue(qsizetype p)
    {
        const qsizetype k = findKeyColon(p);
        if (k < 0) {
            valueRules(p);
            return;
        }
        if (k > p && isPlainKey(p, k))
            add(SyntaxTokenType::key, p, k - p);
        add(SyntaxTokenType::indicator, k, 1);
        const qsizetype v = skipBlanks(k + 1);
        if (v < end_)
            valueRules(v);
    }

    // Whether [p, k), trimmed, is non-empty and not wrapped in a matching pair of quotes.
    bool isPlainKey(qsizetype p, qsizetype k) const
    {
        while (p < k && isWhitespaceOrNewline(u_[p]))
            ++p;
        while (k > p && isWhitespaceOrNewline(u_[k - 1]))
            --k;
        if (p == k)
            return false;
        const char16_t first = u_[p];
        const bool quoted = k - p >= 2 && (first == singleQuote || first == doubleQuote) && u_[k - 1] == first;
        return !quoted;
    }

    void commentAfter(qsizetype p)
    {
        p = skipBlanks(p);
        if (p < end_ && u_[p] == hash)
            add(SyntaxTokenType::comment, p, end_ - p);
    }

    void valueRules(qsizetype v)
    {
        v = skipBlanks(v);
        if (v == end_)
            return;
        const char16_t c = u_[v];
        if (c == hash) {
            add(SyntaxTokenType::comment, v, end_ - v);
            return;
        }
        if (c == singleQuote || c == doubleQuote) {
            const qsizetype q = quotedEnd(v);
            add(SyntaxTokenType::string, v, q - v);
            commentAfter(q);
            return;
        }
        // A plain scalar: up to the first number sign, trimmed of whitespace at both ends.
        qsizetype stop = v;
        while (stop < end_ && u_[stop] != hash)
            ++stop;
        qsizetype first = v;
        while (first < stop && isWhitespaceOrNewline(u_[first]))
            ++first;
        qsizetype last = stop;
        while (last > first && isWhitespaceOrNewline(u_[last - 1]))
            --last;
        if (first == last)
            return;
        // The token starts where the trimmed text starts, so it covers exactly the scalar's units.
        add(classifyScalar(QStringView(u_ + first, last - first)), first, last - first);
        commentAfter(last);
    }

    const char16_t* u_;
    qsizetype start_;
    qsizetype end_;
    std::vector<SyntaxToken>& tokens_;
};

std::vector<SyntaxToken> YAMLLexer::tokenize(QStringView text) const
{
    const char16_t* const units = text.utf16();
    const qsizetype n = text.size();
    std::vector<SyntaxToken> tokens;
    tokens.reserve(std::size_t(n / 6));

    qsizetype lineStart = 0;
    while (true) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < n && !isNewline(units[lineEnd]))
            ++lineEnd;
        LineScanner(units, lineStart, lineEnd, tokens).run();
        if (lineEnd >= n)
            break;
        lineStart = lineEnd + 1;
    }
    return tokens;
}

} // namespace Carvex

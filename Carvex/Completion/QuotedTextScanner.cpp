#include "Carvex/Completion/QuotedTextScanner.h"

#include <unicode/uchar.h>

namespace Carvex::QuotedTextScanner {

namespace {

// True when a colon follows `position` after optional white space.
bool colonFollows(QStringView text, qsizetype position)
{
    while (position < text.size() && isPatternSpace(text[position].unicode()))
        ++position;
    return position < text.size() && text[position] == u':';
}

} // namespace

bool isPatternSpace(char16_t c)
{
    if (c < 0x80)
        return c == u' ' || (c >= 0x09 && c <= 0x0D);
    return u_isUWhiteSpace(c) != 0;
}

std::optional<QStringView> firstKey(QStringView text)
{
    // Every quote is tried as an opening quote in turn; the text up to the next quote must be
    // non-empty and be followed by a colon.
    qsizetype open = text.indexOf(u'"');
    while (open >= 0) {
        const qsizetype close = text.indexOf(u'"', open + 1);
        if (close < 0)
            return std::nullopt;
        if (close > open + 1 && colonFollows(text, close + 1))
            return text.sliced(open + 1, close - open - 1);
        open = close;
    }
    return std::nullopt;
}

std::optional<QStringView> leadingKey(QStringView text)
{
    qsizetype open = 0;
    while (open < text.size() && isPatternSpace(text[open].unicode()))
        ++open;
    if (open >= text.size() || text[open] != u'"')
        return std::nullopt;
    const qsizetype close = text.indexOf(u'"', open + 1);
    if (close <= open + 1 || !colonFollows(text, close + 1))
        return std::nullopt;
    return text.sliced(open + 1, close - open - 1);
}

std::vector<QStringView> quotedTexts(QStringView text)
{
    std::vector<QStringView> found;
    qsizetype open = text.indexOf(u'"');
    while (open >= 0) {
        const qsizetype close = text.indexOf(u'"', open + 1);
        if (close < 0)
            break;
        if (close > open + 1) {
            found.push_back(text.sliced(open + 1, close - open - 1));
            open = text.indexOf(u'"', close + 1);
        } else {
            open = close; // an empty pair: its closing quote may open the next match
        }
    }
    return found;
}

} // namespace Carvex::QuotedTextScanner

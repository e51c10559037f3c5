#include "Carvex/Completion/RawTextLines.h"

#include <unicode/uchar.h>

#include <array>

namespace Carvex::RawTextLines {

namespace {

bool isWhite(char16_t c)
{
    if (c < 0x80)
        return c == u' ' || (c >= 0x09 && c <= 0x0D);
    return u_isUWhiteSpace(c) != 0;
}

} // namespace

std::vector<QStringView> split(QStringView text)
{
    std::vector<QStringView> lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            lines.push_back(text.sliced(start));
            return lines;
        }
        lines.push_back(text.sliced(start, end - start));
        start = end + 1;
    }
}

QStringView trimSpacesAndTabs(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    while (end > start && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.sliced(start, end - start);
}

QStringView trimWhitespace(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ') // indentation, the common case
        ++start;
    while (start < end && isWhite(text[start].unicode()))
        ++start;
    while (end > start && isWhite(text[end - 1].unicode()))
        --end;
    return text.sliced(start, end - start);
}

qsizetype leadingSpaces(QStringView line)
{
    qsizetype count = 0;
    while (count < line.size() && line[count] == u' ')
        ++count;
    return count;
}

qsizetype leadingSpacesAndTabs(QStringView line)
{
    qsizetype count = 0;
    while (count < line.size() && (line[count] == u' ' || line[count] == u'\t'))
        ++count;
    return count;
}

BracketTally tallyBrackets(QStringView line)
{
    // Only six units matter; everything else is passed over by one table lookup.
    static constexpr auto kInteresting = [] {
        std::array<bool, 128> table{};
        for (char c : {'"', '\\', '[', ']', '{', '}'})
            table[static_cast<unsigned char>(c)] = true;
        return table;
    }();
    BracketTally tally;
    const char16_t* const begin = reinterpret_cast<const char16_t*>(line.utf16());
    const char16_t* const end = begin + line.size();
    bool inString = false;
    for (const char16_t* p = begin; p < end; ++p) {
        const char16_t c = *p;
        if (c >= 128 || !kInteresting[c])
            continue;
        if (inString) {
            if (c == u'\\')
                ++p;
            else if (c == u'"')
                inString = false;
            continue;
        }
        switch (c) {
        case u'{':
        case u'[': ++tally.opening; break;
        case u'}':
        case u']': ++tally.closing; break;
        case u'"':
            inString = true;
            tally.openString = p - begin;
            break;
        default: break;
        }
    }
    if (!inString)
        tally.openString = -1;
    return tally;
}

qsizetype count(QStringView text, char16_t c)
{
    qsizetype total = 0;
    for (QChar unit : text)
        total += unit.unicode() == c;
    return total;
}

} // namespace Carvex::RawTextLines

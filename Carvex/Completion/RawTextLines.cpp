#include "Carvex/Completion/RawTextLines.h"

#include <unicode/uchar.h>

#include <array>
#include <cstdint>
#include <cstring>

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

namespace {

// Only these units matter to a bracket tally (and the line feed to a line reader); everything else
// is passed over by one table lookup.
constexpr std::array<bool, 128> kBracketUnits = [] {
    std::array<bool, 128> table{};
    for (char c : {'"', '\\', '[', ']', '{', '}', '\n'})
        table[static_cast<unsigned char>(c)] = true;
    return table;
}();

// Tallies from `begin` up to `end` or the first line feed outside a skipped unit; returns where it stopped.
const char16_t* tally(const char16_t* begin, const char16_t* end, BracketTally& result)
{
    bool inString = false;
    const char16_t* p = begin;
    for (; p < end; ++p) {
        const char16_t c = *p;
        if (c >= 128 || !kBracketUnits[c])
            continue;
        if (c == u'\n')
            break;
        if (inString) {
            if (c == u'\\') {
                if (p + 1 < end && p[1] != u'\n')
                    ++p;
            } else if (c == u'"') {
                inString = false;
            }
            continue;
        }
        switch (c) {
        case u'{':
        case u'[': ++result.opening; break;
        case u'}':
        case u']': ++result.closing; break;
        case u'"':
            inString = true;
            result.openString = p - begin;
            break;
        default: break;
        }
    }
    if (!inString)
        result.openString = -1;
    return p;
}

} // namespace

BracketTally tallyBrackets(QStringView line)
{
    BracketTally result;
    const auto* begin = reinterpret_cast<const char16_t*>(line.utf16());
    // A line holds no line feed, so the tally runs to its end.
    tally(begin, begin + line.size(), result);
    return result;
}

JSONLineRead readJSONLine(QStringView text, qsizetype start)
{
    const auto* const base = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = base + text.size();
    const char16_t* first = base + start;
    // Indentation is most of a pretty-printed text: four spaces at a time first.
    constexpr std::uint64_t kFourSpaces = 0x0020002000200020ULL;
    for (std::uint64_t four = 0; end - first >= 4; first += 4) {
        std::memcpy(&four, first, sizeof four);
        if (four != kFourSpaces)
            break;
    }
    while (first < end && *first != u'\n' && isWhite(*first))
        ++first;
    JSONLineRead read;
    const char16_t* lineEnd = tally(first, end, read.tally);
    // A backslash before the line feed skipped nothing; the line ends at the line feed itself.
    const char16_t* last = lineEnd;
    while (last > first && isWhite(last[-1]))
        --last;
    read.trimmed = QStringView(first, last - first);
    read.next = lineEnd < end ? (lineEnd - base) + 1 : -1;
    return read;
}

qsizetype count(QStringView text, char16_t c)
{
    qsizetype total = 0;
    for (QChar unit : text)
        total += unit.unicode() == c;
    return total;
}

} // namespace Carvex::RawTextLines

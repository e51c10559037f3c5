#include "Carvex/Completion/RawTextLines.h"

#include <unicode/uchar.h>

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

qsizetype count(QStringView text, char16_t c)
{
    qsizetype total = 0;
    for (QChar unit : text)
        total += unit.unicode() == c;
    return total;
}

} // namespace Carvex::RawTextLines

#include "Carvex/CaretContext/CaretLine.h"

#include "Carvex/CaretContext/UnitSearch.h"

namespace Carvex {

qsizetype CaretLine::lineStart(QStringView text, qsizetype position)
{
    const char16_t* units = text.utf16();
    if (position == 0 || isTerminator(units[position - 1]))
        return position;
    return UnitSearch::afterLastLineTerminator(units, 0, position - 1);
}

qsizetype CaretLine::lineEnd(QStringView text, qsizetype position)
{
    const char16_t* units = text.utf16();
    if (position == text.size() || isTerminator(units[position]))
        return position;
    return UnitSearch::lineTerminator(units, position + 1, text.size());
}

QString CaretLine::getCurrentLine(QStringView text, qsizetype caretLocation)
{
    if (caretLocation < 0 || caretLocation > text.size())
        return QString();
    const qsizetype start = lineStart(text, caretLocation);
    return text.mid(start, lineEnd(text, caretLocation) - start).toString();
}

QStringView CaretLine::leadingWhitespace(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    return line.first(i);
}

int CaretLine::indentationDepth(QStringView leadingRun)
{
    qsizetype columns = 0;
    for (QChar unit : leadingRun)
        columns += unit == u'\t' ? 2 : 1;
    return int(std::min<qsizetype>(columns / 2, std::numeric_limits<int>::max()));
}

QStringView CaretLine::trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isHorizontalSpace(text[begin].unicode()))
        ++begin;
    while (end > begin && isHorizontalSpace(text[end - 1].unicode()))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace Carvex

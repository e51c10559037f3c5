#include "Carvex/CaretContext/CaretLine.h"

namespace Carvex {

qsizetype CaretLine::lineStart(QStringView text, qsizetype position)
{
    const char16_t* units = text.utf16();
    qsizetype i = position;
    while (i > 0 && !isTerminator(units[i - 1]))
        --i;
    return i;
}

qsizetype CaretLine::lineEnd(QStringView text, qsizetype position)
{
    const char16_t* units = text.utf16();
    const qsizetype length = text.size();
    qsizetype i = position;
    while (i < length && !isTerminator(units[i]))
        ++i;
    return i;
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

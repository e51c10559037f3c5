#include "Carvex/Indentation/AutoIndentContext.h"

#include "Carvex/CaretContext/CaretLine.h"

namespace Carvex {

namespace {

QString withoutNewlinesAtEnds(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && CaretLine::isTerminator(line[begin].unicode()))
        ++begin;
    while (end > begin && CaretLine::isTerminator(line[end - 1].unicode()))
        --end;
    return line.sliced(begin, end - begin).toString();
}

} // namespace

AutoIndentContext AutoIndentContext::make(const QString& text, qsizetype caretLocation,
                                          IndentationStyle indentationStyle, bool shouldAutoCloseBracket)
{
    const qsizetype caret = std::clamp<qsizetype>(caretLocation, 0, text.size());
    const qsizetype lineStart = CaretLine::lineStart(text, caret);
    qsizetype lineEnd = CaretLine::lineEnd(text, caret);
    if (lineEnd < text.size())
        ++lineEnd; // the line's terminator belongs to its range
    QString after = text.sliced(caret, lineEnd - caret);
    if (after.endsWith(u'\n'))
        after.chop(1);

    QStringList preceding;
    qsizetype start = lineStart;
    while (start > 0 && preceding.size() < 5) {
        const qsizetype previousStart = CaretLine::lineStart(text, start - 1);
        preceding.prepend(withoutNewlinesAtEnds(QStringView(text).sliced(previousStart, start - previousStart)));
        start = previousStart;
    }
    return AutoIndentContext{text,  caret, indentationStyle, preceding, text.sliced(lineStart, caret - lineStart),
                             after, shouldAutoCloseBracket};
}

} // namespace Carvex

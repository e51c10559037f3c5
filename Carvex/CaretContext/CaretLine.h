#pragma once

#include "Carvex/Text/TextRange.h"

#include <QChar>
#include <QString>
#include <QStringView>

namespace Carvex {

// Line questions the caret scanners share. Every line terminator is one UTF-16 unit: line feed,
// carriage return, next line, line separator, paragraph separator. (The editor's view text ends
// its lines in line feeds only; a stray CR LF reads as a line end followed by an empty line, so
// offsets stay exact.)
struct CaretLine {
    static bool isTerminator(char16_t unit)
    {
        return unit == u'\n' || unit == u'\r' || unit == 0x0085 || unit == 0x2028 || unit == 0x2029;
    }

    // Spaces, tabs and the other space separators; never a line terminator.
    static bool isHorizontalSpace(char16_t unit)
    {
        if (unit == u' ' || unit == u'\t')
            return true;
        if (unit < 0x80)
            return false;
        return QChar::category(char32_t(unit)) == QChar::Separator_Space;
    }

    // The start of the line holding `position` (0 ≤ position ≤ length): just after the last
    // terminator before it.
    static qsizetype lineStart(QStringView text, qsizetype position);
    // The end of that line, its terminator excluded.
    static qsizetype lineEnd(QStringView text, qsizetype position);

    // The caret's line without its terminator; "" when the caret lies outside the text. A caret
    // just after a terminator belongs to the next line.
    static QString getCurrentLine(QStringView text, qsizetype caretLocation);

    // The line's leading run of spaces and tabs, and its depth: (spaces + 2 × tabs) / 2.
    static QStringView leadingWhitespace(QStringView line);
    static int indentationDepth(QStringView leadingRun);

    static QStringView trimmed(QStringView text);
};

} // namespace Carvex

#pragma once

#include <QStringView>

#include <vector>

namespace Carvex {

// Line helpers of the raw-text scans that the proposal resolvers run over the editor's text.
namespace RawTextLines {

// The text split at every line feed; a carriage return stays part of its line. An empty text is one
// empty line, and a final line feed is followed by an empty line.
std::vector<QStringView> split(QStringView text);

// Calls `visit` with each line of split(text), in order, without collecting them.
template<class Visit>
void forEachLine(QStringView text, Visit visit)
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            visit(text.sliced(start));
            return;
        }
        visit(text.sliced(start, end - start));
        start = end + 1;
    }
}

// Without spaces and tabs at either end.
QStringView trimSpacesAndTabs(QStringView text);
// Without white space and line breaks (the Unicode White_Space characters) at either end.
QStringView trimWhitespace(QStringView text);
// The number of space characters at the start (a tab ends the count).
qsizetype leadingSpaces(QStringView line);
// The number of spaces and tabs at the start, each counting one.
qsizetype leadingSpacesAndTabs(QStringView line);

// The JSON bracket tally of one line: "{" and "[" opening, "}" and "]" closing, outside strings (a
// double quote opens a string; inside one a backslash skips the next unit and a double quote closes
// it). `openString` receives the position of the opening quote of a string still open at the end, or -1.
struct BracketTally {
    int opening = 0;
    int closing = 0;
    qsizetype openString = -1;
};
BracketTally tallyBrackets(QStringView line);

// One line of a JSON text read in a single pass from `start`: the line without white space at either
// end, its bracket tally (positions relative to the trimmed line), and where the next line starts
// (-1 after the last line).
struct JSONLineRead {
    QStringView trimmed;
    BracketTally tally;
    qsizetype next = -1;
};
JSONLineRead readJSONLine(QStringView text, qsizetype start);

// The number of times `c` occurs.
qsizetype count(QStringView text, char16_t c);

} // namespace RawTextLines

} // namespace Carvex

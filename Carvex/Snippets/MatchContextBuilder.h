#pragma once

#include "Carvex/Text/FileFormat.h"
#include "Carvex/Snippets/MatchContext.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace Carvex {

// Describes the caret's surroundings for template matching, from the raw text alone. Positions
// are UTF-16 offsets; "the caret's line" is the line holding the character before the caret,
// where a line ends at a line feed, a carriage return (with a following line feed), a next-line,
// a line separator or a paragraph separator. Any text and any caret give an answer.
namespace MatchContextBuilder {

// The whole context; none when the caret has no keyword (at 0, past the end, after blanks only)
// or, in YAML, when the caret's line is text of a block scalar ("key: |" and the like).
std::optional<MatchContext> build(const QString& text, qsizetype cursor, FileFormat format);

// The word at the caret: the last run of non-white-space characters of the caret's line before the
// caret with the white space after it, trimmed of spaces and tabs; double quotes removed in JSON.
// Empty when the caret is below 1 or past the end of the text.
QString lastKeyword(QStringView text, qsizetype cursor, FileFormat format);
// The last run of characters outside white space (as regular expressions' \s takes it) and all
// the white space after it; empty when `part` is all white space.
QStringView trailingWord(QStringView part);
// The caret line's leading spaces (1 column) and tabs (2 columns), in columns divided by 2; 0 when
// the caret is below 1 or past the end.
int indentLevel(QStringView text, qsizetype cursor);
// The caret line's leading spaces and tabs; two spaces when the position is below 1 or past the
// end. At the very start of a line this is the previous line's indentation.
QString baseIndent(QStringView text, qsizetype position);
// The keys of the mappings enclosing the caret, outermost first, read line by line (at line feeds)
// from the text before the caret's line: a line's indentation closes every key at or beyond it;
// in JSON a closing bracket line only closes. In YAML an item's dash line counts one column deeper
// than its dash (a list at its key's column stays under the key), and the lines of a block scalar
// are its text, not keys.
QStringList parentPath(QStringView text, qsizetype cursor, FileFormat format);

}  // namespace MatchContextBuilder

}  // namespace Carvex

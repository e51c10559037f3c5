#pragma once

#include <QStringView>

namespace Carvex {

// The number of lines the text holds from its start up to min(text length, position): every line
// break ends a line (LF, CR, CR LF as one, NEL, LS, PS), and text after the last break makes one
// more. So a position inside or at the end of line k (counting from 1) is on line k, the very start
// of line k, right after a break, gives k - 1, and position 0 (or below) gives 0. Snippet sessions
// keep their line range in this count.
qsizetype lineNumberOfPosition(QStringView text, qsizetype position);

}  // namespace Carvex

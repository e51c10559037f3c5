#pragma once

#include "Carvex/Indentation/IndentationStyle.h"

#include <QStringView>
#include <optional>

namespace Carvex {

// Guesses a document's indentation unit from the steps between the indents of its first lines.
struct IndentationDetector {
    // How many lines from the top are examined.
    int maxLinesToScan = 200;

    // Tabs when more than two lines start with a tab and they outnumber the space-indent steps;
    // otherwise the commonest step among 2, 4, 3 and 8 (ties to the earlier) when there are more
    // than two steps and they outnumber the tab lines; otherwise nothing.
    std::optional<IndentationStyle> detect(QStringView text) const;
};

}  // namespace Carvex

#pragma once

#include "Carvex/CaretContext/PathComponent.h"
#include "Carvex/CaretContext/CompletionHints.h"
#include "Carvex/CaretContext/CursorRole.h"
#include "Carvex/CaretContext/DocumentFormat.h"

#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace Carvex {

// Everything known about the caret for one completion request: built by the cursor location
// service, refined by the completion engine. Built memberwise in field order.
struct CompletionContext {
    DocumentFormat format = DocumentFormat::unknown; // the format actually scanned with
    qsizetype caretLocation = 0;                     // UTF-16 offset, as passed in
    CursorRole role = CursorRole::unknown;
    QString prefix;                                  // the partial word before the caret
    std::vector<PathComponent> path;                 // root down to the caret's container
    CompletionHints hints;
    QString currentLine;
    std::optional<QString> currentKey;               // the key whose value holds the caret
    QSet<QString> existingKeys;                      // keys already in the caret's mapping

    bool operator==(const CompletionContext&) const = default;
};

} // namespace Carvex

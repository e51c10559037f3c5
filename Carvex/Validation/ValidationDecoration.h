#pragma once

#include "Carvex/Text/TextRange.h"
#include "Carvex/Validation/CarvexValidationError.h"

#include <QString>
#include <QUuid>

namespace Carvex {

// One finding marked in the editor's text: the finding's id, the finding, and the marked range in
// UTF-16 units of the view's text (moved by edits).
struct ValidationDecoration {
    QUuid id;
    CarvexValidationError error;
    TextRange range;

    CarvexValidationSeverity severity() const { return error.severity; }
    // The message; then " (line:column)" when the finding has a location; then an empty line and
    // the description when there is one.
    QString tooltipText() const;

    bool operator==(const ValidationDecoration&) const = default;
};

}  // namespace Carvex

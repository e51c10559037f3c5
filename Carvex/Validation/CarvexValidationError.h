#pragma once

#include "Carvex/Logging/SourceLocation.h"
#include "Carvex/Validation/CarvexValidationSeverity.h"

#include <QString>
#include <QUuid>
#include <optional>

namespace Carvex {

// One validation finding as the application keeps it: the library's message (led by its bracketed
// rule code), an optional explanation, where it points and how serious it is. Locations carry the
// library's line, column and offset unchanged, with an empty file name; place them in a text by
// line and column (`TextPositionConverter`), never by offset. `id` is fresh for every finding of
// every run; equality compares every field, `id` included.
struct CarvexValidationError {
    QUuid id;
    QString message;
    std::optional<QString> description;
    std::optional<QString> jsonPointer;
    std::optional<SourceLocation> sourceLocation;
    std::optional<SourceLocation> endLocation;
    CarvexValidationSeverity severity = CarvexValidationSeverity::error;
    bool isParsingError = false;

    bool operator==(const CarvexValidationError&) const = default;
};

}  // namespace Carvex

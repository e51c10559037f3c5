#pragma once

#include "Carvex/Text/FileFormat.h"

#include <QString>

namespace Carvex {

// A converted text, its format and the name for the new document that shows it.
struct ConversionResult {
    QString content;
    FileFormat format;
    QString suggestedName;

    bool operator==(const ConversionResult&) const = default;
};

}  // namespace Carvex

#pragma once

#include "Carvex/Editor/TextRange.h"

#include <QString>

namespace Carvex {

// One `$ref` value found in the editor's text.
struct RefLink {
    // The reference text itself, without quotes.
    TextRange valueRange;
    // The value as written.
    TextRange fullRange;
    QString refPath;

    bool operator==(const RefLink&) const = default;
};

}  // namespace Carvex

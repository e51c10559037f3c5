#pragma once

#include "Carvex/Text/TextRange.h"

namespace Carvex {

// One change of an editor's text, in UTF-16 units of the text after the change: the range that
// now holds the new characters, and how much longer (or, negative, shorter) the text became. The
// replaced range in the text before the change is (editedRange.location,
// editedRange.length - changeInLength).
struct TextChange {
    TextRange editedRange;
    qsizetype changeInLength = 0;

    bool operator==(const TextChange&) const = default;
};

}  // namespace Carvex

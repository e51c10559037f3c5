#pragma once

#include "Carvex/Conversion/PlainValueTree.h"

#include <QString>

#include <string>

namespace Carvex {

// Writes plain values as pretty-printed JSON: two spaces per level, members in their order, slashes not
// escaped, every other character but the quote, the backslash and the control characters as it is.
// Any value may stand at the top. Doubles are written in their shortest form that reads back the same,
// numbers kept as text as they stand. The values must hold no infinite or NaN double.
class JSONTextWriter {
public:
    static std::string write(const PlainValueTree& tree);
    // Appends the text to `out`.
    static void write(const PlainValueTree& tree, QString& out);

    // Appends `text` as a JSON string, quotes included.
    static void appendString(std::string& out, std::string_view text);
};

}  // namespace Carvex

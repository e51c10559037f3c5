#pragma once

#include "Carvex/Conversion/PlainValueTree.h"

#include <QString>

#include <string>
#include <string_view>

namespace Carvex {

// Writes plain values as block YAML, two spaces per level, with no document marker, no comments and no
// final line break. Mapping keys come in a fixed order led by the usual OpenAPI keys; keys and texts are
// written bare where a reader takes them back as the same text, and double-quoted with escapes where
// not; texts with line feeds become literal blocks whose header keeps their trailing line feeds.
class YAMLTextEmitter {
public:
    static std::string write(const PlainValueTree& tree);
    // Appends the text to `out`.
    static void write(const PlainValueTree& tree, QString& out);

    // The rank of a key in the order table, or -1 when the table does not hold it.
    static int keyRank(std::string_view key);
    // A key as written before its colon.
    static std::string keyText(std::string_view key);
    // True when a single-line text must be quoted to read back as the same text.
    static bool textNeedsQuotes(std::string_view text);
    // True when a multi-line text can be written as a literal block.
    static bool literalBlockCanHold(std::string_view text);
    // `text` in double quotes, with escapes.
    static std::string quoted(std::string_view text);
};

}  // namespace Carvex

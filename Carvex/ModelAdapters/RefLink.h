#pragma once

#include "Carvex/Text/TextRange.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <optional>

namespace Carvex {

// One `$ref` value found in the editor's text. Ranges are in UTF-16 units of the text scanned.
struct RefLink {
    // The reference text itself, without quotes.
    TextRange valueRange;
    // The value as written: with its quotes when quoted; an unquoted YAML value runs to the end of
    // its line (or to "#"), trailing blanks included.
    TextRange fullRange;
    // The characters of `valueRange` as they stand (escapes are not decoded).
    QString refPath;

    // The path begins with "#": a place in this document.
    bool isLocal() const { return refPath.startsWith(u'#'); }
    bool isExternal() const { return !isLocal(); }
    // For a local reference, the path without its "#"; nothing for an external one.
    std::optional<QString> jsonPointer() const;
    // For a local reference, the last non-empty piece of the pointer split at "/"; nothing for an
    // external reference or a pointer without such a piece.
    std::optional<QString> targetName() const;

    bool operator==(const RefLink&) const = default;
    // Combines the value range's location and length, the full range's, then the path.
    std::size_t hash() const;
};

} // namespace Carvex

template<>
struct std::hash<Carvex::RefLink> {
    std::size_t operator()(const Carvex::RefLink& link) const { return link.hash(); }
};

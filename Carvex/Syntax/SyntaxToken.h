#pragma once

#include "Carvex/Syntax/SyntaxTokenType.h"
#include "Carvex/Text/TextRange.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <map>
#include <memory>

namespace Carvex {

// One coloured span of a document's text: its kind and its range in UTF-16 units of the whole
// text that was tokenized. Lengths are always at least 1.
struct SyntaxToken {
    using Metadata = std::map<QString, QString>;

    SyntaxTokenType type = SyntaxTokenType::unknown;
    TextRange range;
    // Extra data about the token; nullptr when absent (the lexers leave it absent).
    std::shared_ptr<const Metadata> metadata;

    // Equal when kind, location, length and metadata are equal; absent metadata equals only
    // absent metadata.
    bool operator==(const SyntaxToken& other) const;

    // Hashes the kind's raw value, location, length, a presence flag and, when present, an
    // order-independent combination of the metadata's key and value pairs.
    std::size_t hash() const;
};

} // namespace Carvex

template<>
struct std::hash<Carvex::SyntaxToken> {
    std::size_t operator()(const Carvex::SyntaxToken& token) const { return token.hash(); }
};

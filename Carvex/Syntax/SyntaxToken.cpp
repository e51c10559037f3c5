#include "Carvex/Syntax/SyntaxToken.h"

#include <QHashFunctions>

#include <string_view>

namespace Carvex {

namespace {

std::size_t combine(std::size_t seed, std::size_t value)
{
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

} // namespace

bool SyntaxToken::operator==(const SyntaxToken& other) const
{
    if (type != other.type || range != other.range)
        return false;
    if (!metadata || !other.metadata)
        return !metadata && !other.metadata;
    return *metadata == *other.metadata;
}

std::size_t SyntaxToken::hash() const
{
    std::size_t seed = std::hash<std::string_view>{}(rawValue(type));
    seed = combine(seed, std::hash<qsizetype>{}(range.location));
    seed = combine(seed, std::hash<qsizetype>{}(range.length));
    seed = combine(seed, metadata ? 1 : 0);
    if (metadata) {
        // A sum does not depend on the order in which the pairs are visited.
        std::size_t pairs = 0;
        for (const auto& [key, value] : *metadata)
            pairs += combine(qHash(key), qHash(value));
        seed = combine(seed, pairs);
    }
    return seed;
}

} // namespace Carvex

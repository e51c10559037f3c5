#pragma once

#include <QtGlobal>

#include <algorithm>
#include <limits>

namespace Carvex {

// A span of text as location and length in UTF-16 code units of the whole text, the unit of
// QString positions. Every range exchanged between editor components uses this form.
struct TextRange {
    qsizetype location = 0;
    qsizetype length = 0;

    // One past the last unit; saturates instead of overflowing for huge lengths.
    qsizetype end() const
    {
        if (length <= 0)
            return location;
        if (location > std::numeric_limits<qsizetype>::max() - length)
            return std::numeric_limits<qsizetype>::max();
        return location + length;
    }

    // Number of units shared with `other`; 0 when they do not overlap or either is empty.
    qsizetype intersectionLength(const TextRange& other) const
    {
        if (length <= 0 || other.length <= 0)
            return 0;
        const qsizetype start = std::max(location, other.location);
        const qsizetype stop = std::min(end(), other.end());
        return stop > start ? stop - start : 0;
    }

    bool operator==(const TextRange&) const = default;
};

} // namespace Carvex

#include "Carvex/Snippets/PlaceholderSession.h"

#include <algorithm>
#include <limits>

namespace Carvex {

namespace {

qsizetype saturatingAdd(qsizetype a, qsizetype b) {
    constexpr qsizetype top = std::numeric_limits<qsizetype>::max();
    constexpr qsizetype bottom = std::numeric_limits<qsizetype>::min();
    if (b > 0 && a > top - b) return top;
    if (b < 0 && a < bottom - b) return bottom;
    return a + b;
}

}  // namespace

std::optional<std::size_t> PlaceholderSession::adjustRanges(TextRange replacing, qsizetype newLength) {
    TextRange edit{replacing.location, std::max<qsizetype>(replacing.length, 0)};
    if (edit.location < 0) {
        edit.length = std::max<qsizetype>(saturatingAdd(edit.length, edit.location), 0);
        edit.location = 0;
    }
    const qsizetype inserted = std::max<qsizetype>(newLength, 0);
    const qsizetype change = inserted - edit.length;
    const qsizetype afterReplacement = saturatingAdd(edit.location, inserted);

    std::optional<std::size_t> lastOverlapped;
    for (std::size_t i = 0; i < placeholders_.size(); ++i) {
        Placeholder& placeholder = placeholders_[i];
        if (placeholder.range.intersectionLength(edit) >= 1) {
            placeholder.range = TextRange{edit.location, inserted};
            placeholder.attachment.reset();
            lastOverlapped = i;
        } else if (placeholder.range.location > edit.location) {
            placeholder.range.location =
                std::max(saturatingAdd(placeholder.range.location, change), afterReplacement);
        }
    }
    return lastOverlapped;
}

}  // namespace Carvex

#pragma once

#include "Carvex/Text/TextPositionConverter.h"
#include "Carvex/Text/TextRange.h"
#include "Carvex/Logging/SourceLocation.h"

#include <QStringView>
#include <cstdint>
#include <optional>

namespace Carvex {

// Turns a finding's source locations into a range of the view's text. Both ends are placed by
// line and column (`TextPositionConverter`): the library's offsets are not UTF-16 units. A start
// with a usable end after it marks up to that end; otherwise the token at the start (or, where no
// token starts, the whole character there: never half of one), never past its line. A start that cannot be placed (no such line, or at the text's end)
// gives nothing.
//
// The line starts are found once per text (`buildCache`) and dropped by `invalidateCache`; a
// conversion for a text the cache was not built for builds it first. The text is borrowed and must
// not change while the cache is built for it.
class ValidationRangeConverter {
public:
    void buildCache(QStringView text);
    void invalidateCache();
    // Lines of the cached text (0 when none is cached).
    std::int64_t cachedLineCount() const { return positions_.lineCount(); }

    std::optional<TextRange> convertToNSRange(const SourceLocation& start,
                                              const std::optional<SourceLocation>& end,
                                              QStringView text);
    // One location: the token there when `expandToToken`, else the one character there.
    std::optional<TextRange> convertToNSRange(const SourceLocation& location, QStringView text,
                                              bool expandToToken);

    // Units from `index` on that are token characters (letters, marks, digits, "$", "-", ".", "/",
    // "_", never a surrogate half), at least 1; 1 at or past the end.
    static qsizetype tokenLength(QStringView text, qsizetype index);

private:
    void ensureCache(QStringView text);
    // The start's position and the units left on its line (line break included).
    std::optional<std::pair<qsizetype, qsizetype>> place(const SourceLocation& location,
                                                         QStringView text);

    TextPositionConverter positions_;
};

}  // namespace Carvex

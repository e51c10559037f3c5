#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace Carvex {

// A place in a document as the console shows it: file name (may be empty), line, column and an
// optional offset. Not the parser library's position type.
struct SourceLocation {
    QString fileName;
    std::int64_t line = 0;
    std::int64_t column = 0;
    std::optional<std::int64_t> offset;

    // "file:line:column", or "line:column" without a file name; the offset is never shown.
    QString formatted() const;

    bool operator==(const SourceLocation&) const = default;
    // Feeds the file name, line, column, a presence flag and, when present, the offset.
    std::size_t hash() const;
};

}  // namespace Carvex

template <>
struct std::hash<Carvex::SourceLocation> {
    std::size_t operator()(const Carvex::SourceLocation& location) const noexcept {
        return location.hash();
    }
};

#pragma once

#include "Carvex/Conversion/PlainValueTree.h"

#include "kit/core/GenericNode.h"

#include <string>
#include <string_view>

namespace Carvex {

// Reads YAML text with the library's YAML parser and turns its node tree into plain values: mappings
// keep their order, integers keep every digit. A number that the parsed double cannot hold exactly (an
// integer of 2^53 or more, or a magnitude beyond a double's range) is taken from the scalar's own text
// when that text is an integer or a decimal literal.
class YAMLValueReader {
public:
    // A number that is not finite (inf, nan) cannot be a plain value.
    class NonFiniteNumber : public std::exception {
    public:
        NonFiniteNumber(std::int64_t line, std::int64_t column);
        std::int64_t line() const { return line_; }
        std::int64_t column() const { return column_; }
        const char* what() const noexcept override { return what_.c_str(); }

    private:
        std::int64_t line_;
        std::int64_t column_;
        std::string what_;
    };

    // `text` is UTF-8. Throws the parser's ParseError, or NonFiniteNumber.
    static PlainValueTree read(std::string_view text);

    // The JSON form of a YAML number literal ("+012", "1e400", ".5"), or nothing when the text is not a
    // decimal literal (hexadecimal, inf, nan).
    static std::optional<std::string> jsonNumberLiteral(std::string_view text);
};

}  // namespace Carvex

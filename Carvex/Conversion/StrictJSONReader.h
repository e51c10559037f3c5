#pragma once

#include "Carvex/Conversion/PlainValueTree.h"

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace Carvex {

// Reads JSON text (RFC 8259) into plain values, and nothing else: no comments, no trailing commas, no
// single quotes, no leading zeros or bare fractions, no control characters in strings, no lone surrogate
// escapes. Any value may stand at the top. A byte order mark before the text is skipped. Members keep
// their order; of repeated keys the last value is kept at the first key's place.
//
// Numbers keep every digit: an integer literal beyond 64 bits, or a number whose magnitude overflows a
// double, is kept as its literal text. Nesting deeper than the library's parsers accept is refused, and
// nothing recurses. One object per read.
class StrictJSONReader {
public:
    class SyntaxError : public std::exception {
    public:
        SyntaxError(std::string message, std::size_t offset);
        const std::string& message() const { return message_; }
        // Byte offset of the offending character in the text.
        std::size_t offset() const { return offset_; }
        const char* what() const noexcept override { return what_.c_str(); }

    private:
        std::string message_;
        std::size_t offset_;
        std::string what_;
    };

    explicit StrictJSONReader(std::string_view text) : text_(text) {}
    // Throws SyntaxError.
    PlainValueTree read();

private:
    enum class Container : std::uint8_t { list, dictionary };
    struct Frame {
        Container container;
        std::size_t firstPending;
    };

    [[noreturn]] void fail(const std::string& message, std::size_t at) const;
    [[noreturn]] void failHere(const std::string& message) const;
    void skipWhiteSpace() noexcept;
    bool atEnd() const noexcept { return pos_ >= text_.size(); }
    char peek() const noexcept { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void expect(char c, const char* what);
    void readKey();
    std::string_view readString();
    void appendEscape();
    unsigned readHex4();
    PlainValueTree::Index readNumber();
    PlainValueTree::Index readWord();
    PlainValueTree::Index close(const Frame& frame);
    void dropRepeatedKeys(std::size_t firstPending);

    std::string_view text_;
    std::size_t pos_ = 0;
    PlainValueTree tree_;
    std::vector<Frame> frames_;
    std::vector<PlainValueTree::Index> pending_;
    std::string scratch_;
};

}  // namespace Carvex

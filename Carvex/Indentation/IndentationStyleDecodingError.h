#pragma once

#include <exception>
#include <string>

namespace Carvex {

// Thrown when the serialised form of an `IndentationStyle` cannot be read.
class IndentationStyleDecodingError : public std::exception {
public:
    explicit IndentationStyleDecodingError(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

}  // namespace Carvex

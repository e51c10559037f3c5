#pragma once

#include <QString>
#include <optional>

namespace Carvex {

// The verdict on a new-document configuration: success, or a failure with the message to show.
class ValidationResult {
public:
    static ValidationResult success() { return ValidationResult(std::nullopt); }
    static ValidationResult failure(QString message) { return ValidationResult(std::move(message)); }

    bool isSuccess() const { return !message_; }
    // The failure's message; nothing for success.
    const std::optional<QString>& errorMessage() const { return message_; }

    bool operator==(const ValidationResult&) const = default;

private:
    explicit ValidationResult(std::optional<QString> message) : message_(std::move(message)) {}
    std::optional<QString> message_;
};

}  // namespace Carvex

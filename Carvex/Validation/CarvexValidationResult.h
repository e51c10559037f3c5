#pragma once

#include "Carvex/Validation/CarvexValidationError.h"

#include <QString>
#include <variant>
#include <vector>

namespace Carvex {

// The outcome of one validation run: the document could not be read at all (one error), the
// library reported findings (in its order), the declared version is refused (its text, or
// "unknown"), or nothing was found.
class CarvexValidationResult {
public:
    enum class Kind { parsingError, validationErrors, unsupportedVersion, success };

    static CarvexValidationResult parsingError(CarvexValidationError error);
    static CarvexValidationResult validationErrors(std::vector<CarvexValidationError> errors);
    static CarvexValidationResult unsupportedVersion(QString version);
    static CarvexValidationResult success();

    Kind kind() const { return static_cast<Kind>(value_.index()); }

    // The payloads; each is null for the other cases.
    const CarvexValidationError* parsingErrorValue() const;
    const std::vector<CarvexValidationError>* validationErrorsValue() const;
    const QString* unsupportedVersionValue() const;

    // The findings to mark in the text: the parsing error alone, or the list; none otherwise.
    std::vector<CarvexValidationError> findings() const;

    // "success", "unsupportedVersion(2.0)", "parsingError(<message>)", "validationErrors(<n>)".
    QString description() const;

    bool operator==(const CarvexValidationResult&) const = default;

private:
    struct Success {
        bool operator==(const Success&) const = default;
    };
    struct Version {
        QString text;
        bool operator==(const Version&) const = default;
    };
    using Value = std::variant<CarvexValidationError, std::vector<CarvexValidationError>, Version,
                               Success>;
    template <std::size_t I, class... Args>
    explicit CarvexValidationResult(std::in_place_index_t<I> index, Args&&... args)
        : value_(index, std::forward<Args>(args)...) {}

    Value value_;
};

}  // namespace Carvex

#pragma once

#include <QString>

namespace Carvex {

// Why the text of a document gave no model: one of four kinds, two of them with the library's message.
class OpenAPIParseError {
public:
    enum class Kind {
        decodingFailed,
        unsupportedVersion,
        unsupportedFormat,
        emptyDocument,
    };

    static OpenAPIParseError decodingFailed(QString message) { return {Kind::decodingFailed, std::move(message)}; }
    static OpenAPIParseError unsupportedVersion(QString message)
    {
        return {Kind::unsupportedVersion, std::move(message)};
    }
    static OpenAPIParseError unsupportedFormat() { return {Kind::unsupportedFormat, {}}; }
    static OpenAPIParseError emptyDocument() { return {Kind::emptyDocument, {}}; }

    Kind kind() const noexcept { return kind_; }
    // The message of decodingFailed and unsupportedVersion; empty for the other kinds.
    const QString& payload() const noexcept { return payload_; }

    // The text shown to the user for this failure.
    QString localizedDescription() const;

    friend bool operator==(const OpenAPIParseError&, const OpenAPIParseError&) = default;

private:
    OpenAPIParseError(Kind kind, QString payload) : kind_(kind), payload_(std::move(payload)) {}

    Kind kind_;
    QString payload_;
};

} // namespace Carvex

#pragma once

#include <QString>

#include <exception>
#include <string>

namespace Carvex {

// Why a conversion between YAML and JSON failed. Thrown by the conversion service.
class ConversionError : public std::exception {
public:
    enum class Kind { parsingFailed, conversionFailed, unknownFormat, emptyDocument };

    static ConversionError parsingFailed(QString message) { return {Kind::parsingFailed, std::move(message)}; }
    static ConversionError conversionFailed(QString message) { return {Kind::conversionFailed, std::move(message)}; }
    static ConversionError unknownFormat() { return {Kind::unknownFormat, {}}; }
    static ConversionError emptyDocument() { return {Kind::emptyDocument, {}}; }

    Kind kind() const { return kind_; }
    // The payload of parsingFailed and conversionFailed; empty for the others.
    const QString& message() const { return message_; }
    // What the caller shows or logs: "Parsing failed: <message>", "Conversion failed: <message>",
    // "Could not determine document format" or "Document is empty".
    QString localizedDescription() const;
    const char* what() const noexcept override { return what_.c_str(); }

    bool operator==(const ConversionError& other) const { return kind_ == other.kind_ && message_ == other.message_; }

private:
    ConversionError(Kind kind, QString message);

    Kind kind_;
    QString message_;
    std::string what_;
};

}  // namespace Carvex

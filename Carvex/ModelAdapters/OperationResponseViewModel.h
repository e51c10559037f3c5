#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace Carvex {

// One response of an operation as the details show it.
struct OperationResponseViewModel {
    OperationResponseViewModel(QString statusCode, QString description, QStringList contentTypes,
                               std::optional<QString> schemaDescription, std::optional<int64_t> schemaSourceLine,
                               std::optional<int64_t> sourceLine)
        : id(statusCode), statusCode(std::move(statusCode)), description(std::move(description)),
          contentTypes(std::move(contentTypes)), schemaDescription(std::move(schemaDescription)),
          schemaSourceLine(schemaSourceLine), sourceLine(sourceLine)
    {
    }

    QString id; // the status code
    // "200", a range such as "4XX", or "default".
    QString statusCode;
    QString description;
    // The media types in document order; empty without content.
    QStringList contentTypes;
    std::optional<QString> schemaDescription;
    std::optional<int64_t> schemaSourceLine;
    std::optional<int64_t> sourceLine;

    bool isSuccess() const { return statusCode.startsWith(QLatin1Char('2')); }
    bool isClientError() const { return statusCode.startsWith(QLatin1Char('4')); }
    bool isServerError() const { return statusCode.startsWith(QLatin1Char('5')); }

    friend bool operator==(const OperationResponseViewModel&, const OperationResponseViewModel&) = default;
};

} // namespace Carvex

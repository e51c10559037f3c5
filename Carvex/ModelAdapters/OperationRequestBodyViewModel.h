#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace Carvex {

// The request body of an operation as the details show it.
struct OperationRequestBodyViewModel {
    bool required = false;
    std::optional<QString> description;
    // The media types in document order.
    QStringList contentTypes;
    // Type text of the chosen media type's schema.
    std::optional<QString> schemaDescription;
    // Name of the component schema the chosen media type refers to, and the line where it is defined.
    std::optional<QString> schemaName;
    std::optional<int64_t> schemaSourceLine;
    std::optional<int64_t> sourceLine;

    friend bool operator==(const OperationRequestBodyViewModel&, const OperationRequestBodyViewModel&) = default;
};

} // namespace Carvex

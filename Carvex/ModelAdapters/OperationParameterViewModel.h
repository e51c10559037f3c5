#pragma once

#include "Carvex/ModelAdapters/ParamLocation.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace Carvex {

// One parameter of an operation as the details show it.
struct OperationParameterViewModel {
    OperationParameterViewModel(QString name, ParamLocation location, bool required, std::optional<QString> description,
                                std::optional<QString> schemaType, std::optional<QString> format,
                                std::optional<QString> defaultValue, std::optional<QStringList> enumValues,
                                bool deprecated, std::optional<int64_t> sourceLine);

    // The location's raw value, ":" and the name: "query:limit".
    QString id;
    QString name;
    ParamLocation location;
    bool required;
    std::optional<QString> description;
    std::optional<QString> schemaType;
    std::optional<QString> format;
    std::optional<QString> defaultValue;
    std::optional<QStringList> enumValues;
    bool deprecated;
    // Of the referenced component when the parameter is a reference.
    std::optional<int64_t> sourceLine;

    friend bool operator==(const OperationParameterViewModel&, const OperationParameterViewModel&) = default;
};

} // namespace Carvex

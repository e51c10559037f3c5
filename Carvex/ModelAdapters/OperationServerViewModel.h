#pragma once

#include <QString>

#include <optional>

namespace Carvex {

// One server that applies to an operation.
struct OperationServerViewModel {
    OperationServerViewModel(QString url, std::optional<QString> description)
        : id(url), url(std::move(url)), description(std::move(description))
    {
    }

    QString id; // the url
    QString url;
    std::optional<QString> description;

    friend bool operator==(const OperationServerViewModel&, const OperationServerViewModel&) = default;
};

} // namespace Carvex

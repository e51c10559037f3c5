#pragma once

#include "Carvex/ModelAdapters/OperationID.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace Carvex {

// One row of the operations table and of the example panel's operation list.
struct OperationRowViewModel {
    OperationID id;
    std::optional<QString> summary;
    std::optional<QString> operationId;
    bool deprecated = false;
    // Line of the operation object's start (1-based).
    std::optional<int64_t> sourceLine;

    const QString& path() const noexcept { return id.path; }
    HTTPMethod method() const noexcept { return id.method; }
    // The summary when not empty, else the operation ID when not empty, else the path.
    QString displaySummary() const;

    friend bool operator==(const OperationRowViewModel&, const OperationRowViewModel&) = default;
};

} // namespace Carvex

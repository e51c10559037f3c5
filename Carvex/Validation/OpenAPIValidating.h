#pragma once

#include "Carvex/Validation/CarvexValidationResult.h"
#include "platform/WorkItem.h"

#include <QString>
#include <functional>

namespace Carvex {

// Validates the text of an OpenAPI description.
class OpenAPIValidating {
public:
    using Completion = std::function<void(CarvexValidationResult)>;

    virtual ~OpenAPIValidating() = default;

    // Validates `text` and hands the result to `completion` on the main thread, on a later turn;
    // never fails (every failure is a result). Cancelling the returned item drops the result.
    virtual CarvexPlatform::WorkItem validate(const QString& text, Completion completion) const = 0;
};

}  // namespace Carvex

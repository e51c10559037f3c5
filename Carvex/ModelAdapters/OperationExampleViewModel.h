#pragma once

#include "Carvex/ModelAdapters/ExampleSource.h"
#include "kit/core/AnyValue.h"

#include <QString>

#include <optional>

namespace Carvex {

// One example of an example source, as the Example tab lists it.
struct OperationExampleViewModel {
    QString name;
    VoziZazIreCore::AnyValue value;
    std::optional<QString> summary;
    std::optional<QString> description;
    ExampleSource source;

    friend bool operator==(const OperationExampleViewModel&, const OperationExampleViewModel&) = default;
};

} // namespace Carvex

#pragma once

#include "Carvex/ModelAdapters/ExampleAdapter.h"
#include "Carvex/ModelAdapters/RefOrValue.h"
#include "Carvex/ModelAdapters/SchemaAdapter.h"
#include "kit/core/AnyValue.h"
#include "kit/core/OrderedMap.h"

#include <optional>

namespace Carvex {

// One media type of a body or response, of either version.
class MediaTypeAdapter {
public:
    virtual ~MediaTypeAdapter() = default;
    virtual std::optional<RefOrValue<SchemaAdapter>> schema() const = 0;
    virtual std::optional<VoziZazIreCore::AnyValue> example() const = 0;
    // Keyed by example name, in the order written.
    virtual std::optional<VoziZazIreCore::OrderedMap<RefOrValue<ExampleAdapter>>> examples() const = 0;
};

} // namespace Carvex

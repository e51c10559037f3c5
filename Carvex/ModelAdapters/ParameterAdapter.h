#pragma once

#include "Carvex/ModelAdapters/ParamLocation.h"
#include "Carvex/ModelAdapters/RefOrValue.h"
#include "Carvex/ModelAdapters/SchemaAdapter.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Carvex {

// A parameter of either version.
class ParameterAdapter {
public:
    virtual ~ParameterAdapter() = default;
    virtual std::string name() const = 0;
    virtual ParamLocation location() const = 0;
    // The stored flag; when absent, true exactly for a path parameter.
    virtual bool required() const = 0;
    virtual std::optional<std::string> description() const = 0;
    virtual bool deprecated() const = 0;
    virtual std::optional<RefOrValue<SchemaAdapter>> schema() const = 0;
    virtual std::optional<int64_t> sourceLine() const = 0;
};

} // namespace Carvex

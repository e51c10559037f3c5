#pragma once

#include "Carvex/ModelAdapters/RefOrValue.h"
#include "Carvex/ModelAdapters/SchemaAdapter.h"

#include <optional>
#include <string>

namespace Carvex {

// A response header of either version.
class HeaderAdapter {
public:
    virtual ~HeaderAdapter() = default;
    virtual std::optional<std::string> description() const = 0;
    virtual bool required() const = 0;
    virtual bool deprecated() const = 0;
    virtual std::optional<RefOrValue<SchemaAdapter>> schema() const = 0;
};

} // namespace Carvex

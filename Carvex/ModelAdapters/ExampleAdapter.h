#pragma once

#include "kit/core/AnyValue.h"

#include <optional>
#include <string>

namespace Carvex {

// A named example object of either version.
class ExampleAdapter {
public:
    virtual ~ExampleAdapter() = default;
    virtual std::optional<std::string> summary() const = 0;
    virtual std::optional<std::string> description() const = 0;
    virtual std::optional<VoziZazIreCore::AnyValue> value() const = 0;
    virtual std::optional<std::string> externalValue() const = 0;
};

} // namespace Carvex

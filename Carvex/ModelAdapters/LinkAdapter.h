#pragma once

#include <optional>
#include <string>

namespace Carvex {

// A response link of either version.
class LinkAdapter {
public:
    virtual ~LinkAdapter() = default;
    virtual std::optional<std::string> operationRef() const = 0;
    virtual std::optional<std::string> operationId() const = 0;
    virtual std::optional<std::string> description() const = 0;
};

} // namespace Carvex

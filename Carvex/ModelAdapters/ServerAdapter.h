#pragma once

#include <optional>
#include <string>

namespace Carvex {

// A server entry of either version.
class ServerAdapter {
public:
    virtual ~ServerAdapter() = default;
    virtual std::string url() const = 0;
    virtual std::optional<std::string> description() const = 0;
};

} // namespace Carvex

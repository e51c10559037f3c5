#pragma once

#include "Carvex/ModelAdapters/MediaTypeAdapter.h"
#include "kit/core/OrderedMap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Carvex {

// A request body of either version.
class RequestBodyAdapter {
public:
    virtual ~RequestBodyAdapter() = default;
    virtual std::optional<std::string> description() const = 0;
    virtual bool required() const = 0;
    // Keyed by media-type name, in the order written; empty when the body has no entries.
    virtual VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>> content() const = 0;
    virtual std::optional<int64_t> sourceLine() const = 0;
};

} // namespace Carvex

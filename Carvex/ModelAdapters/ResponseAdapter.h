#pragma once

#include "Carvex/ModelAdapters/HeaderAdapter.h"
#include "Carvex/ModelAdapters/LinkAdapter.h"
#include "Carvex/ModelAdapters/MediaTypeAdapter.h"
#include "Carvex/ModelAdapters/RefOrValue.h"
#include "kit/core/OrderedMap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Carvex {

// A response of either version.
class ResponseAdapter {
public:
    virtual ~ResponseAdapter() = default;
    virtual std::string description() const = 0;
    virtual std::optional<int64_t> sourceLine() const = 0;
    virtual std::optional<VoziZazIreCore::OrderedMap<RefOrValue<HeaderAdapter>>> headers() const = 0;
    virtual std::optional<VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaTypeAdapter>>> content() const = 0;
    virtual std::optional<VoziZazIreCore::OrderedMap<RefOrValue<LinkAdapter>>> links() const = 0;
};

} // namespace Carvex

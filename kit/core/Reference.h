#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "kit/core/LocationInfo.h"

namespace VoziZazIreCore {

// The content of a "$ref" object.
struct Reference {
  std::string ref;
  std::optional<std::string> summary;
  std::optional<std::string> description;
  std::optional<LocationInfo> location;

  Reference() = default;
  Reference(std::string ref, std::optional<std::string> summary, std::optional<std::string> description,
            std::optional<LocationInfo> location)
      : ref(std::move(ref)), summary(std::move(summary)), description(std::move(description)),
        location(std::move(location)) {}

  friend bool operator==(const Reference&, const Reference&) = default;
  std::size_t hash() const;
};

}  // namespace VoziZazIreCore

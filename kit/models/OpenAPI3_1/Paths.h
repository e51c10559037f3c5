#pragma once
#include <memory>
#include <optional>
#include <string_view>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct PathItem;

// The paths of the API.
struct Paths {
  const LocationInfo location;
  const OrderedMap<std::shared_ptr<const PathItem>> items;  // path template -> path item
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members

  // The path item stored under exactly `key` (compared as text, so "/pets/1" does not find
  // "/pets/{id}"), or nullptr. The pointer lives as long as this object.
  const PathItem* operator[](std::string_view key) const;
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/PathItem.h"

#pragma once
#include <memory>
#include <optional>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct PathItem;

// Out-of-band requests the API may make.
struct Callback {
  const LocationInfo location;
  const OrderedMap<std::shared_ptr<const PathItem>> expression;  // runtime expression -> path item
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/PathItem.h"

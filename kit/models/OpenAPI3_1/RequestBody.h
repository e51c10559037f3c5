#pragma once
#include <memory>
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct MediaType;

// The body of a request.
struct RequestBody {
  const LocationInfo location;
  const CompactOptional<std::string> description;
  const OrderedMap<std::shared_ptr<const MediaType>> content;  // media type name -> media type
  const std::optional<bool> required;
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/MediaType.h"

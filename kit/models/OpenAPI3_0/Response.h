#pragma once
#include <memory>
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct Header;
struct Link;
struct MediaType;

// One response of an operation.
struct Response {
  const LocationInfo location;
  const std::string description;
  const CompactOptional<OrderedMap<ReferenceOr<Header>>> headers;
  const std::optional<OrderedMap<std::shared_ptr<const MediaType>>> content;  // media type name -> media type
  const CompactOptional<OrderedMap<ReferenceOr<Link>>> links;
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/Header.h"
#include "kit/models/OpenAPI3_0/Link.h"
#include "kit/models/OpenAPI3_0/MediaType.h"

#pragma once
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"
#include "kit/models/ParameterStyle.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct Header;

// How one property of a request body is encoded.
struct Encoding {
  const LocationInfo location;
  const std::optional<ParameterStyle> style;
  const std::optional<bool> explode;
  const std::optional<bool> allowReserved;
  const CompactOptional<std::string> contentType;
  const CompactOptional<OrderedMap<ReferenceOr<Header>>> headers;
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/Header.h"

#pragma once
#include <optional>
#include <string_view>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct Response;

// The responses of an operation.
struct Responses {
  const LocationInfo location;
  const OrderedMap<ReferenceOr<Response>> items;  // status code text, range such as "2XX", or "default" -> response
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members

  // The entry stored under exactly `key` ("200" does not find "2XX"), or nullptr. The pointer
  // lives as long as this object.
  const ReferenceOr<Response>* operator[](std::string_view key) const;
  // The entry under "default", or nullptr.
  const ReferenceOr<Response>* default_() const;
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/Response.h"

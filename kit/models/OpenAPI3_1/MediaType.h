#pragma once
#include <memory>
#include <optional>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct Encoding;
struct Example;
struct Schema;

// The schema and examples of one media type.
struct MediaType {
  const LocationInfo location;
  const std::optional<ReferenceOr<Schema>> schema;
  const CompactOptional<AnyValue> example;
  const CompactOptional<OrderedMap<ReferenceOr<Example>>> examples;
  const CompactOptional<OrderedMap<std::shared_ptr<const Encoding>>> encoding;  // property name -> encoding
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/Encoding.h"
#include "kit/models/OpenAPI3_1/Example.h"
#include "kit/models/OpenAPI3_1/Schema.h"

#pragma once
#include <memory>
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"
#include "kit/models/ParameterStyle.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct Example;
struct MediaType;
struct Schema;

// A response or encoding header.
struct Header {
  const LocationInfo location;
  const std::optional<bool> required;
  const std::optional<bool> deprecated;
  const std::optional<ParameterStyle> style;
  const std::optional<bool> explode;
  const std::optional<bool> allowReserved;
  const std::optional<std::string> description;
  const std::optional<ReferenceOr<Schema>> schema;
  const CompactOptional<AnyValue> example;
  const CompactOptional<OrderedMap<ReferenceOr<Example>>> examples;
  const CompactOptional<OrderedMap<std::shared_ptr<const MediaType>>> content;  // media type name -> media type
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/Example.h"
#include "kit/models/OpenAPI3_1/MediaType.h"
#include "kit/models/OpenAPI3_1/Schema.h"

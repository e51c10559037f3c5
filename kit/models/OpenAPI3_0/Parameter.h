#pragma once
#include <memory>
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"
#include "kit/models/ParameterLocation.h"
#include "kit/models/ParameterStyle.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct Example;
struct MediaType;
struct Schema;

// One parameter of an operation or path item.
struct Parameter {
  const LocationInfo location;
  const std::string name;
  const ParameterLocation in;  // where the parameter is carried
  const std::optional<bool> required;
  const std::optional<bool> deprecated;
  const std::optional<bool> allowEmptyValue;
  const std::optional<ParameterStyle> style;
  const std::optional<bool> explode;
  const std::optional<bool> allowReserved;
  const CompactOptional<std::string> description;
  const std::optional<ReferenceOr<Schema>> schema;
  const CompactOptional<AnyValue> example;
  const CompactOptional<OrderedMap<ReferenceOr<Example>>> examples;
  const CompactOptional<OrderedMap<std::shared_ptr<const MediaType>>> content;  // media type name -> media type
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/Example.h"
#include "kit/models/OpenAPI3_0/MediaType.h"
#include "kit/models/OpenAPI3_0/Schema.h"

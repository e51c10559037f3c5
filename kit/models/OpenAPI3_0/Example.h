#pragma once
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

// An example value.
struct Example {
  const LocationInfo location;
  const CompactOptional<std::string> summary;
  const CompactOptional<std::string> description;
  const std::optional<AnyValue> value;
  const CompactOptional<std::string> externalValue;
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

#pragma once
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

// An example value.
struct Example {
  const LocationInfo location;
  const std::optional<std::string> summary;
  const std::optional<std::string> description;
  const std::optional<AnyValue> value;
  const std::optional<std::string> externalValue;
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

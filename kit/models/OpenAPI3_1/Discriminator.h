#pragma once
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

// Tells which schema of a composition a value takes, by one property.
struct Discriminator {
  const LocationInfo location;
  const std::string propertyName;
  const std::optional<OrderedMap<std::string>> mapping;  // discriminator value -> schema name or reference text
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

#pragma once
#include <optional>
#include <string>
#include <vector>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

// A variable of a server URL template.
struct ServerVariable {
  const LocationInfo location;
  const std::optional<std::vector<std::string>> enumValues;  // the "enum" member
  const std::string default_;  // the "default" member
  const std::optional<std::string> description;
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

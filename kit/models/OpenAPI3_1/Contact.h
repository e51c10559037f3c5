#pragma once
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

// Contact information for the API.
struct Contact {
  const LocationInfo location;
  const std::optional<std::string> name;
  const std::optional<std::string> url;
  const std::optional<std::string> email;
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

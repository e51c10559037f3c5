#pragma once
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

// The licence of the API.
struct License {
  const LocationInfo location;
  const std::string name;
  const std::optional<std::string> identifier;  // an SPDX licence expression, kept as text
  const std::optional<std::string> url;
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

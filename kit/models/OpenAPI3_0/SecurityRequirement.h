#pragma once
#include <optional>
#include <string>
#include <vector>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

// The schemes an operation may be called with; it carries no extensions.
struct SecurityRequirement {
  const LocationInfo location;
  const OrderedMap<std::vector<std::string>> items;  // security scheme name -> scope names, order kept
};

}  // namespace VoziZazIreModels::OpenAPI3_0

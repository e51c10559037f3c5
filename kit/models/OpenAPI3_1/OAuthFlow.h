#pragma once
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

// One OAuth flow.
struct OAuthFlow {
  const LocationInfo location;
  const std::optional<std::string> authorizationUrl;
  const std::optional<std::string> tokenUrl;
  const std::optional<std::string> refreshUrl;
  const OrderedMap<std::string> scopes;  // scope name -> description
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

#pragma once
#include <memory>
#include <optional>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct OAuthFlow;

// The OAuth flows of an oauth2 security scheme.
struct OAuthFlows {
  const LocationInfo location;
  const std::shared_ptr<const OAuthFlow> implicit;  // null when absent
  const std::shared_ptr<const OAuthFlow> password;  // null when absent
  const std::shared_ptr<const OAuthFlow> clientCredentials;  // null when absent
  const std::shared_ptr<const OAuthFlow> authorizationCode;  // null when absent
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/OAuthFlow.h"

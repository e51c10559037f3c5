#pragma once
#include <memory>
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"
#include "kit/models/APIKeyLocation.h"
#include "kit/models/SecuritySchemeType.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct OAuthFlows;

// A security scheme the operations may use.
struct SecurityScheme {
  const LocationInfo location;
  const SecuritySchemeType type;
  const std::optional<std::string> description;
  const std::optional<std::string> name;
  const std::optional<APIKeyLocation> in;
  const std::optional<std::string> scheme;
  const std::optional<std::string> bearerFormat;
  const std::shared_ptr<const OAuthFlows> flows;  // null when absent
  const std::optional<std::string> openIdConnectUrl;
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/OAuthFlows.h"

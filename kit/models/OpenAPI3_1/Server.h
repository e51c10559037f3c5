#pragma once
#include <memory>
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct ServerVariable;

// A server the API is reachable at; the URL may hold {variables}.
struct Server {
  const LocationInfo location;
  const std::string url;
  const std::optional<std::string> description;
  const std::optional<OrderedMap<std::shared_ptr<const ServerVariable>>> variables;  // variable name -> variable
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/ServerVariable.h"

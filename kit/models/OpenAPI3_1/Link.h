#pragma once
#include <memory>
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct Server;

// A design-time link from a response to an operation.
struct Link {
  const LocationInfo location;
  const CompactOptional<std::string> operationRef;
  const std::optional<std::string> operationId;
  const CompactOptional<OrderedMap<AnyValue>> parameters;  // parameter name -> value or runtime expression
  const CompactOptional<AnyValue> requestBody;  // a value or a runtime expression
  const CompactOptional<std::string> description;
  const std::shared_ptr<const Server> server;  // null when absent
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/Server.h"

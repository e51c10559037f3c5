#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct Callback;
struct ExternalDocumentation;
struct Parameter;
struct RequestBody;
struct Responses;
struct SecurityRequirement;
struct Server;

// One API operation on a path.
struct Operation {
  const LocationInfo location;
  const CompactOptional<std::vector<std::string>> tags;
  const CompactOptional<std::string> summary;
  const CompactOptional<std::string> description;
  const std::shared_ptr<const ExternalDocumentation> externalDocs;  // null when absent
  const std::optional<std::string> operationId;
  const std::optional<std::vector<ReferenceOr<Parameter>>> parameters;
  const CompactOptional<ReferenceOr<RequestBody>> requestBody;
  const std::shared_ptr<const Responses> responses;  // never null
  const CompactOptional<OrderedMap<ReferenceOr<Callback>>> callbacks;
  const std::optional<bool> deprecated;
  // an empty array is present: it removes the document's security
  const CompactOptional<std::vector<std::shared_ptr<const SecurityRequirement>>> security;
  const CompactOptional<std::vector<std::shared_ptr<const Server>>> servers;
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/Callback.h"
#include "kit/models/OpenAPI3_0/ExternalDocumentation.h"
#include "kit/models/OpenAPI3_0/Parameter.h"
#include "kit/models/OpenAPI3_0/RequestBody.h"
#include "kit/models/OpenAPI3_0/Responses.h"
#include "kit/models/OpenAPI3_0/SecurityRequirement.h"
#include "kit/models/OpenAPI3_0/Server.h"

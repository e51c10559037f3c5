#pragma once
#include <optional>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct Callback;
struct Example;
struct Header;
struct Link;
struct Parameter;
struct RequestBody;
struct Response;
struct Schema;
struct SecurityScheme;

// Reusable objects, each map keyed by component name.
struct Components {
  const LocationInfo location;
  const std::optional<OrderedMap<ReferenceOr<Schema>>> schemas;
  const std::optional<OrderedMap<ReferenceOr<Response>>> responses;
  const std::optional<OrderedMap<ReferenceOr<Parameter>>> parameters;
  const std::optional<OrderedMap<ReferenceOr<Example>>> examples;
  const std::optional<OrderedMap<ReferenceOr<RequestBody>>> requestBodies;
  const std::optional<OrderedMap<ReferenceOr<Header>>> headers;
  const std::optional<OrderedMap<ReferenceOr<SecurityScheme>>> securitySchemes;
  const std::optional<OrderedMap<ReferenceOr<Link>>> links;
  const std::optional<OrderedMap<ReferenceOr<Callback>>> callbacks;
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/Callback.h"
#include "kit/models/OpenAPI3_0/Example.h"
#include "kit/models/OpenAPI3_0/Header.h"
#include "kit/models/OpenAPI3_0/Link.h"
#include "kit/models/OpenAPI3_0/Parameter.h"
#include "kit/models/OpenAPI3_0/RequestBody.h"
#include "kit/models/OpenAPI3_0/Response.h"
#include "kit/models/OpenAPI3_0/Schema.h"
#include "kit/models/OpenAPI3_0/SecurityScheme.h"

#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct Components;
struct ExternalDocumentation;
struct Info;
struct Paths;
struct SecurityRequirement;
struct Server;
struct Tag;

// The root object of a description.
struct Document {
  const LocationInfo location;
  const std::string openapi;  // the "openapi" member, the version as written
  const std::shared_ptr<const Info> info;  // never null
  const std::optional<std::vector<std::shared_ptr<const Server>>> servers;
  const std::shared_ptr<const Paths> paths;  // never null
  const std::shared_ptr<const Components> components;  // null when absent
  const std::optional<std::vector<std::shared_ptr<const SecurityRequirement>>> security;
  const std::optional<std::vector<std::shared_ptr<const Tag>>> tags;
  const std::shared_ptr<const ExternalDocumentation> externalDocs;  // null when absent
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/Components.h"
#include "kit/models/OpenAPI3_0/ExternalDocumentation.h"
#include "kit/models/OpenAPI3_0/Info.h"
#include "kit/models/OpenAPI3_0/Paths.h"
#include "kit/models/OpenAPI3_0/SecurityRequirement.h"
#include "kit/models/OpenAPI3_0/Server.h"
#include "kit/models/OpenAPI3_0/Tag.h"

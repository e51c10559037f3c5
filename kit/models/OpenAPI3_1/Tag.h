#pragma once
#include <memory>
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct ExternalDocumentation;

// A tag of operations.
struct Tag {
  const LocationInfo location;
  const std::string name;
  const std::optional<std::string> description;
  const std::shared_ptr<const ExternalDocumentation> externalDocs;  // null when absent
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/ExternalDocumentation.h"

#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct Operation;
struct Parameter;
struct Server;

// The operations available on one path.
struct PathItem {
  const LocationInfo location;
  const CompactOptional<std::string> ref;  // the "$ref" member, kept as text and never followed
  const CompactOptional<std::string> summary;
  const CompactOptional<std::string> description;
  const std::shared_ptr<const Operation> get;  // null when absent
  const std::shared_ptr<const Operation> put;  // null when absent
  const std::shared_ptr<const Operation> post;  // null when absent
  const std::shared_ptr<const Operation> delete_;  // the "delete" member; null when absent
  const std::shared_ptr<const Operation> options;  // null when absent
  const std::shared_ptr<const Operation> head;  // null when absent
  const std::shared_ptr<const Operation> patch;  // null when absent
  const std::shared_ptr<const Operation> trace;  // null when absent
  const CompactOptional<std::vector<std::shared_ptr<const Server>>> servers;
  const CompactOptional<std::vector<ReferenceOr<Parameter>>> parameters;
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/Operation.h"
#include "kit/models/OpenAPI3_0/Parameter.h"
#include "kit/models/OpenAPI3_0/Server.h"

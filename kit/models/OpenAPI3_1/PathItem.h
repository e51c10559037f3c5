#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

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

  // An operation with the upper-case name of its method.
  struct MethodOperation {
    std::string_view method;  // "GET" ... "TRACE"; static text
    std::shared_ptr<const Operation> operation;
  };
  // The operations present, in the order GET, PUT, POST, DELETE, OPTIONS, HEAD, PATCH, TRACE, whatever
  // their order in the text. `ref` is not followed; `parameters` and `servers` take no part.
  std::vector<MethodOperation> allOperations() const;
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/Operation.h"
#include "kit/models/OpenAPI3_1/Parameter.h"
#include "kit/models/OpenAPI3_1/Server.h"

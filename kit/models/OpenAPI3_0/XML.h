#pragma once
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_0 {

// How a schema is written as XML.
struct XML {
  const LocationInfo location;
  const std::optional<std::string> name;
  const std::optional<std::string> namespace_;  // the "namespace" member
  const std::optional<std::string> prefix;
  const std::optional<bool> attribute;
  const std::optional<bool> wrapped;
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

#pragma once
#include <memory>
#include <optional>
#include <string>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct Contact;
struct License;

// Metadata about the API.
struct Info {
  const LocationInfo location;
  const std::string title;
  const std::optional<std::string> summary;
  const std::optional<std::string> description;
  const std::optional<std::string> termsOfService;
  const std::shared_ptr<const Contact> contact;  // null when absent
  const std::shared_ptr<const License> license;  // null when absent
  const std::string version;
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/Contact.h"
#include "kit/models/OpenAPI3_1/License.h"

#include "kit/models/OpenAPI3_0/Responses.h"

namespace VoziZazIreModels::OpenAPI3_0 {

const ReferenceOr<Response>* Responses::operator[](std::string_view key) const { return items.find(key); }

const ReferenceOr<Response>* Responses::default_() const { return items.find("default"); }

}  // namespace VoziZazIreModels::OpenAPI3_0

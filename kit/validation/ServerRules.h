#pragma once
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// SRV-001 to SRV-004 on one server of the document's root servers array.
template <class V>
void validateServer(const typename V::Server& server, ValidationContext& context);

}  // namespace VoziZazIreValidation

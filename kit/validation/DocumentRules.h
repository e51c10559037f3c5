#pragma once
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// The info rules DOC-002, DOC-003, DOC-004, then the contact and license rules when those are present.
template <class V>
void validateInfo(const typename V::Info& info, ValidationContext& context);

// DOC-005 and DOC-006.
template <class V>
void validateContact(const typename V::Contact& contact, ValidationContext& context);

// DOC-007 and, for 3.1, V31-008; only a license with a url is checked.
template <class V>
void validateLicense(const typename V::License& license, ValidationContext& context);

}  // namespace VoziZazIreValidation

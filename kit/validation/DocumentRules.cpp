#include "kit/validation/DocumentRules.h"

#include <string>

#include "kit/validation/DocumentRulesText.h"

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

template <class V>
void validateInfo(const typename V::Info& info, ValidationContext& context) {
  if (RuleText::isBlankAfterTrimming(info.title))
    context.addError("DOC-002", "info.title must not be empty", info.location);
  if (RuleText::isBlankAfterTrimming(info.version))
    context.addError("DOC-003", "info.version must not be empty", info.location);
  if (info.termsOfService && !RuleText::passesURLTest(*info.termsOfService))
    context.addWarning("DOC-004", "info.termsOfService should be a valid URL: " + *info.termsOfService,
                       info.location);
  if (info.contact) validateContact<V>(*info.contact, context);
  if (info.license) validateLicense<V>(*info.license, context);
}

template <class V>
void validateContact(const typename V::Contact& contact, ValidationContext& context) {
  if (contact.url && !RuleText::passesURLTest(*contact.url))
    context.addWarning("DOC-005", "info.contact.url should be a valid URL: " + *contact.url, contact.location);
  if (contact.email && !RuleText::looksLikeEmail(*contact.email))
    context.addWarning("DOC-006", "info.contact.email should be a valid email: " + *contact.email,
                       contact.location);
}

template <class V>
void validateLicense(const typename V::License& license, ValidationContext& context) {
  if (!license.url) return;
  if (!RuleText::passesURLTest(*license.url))
    context.addWarning("DOC-007", "info.license.url should be a valid URL: " + *license.url, license.location);
  if constexpr (V::is31) {
    if (license.identifier)
      context.addError("V31-008", "license must have either 'identifier' or 'url', not both", license.location);
  }
}

template void validateInfo<Version30>(const Version30::Info&, ValidationContext&);
template void validateInfo<Version31>(const Version31::Info&, ValidationContext&);
template void validateContact<Version30>(const Version30::Contact&, ValidationContext&);
template void validateContact<Version31>(const Version31::Contact&, ValidationContext&);
template void validateLicense<Version30>(const Version30::License&, ValidationContext&);
template void validateLicense<Version31>(const Version31::License&, ValidationContext&);

}  // namespace VoziZazIreValidation

#include "kit/validation/ServerRules.h"

#include <algorithm>
#include <string>

#include "kit/validation/DocumentRulesText.h"

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

template <class V>
void validateServer(const typename V::Server& server, ValidationContext& context) {
  // Template variables stand for whatever they will be replaced with, so the URL is judged with a
  // plain word in their place (a number in the port's place); a relative URL needs no scheme.
  const std::string substituted = RuleText::withServerTemplatesSubstituted(server.url);
  if (!substituted.starts_with('/') && !RuleText::urlParserAccepts(substituted))
    context.addError("SRV-001", "server.url is not a valid URL or template: " + server.url, server.location);

  for (const std::string& name : RuleText::templateNames(server.url)) {
    if (!server.variables || !server.variables->contains(name))
      context.addError("SRV-002",
                       "Template variable '{" + name + "}' in server URL has no matching variable definition",
                       server.location);
  }

  if (!server.variables) return;
  for (const auto& [name, variable] : *server.variables) {
    if (!variable || !variable->enumValues) continue;
    const auto& values = *variable->enumValues;
    if (values.empty()) {
      context.addError("SRV-004", "Server variable '" + name + "' enum must not be empty", variable->location);
    } else if (std::find(values.begin(), values.end(), variable->default_) == values.end()) {
      context.addError("SRV-003",
                       "Server variable '" + name + "' default value '" + variable->default_ +
                           "' is not in enum values",
                       variable->location);
    }
  }
}

template void validateServer<Version30>(const Version30::Server&, ValidationContext&);
template void validateServer<Version31>(const Version31::Server&, ValidationContext&);

}  // namespace VoziZazIreValidation

#include "kit/validation/ParameterRules.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "kit/core/TextServices.h"
#include "kit/validation/SchemaRules.h"

namespace VoziZazIreValidation {

using VoziZazIreCore::LocationInfo;
using VoziZazIreCore::ReferenceOr;
using VoziZazIreModels::ParameterLocation;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

template <class V>
void validateParameters(const std::vector<ReferenceOr<typename V::Parameter>>& parameters,
                        const std::vector<std::string>& templateNames, ValidationContext& context) {
  std::unordered_map<std::string, LocationInfo> firstDeclarations;
  for (const auto& entry : parameters) {
    const typename V::Parameter* parameter = entry.inlineValue();
    if (parameter == nullptr) continue;
    const std::string_view where = rawValue(parameter->in);

    std::string key = parameter->name;
    key += ':';
    key += where;
    auto [first, isNew] = firstDeclarations.try_emplace(std::move(key), parameter->location);
    if (!isNew)
      context.addError("OPR-003",
                       "Duplicate parameter '" + parameter->name + "' in '" + std::string(where) + "' (first at " +
                           first->second.jsonPointer + ")",
                       parameter->location);

    if (parameter->in == ParameterLocation::path) {
      if (!parameter->required.value_or(false))
        context.addError("PRM-001", "Path parameter '" + parameter->name + "' must have required: true",
                         parameter->location);
      const bool inTemplate =
          std::any_of(templateNames.begin(), templateNames.end(), [&](const std::string& name) {
            return VoziZazIreCore::TextServices::canonicallyEqual(name, parameter->name);
          });
      if (!inTemplate)
        context.addError("PRM-002", "Path parameter '" + parameter->name + "' not found in path template",
                         parameter->location);
    }
    if (parameter->allowEmptyValue.value_or(false) && parameter->in != ParameterLocation::query)
      context.addWarning("PRM-004", "allowEmptyValue is only valid for query parameters", parameter->location);

    if (parameter->schema)
      if (const typename V::Schema* schema = parameter->schema->inlineValue()) validateSchema<V>(*schema, context);
  }
}

template void validateParameters<Version30>(const std::vector<ReferenceOr<Version30::Parameter>>&,
                                            const std::vector<std::string>&, ValidationContext&);
template void validateParameters<Version31>(const std::vector<ReferenceOr<Version31::Parameter>>&,
                                            const std::vector<std::string>&, ValidationContext&);

}  // namespace VoziZazIreValidation

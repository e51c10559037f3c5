#include "kit/validation/OperationRules.h"

#include <array>
#include <memory>
#include <utility>

#include "kit/validation/DocumentRulesText.h"
#include "kit/validation/ParameterRules.h"
#include "kit/validation/ResponseRules.h"

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

template <class V>
void validatePathItem(std::string_view pathKey, const typename V::PathItem& pathItem, ValidationContext& context) {
  using PathItem = typename V::PathItem;
  using Slot = const std::shared_ptr<const typename V::Operation> PathItem::*;
  static constexpr std::array<std::pair<std::string_view, Slot>, 8> methods{{
      {"GET", &PathItem::get},
      {"PUT", &PathItem::put},
      {"POST", &PathItem::post},
      {"DELETE", &PathItem::delete_},
      {"OPTIONS", &PathItem::options},
      {"HEAD", &PathItem::head},
      {"PATCH", &PathItem::patch},
      {"TRACE", &PathItem::trace},
  }};
  const std::vector<std::string> templateNames = RuleText::templateNames(pathKey);
  for (const auto& [method, slot] : methods) {
    if (const auto& operation = pathItem.*slot) validateOperation<V>(method, *operation, templateNames, context);
  }
}

template <class V>
void validateOperation(std::string_view method, const typename V::Operation& operation,
                       const std::vector<std::string>& templateNames, ValidationContext& context) {
  if (operation.operationId) {
    if (auto first = context.registerOperationId(*operation.operationId, operation.location))
      context.addError("OPR-001",
                       "Duplicate operationId '" + *operation.operationId + "' (first defined at " +
                           first->jsonPointer + ")",
                       operation.location);
  }
  if (operation.parameters) validateParameters<V>(*operation.parameters, templateNames, context);
  if (operation.requestBody && (method == "GET" || method == "HEAD" || method == "DELETE"))
    context.addWarning("RQB-002", std::string(method) + " operation should not have a request body",
                       operation.location);
  if (operation.responses) validateResponses<V>(*operation.responses, context);
}

template void validatePathItem<Version30>(std::string_view, const Version30::PathItem&, ValidationContext&);
template void validatePathItem<Version31>(std::string_view, const Version31::PathItem&, ValidationContext&);
template void validateOperation<Version30>(std::string_view, const Version30::Operation&,
                                           const std::vector<std::string>&, ValidationContext&);
template void validateOperation<Version31>(std::string_view, const Version31::Operation&,
                                           const std::vector<std::string>&, ValidationContext&);

}  // namespace VoziZazIreValidation

#include "kit/transform/PathReaders.h"

#include "kit/transform/ObjectReading.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::GenericNode;

template <class V>
Shared<typename V::Paths> parsePaths(const GenericNode& node, TransformContext& context) {
  (void)context;
  return Shared<typename V::Paths>(new typename V::Paths{.location = locationOf(node), .items = {}, .vendorExtensions = {}});
}

template <class V>
Shared<typename V::PathItem> parsePathItem(const GenericNode& node, TransformContext& context,
                                           std::optional<std::string_view> pathKey) {
  (void)context;
  (void)pathKey;
  return Shared<typename V::PathItem>(new typename V::PathItem{.location = locationOf(node),
                                                               .ref = {},
                                                               .summary = {},
                                                               .description = {},
                                                               .get = {},
                                                               .put = {},
                                                               .post = {},
                                                               .delete_ = {},
                                                               .options = {},
                                                               .head = {},
                                                               .patch = {},
                                                               .trace = {},
                                                               .servers = {},
                                                               .parameters = {},
                                                               .vendorExtensions = {}});
}

template <class V>
Shared<typename V::Operation> parseOperation(const GenericNode& node, TransformContext& context,
                                             const PathTemplateNames& pathTemplateNames, std::string_view method) {
  (void)pathTemplateNames;
  (void)method;
  const GenericNode* responses = node["responses"];
  if (!responses) throwMissingField("responses", "operation", node);
  return Shared<typename V::Operation>(new typename V::Operation{.location = locationOf(node),
                                                                 .tags = {},
                                                                 .summary = {},
                                                                 .description = {},
                                                                 .externalDocs = {},
                                                                 .operationId = {},
                                                                 .parameters = {},
                                                                 .requestBody = {},
                                                                 .responses = parseResponses<V>(*responses, context),
                                                                 .callbacks = {},
                                                                 .deprecated = {},
                                                                 .security = {},
                                                                 .servers = {},
                                                                 .vendorExtensions = {}});
}

template Shared<Version30::Paths> parsePaths<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Paths> parsePaths<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::PathItem> parsePathItem<Version30>(const GenericNode&, TransformContext&,
                                                              std::optional<std::string_view>);
template Shared<Version31::PathItem> parsePathItem<Version31>(const GenericNode&, TransformContext&,
                                                              std::optional<std::string_view>);
template Shared<Version30::Operation> parseOperation<Version30>(const GenericNode&, TransformContext&,
                                                                const PathTemplateNames&, std::string_view);
template Shared<Version31::Operation> parseOperation<Version31>(const GenericNode&, TransformContext&,
                                                                const PathTemplateNames&, std::string_view);

}  // namespace VoziZazIreTransform

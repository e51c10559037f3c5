#include "kit/core/TransformError.h"
#include "kit/transform/ContentReaders.h"
#include "kit/transform/ObjectReading.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::GenericNode;
using VoziZazIreModels::ParameterLocation;

template <class V>
Shared<typename V::Parameter> parseParameter(const GenericNode& node, TransformContext& context,
                                             const PathTemplateNames& pathTemplateNames) {
  (void)context;
  (void)pathTemplateNames;
  std::string name = requiredString(node, "name", "parameter");
  std::optional<ParameterLocation> in;
  if (const GenericNode* member = node["in"])
    if (auto text = member->stringValue()) in = VoziZazIreCore::fromRawValue<ParameterLocation>(*text);
  if (!in)
    throw VoziZazIreCore::TransformError("Missing or invalid 'in' field in parameter", std::string(node.jsonPointer()),
                                         node.range());
  return Shared<typename V::Parameter>(new typename V::Parameter{.location = locationOf(node),
                                                                 .name = std::move(name),
                                                                 .in = *in,
                                                                 .description = {},
                                                                 .required = {},
                                                                 .deprecated = {},
                                                                 .allowEmptyValue = {},
                                                                 .style = {},
                                                                 .explode = {},
                                                                 .allowReserved = {},
                                                                 .schema = {},
                                                                 .example = {},
                                                                 .examples = {},
                                                                 .content = {},
                                                                 .vendorExtensions = {}});
}

template <class V>
Shared<typename V::Header> parseHeader(const GenericNode& node, TransformContext& context) {
  (void)context;
  if constexpr (V::is31) {
    return Shared<typename V::Header>(new typename V::Header{.location = locationOf(node),
                                                             .description = {},
                                                             .required = {},
                                                             .deprecated = {},
                                                             .style = {},
                                                             .explode = {},
                                                             .allowReserved = {},
                                                             .schema = {},
                                                             .example = {},
                                                             .examples = {},
                                                             .content = {},
                                                             .vendorExtensions = {}});
  } else {
    return Shared<typename V::Header>(new typename V::Header{.location = locationOf(node),
                                                             .description = {},
                                                             .required = {},
                                                             .deprecated = {},
                                                             .allowEmptyValue = {},
                                                             .style = {},
                                                             .explode = {},
                                                             .allowReserved = {},
                                                             .schema = {},
                                                             .example = {},
                                                             .examples = {},
                                                             .content = {},
                                                             .vendorExtensions = {}});
  }
}

template Shared<Version30::Parameter> parseParameter<Version30>(const GenericNode&, TransformContext&,
                                                                const PathTemplateNames&);
template Shared<Version31::Parameter> parseParameter<Version31>(const GenericNode&, TransformContext&,
                                                                const PathTemplateNames&);
template Shared<Version30::Header> parseHeader<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Header> parseHeader<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform

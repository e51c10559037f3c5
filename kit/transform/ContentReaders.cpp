#include "kit/transform/ContentReaders.h"

#include "kit/transform/ObjectReading.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::GenericNode;

template <class V>
Shared<typename V::MediaType> parseMediaType(const GenericNode& node, TransformContext& context) {
  (void)context;
  return Shared<typename V::MediaType>(new typename V::MediaType{.location = locationOf(node),
                                                                 .schema = {},
                                                                 .example = {},
                                                                 .examples = {},
                                                                 .encoding = {},
                                                                 .vendorExtensions = {}});
}

template <class V>
Shared<typename V::Encoding> parseEncoding(const GenericNode& node, TransformContext& context) {
  (void)context;
  return Shared<typename V::Encoding>(new typename V::Encoding{.location = locationOf(node),
                                                               .contentType = {},
                                                               .headers = {},
                                                               .style = {},
                                                               .explode = {},
                                                               .allowReserved = {},
                                                               .vendorExtensions = {}});
}

template <class V>
Shared<typename V::Example> parseExample(const GenericNode& node, TransformContext& context) {
  (void)context;
  return Shared<typename V::Example>(new typename V::Example{.location = locationOf(node),
                                                             .summary = {},
                                                             .description = {},
                                                             .value = {},
                                                             .externalValue = {},
                                                             .vendorExtensions = {}});
}

template <class V>
Shared<typename V::Link> parseLink(const GenericNode& node, TransformContext& context) {
  (void)context;
  return Shared<typename V::Link>(new typename V::Link{.location = locationOf(node),
                                                       .operationRef = {},
                                                       .operationId = {},
                                                       .parameters = {},
                                                       .requestBody = {},
                                                       .description = {},
                                                       .server = {},
                                                       .vendorExtensions = {}});
}

template Shared<Version30::MediaType> parseMediaType<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::MediaType> parseMediaType<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Encoding> parseEncoding<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Encoding> parseEncoding<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Example> parseExample<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Example> parseExample<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Link> parseLink<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Link> parseLink<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform

#include "kit/transform/ObjectReading.h"
#include "kit/transform/PathReaders.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::GenericNode;

template <class V>
Shared<typename V::Responses> parseResponses(const GenericNode& node, TransformContext& context) {
  (void)context;
  return Shared<typename V::Responses>(
      new typename V::Responses{.location = locationOf(node), .items = {}, .vendorExtensions = {}});
}

template <class V>
Shared<typename V::Response> parseResponse(const GenericNode& node, TransformContext& context) {
  (void)context;
  std::string description = requiredString(node, "description", "response");
  return Shared<typename V::Response>(new typename V::Response{.location = locationOf(node),
                                                               .description = std::move(description),
                                                               .headers = {},
                                                               .content = {},
                                                               .links = {},
                                                               .vendorExtensions = {}});
}

template <class V>
Shared<typename V::RequestBody> parseRequestBody(const GenericNode& node, TransformContext& context) {
  (void)context;
  const GenericNode* content = node["content"];
  if (!content || !content->objectValue()) throwMissingField("content", "requestBody", node);
  return Shared<typename V::RequestBody>(new typename V::RequestBody{
      .location = locationOf(node), .description = {}, .content = {}, .required = {}, .vendorExtensions = {}});
}

template <class V>
Shared<typename V::Callback> parseCallback(const GenericNode& node, TransformContext& context) {
  (void)context;
  if constexpr (V::is31) {
    return Shared<typename V::Callback>(
        new typename V::Callback{.location = locationOf(node), .expression = {}, .vendorExtensions = {}});
  } else {
    return Shared<typename V::Callback>(
        new typename V::Callback{.location = locationOf(node), .expressions = {}, .vendorExtensions = {}});
  }
}

template Shared<Version30::Responses> parseResponses<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Responses> parseResponses<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Response> parseResponse<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Response> parseResponse<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::RequestBody> parseRequestBody<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::RequestBody> parseRequestBody<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Callback> parseCallback<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Callback> parseCallback<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform

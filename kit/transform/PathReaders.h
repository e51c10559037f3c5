#pragma once
#include <optional>
#include <string_view>

#include "kit/core/GenericNode.h"
#include "kit/transform/ModelVersion.h"
#include "kit/transform/PathTemplateNames.h"
#include "kit/transform/TransformContext.h"

// Readers of the paths section and of what hangs from operations: paths, path items, operations,
// responses, request bodies and callbacks. Each is one template over the version family (Version30,
// Version31), instantiated for both in PathReaders.cpp / ResponseReaders.cpp.
namespace VoziZazIreTransform {

// Every member not beginning with "x-" is a path; a key without a leading "/" gives PTH-001.
template <class V>
Shared<typename V::Paths> parsePaths(const VoziZazIreCore::GenericNode& node, TransformContext& context);

// `pathKey` is the key under "paths"; absent for webhooks, component path items and callback entries.
template <class V>
Shared<typename V::PathItem> parsePathItem(const VoziZazIreCore::GenericNode& node, TransformContext& context,
                                           std::optional<std::string_view> pathKey = std::nullopt);

// Throws "Missing required field 'responses' in operation". In 3.1 `pathTemplateNames` go to the
// parameters and `method` ("GET" ... "TRACE") decides the request-body warning; 3.0 ignores both.
template <class V>
Shared<typename V::Operation> parseOperation(const VoziZazIreCore::GenericNode& node, TransformContext& context,
                                             const PathTemplateNames& pathTemplateNames = PathTemplateNames(),
                                             std::string_view method = std::string_view());

// Every member not beginning with "x-" is a response; in 3.1 the keys are checked as status codes.
template <class V>
Shared<typename V::Responses> parseResponses(const VoziZazIreCore::GenericNode& node, TransformContext& context);

// Throws "Missing required field 'description' in response".
template <class V>
Shared<typename V::Response> parseResponse(const VoziZazIreCore::GenericNode& node, TransformContext& context);

// Throws "Missing required field 'content' in requestBody".
template <class V>
Shared<typename V::RequestBody> parseRequestBody(const VoziZazIreCore::GenericNode& node,
                                                 TransformContext& context);

// Every member not beginning with "x-" is a path item read without a path key.
template <class V>
Shared<typename V::Callback> parseCallback(const VoziZazIreCore::GenericNode& node, TransformContext& context);

}  // namespace VoziZazIreTransform

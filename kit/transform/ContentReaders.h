#pragma once
#include "kit/core/GenericNode.h"
#include "kit/transform/ModelVersion.h"
#include "kit/transform/PathTemplateNames.h"
#include "kit/transform/TransformContext.h"

// Readers of parameters, headers and content: parameters, headers, media types, encodings, examples
// and links. Each is one template over the version family (Version30, Version31), instantiated for both.
// Callers resolve "$ref" entries themselves (parseReferenceOr) and hand only inline objects here.
namespace VoziZazIreTransform {

// Throws "Missing required field 'name' in parameter" or "Missing or invalid 'in' field in parameter".
// In 3.1 a path parameter whose name is not among non-empty `pathTemplateNames` gives PRM-002; the
// components section passes the empty set, and 3.0 ignores the argument.
template <class V>
Shared<typename V::Parameter> parseParameter(const VoziZazIreCore::GenericNode& node, TransformContext& context,
                                             const PathTemplateNames& pathTemplateNames = PathTemplateNames());

template <class V>
Shared<typename V::Header> parseHeader(const VoziZazIreCore::GenericNode& node, TransformContext& context);

template <class V>
Shared<typename V::MediaType> parseMediaType(const VoziZazIreCore::GenericNode& node, TransformContext& context);

template <class V>
Shared<typename V::Encoding> parseEncoding(const VoziZazIreCore::GenericNode& node, TransformContext& context);

template <class V>
Shared<typename V::Example> parseExample(const VoziZazIreCore::GenericNode& node, TransformContext& context);

template <class V>
Shared<typename V::Link> parseLink(const VoziZazIreCore::GenericNode& node, TransformContext& context);

}  // namespace VoziZazIreTransform

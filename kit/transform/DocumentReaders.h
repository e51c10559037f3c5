#pragma once
// Readers of the top of a description: the document itself, its info, contact and licence, tags,
// external documentation, servers and their variables, and security requirements. One template per
// object over the version family (Version30 / Version31), instantiated for both in DocumentReaders.cpp.

#include <string_view>

#include "kit/core/GenericNode.h"
#include "kit/transform/ModelVersion.h"
#include "kit/transform/TransformContext.h"

namespace VoziZazIreTransform {

// The root object. Throws "Document root must be an object" for a root of another kind, and
// "Missing required field '<field>'" for "openapi", "info" and (3.0) "paths".
template <class V>
Shared<typename V::Document> parseDocument(const VoziZazIreCore::GenericNode& root, TransformContext& context);

template <class V>
Shared<typename V::Info> parseInfo(const VoziZazIreCore::GenericNode& node, TransformContext& context);

// Never throws: nothing is required.
template <class V>
Shared<typename V::Contact> parseContact(const VoziZazIreCore::GenericNode& node, TransformContext& context);

template <class V>
Shared<typename V::License> parseLicense(const VoziZazIreCore::GenericNode& node, TransformContext& context);

template <class V>
Shared<typename V::Tag> parseTag(const VoziZazIreCore::GenericNode& node, TransformContext& context);

template <class V>
Shared<typename V::ExternalDocumentation> parseExternalDocumentation(const VoziZazIreCore::GenericNode& node,
                                                                     TransformContext& context);
// The same reader under its short name.
template <class V>
Shared<typename V::ExternalDocumentation> parseExternalDocs(const VoziZazIreCore::GenericNode& node,
                                                            TransformContext& context) {
  return parseExternalDocumentation<V>(node, context);
}

template <class V>
Shared<typename V::Server> parseServer(const VoziZazIreCore::GenericNode& node, TransformContext& context);

// `variableName` is the variable's key in its server's "variables"; the 3.1 findings name it.
template <class V>
Shared<typename V::ServerVariable> parseServerVariable(const VoziZazIreCore::GenericNode& node,
                                                       TransformContext& context, std::string_view variableName);

// Never throws. The 3.1 reader reports scheme names that the components do not declare (OPR-004, level
// high), using the names registered by registerComponentNames; the 3.0 reader records nothing.
template <class V>
Shared<typename V::SecurityRequirement> parseSecurityRequirement(const VoziZazIreCore::GenericNode& node,
                                                                 TransformContext& context);

// 3.1: fills context.componentNames with the member names of each component section of `components`
// (all sections but "examples"). Never throws, records nothing.
void registerComponentNames(const VoziZazIreCore::GenericNode& components, TransformContext& context);

}  // namespace VoziZazIreTransform

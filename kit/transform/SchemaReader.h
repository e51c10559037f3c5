#pragma once
// Readers of the Schema object and of the two small objects only a schema holds (Discriminator, XML).

#include "kit/core/GenericNode.h"
#include "kit/transform/ModelVersion.h"
#include "kit/transform/TransformContext.h"

namespace VoziZazIreTransform {

// A schema and every schema nested in it. Nested "$ref" objects become references and are not followed.
// Passes on errors of the discriminator, the external documentation and nested schemas.
template <class V>
Shared<typename V::Schema> parseSchema(const VoziZazIreCore::GenericNode& node, TransformContext& context);

// Throws "Missing required field 'propertyName' in discriminator" when "propertyName" is no string.
template <class V>
Shared<typename V::Discriminator> parseDiscriminator(const VoziZazIreCore::GenericNode& node,
                                                     TransformContext& context);

// The XML object exists in OpenAPI 3.0 only. Never throws.
Shared<VoziZazIreModels::OpenAPI3_0::XML> parseXML(const VoziZazIreCore::GenericNode& node, TransformContext& context);

}  // namespace VoziZazIreTransform

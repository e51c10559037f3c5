#pragma once
#include "kit/models/OpenAPI3_0/Document.h"
#include "kit/transform/OpenAPITransformer.h"

namespace VoziZazIreTransform {

// Reads an OpenAPI 3.0 description.
class OpenAPI3_0Transformer : public OpenAPITransformer<VoziZazIreModels::OpenAPI3_0::Document> {
 public:
  OpenAPI3_0Transformer() = default;
  TransformResult<VoziZazIreModels::OpenAPI3_0::Document> transform(
      const VoziZazIreCore::GenericNode& root, VoziZazIreCore::ValidationLevel validationLevel) const override;
};

}  // namespace VoziZazIreTransform

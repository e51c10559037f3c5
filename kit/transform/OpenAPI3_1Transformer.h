#pragma once
#include "kit/models/OpenAPI3_1/Document.h"
#include "kit/transform/OpenAPITransformer.h"

namespace VoziZazIreTransform {

// Reads an OpenAPI 3.1 description.
class OpenAPI3_1Transformer : public OpenAPITransformer<VoziZazIreModels::OpenAPI3_1::Document> {
 public:
  OpenAPI3_1Transformer() = default;
  TransformResult<VoziZazIreModels::OpenAPI3_1::Document> transform(
      const VoziZazIreCore::GenericNode& root, VoziZazIreCore::ValidationLevel validationLevel) const override;
};

}  // namespace VoziZazIreTransform

#include "kit/transform/OpenAPI3_1Transformer.h"

#include "kit/transform/DocumentReaders.h"
#include "kit/transform/PointerTextPool.h"

namespace VoziZazIreTransform {

TransformResult<VoziZazIreModels::OpenAPI3_1::Document> OpenAPI3_1Transformer::transform(
    const VoziZazIreCore::GenericNode& root, VoziZazIreCore::ValidationLevel validationLevel) const {
  TransformContext context(validationLevel);
  PointerTextPool::Scope locationTexts(&root);
  auto document = parseDocument<Version31>(root, context);
  return {.model = std::move(document), .diagnostics = std::move(context.diagnostics)};
}

}  // namespace VoziZazIreTransform

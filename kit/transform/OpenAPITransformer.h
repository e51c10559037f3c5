#pragma once
#include "kit/core/GenericNode.h"
#include "kit/core/ValidationLevel.h"
#include "kit/transform/TransformResult.h"

namespace VoziZazIreTransform {

// Reads a parsed description into the document model of one version. Each call works on its own
// TransformContext; a reader that cannot go on throws TransformError, which ends the call.
template <class Output>
class OpenAPITransformer {
 public:
  using OutputType = Output;
  virtual ~OpenAPITransformer() = default;
  virtual TransformResult<Output> transform(const VoziZazIreCore::GenericNode& root,
                                            VoziZazIreCore::ValidationLevel validationLevel) const = 0;
};

}  // namespace VoziZazIreTransform

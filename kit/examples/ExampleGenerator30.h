#pragma once
#include "kit/examples/ExampleModels.h"
#include "kit/examples/SchemaWalker.h"

namespace VoziZazIreExampleGeneration {

extern template class SchemaWalker<ExampleModel30>;

// The schema example walker of OpenAPI 3.0 documents (see SchemaWalker).
class ExampleGenerator30 : public SchemaWalker<ExampleModel30> {
 public:
  using SchemaWalker::SchemaWalker;
};

}  // namespace VoziZazIreExampleGeneration

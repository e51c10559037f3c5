#pragma once
#include "kit/examples/ExampleModels.h"
#include "kit/examples/SchemaWalker.h"

namespace VoziZazIreExampleGeneration {

extern template class SchemaWalker<ExampleModel31>;

// The schema example walker of OpenAPI 3.1 documents (see SchemaWalker).
class ExampleGenerator31 : public SchemaWalker<ExampleModel31> {
 public:
  using SchemaWalker::SchemaWalker;
};

}  // namespace VoziZazIreExampleGeneration

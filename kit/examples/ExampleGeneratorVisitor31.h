#pragma once
#include "kit/examples/ExampleGenerator31.h"
#include "kit/examples/ExampleModels.h"
#include "kit/examples/OperationVisitor.h"

namespace VoziZazIreExampleGeneration {

extern template class OperationVisitor<ExampleModel31, ExampleGenerator31>;

// The operation visitor of OpenAPI 3.1 documents (see OperationVisitor).
class ExampleGeneratorVisitor31 : public OperationVisitor<ExampleModel31, ExampleGenerator31> {
 public:
  using OperationVisitor::OperationVisitor;
};

}  // namespace VoziZazIreExampleGeneration

#pragma once
#include "kit/examples/ExampleGenerator30.h"
#include "kit/examples/ExampleModels.h"
#include "kit/examples/OperationVisitor.h"

namespace VoziZazIreExampleGeneration {

extern template class OperationVisitor<ExampleModel30, ExampleGenerator30>;

// The operation visitor of OpenAPI 3.0 documents (see OperationVisitor).
class ExampleGeneratorVisitor30 : public OperationVisitor<ExampleModel30, ExampleGenerator30> {
 public:
  using OperationVisitor::OperationVisitor;
};

}  // namespace VoziZazIreExampleGeneration

#include "kit/examples/ExampleGeneratorVisitor30.h"

namespace VoziZazIreExampleGeneration {

template class OperationVisitor<ExampleModel30, ExampleGenerator30>;

}  // namespace VoziZazIreExampleGeneration

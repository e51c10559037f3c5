#include "kit/examples/ExampleGeneratorVisitor31.h"

namespace VoziZazIreExampleGeneration {

template class OperationVisitor<ExampleModel31, ExampleGenerator31>;

}  // namespace VoziZazIreExampleGeneration

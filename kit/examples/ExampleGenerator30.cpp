#include "kit/examples/ExampleGenerator30.h"

namespace VoziZazIreExampleGeneration {

template class SchemaWalker<ExampleModel30>;

}  // namespace VoziZazIreExampleGeneration

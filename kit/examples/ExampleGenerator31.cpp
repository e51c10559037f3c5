#include "kit/examples/ExampleGenerator31.h"

namespace VoziZazIreExampleGeneration {

template class SchemaWalker<ExampleModel31>;

}  // namespace VoziZazIreExampleGeneration

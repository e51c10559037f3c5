#include "kit/examples/ExampleGenerationOptions.h"

namespace VoziZazIreExampleGeneration {

const ExampleGenerationOptions& ExampleGenerationOptions::default_() {
  static const ExampleGenerationOptions options(false, true, false, 3, CycleHandling::useNeutralValue,
                                                ResponseSelection::prefer200, ContentTypeSelection::firstDefined);
  return options;
}

}  // namespace VoziZazIreExampleGeneration

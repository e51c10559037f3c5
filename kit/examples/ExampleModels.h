#pragma once
// The model types of each OpenAPI version as the example generator sees them: the walkers and visitors
// are written once over these.

#include "kit/models/OpenAPI3_0/Components.h"
#include "kit/models/OpenAPI3_0/Example.h"
#include "kit/models/OpenAPI3_0/MediaType.h"
#include "kit/models/OpenAPI3_0/Operation.h"
#include "kit/models/OpenAPI3_0/Parameter.h"
#include "kit/models/OpenAPI3_0/RequestBody.h"
#include "kit/models/OpenAPI3_0/Response.h"
#include "kit/models/OpenAPI3_0/Responses.h"
#include "kit/models/OpenAPI3_0/Schema.h"
#include "kit/models/OpenAPI3_1/Components.h"
#include "kit/models/OpenAPI3_1/Example.h"
#include "kit/models/OpenAPI3_1/MediaType.h"
#include "kit/models/OpenAPI3_1/Operation.h"
#include "kit/models/OpenAPI3_1/Parameter.h"
#include "kit/models/OpenAPI3_1/RequestBody.h"
#include "kit/models/OpenAPI3_1/Response.h"
#include "kit/models/OpenAPI3_1/Responses.h"
#include "kit/models/OpenAPI3_1/Schema.h"

namespace VoziZazIreExampleGeneration {

struct ExampleModel30 {
  static constexpr bool is31 = false;
  using Schema = VoziZazIreModels::OpenAPI3_0::Schema;
  using Components = VoziZazIreModels::OpenAPI3_0::Components;
  using Parameter = VoziZazIreModels::OpenAPI3_0::Parameter;
  using RequestBody = VoziZazIreModels::OpenAPI3_0::RequestBody;
  using Response = VoziZazIreModels::OpenAPI3_0::Response;
  using Responses = VoziZazIreModels::OpenAPI3_0::Responses;
  using MediaType = VoziZazIreModels::OpenAPI3_0::MediaType;
  using Operation = VoziZazIreModels::OpenAPI3_0::Operation;
  using Example = VoziZazIreModels::OpenAPI3_0::Example;
  using Discriminator = VoziZazIreModels::OpenAPI3_0::Discriminator;
};

struct ExampleModel31 {
  static constexpr bool is31 = true;
  using Schema = VoziZazIreModels::OpenAPI3_1::Schema;
  using Components = VoziZazIreModels::OpenAPI3_1::Components;
  using Parameter = VoziZazIreModels::OpenAPI3_1::Parameter;
  using RequestBody = VoziZazIreModels::OpenAPI3_1::RequestBody;
  using Response = VoziZazIreModels::OpenAPI3_1::Response;
  using Responses = VoziZazIreModels::OpenAPI3_1::Responses;
  using MediaType = VoziZazIreModels::OpenAPI3_1::MediaType;
  using Operation = VoziZazIreModels::OpenAPI3_1::Operation;
  using Example = VoziZazIreModels::OpenAPI3_1::Example;
  using Discriminator = VoziZazIreModels::OpenAPI3_1::Discriminator;
};

}  // namespace VoziZazIreExampleGeneration

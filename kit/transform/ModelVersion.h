#pragma once
// The two model versions as type families, so that readers shared by both versions are written once as
// templates over Version30 / Version31 and differ only where the versions differ (`if constexpr (V::is31)`).

#include "kit/models/OpenAPI3_0/Callback.h"
#include "kit/models/OpenAPI3_0/Components.h"
#include "kit/models/OpenAPI3_0/Contact.h"
#include "kit/models/OpenAPI3_0/Discriminator.h"
#include "kit/models/OpenAPI3_0/Document.h"
#include "kit/models/OpenAPI3_0/Encoding.h"
#include "kit/models/OpenAPI3_0/Example.h"
#include "kit/models/OpenAPI3_0/ExternalDocumentation.h"
#include "kit/models/OpenAPI3_0/Header.h"
#include "kit/models/OpenAPI3_0/Info.h"
#include "kit/models/OpenAPI3_0/License.h"
#include "kit/models/OpenAPI3_0/Link.h"
#include "kit/models/OpenAPI3_0/MediaType.h"
#include "kit/models/OpenAPI3_0/OAuthFlow.h"
#include "kit/models/OpenAPI3_0/OAuthFlows.h"
#include "kit/models/OpenAPI3_0/Operation.h"
#include "kit/models/OpenAPI3_0/Parameter.h"
#include "kit/models/OpenAPI3_0/PathItem.h"
#include "kit/models/OpenAPI3_0/Paths.h"
#include "kit/models/OpenAPI3_0/RequestBody.h"
#include "kit/models/OpenAPI3_0/Response.h"
#include "kit/models/OpenAPI3_0/Responses.h"
#include "kit/models/OpenAPI3_0/Schema.h"
#include "kit/models/OpenAPI3_0/SecurityRequirement.h"
#include "kit/models/OpenAPI3_0/SecurityScheme.h"
#include "kit/models/OpenAPI3_0/Server.h"
#include "kit/models/OpenAPI3_0/ServerVariable.h"
#include "kit/models/OpenAPI3_0/Tag.h"
#include "kit/models/OpenAPI3_0/XML.h"
#include "kit/models/OpenAPI3_1/Callback.h"
#include "kit/models/OpenAPI3_1/Components.h"
#include "kit/models/OpenAPI3_1/Contact.h"
#include "kit/models/OpenAPI3_1/Discriminator.h"
#include "kit/models/OpenAPI3_1/Document.h"
#include "kit/models/OpenAPI3_1/Encoding.h"
#include "kit/models/OpenAPI3_1/Example.h"
#include "kit/models/OpenAPI3_1/ExternalDocumentation.h"
#include "kit/models/OpenAPI3_1/Header.h"
#include "kit/models/OpenAPI3_1/Info.h"
#include "kit/models/OpenAPI3_1/License.h"
#include "kit/models/OpenAPI3_1/Link.h"
#include "kit/models/OpenAPI3_1/MediaType.h"
#include "kit/models/OpenAPI3_1/OAuthFlow.h"
#include "kit/models/OpenAPI3_1/OAuthFlows.h"
#include "kit/models/OpenAPI3_1/Operation.h"
#include "kit/models/OpenAPI3_1/Parameter.h"
#include "kit/models/OpenAPI3_1/PathItem.h"
#include "kit/models/OpenAPI3_1/Paths.h"
#include "kit/models/OpenAPI3_1/RequestBody.h"
#include "kit/models/OpenAPI3_1/Response.h"
#include "kit/models/OpenAPI3_1/Responses.h"
#include "kit/models/OpenAPI3_1/Schema.h"
#include "kit/models/OpenAPI3_1/SecurityRequirement.h"
#include "kit/models/OpenAPI3_1/SecurityScheme.h"
#include "kit/models/OpenAPI3_1/Server.h"
#include "kit/models/OpenAPI3_1/ServerVariable.h"
#include "kit/models/OpenAPI3_1/Tag.h"

#include "kit/transform/OpenAPIVersion.h"

namespace VoziZazIreTransform {

struct Version30 {
  static constexpr bool is31 = false;
  static constexpr OpenAPIVersion version = OpenAPIVersion::v3_0;
  using Callback = VoziZazIreModels::OpenAPI3_0::Callback;
  using Components = VoziZazIreModels::OpenAPI3_0::Components;
  using Contact = VoziZazIreModels::OpenAPI3_0::Contact;
  using Discriminator = VoziZazIreModels::OpenAPI3_0::Discriminator;
  using Document = VoziZazIreModels::OpenAPI3_0::Document;
  using Encoding = VoziZazIreModels::OpenAPI3_0::Encoding;
  using Example = VoziZazIreModels::OpenAPI3_0::Example;
  using ExternalDocumentation = VoziZazIreModels::OpenAPI3_0::ExternalDocumentation;
  using Header = VoziZazIreModels::OpenAPI3_0::Header;
  using Info = VoziZazIreModels::OpenAPI3_0::Info;
  using License = VoziZazIreModels::OpenAPI3_0::License;
  using Link = VoziZazIreModels::OpenAPI3_0::Link;
  using MediaType = VoziZazIreModels::OpenAPI3_0::MediaType;
  using OAuthFlow = VoziZazIreModels::OpenAPI3_0::OAuthFlow;
  using OAuthFlows = VoziZazIreModels::OpenAPI3_0::OAuthFlows;
  using Operation = VoziZazIreModels::OpenAPI3_0::Operation;
  using Parameter = VoziZazIreModels::OpenAPI3_0::Parameter;
  using PathItem = VoziZazIreModels::OpenAPI3_0::PathItem;
  using Paths = VoziZazIreModels::OpenAPI3_0::Paths;
  using RequestBody = VoziZazIreModels::OpenAPI3_0::RequestBody;
  using Response = VoziZazIreModels::OpenAPI3_0::Response;
  using Responses = VoziZazIreModels::OpenAPI3_0::Responses;
  using Schema = VoziZazIreModels::OpenAPI3_0::Schema;
  using SecurityRequirement = VoziZazIreModels::OpenAPI3_0::SecurityRequirement;
  using SecurityScheme = VoziZazIreModels::OpenAPI3_0::SecurityScheme;
  using Server = VoziZazIreModels::OpenAPI3_0::Server;
  using ServerVariable = VoziZazIreModels::OpenAPI3_0::ServerVariable;
  using Tag = VoziZazIreModels::OpenAPI3_0::Tag;
  using XML = VoziZazIreModels::OpenAPI3_0::XML;
};

struct Version31 {
  static constexpr bool is31 = true;
  static constexpr OpenAPIVersion version = OpenAPIVersion::v3_1;
  using Callback = VoziZazIreModels::OpenAPI3_1::Callback;
  using Components = VoziZazIreModels::OpenAPI3_1::Components;
  using Contact = VoziZazIreModels::OpenAPI3_1::Contact;
  using Discriminator = VoziZazIreModels::OpenAPI3_1::Discriminator;
  using Document = VoziZazIreModels::OpenAPI3_1::Document;
  using Encoding = VoziZazIreModels::OpenAPI3_1::Encoding;
  using Example = VoziZazIreModels::OpenAPI3_1::Example;
  using ExternalDocumentation = VoziZazIreModels::OpenAPI3_1::ExternalDocumentation;
  using Header = VoziZazIreModels::OpenAPI3_1::Header;
  using Info = VoziZazIreModels::OpenAPI3_1::Info;
  using License = VoziZazIreModels::OpenAPI3_1::License;
  using Link = VoziZazIreModels::OpenAPI3_1::Link;
  using MediaType = VoziZazIreModels::OpenAPI3_1::MediaType;
  using OAuthFlow = VoziZazIreModels::OpenAPI3_1::OAuthFlow;
  using OAuthFlows = VoziZazIreModels::OpenAPI3_1::OAuthFlows;
  using Operation = VoziZazIreModels::OpenAPI3_1::Operation;
  using Parameter = VoziZazIreModels::OpenAPI3_1::Parameter;
  using PathItem = VoziZazIreModels::OpenAPI3_1::PathItem;
  using Paths = VoziZazIreModels::OpenAPI3_1::Paths;
  using RequestBody = VoziZazIreModels::OpenAPI3_1::RequestBody;
  using Response = VoziZazIreModels::OpenAPI3_1::Response;
  using Responses = VoziZazIreModels::OpenAPI3_1::Responses;
  using Schema = VoziZazIreModels::OpenAPI3_1::Schema;
  using SecurityRequirement = VoziZazIreModels::OpenAPI3_1::SecurityRequirement;
  using SecurityScheme = VoziZazIreModels::OpenAPI3_1::SecurityScheme;
  using Server = VoziZazIreModels::OpenAPI3_1::Server;
  using ServerVariable = VoziZazIreModels::OpenAPI3_1::ServerVariable;
  using Tag = VoziZazIreModels::OpenAPI3_1::Tag;
};

// Shorthand for a reader's result.
template <class T>
using Shared = std::shared_ptr<const T>;

// A model object made by `make` (which returns it by value, built with designated initialisers) right
// inside its shared block: one allocation instead of two, and no copy of its const fields.
template <class T, class Make>
Shared<T> makeShared(Make&& make) {
  struct Block {
    T value;
    explicit Block(Make& m) : value(m()) {}
  };
  auto block = std::make_shared<const Block>(make);
  return Shared<T>(block, &block->value);
}

}  // namespace VoziZazIreTransform

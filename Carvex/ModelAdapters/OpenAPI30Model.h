#pragma once

#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "kit/core/AnyValue.h"
#include "kit/models/OpenAPI3_0/Document.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Carvex {

// The OpenAPI 3.0 model classes the adapters present, and what the 3.0 adapters do differently.
struct OpenAPI30Model {
    using Document = VoziZazIreModels::OpenAPI3_0::Document;
    using PathItem = VoziZazIreModels::OpenAPI3_0::PathItem;
    using Operation = VoziZazIreModels::OpenAPI3_0::Operation;
    using Parameter = VoziZazIreModels::OpenAPI3_0::Parameter;
    using RequestBody = VoziZazIreModels::OpenAPI3_0::RequestBody;
    using Responses = VoziZazIreModels::OpenAPI3_0::Responses;
    using Response = VoziZazIreModels::OpenAPI3_0::Response;
    using MediaType = VoziZazIreModels::OpenAPI3_0::MediaType;
    using Schema = VoziZazIreModels::OpenAPI3_0::Schema;
    using Header = VoziZazIreModels::OpenAPI3_0::Header;
    using Link = VoziZazIreModels::OpenAPI3_0::Link;
    using Server = VoziZazIreModels::OpenAPI3_0::Server;
    using SecurityRequirement = VoziZazIreModels::OpenAPI3_0::SecurityRequirement;
    using Example = VoziZazIreModels::OpenAPI3_0::Example;
    using Components = VoziZazIreModels::OpenAPI3_0::Components;

    // The operations present, in the order get, post, put, delete, patch, head, options, trace.
    static std::vector<std::pair<HTTPMethod, std::shared_ptr<const Operation>>> operations(const PathItem& pathItem);
    // "integer | null", "array[Pet]", "array[string | null]", "oneOf", "any".
    static std::string typeDescription(const Schema& schema);
    // The `nullable` flag.
    static bool isNullable(const Schema& schema);
    static std::optional<VoziZazIreCore::AnyValue> exampleValue(const Schema& schema);
    // Always absent: a 3.0 schema has no examples array.
    static std::optional<std::vector<VoziZazIreCore::AnyValue>> exampleValues(const Schema& schema);
};

} // namespace Carvex

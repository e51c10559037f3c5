#pragma once

#include "Carvex/ModelAdapters/HTTPMethod.h"
#include "kit/core/AnyValue.h"
#include "kit/models/OpenAPI3_1/Document.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Carvex {

// The OpenAPI 3.1 model classes the adapters present, and what the 3.1 adapters do differently.
struct OpenAPI31Model {
    using Document = VoziZazIreModels::OpenAPI3_1::Document;
    using PathItem = VoziZazIreModels::OpenAPI3_1::PathItem;
    using Operation = VoziZazIreModels::OpenAPI3_1::Operation;
    using Parameter = VoziZazIreModels::OpenAPI3_1::Parameter;
    using RequestBody = VoziZazIreModels::OpenAPI3_1::RequestBody;
    using Responses = VoziZazIreModels::OpenAPI3_1::Responses;
    using Response = VoziZazIreModels::OpenAPI3_1::Response;
    using MediaType = VoziZazIreModels::OpenAPI3_1::MediaType;
    using Schema = VoziZazIreModels::OpenAPI3_1::Schema;
    using Header = VoziZazIreModels::OpenAPI3_1::Header;
    using Link = VoziZazIreModels::OpenAPI3_1::Link;
    using Server = VoziZazIreModels::OpenAPI3_1::Server;
    using SecurityRequirement = VoziZazIreModels::OpenAPI3_1::SecurityRequirement;
    using Example = VoziZazIreModels::OpenAPI3_1::Example;
    using Components = VoziZazIreModels::OpenAPI3_1::Components;

    // The model's own listing: get, put, post, delete, options, head, patch, trace.
    static std::vector<std::pair<HTTPMethod, std::shared_ptr<const Operation>>> operations(const PathItem& pathItem);
    // A type list joined with " | " ("string | null"); one type as in 3.0 without a null suffix.
    static std::string typeDescription(const Schema& schema);
    // True when the type list names null.
    static bool isNullable(const Schema& schema);
    // Always absent: a 3.1 schema has no single example.
    static std::optional<VoziZazIreCore::AnyValue> exampleValue(const Schema& schema);
    static std::optional<std::vector<VoziZazIreCore::AnyValue>> exampleValues(const Schema& schema);
};

} // namespace Carvex

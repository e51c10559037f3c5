#pragma once
// Small builders for the model tests. They name every field in declaration order, so a field that is
// missing, added or moved breaks the build here first.
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "kit/core/SourceRange.h"
#include "kit/models/OpenAPI3_0/Document.h"
#include "kit/models/OpenAPI3_1/Document.h"

namespace ModelBuilders {

using namespace VoziZazIreModels;

inline LocationInfo at(std::string pointer) { return LocationInfo(std::move(pointer), VoziZazIreCore::SourceRange{}); }

inline Reference ref(std::string text) { return Reference(std::move(text), std::nullopt, std::nullopt, std::nullopt); }

// The eight operation slots of a path item, all absent unless set.
template <class Operation>
struct Operations {
  std::shared_ptr<const Operation> get = nullptr, put = nullptr, post = nullptr, delete_ = nullptr, options = nullptr,
      head = nullptr, patch = nullptr, trace = nullptr;
};

// Path items, operations and responses have the same fields in both versions.
template <class PathItem, class Operation>
std::shared_ptr<const PathItem> pathItem(std::string pointer, Operations<Operation> ops,
                                         std::optional<std::string> ref = std::nullopt) {
  return std::shared_ptr<const PathItem>(new PathItem{
      .location = at(std::move(pointer)),
      .ref = std::move(ref),
      .summary = std::nullopt,
      .description = std::nullopt,
      .get = ops.get,
      .put = ops.put,
      .post = ops.post,
      .delete_ = ops.delete_,
      .options = ops.options,
      .head = ops.head,
      .patch = ops.patch,
      .trace = ops.trace,
      .servers = std::nullopt,
      .parameters = std::nullopt,
      .vendorExtensions = std::nullopt,
  });
}

template <class Responses, class Response>
std::shared_ptr<const Responses> responses(std::string pointer, OrderedMap<ReferenceOr<Response>> items) {
  return std::shared_ptr<const Responses>(new Responses{
      .location = at(std::move(pointer)),
      .items = std::move(items),
      .vendorExtensions = std::nullopt,
  });
}

template <class Response>
std::shared_ptr<const Response> response(std::string pointer, std::string description) {
  return std::shared_ptr<const Response>(new Response{
      .location = at(std::move(pointer)),
      .description = std::move(description),
      .headers = std::nullopt,
      .content = std::nullopt,
      .links = std::nullopt,
      .vendorExtensions = std::nullopt,
  });
}

template <class Operation, class Responses, class Response>
std::shared_ptr<const Operation> operation(std::string pointer, std::optional<std::string> operationId) {
  return std::shared_ptr<const Operation>(new Operation{
      .location = at(pointer),
      .tags = std::nullopt,
      .summary = std::nullopt,
      .description = std::nullopt,
      .externalDocs = nullptr,
      .operationId = std::move(operationId),
      .parameters = std::nullopt,
      .requestBody = std::nullopt,
      .responses = responses<Responses, Response>(pointer + "/responses", {}),
      .callbacks = std::nullopt,
      .deprecated = std::nullopt,
      .security = std::nullopt,
      .servers = std::nullopt,
      .vendorExtensions = std::nullopt,
  });
}

// A 3.0 schema with only `type` and `items` set.
inline std::shared_ptr<const OpenAPI3_0::Schema> schema30(std::string pointer,
                                                          std::optional<OpenAPI3_0::SchemaType> type,
                                                          std::optional<ReferenceOr<OpenAPI3_0::Schema>> items) {
  return std::shared_ptr<const OpenAPI3_0::Schema>(new OpenAPI3_0::Schema{
      .location = at(std::move(pointer)),
      .type = type,
      .nullable = std::nullopt,
      .exclusiveMaximum = std::nullopt,
      .exclusiveMinimum = std::nullopt,
      .uniqueItems = std::nullopt,
      .readOnly = std::nullopt,
      .writeOnly = std::nullopt,
      .deprecated = std::nullopt,
      .format = std::nullopt,
      .title = std::nullopt,
      .description = std::nullopt,
      .default_ = std::nullopt,
      .enumValues = std::nullopt,
      .multipleOf = std::nullopt,
      .maximum = std::nullopt,
      .minimum = std::nullopt,
      .maxLength = std::nullopt,
      .minLength = std::nullopt,
      .pattern = std::nullopt,
      .maxItems = std::nullopt,
      .minItems = std::nullopt,
      .items = std::move(items),
      .maxProperties = std::nullopt,
      .minProperties = std::nullopt,
      .required = std::nullopt,
      .properties = std::nullopt,
      .additionalProperties = std::nullopt,
      .allOf = std::nullopt,
      .anyOf = std::nullopt,
      .oneOf = std::nullopt,
      .not_ = std::nullopt,
      .example = std::nullopt,
      .externalDocs = nullptr,
      .discriminator = nullptr,
      .xml = nullptr,
      .vendorExtensions = std::nullopt,
  });
}

// A 3.1 schema with only `type`, `items` and `additionalProperties` set.
inline std::shared_ptr<const OpenAPI3_1::Schema> schema31(std::string pointer, std::optional<SchemaTypeOrArray> type,
                                                          std::optional<ReferenceOr<OpenAPI3_1::Schema>> items,
                                                          std::optional<SchemaOrBool> additionalProperties) {
  return std::shared_ptr<const OpenAPI3_1::Schema>(new OpenAPI3_1::Schema{
      .location = at(std::move(pointer)),
      .type = std::move(type),
      .uniqueItems = std::nullopt,
      .readOnly = std::nullopt,
      .writeOnly = std::nullopt,
      .deprecated = std::nullopt,
      .format = std::nullopt,
      .title = std::nullopt,
      .description = std::nullopt,
      .default_ = std::nullopt,
      .enumValues = std::nullopt,
      .const_ = std::nullopt,
      .multipleOf = std::nullopt,
      .maximum = std::nullopt,
      .exclusiveMaximum = std::nullopt,
      .minimum = std::nullopt,
      .exclusiveMinimum = std::nullopt,
      .maxLength = std::nullopt,
      .minLength = std::nullopt,
      .pattern = std::nullopt,
      .maxItems = std::nullopt,
      .minItems = std::nullopt,
      .maxContains = std::nullopt,
      .minContains = std::nullopt,
      .contains = std::nullopt,
      .items = std::move(items),
      .prefixItems = std::nullopt,
      .unevaluatedItems = std::nullopt,
      .maxProperties = std::nullopt,
      .minProperties = std::nullopt,
      .required = std::nullopt,
      .properties = std::nullopt,
      .patternProperties = std::nullopt,
      .additionalProperties = std::move(additionalProperties),
      .propertyNames = std::nullopt,
      .unevaluatedProperties = std::nullopt,
      .dependentSchemas = std::nullopt,
      .dependentRequired = std::nullopt,
      .allOf = std::nullopt,
      .anyOf = std::nullopt,
      .oneOf = std::nullopt,
      .not_ = std::nullopt,
      .if_ = std::nullopt,
      .then = std::nullopt,
      .else_ = std::nullopt,
      .examples = std::nullopt,
      .externalDocs = nullptr,
      .discriminator = nullptr,
      .contentMediaType = std::nullopt,
      .contentEncoding = std::nullopt,
      .contentSchema = std::nullopt,
      .vendorExtensions = std::nullopt,
  });
}

}  // namespace ModelBuilders

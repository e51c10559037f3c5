#pragma once
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/OrderedMap.h"
#include "kit/core/ReferenceOr.h"
#include "kit/examples/ExampleGenerationContext.h"
#include "kit/examples/ExampleGenerationOptions.h"
#include "kit/examples/GenericNodeBuilder.h"
#include "kit/examples/OperationExampleResult.h"

namespace VoziZazIreExampleGeneration {

// Decides what stands for a parameter, a request body, a response or a whole operation: a provided
// example (when the options ask for them) or the example of a schema, from which media type of a
// content map, and which responses. Written once for both versions (`ExampleGeneratorVisitor30` and
// `ExampleGeneratorVisitor31`); `Walker` is the version's schema walker. Made for one call. Every
// visit starts a fresh context; the parts of one operation share one budget.
template <class Model, class Walker>
class OperationVisitor {
 public:
  using Components = typename Model::Components;
  using Schema = typename Model::Schema;
  using SchemaRef = VoziZazIreCore::ReferenceOr<Schema>;
  using Parameter = typename Model::Parameter;
  using RequestBody = typename Model::RequestBody;
  using Response = typename Model::Response;
  using Responses = typename Model::Responses;
  using MediaType = typename Model::MediaType;
  using Operation = typename Model::Operation;
  using Content = VoziZazIreCore::OrderedMap<std::shared_ptr<const MediaType>>;
  using NodePtr = VoziZazIreCore::NodePtr;

  OperationVisitor(const Components* components, ExampleGenerationOptions options)
      : generator_(components), options_(options) {}

  const Walker& generator() const noexcept { return generator_; }
  const ExampleGenerationOptions& options() const noexcept { return options_; }

  NodePtr visit(const Schema& schema) const { return generator_.generateExample(schema, root()); }
  NodePtr visit(const SchemaRef& schema) const { return fromSchema(schema, root()); }
  // The provided example, else the schema's, else the schema of the selected media type, else "value".
  NodePtr visit(const Parameter& parameter) const { return parameterExample(parameter, root()); }
  // The selected media type's provided example, else its schema's; null when there is neither.
  NodePtr visit(const RequestBody& body) const { return contentExample(&body.content, root()); }
  NodePtr visit(const Response& response) const { return contentExample(contentOf(response), root()); }
  OperationExampleResult visit(const Operation& operation) const;

  // By the content-type selection: "application/json" exactly for `preferJSON` when present, else the
  // first entry in document order; nothing for an empty map.
  std::optional<std::pair<std::string, const MediaType*>> selectMediaType(const Content& content) const;
  // By the response selection: the first of its exact keys that is present, else the first entry; or
  // every entry for `all`.
  std::vector<std::pair<std::string, const VoziZazIreCore::ReferenceOr<Response>*>> selectResponses(
      const Responses& responses) const;

 private:
  ExampleGenerationContext root() const { return ExampleGenerationContext(options_); }

  NodePtr fromSchema(const SchemaRef& schema, const ExampleGenerationContext& context) const {
    // A reference walks nothing before its target: the depth limit is tested here so that a limit of
    // 0 stops every request at once.
    context.validateDepth();
    return generator_.generateExample(schema, context);
  }

  // The `example` value, else the first `examples` entry when it is inline and has a value.
  template <class Holder>
  NodePtr providedExample(const Holder& holder) const {
    if (!options_.useProvidedExamples) return nullptr;
    if (holder.example) return GenericNodeBuilder::nodeFromAnyValue(*holder.example, "");
    if (holder.examples && !holder.examples->empty()) {
      const auto* example = holder.examples->begin()->second.inlineValue();
      if (example && example->value) return GenericNodeBuilder::nodeFromAnyValue(*example->value, "");
    }
    return nullptr;
  }

  static const Content* contentOf(const Response& response) { return response.content ? &*response.content : nullptr; }

  NodePtr parameterExample(const Parameter& parameter, const ExampleGenerationContext& context) const {
    if (NodePtr provided = providedExample(parameter)) return provided;
    if (parameter.schema) return fromSchema(*parameter.schema, context);
    if (parameter.content) {
      auto selected = selectMediaType(*parameter.content);
      if (selected && selected->second->schema) return fromSchema(*selected->second->schema, context);
    }
    return GenericNodeBuilder::stringNode("value", "");
  }

  NodePtr contentExample(const Content* content, const ExampleGenerationContext& context) const {
    if (!content) return nullptr;
    auto selected = selectMediaType(*content);
    if (!selected) return nullptr;
    const MediaType& mediaType = *selected->second;
    if (NodePtr provided = providedExample(mediaType)) return provided;
    if (mediaType.schema) return fromSchema(*mediaType.schema, context);
    return nullptr;
  }

  Walker generator_;
  ExampleGenerationOptions options_;
};

template <class Model, class Walker>
OperationExampleResult OperationVisitor<Model, Walker>::visit(const Operation& operation) const {
  const ExampleGenerationContext context = root();
  OperationExampleResult result;
  if (operation.parameters) {
    for (const auto& entry : *operation.parameters) {
      const Parameter* parameter = entry.inlineValue();
      if (!parameter) continue;
      if (!parameter->required.value_or(false) && !options_.includeOptionalParameters) continue;
      result.parameters.insertOrAssign(parameter->name, parameterExample(*parameter, context));
    }
  }
  if (operation.requestBody) {
    if (const RequestBody* body = operation.requestBody->inlineValue())
      result.requestBody = contentExample(&body->content, context);
  }
  if (operation.responses) {
    for (const auto& [code, entry] : selectResponses(*operation.responses)) {
      const Response* response = entry->inlineValue();
      if (!response) continue;
      if (NodePtr node = contentExample(contentOf(*response), context)) result.responses.insertOrAssign(code, node);
    }
  }
  return result;
}

template <class Model, class Walker>
auto OperationVisitor<Model, Walker>::selectMediaType(const Content& content) const
    -> std::optional<std::pair<std::string, const MediaType*>> {
  if (content.empty()) return std::nullopt;
  if (options_.contentTypeSelection == ContentTypeSelection::preferJSON) {
    for (const auto& [type, mediaType] : content)
      if (type == "application/json" && mediaType) return std::make_pair(type, mediaType.get());
  }
  const auto& first = *content.begin();
  if (!first.second) return std::nullopt;
  return std::make_pair(first.first, first.second.get());
}

template <class Model, class Walker>
auto OperationVisitor<Model, Walker>::selectResponses(const Responses& responses) const
    -> std::vector<std::pair<std::string, const VoziZazIreCore::ReferenceOr<Response>*>> {
  std::vector<std::pair<std::string, const VoziZazIreCore::ReferenceOr<Response>*>> selected;
  const auto& items = responses.items;
  if (items.empty()) return selected;
  if (options_.responseSelection == ResponseSelection::all) {
    for (const auto& [code, response] : items) selected.emplace_back(code, &response);
    return selected;
  }
  std::vector<const char*> attempts;
  switch (options_.responseSelection) {
    case ResponseSelection::prefer200: attempts = {"200", "201", "default"}; break;
    case ResponseSelection::prefer201: attempts = {"201", "200", "default"}; break;
    case ResponseSelection::preferDefault: attempts = {"default"}; break;
    default: break;
  }
  for (const char* code : attempts) {
    for (const auto& [key, response] : items)
      if (key == code) {
        selected.emplace_back(key, &response);
        return selected;
      }
  }
  selected.emplace_back(items.begin()->first, &items.begin()->second);
  return selected;
}

}  // namespace VoziZazIreExampleGeneration

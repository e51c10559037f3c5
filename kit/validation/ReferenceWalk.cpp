#include "kit/validation/ReferenceWalk.h"

#include <algorithm>
#include <vector>

#include "kit/validation/ReferenceCheck.h"

namespace VoziZazIreValidation {

using VoziZazIreCore::ReferenceOr;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

namespace {

// Checks the "$ref" of every entry of an optional map that is a reference; inline entries are left alone.
template <class T>
void checkReferencesOf(const VoziZazIreCore::CompactOptional<VoziZazIreModels::OrderedMap<ReferenceOr<T>>>& map,
                       std::string_view section, ValidationContext& context) {
  if (!map) return;
  for (const auto& entry : *map)
    if (const auto* reference = entry.second.referenceValue()) checkReference(*reference, section, context);
}

}  // namespace

template <class V>
void ReferenceWalk<V>::walkPathItem(const typename V::PathItem& item) {
  if (item.parameters)
    for (const auto& parameter : *item.parameters)
      if (const auto* reference = parameter.referenceValue()) checkReference(*reference, "parameters", context_);
  for (const auto* operation : {&item.get, &item.put, &item.post, &item.delete_, &item.options, &item.head,
                                &item.patch, &item.trace})
    if (*operation) walkOperation(**operation);
}

template <class V>
void ReferenceWalk<V>::walkOperation(const typename V::Operation& operation) {
  if (operation.parameters) {
    for (const auto& parameter : *operation.parameters) {
      if (const auto* reference = parameter.referenceValue()) {
        checkReference(*reference, "parameters", context_);
      } else if (const auto& schema = parameter.inlineValue()->schema) {
        // Only a "$ref" standing for the parameter's schema; an inline schema is not walked here.
        if (const auto* schemaReference = schema->referenceValue())
          checkReference(*schemaReference, "schemas", context_);
      }
    }
  }
  if (operation.requestBody) {
    if (const auto* reference = operation.requestBody->referenceValue())
      checkReference(*reference, "requestBodies", context_);
    else
      walkContent(operation.requestBody->inlineValue()->content);
  }
  // "default" is one entry of the map like any status code, so it is visited once.
  if (operation.responses)
    for (const auto& entry : operation.responses->items) {
      if (const auto* reference = entry.second.referenceValue())
        checkReference(*reference, "responses", context_);
      else
        walkResponse(*entry.second.inlineValue());
    }
  checkReferencesOf(operation.callbacks, "callbacks", context_);
}

template <class V>
void ReferenceWalk<V>::walkResponse(const typename V::Response& response) {
  if (response.content) walkContent(*response.content);
  checkReferencesOf(response.headers, "headers", context_);
  checkReferencesOf(response.links, "links", context_);
}

template <class V>
void ReferenceWalk<V>::walkContent(
    const VoziZazIreModels::OrderedMap<std::shared_ptr<const typename V::MediaType>>& content) {
  for (const auto& entry : content) {
    if (!entry.second || !entry.second->schema) continue;
    const auto& schema = *entry.second->schema;
    if (const auto* reference = schema.referenceValue())
      checkReference(*reference, "schemas", context_);
    else
      walkSchema(*schema.inlineValue());
  }
}

template <class V>
void ReferenceWalk<V>::walkSchema(const typename V::Schema& root) {
  using Schema = typename V::Schema;
  using Child = ReferenceOr<Schema>;
  // Depth first with an explicit stack. A popped reference is checked, a popped inline schema pushes its
  // subschemas in reverse so that they come off in the order of the walk.
  std::vector<const Child*> pending;
  std::vector<const Schema*> roots{&root};
  auto expand = [&pending](const Schema& schema) {
    const std::size_t mark = pending.size();
    auto push = [&pending](const auto& child) {
      if (child) pending.push_back(&*child);
    };
    auto pushAll = [&pending](const auto& list) {
      if (list)
        for (const auto& child : *list) pending.push_back(&child);
    };
    if (schema.properties)
      for (const auto& entry : *schema.properties) pending.push_back(&entry.second);
    push(schema.items);
    if constexpr (V::is31) pushAll(schema.prefixItems);
    if (schema.additionalProperties)
      if (const auto* child = schema.additionalProperties->schemaValue()) pending.push_back(child);
    pushAll(schema.allOf);
    pushAll(schema.anyOf);
    pushAll(schema.oneOf);
    push(schema.not_);
    if constexpr (V::is31) {
      push(schema.if_);
      push(schema.then);
      push(schema.else_);
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(mark), pending.end());
  };
  expand(root);
  while (!pending.empty()) {
    const Child* child = pending.back();
    pending.pop_back();
    if (const auto* reference = child->referenceValue())
      checkReference(*reference, "schemas", context_);
    else
      expand(*child->inlineValue());
  }
}

template <class V>
void ReferenceWalk<V>::walkComponents(const typename V::Components& components) {
  if (components.schemas)
    for (const auto& entry : *components.schemas)
      if (const auto* schema = entry.second.inlineValue()) walkSchema(*schema);
  if (components.responses)
    for (const auto& entry : *components.responses)
      if (const auto* response = entry.second.inlineValue()) walkResponse(*response);
  if (components.parameters)
    for (const auto& entry : *components.parameters)
      if (const auto* parameter = entry.second.inlineValue())
        if (parameter->schema)
          if (const auto* reference = parameter->schema->referenceValue())
            checkReference(*reference, "schemas", context_);
  if (components.requestBodies)
    for (const auto& entry : *components.requestBodies)
      if (const auto* body = entry.second.inlineValue()) walkContent(body->content);
  if constexpr (V::is31) {
    if (components.pathItems)
      for (const auto& entry : *components.pathItems)
        if (const auto* item = entry.second.inlineValue()) walkPathItem(*item);
  }
}

template class ReferenceWalk<Version30>;
template class ReferenceWalk<Version31>;

}  // namespace VoziZazIreValidation

#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kit/core/AnyValue.h"
#include "kit/core/GenericNode.h"
#include "kit/core/OrderedMap.h"
#include "kit/core/Reference.h"
#include "kit/core/ReferenceOr.h"
#include "kit/examples/ExampleGenerationContext.h"
#include "kit/examples/ExampleGenerationError.h"
#include "kit/examples/ExampleModels.h"
#include "kit/examples/GenericNodeBuilder.h"
#include "kit/examples/SchemaValueGenerator.h"

namespace VoziZazIreExampleGeneration {

namespace SchemaWalkerDetail {

// The type cases shared by both versions' type enumerations.
enum class TypeCase { string, number, integer, boolean, array, object, null };

inline TypeCase typeCase(VoziZazIreModels::OpenAPI3_0::SchemaType type) {
  using T = VoziZazIreModels::OpenAPI3_0::SchemaType;
  using enum TypeCase;
  switch (type) {
    case T::string: return string;
    case T::number: return number;
    case T::integer: return integer;
    case T::boolean: return boolean;
    case T::array: return array;
    case T::object: return object;
  }
  return object;
}

inline TypeCase typeCase(VoziZazIreModels::SchemaType type) {
  using T = VoziZazIreModels::SchemaType;
  using enum TypeCase;
  switch (type) {
    case T::string: return string;
    case T::number: return number;
    case T::integer: return integer;
    case T::boolean: return boolean;
    case T::array: return array;
    case T::object: return object;
    case T::null: return null;
  }
  return object;
}

template <class T>
std::optional<T> optionalOf(const VoziZazIreCore::CompactOptional<T>& value) {
  return value ? std::optional<T>(*value) : std::nullopt;
}

// Nodes and text bytes of a value, counted without recursion.
inline std::pair<int64_t, int64_t> measure(const VoziZazIreCore::AnyValue& value) {
  int64_t nodes = 0, bytes = 0;
  std::vector<const VoziZazIreCore::AnyValue*> stack{&value};
  while (!stack.empty()) {
    const VoziZazIreCore::AnyValue* v = stack.back();
    stack.pop_back();
    ++nodes;
    if (const std::string* text = v->stringValue()) {
      bytes += static_cast<int64_t>(text->size());
    } else if (const auto* list = v->arrayValue()) {
      for (const auto& element : *list) stack.push_back(&element);
    } else if (const auto* map = v->objectValue()) {
      for (const auto& [key, member] : *map) {
        bytes += static_cast<int64_t>(key.size());
        stack.push_back(&member);
      }
    }
  }
  return {nodes, bytes};
}

}  // namespace SchemaWalkerDetail

// Turns one schema of the typed model into one example value, written once for both OpenAPI versions
// (`ExampleGenerator30` and `ExampleGenerator31` are its two forms). It holds the document's components
// to follow "#/components/schemas/<name>" references and nothing else, so one walker serves any number
// of walks. The first rule that applies decides a schema's example: the depth limit, (3.1) `const`, a
// provided example, the first enum value, the default, `allOf`, `anyOf` or `oneOf`, the type, and
// without a type the keywords present. Every node carries the path of its context as its pointer, and
// every node is charged to the request's budget.
template <class Model>
class SchemaWalker {
 public:
  using Schema = typename Model::Schema;
  using Components = typename Model::Components;
  using Discriminator = typename Model::Discriminator;
  using SchemaRef = VoziZazIreCore::ReferenceOr<Schema>;
  using NodePtr = VoziZazIreCore::NodePtr;
  using Context = ExampleGenerationContext;

  // `components` is lent for the walker's life; nullptr when the document has none.
  explicit SchemaWalker(const Components* components) noexcept : components_(components) {}

  const Components* components() const noexcept { return components_; }

  NodePtr generateExample(const Schema& schema, const Context& context) const;
  // An inline schema, or a reference through `generateReferenceExample`.
  NodePtr generateExample(const SchemaRef& schema, const Context& context) const;

  // The cycle test, the resolution and the walk of the target (one chain step further).
  NodePtr generateReferenceExample(const VoziZazIreCore::Reference& reference, const Context& context) const;
  // The inline component schema that "#/components/schemas/<name>" names, or nullptr for any other
  // form, a missing name and a component that is itself a reference.
  const Schema* resolveSchemaReference(std::string_view ref) const;

  // The members' object examples merged, later members winning.
  NodePtr generateAllOfExample(const std::vector<SchemaRef>& members, const Context& context) const;
  // The first alternative's example, labelled by the schema's discriminator when it has one.
  NodePtr generateCompositionExample(const std::vector<SchemaRef>& alternatives, const Schema& schema,
                                     const Context& context) const;
  NodePtr generateDiscriminatedExample(const Discriminator& discriminator, const std::vector<SchemaRef>& alternatives,
                                       const Context& context) const;
  NodePtr generateObjectExample(const Schema& schema, const Context& context) const;
  NodePtr generateArrayExample(const Schema& schema, const Context& context) const;
  NodePtr generateNumberExample(const Schema& schema, const Context& context) const;
  NodePtr generateIntegerExample(const Schema& schema, const Context& context) const;

  // The tree of a value the document supplies, charged to the budget.
  static NodePtr documentValue(const VoziZazIreCore::AnyValue& value, const Context& context);

 private:
  static constexpr std::string_view kSchemasPrefix = "#/components/schemas/";

  static NodePtr nullValue(const Context& context);
  static NodePtr emptyObject(const Context& context);
  static NodePtr object(const VoziZazIreCore::OrderedMap<NodePtr>& members, const Context& context);
  NodePtr byType(SchemaWalkerDetail::TypeCase typeCase, const Schema& schema, const Context& context) const;
  NodePtr firstAlternative(const std::vector<SchemaRef>& alternatives, const Context& context) const;
  NodePtr cycleValue(const std::string& ref, const Context& context) const;
  std::string discriminatorValue(const Discriminator& discriminator, const SchemaRef& alternative) const;

  const Components* components_;
};

// ---------------------------------------------------------------------------------------------------


template <class Model>
auto SchemaWalker<Model>::documentValue(const VoziZazIreCore::AnyValue& value, const Context& context) -> NodePtr {
  auto [nodes, bytes] = SchemaWalkerDetail::measure(value);
  context.spend(nodes, bytes + static_cast<int64_t>(context.path().size()));
  return GenericNodeBuilder::nodeFromAnyValue(value, context.path());
}

template <class Model>
auto SchemaWalker<Model>::nullValue(const Context& context) -> NodePtr {
  context.spend(1, static_cast<int64_t>(context.path().size()));
  return GenericNodeBuilder::nullNode(context.path());
}

template <class Model>
auto SchemaWalker<Model>::emptyObject(const Context& context) -> NodePtr {
  return object({}, context);
}

template <class Model>
auto SchemaWalker<Model>::object(const VoziZazIreCore::OrderedMap<NodePtr>& members, const Context& context)
    -> NodePtr {
  int64_t bytes = static_cast<int64_t>(context.path().size());
  for (const auto& entry : members) bytes += static_cast<int64_t>(entry.first.size());
  context.spend(1, bytes);
  return GenericNodeBuilder::objectNode(members, context.path());
}

template <class Model>
auto SchemaWalker<Model>::generateExample(const SchemaRef& schema, const Context& context) const -> NodePtr {
  if (const VoziZazIreCore::Reference* reference = schema.referenceValue())
    return generateReferenceExample(*reference, context);
  return generateExample(*schema.inlineValue(), context);
}

template <class Model>
auto SchemaWalker<Model>::generateExample(const Schema& schema, const Context& context) const -> NodePtr {
  using namespace SchemaWalkerDetail;
  context.validateDepth();
  const ExampleGenerationOptions& options = context.options();
  if constexpr (Model::is31) {
    if (schema.const_) return documentValue(*schema.const_, context);
    if (options.useProvidedExamples && schema.examples && !schema.examples->empty())
      return documentValue(schema.examples->front(), context);
  } else {
    if (options.useProvidedExamples && schema.example) return documentValue(*schema.example, context);
  }
  if (schema.enumValues && !schema.enumValues->empty()) return documentValue(schema.enumValues->front(), context);
  if (schema.default_) return documentValue(*schema.default_, context);
  if (schema.allOf && !schema.allOf->empty()) return generateAllOfExample(*schema.allOf, context);
  if (schema.anyOf && !schema.anyOf->empty()) return generateCompositionExample(*schema.anyOf, schema, context);
  if (schema.oneOf && !schema.oneOf->empty()) return generateCompositionExample(*schema.oneOf, schema, context);

  if constexpr (Model::is31) {
    if (schema.type) {
      for (VoziZazIreModels::SchemaType type : schema.type->types())
        if (type != VoziZazIreModels::SchemaType::null) return byType(typeCase(type), schema, context);
      return nullValue(context);
    }
    if (schema.properties || schema.additionalProperties) return generateObjectExample(schema, context);
    if (schema.items || schema.prefixItems) return generateArrayExample(schema, context);
  } else {
    if (schema.type) return byType(typeCase(*schema.type), schema, context);
    if (schema.properties || schema.additionalProperties) return generateObjectExample(schema, context);
    if (schema.items) return generateArrayExample(schema, context);
  }
  return emptyObject(context);
}

template <class Model>
auto SchemaWalker<Model>::byType(SchemaWalkerDetail::TypeCase typeCase, const Schema& schema, const Context& context) const
    -> NodePtr {
  using enum SchemaWalkerDetail::TypeCase;
  using SchemaWalkerDetail::optionalOf;
  switch (typeCase) {
    case string: {
      std::string text = SchemaValueGenerator::generateString(optionalOf(schema.format), optionalOf(schema.minLength),
                                                             optionalOf(schema.maxLength), optionalOf(schema.pattern));
      context.spend(1, static_cast<int64_t>(text.size() + context.path().size()));
      return GenericNodeBuilder::stringNode(text, context.path());
    }
    case number: return generateNumberExample(schema, context);
    case integer: return generateIntegerExample(schema, context);
    case boolean:
      context.spend(1, static_cast<int64_t>(context.path().size()));
      return GenericNodeBuilder::boolNode(SchemaValueGenerator::generateBoolean(), context.path());
    case array: return generateArrayExample(schema, context);
    case object: return generateObjectExample(schema, context);
    case null: return nullValue(context);
  }
  return nullValue(context);
}

template <class Model>
auto SchemaWalker<Model>::generateNumberExample(const Schema& schema, const Context& context) const -> NodePtr {
  using SchemaWalkerDetail::optionalOf;
  double value;
  if constexpr (Model::is31) {
    value = SchemaValueGenerator::generateNumber(optionalOf(schema.minimum), optionalOf(schema.maximum),
                                                 optionalOf(schema.exclusiveMinimum), optionalOf(schema.exclusiveMaximum),
                                                 optionalOf(schema.multipleOf));
  } else {
    // 3.0's exclusive keywords are flags that turn the bound on their side exclusive.
    const bool lowerExclusive = schema.exclusiveMinimum.value_or(false);
    const bool upperExclusive = schema.exclusiveMaximum.value_or(false);
    const std::optional<double> minimum = optionalOf(schema.minimum), maximum = optionalOf(schema.maximum);
    value = SchemaValueGenerator::generateNumber(lowerExclusive ? std::nullopt : minimum,
                                                 upperExclusive ? std::nullopt : maximum,
                                                 lowerExclusive ? minimum : std::nullopt,
                                                 upperExclusive ? maximum : std::nullopt, optionalOf(schema.multipleOf));
  }
  context.spend(1, static_cast<int64_t>(context.path().size()));
  return GenericNodeBuilder::numberNode(value, context.path());
}

template <class Model>
auto SchemaWalker<Model>::generateIntegerExample(const Schema& schema, const Context& context) const -> NodePtr {
  using SchemaWalkerDetail::optionalOf;
  int64_t value;
  if constexpr (Model::is31) {
    value = SchemaValueGenerator::generateInteger(std::nullopt, optionalOf(schema.minimum), optionalOf(schema.maximum),
                                                  optionalOf(schema.exclusiveMinimum),
                                                  optionalOf(schema.exclusiveMaximum), optionalOf(schema.multipleOf));
  } else {
    const bool lowerExclusive = schema.exclusiveMinimum.value_or(false);
    const bool upperExclusive = schema.exclusiveMaximum.value_or(false);
    const std::optional<double> minimum = optionalOf(schema.minimum), maximum = optionalOf(schema.maximum);
    value = SchemaValueGenerator::generateInteger(std::nullopt, lowerExclusive ? std::nullopt : minimum,
                                                  upperExclusive ? std::nullopt : maximum,
                                                  lowerExclusive ? minimum : std::nullopt,
                                                  upperExclusive ? maximum : std::nullopt, optionalOf(schema.multipleOf));
  }
  context.spend(1, static_cast<int64_t>(context.path().size()));
  return GenericNodeBuilder::intNode(value, context.path());
}

template <class Model>
auto SchemaWalker<Model>::cycleValue(const std::string& ref, const Context& context) const -> NodePtr {
  context.validateReference(ref);  // throws under CycleHandling::error
  if (context.options().cycleHandling == CycleHandling::truncate) return emptyObject(context);
  return nullValue(context);
}

template <class Model>
auto SchemaWalker<Model>::generateReferenceExample(const VoziZazIreCore::Reference& reference,
                                                   const Context& context) const -> NodePtr {
  const std::string& ref = reference.ref;
  if (context.hasVisitedReference(ref)) return cycleValue(ref, context);
  const Schema* target = resolveSchemaReference(ref);
  if (!target) throw ExampleGenerationError::referenceNotFound(ref, context.path());
  return generateExample(*target, context.chained().visitingReference(ref));
}

template <class Model>
auto SchemaWalker<Model>::resolveSchemaReference(std::string_view ref) const -> const Schema* {
  if (!ref.starts_with(kSchemasPrefix) || !components_ || !components_->schemas) return nullptr;
  const SchemaRef* entry = components_->schemas->find(ref.substr(kSchemasPrefix.size()));
  return entry ? entry->inlineValue() : nullptr;
}

template <class Model>
auto SchemaWalker<Model>::generateAllOfExample(const std::vector<SchemaRef>& members, const Context& context) const
    -> NodePtr {
  VoziZazIreCore::OrderedMap<NodePtr> merged;
  for (const SchemaRef& member : members) {
    NodePtr result;
    if (const VoziZazIreCore::Reference* reference = member.referenceValue()) {
      result = generateReferenceExample(*reference, context);
    } else {
      result = generateExample(*member.inlineValue(), context.chained());
    }
    if (auto entries = result->objectValue()) {
      // The members stay in their own tree, which the merged object keeps alive.
      for (const auto& entry : *entries) merged.insertOrAssign(std::string(entry.key), NodePtr(result, entry.value));
    }
  }
  return object(merged, context);
}

template <class Model>
auto SchemaWalker<Model>::firstAlternative(const std::vector<SchemaRef>& alternatives, const Context& context) const
    -> NodePtr {
  const SchemaRef& first = alternatives.front();
  if (const VoziZazIreCore::Reference* reference = first.referenceValue())
    return generateReferenceExample(*reference, context);
  return generateExample(*first.inlineValue(), context.chained());
}

template <class Model>
auto SchemaWalker<Model>::generateCompositionExample(const std::vector<SchemaRef>& alternatives, const Schema& schema,
                                                     const Context& context) const -> NodePtr {
  if (schema.discriminator) return generateDiscriminatedExample(*schema.discriminator, alternatives, context);
  return firstAlternative(alternatives, context);
}

template <class Model>
std::string SchemaWalker<Model>::discriminatorValue(const Discriminator& discriminator,
                                                    const SchemaRef& alternative) const {
  const VoziZazIreCore::Reference* reference = alternative.referenceValue();
  if (!reference) return "type";
  const std::string& ref = reference->ref;
  // The mapping key that names the alternative itself, by reference or by component name: a key that
  // maps to another schema would label the example wrongly.
  if (discriminator.mapping) {
    for (const auto& [key, target] : *discriminator.mapping) {
      if (target == ref) return key;
      if (ref.starts_with(kSchemasPrefix) && std::string_view(ref).substr(kSchemasPrefix.size()) == target) return key;
    }
  }
  // Otherwise the name the alternative stands under: the last non-empty part of its reference.
  std::string_view rest = ref;
  while (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  const std::size_t slash = rest.rfind('/');
  return std::string(slash == std::string_view::npos ? rest : rest.substr(slash + 1));
}

template <class Model>
auto SchemaWalker<Model>::generateDiscriminatedExample(const Discriminator& discriminator,
                                                       const std::vector<SchemaRef>& alternatives,
                                                       const Context& context) const -> NodePtr {
  NodePtr example = firstAlternative(alternatives, context);
  auto entries = example->objectValue();
  if (!entries) return example;
  VoziZazIreCore::OrderedMap<NodePtr> members;
  for (const auto& entry : *entries) members.insertOrAssign(std::string(entry.key), NodePtr(example, entry.value));
  const std::string label = discriminatorValue(discriminator, alternatives.front());
  const std::string pointer = context.path() + "/" + discriminator.propertyName;
  context.spend(1, static_cast<int64_t>(label.size() + pointer.size()));
  members.insertOrAssign(discriminator.propertyName, GenericNodeBuilder::stringNode(label, pointer));
  return object(members, context);
}

template <class Model>
auto SchemaWalker<Model>::generateObjectExample(const Schema& schema, const Context& context) const -> NodePtr {
  if (!schema.properties) return emptyObject(context);
  std::vector<const std::pair<std::string, SchemaRef>*> properties;
  properties.reserve(schema.properties->size());
  for (const auto& entry : *schema.properties) properties.push_back(&entry);
  std::sort(properties.begin(), properties.end(), [](const auto* a, const auto* b) { return a->first < b->first; });
  const bool optional = context.options().includeOptionalProperties;
  const std::vector<std::string>* required = schema.required ? &*schema.required : nullptr;
  VoziZazIreCore::OrderedMap<NodePtr> members;
  for (const auto* property : properties) {
    const std::string& name = property->first;
    if (!optional && !(required && std::find(required->begin(), required->end(), name) != required->end())) continue;
    members.insertOrAssign(name, generateExample(property->second, context.descend(name)));
  }
  return object(members, context);
}

template <class Model>
auto SchemaWalker<Model>::generateArrayExample(const Schema& schema, const Context& context) const -> NodePtr {
  int64_t count;
  const std::optional<int64_t> minItems = SchemaWalkerDetail::optionalOf(schema.minItems);
  if (minItems && *minItems >= 1) {
    count = *minItems;
  } else if (minItems && *minItems < 0) {
    count = 0;
  } else {
    count = schema.maxItems && *schema.maxItems < 1 ? 0 : 1;
  }
  count = std::min(count, ExampleGenerationContext::kMaxArrayItems);

  std::vector<NodePtr> items;
  auto item = [&](const SchemaRef& itemSchema, int64_t index) {
    items.push_back(generateExample(itemSchema, context.descend(std::to_string(index))));
  };
  int64_t next = 0;
  if constexpr (Model::is31) {
    if (schema.prefixItems) {
      const auto& prefix = *schema.prefixItems;
      for (; next < count && next < static_cast<int64_t>(prefix.size()); ++next) item(prefix[next], next);
    }
  }
  if (schema.items)
    for (; next < count; ++next) item(*schema.items, next);
  context.spend(1, static_cast<int64_t>(context.path().size()));
  return GenericNodeBuilder::arrayNode(items, context.path());
}

}  // namespace VoziZazIreExampleGeneration

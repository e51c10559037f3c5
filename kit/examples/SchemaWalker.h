#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "kit/core/AnyValue.h"
#include "kit/core/GenericNode.h"
#include "kit/core/JSONPointerUtils.h"
#include "kit/core/OrderedMap.h"
#include "kit/core/Reference.h"
#include "kit/core/ReferenceOr.h"
#include "kit/examples/ExampleGenerationContext.h"
#include "kit/examples/ExampleDrafts.h"
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

// The component name that "#/components/schemas/<name>" names: the one non-empty piece after the prefix
// (empty pieces dropped), its pointer escapes read ("a~1b" names "a/b", "a~0b" names "a~b"), as
// validation and navigation read it. Nothing for any other form, a pointer into a component included.
inline std::optional<std::string> schemaComponentName(std::string_view ref) {
  constexpr std::string_view prefix = "#/components/schemas/";
  if (!ref.starts_with(prefix)) return std::nullopt;
  std::string_view rest = ref.substr(prefix.size());
  while (rest.starts_with('/')) rest.remove_prefix(1);
  while (rest.ends_with('/')) rest.remove_suffix(1);
  if (rest.empty() || rest.find('/') != std::string_view::npos) return std::nullopt;
  return VoziZazIreCore::JSONPointerUtils::unescape(rest);
}

// The last non-empty piece of a reference, its pointer escapes read; empty when there is none.
inline std::string lastPieceName(std::string_view ref) {
  while (!ref.empty() && ref.back() == '/') ref.remove_suffix(1);
  const std::size_t slash = ref.rfind('/');
  return VoziZazIreCore::JSONPointerUtils::unescape(slash == std::string_view::npos ? ref : ref.substr(slash + 1));
}

}  // namespace SchemaWalkerDetail

// Turns one schema of the typed model into one example value, written once for both OpenAPI versions
// (`ExampleGenerator30` and `ExampleGenerator31` are its two forms). It holds the document's components
// to follow "#/components/schemas/<name>" references and nothing else, so one walker serves any number
// of walks. The first rule that applies decides a schema's example: the depth limit, (3.1) `const`, a
// provided example, the first enum value, the default, `allOf`, `anyOf` or `oneOf`, the type, and
// without a type the keywords present. Every node carries the path of its context as its pointer.
//
// Each value is charged to the request's budget as it is made; the values become nodes only once the
// whole walk has succeeded (ExampleDrafts), so a walk stopped by an error costs no nodes.
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

  NodePtr generateExample(const Schema& schema, const Context& context) const {
    return run([&](Drafts& d) { return example(schema, context, d); });
  }
  // An inline schema, or a reference through `generateReferenceExample`.
  NodePtr generateExample(const SchemaRef& schema, const Context& context) const {
    return run([&](Drafts& d) { return example(schema, context, d); });
  }
  // The cycle test, the resolution and the walk of the target (one chain step further).
  NodePtr generateReferenceExample(const VoziZazIreCore::Reference& reference, const Context& context) const {
    return run([&](Drafts& d) { return referenceExample(reference, context, d); });
  }
  // The inline component schema that "#/components/schemas/<name>" names (the name's pointer escapes
  // read: "a~1b" names "a/b"), or nullptr for any other form, a missing name and a component that is
  // itself a reference.
  const Schema* resolveSchemaReference(std::string_view ref) const;

  // The members' object examples merged, later members winning.
  NodePtr generateAllOfExample(const std::vector<SchemaRef>& members, const Context& context) const {
    return run([&](Drafts& d) { return allOfExample(members, context, d); });
  }
  // The first alternative's example, labelled by the schema's discriminator when it has one.
  NodePtr generateCompositionExample(const std::vector<SchemaRef>& alternatives, const Schema& schema,
                                     const Context& context) const {
    return run([&](Drafts& d) { return compositionExample(alternatives, schema, context, d); });
  }
  NodePtr generateDiscriminatedExample(const Discriminator& discriminator, const std::vector<SchemaRef>& alternatives,
                                       const Context& context) const {
    return run([&](Drafts& d) { return discriminatedExample(discriminator, alternatives, context, d); });
  }
  NodePtr generateObjectExample(const Schema& schema, const Context& context) const {
    return run([&](Drafts& d) { return objectExample(schema, context, d); });
  }
  NodePtr generateArrayExample(const Schema& schema, const Context& context) const {
    return run([&](Drafts& d) { return arrayExample(schema, context, d); });
  }
  NodePtr generateNumberExample(const Schema& schema, const Context& context) const {
    return run([&](Drafts& d) { return numberExample(schema, context, d); });
  }
  NodePtr generateIntegerExample(const Schema& schema, const Context& context) const {
    return run([&](Drafts& d) { return integerExample(schema, context, d); });
  }

 private:
  using Drafts = ExampleDrafts;
  using Index = ExampleDrafts::Index;
  static constexpr std::string_view kSchemasPrefix = "#/components/schemas/";

  template <class Walk>
  static NodePtr run(Walk walk) {
    Drafts drafts;
    const Index root = walk(drafts);
    return drafts.materialize(root);
  }

  Index example(const Schema& schema, const Context& context, Drafts& drafts) const;
  Index example(const SchemaRef& schema, const Context& context, Drafts& drafts) const;
  Index referenceExample(const VoziZazIreCore::Reference& reference, const Context& context, Drafts& drafts) const;
  Index allOfExample(const std::vector<SchemaRef>& members, const Context& context, Drafts& drafts) const;
  Index compositionExample(const std::vector<SchemaRef>& alternatives, const Schema& schema, const Context& context,
                           Drafts& drafts) const;
  Index discriminatedExample(const Discriminator& discriminator, const std::vector<SchemaRef>& alternatives,
                             const Context& context, Drafts& drafts) const;
  Index objectExample(const Schema& schema, const Context& context, Drafts& drafts) const;
  Index arrayExample(const Schema& schema, const Context& context, Drafts& drafts) const;
  Index numberExample(const Schema& schema, const Context& context, Drafts& drafts) const;
  Index integerExample(const Schema& schema, const Context& context, Drafts& drafts) const;
  Index byType(SchemaWalkerDetail::TypeCase typeCase, const Schema& schema, const Context& context, Drafts& drafts) const;
  Index firstAlternative(const std::vector<SchemaRef>& alternatives, const Context& context, Drafts& drafts) const;
  // How the chosen alternative declares the discriminator's property: a value it pins (a `const`, or an
  // enum of one value) and the values its enum allows.
  struct DeclaredProperty {
    const VoziZazIreCore::AnyValue* pinned = nullptr;
    const std::vector<VoziZazIreCore::AnyValue>* allowed = nullptr;
  };
  DeclaredProperty declaredProperty(const SchemaRef& alternative, std::string_view propertyName) const;
  std::string discriminatorValue(const Discriminator& discriminator, const SchemaRef& alternative) const;

  static Index documentValue(const VoziZazIreCore::AnyValue& value, const Context& context, Drafts& drafts);
  static Index nullValue(const Context& context, Drafts& drafts);
  static Index object(std::vector<ExampleDrafts::Member> members, const Context& context, Drafts& drafts);

  const Components* components_;
};

// ---------------------------------------------------------------------------------------------------

template <class Model>
auto SchemaWalker<Model>::documentValue(const VoziZazIreCore::AnyValue& value, const Context& context, Drafts& drafts)
    -> Index {
  auto [nodes, bytes] = SchemaWalkerDetail::measure(value);
  context.spend(nodes, bytes + static_cast<int64_t>(context.path().size()));
  return drafts.value(value, context.sharedPath());
}

template <class Model>
auto SchemaWalker<Model>::nullValue(const Context& context, Drafts& drafts) -> Index {
  context.spend(1, static_cast<int64_t>(context.path().size()));
  return drafts.null(context.sharedPath());
}

template <class Model>
auto SchemaWalker<Model>::object(std::vector<ExampleDrafts::Member> members, const Context& context, Drafts& drafts)
    -> Index {
  int64_t bytes = static_cast<int64_t>(context.path().size());
  for (const auto& member : members) bytes += static_cast<int64_t>(member.first.size());
  context.spend(1, bytes);
  return drafts.object(std::move(members), context.sharedPath());
}

template <class Model>
auto SchemaWalker<Model>::example(const SchemaRef& schema, const Context& context, Drafts& drafts) const -> Index {
  if (const VoziZazIreCore::Reference* reference = schema.referenceValue())
    return referenceExample(*reference, context, drafts);
  return example(*schema.inlineValue(), context, drafts);
}

template <class Model>
auto SchemaWalker<Model>::example(const Schema& schema, const Context& context, Drafts& drafts) const -> Index {
  using namespace SchemaWalkerDetail;
  context.validateDepth();
  const ExampleGenerationOptions& options = context.options();
  if constexpr (Model::is31) {
    if (schema.const_) return documentValue(*schema.const_, context, drafts);
    if (options.useProvidedExamples && schema.examples && !schema.examples->empty())
      return documentValue(schema.examples->front(), context, drafts);
  } else {
    if (options.useProvidedExamples && schema.example) return documentValue(*schema.example, context, drafts);
  }
  if (schema.enumValues && !schema.enumValues->empty()) return documentValue(schema.enumValues->front(), context, drafts);
  if (schema.default_) return documentValue(*schema.default_, context, drafts);
  if (schema.allOf && !schema.allOf->empty()) return allOfExample(*schema.allOf, context, drafts);
  if (schema.anyOf && !schema.anyOf->empty()) return compositionExample(*schema.anyOf, schema, context, drafts);
  if (schema.oneOf && !schema.oneOf->empty()) return compositionExample(*schema.oneOf, schema, context, drafts);

  if constexpr (Model::is31) {
    if (schema.type) {
      for (VoziZazIreModels::SchemaType type : schema.type->types())
        if (type != VoziZazIreModels::SchemaType::null) return byType(typeCase(type), schema, context, drafts);
      return nullValue(context, drafts);
    }
    if (schema.properties || schema.additionalProperties) return objectExample(schema, context, drafts);
    if (schema.items || schema.prefixItems) return arrayExample(schema, context, drafts);
  } else {
    if (schema.type) return byType(typeCase(*schema.type), schema, context, drafts);
    if (schema.properties || schema.additionalProperties) return objectExample(schema, context, drafts);
    if (schema.items) return arrayExample(schema, context, drafts);
  }
  return object({}, context, drafts);
}

template <class Model>
auto SchemaWalker<Model>::byType(SchemaWalkerDetail::TypeCase typeCase, const Schema& schema, const Context& context,
                                 Drafts& drafts) const -> Index {
  using enum SchemaWalkerDetail::TypeCase;
  using SchemaWalkerDetail::optionalOf;
  switch (typeCase) {
    case string: {
      std::string text = SchemaValueGenerator::generateString(optionalOf(schema.format), optionalOf(schema.minLength),
                                                             optionalOf(schema.maxLength), optionalOf(schema.pattern));
      context.spend(1, static_cast<int64_t>(text.size() + context.path().size()));
      return drafts.string(std::move(text), context.sharedPath());
    }
    case number: return numberExample(schema, context, drafts);
    case integer: return integerExample(schema, context, drafts);
    case boolean:
      context.spend(1, static_cast<int64_t>(context.path().size()));
      return drafts.boolean(SchemaValueGenerator::generateBoolean(), context.sharedPath());
    case array: return arrayExample(schema, context, drafts);
    case object: return objectExample(schema, context, drafts);
    case null: return nullValue(context, drafts);
  }
  return nullValue(context, drafts);
}

template <class Model>
auto SchemaWalker<Model>::numberExample(const Schema& schema, const Context& context, Drafts& drafts) const -> Index {
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
  return drafts.number(value, context.sharedPath());
}

template <class Model>
auto SchemaWalker<Model>::integerExample(const Schema& schema, const Context& context, Drafts& drafts) const -> Index {
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
  // An integer is stored as a number node holding its value.
  return drafts.number(static_cast<double>(value), context.sharedPath());
}

template <class Model>
auto SchemaWalker<Model>::referenceExample(const VoziZazIreCore::Reference& reference, const Context& context,
                                           Drafts& drafts) const -> Index {
  const std::string& ref = reference.ref;
  if (!context.validateReference(ref)) {
    // Already being expanded on this path (CycleHandling::error has thrown).
    if (context.options().cycleHandling == CycleHandling::truncate) return object({}, context, drafts);
    return nullValue(context, drafts);
  }
  const Schema* target = resolveSchemaReference(ref);
  if (!target) throw ExampleGenerationError::referenceNotFound(ref, context.path());
  return example(*target, context.followingReference(ref), drafts);
}

template <class Model>
auto SchemaWalker<Model>::resolveSchemaReference(std::string_view ref) const -> const Schema* {
  if (!ref.starts_with(kSchemasPrefix) || !components_ || !components_->schemas) return nullptr;
  const std::optional<std::string> name = SchemaWalkerDetail::schemaComponentName(ref);
  if (!name) return nullptr;
  const SchemaRef* entry = components_->schemas->find(*name);
  return entry ? entry->inlineValue() : nullptr;
}

template <class Model>
auto SchemaWalker<Model>::allOfExample(const std::vector<SchemaRef>& members, const Context& context,
                                       Drafts& drafts) const -> Index {
  std::vector<ExampleDrafts::Member> merged;
  std::unordered_map<std::string, std::size_t> position;
  for (const SchemaRef& member : members) {
    Index result;
    if (const VoziZazIreCore::Reference* reference = member.referenceValue()) {
      result = referenceExample(*reference, context, drafts);
    } else {
      result = example(*member.inlineValue(), context.chained(), drafts);
    }
    if (!drafts.isObject(result)) continue;
    for (auto& entry : drafts.membersOf(result)) {
      auto [it, added] = position.emplace(entry.first, merged.size());
      if (added) {
        merged.push_back(std::move(entry));
      } else {
        merged[it->second].second = entry.second;
      }
    }
  }
  return object(std::move(merged), context, drafts);
}

template <class Model>
auto SchemaWalker<Model>::firstAlternative(const std::vector<SchemaRef>& alternatives, const Context& context,
                                           Drafts& drafts) const -> Index {
  const SchemaRef& first = alternatives.front();
  if (const VoziZazIreCore::Reference* reference = first.referenceValue())
    return referenceExample(*reference, context, drafts);
  return example(*first.inlineValue(), context.chained(), drafts);
}

template <class Model>
auto SchemaWalker<Model>::compositionExample(const std::vector<SchemaRef>& alternatives, const Schema& schema,
                                             const Context& context, Drafts& drafts) const -> Index {
  if (schema.discriminator) return discriminatedExample(*schema.discriminator, alternatives, context, drafts);
  return firstAlternative(alternatives, context, drafts);
}

template <class Model>
auto SchemaWalker<Model>::declaredProperty(const SchemaRef& alternative, std::string_view propertyName) const
    -> DeclaredProperty {
  // The alternative's own properties, then its allOf members in order, then the first alternative of
  // its own anyOf or oneOf (the one its example comes from): every declaration of the property binds
  // the example. A bounded walk: each schema once, a fixed number of schemas at most.
  constexpr std::size_t kMaxSchemas = 256;
  auto inlineOf = [this](const SchemaRef& slot) -> const Schema* {
    if (const VoziZazIreCore::Reference* reference = slot.referenceValue())
      return resolveSchemaReference(reference->ref);
    return slot.inlineValue();
  };
  DeclaredProperty declared;
  std::vector<const Schema*> pending;
  std::vector<const Schema*> seen;
  if (const Schema* first = inlineOf(alternative)) pending.push_back(first);
  while (!pending.empty() && seen.size() < kMaxSchemas) {
    const Schema* schema = pending.back();
    pending.pop_back();
    if (std::find(seen.begin(), seen.end(), schema) != seen.end()) continue;
    seen.push_back(schema);
    if (schema->properties) {
      if (const SchemaRef* slot = schema->properties->find(propertyName)) {
        if (const Schema* property = inlineOf(*slot)) {
          if constexpr (Model::is31) {
            if (property->const_) return {&*property->const_, nullptr};
          }
          if (property->enumValues && property->enumValues->size() == 1)
            return {&property->enumValues->front(), nullptr};
          if (property->enumValues && !property->enumValues->empty() && !declared.allowed)
            declared.allowed = &*property->enumValues;
        }
      }
    }
    std::vector<const Schema*> next;
    if (schema->allOf)
      for (const SchemaRef& member : *schema->allOf)
        if (const Schema* inlineMember = inlineOf(member)) next.push_back(inlineMember);
    const auto* alternatives = schema->anyOf && !schema->anyOf->empty() ? &*schema->anyOf
                               : schema->oneOf && !schema->oneOf->empty() ? &*schema->oneOf
                                                                           : nullptr;
    if (alternatives)
      if (const Schema* chosen = inlineOf(alternatives->front())) next.push_back(chosen);
    pending.insert(pending.end(), next.rbegin(), next.rend());
  }
  return declared;
}

template <class Model>
std::string SchemaWalker<Model>::discriminatorValue(const Discriminator& discriminator,
                                                    const SchemaRef& alternative) const {
  const VoziZazIreCore::Reference* reference = alternative.referenceValue();
  if (!reference) return "type";
  const std::string& ref = reference->ref;
  const std::optional<std::string> componentName = SchemaWalkerDetail::schemaComponentName(ref);
  // The mapping key that names the alternative itself, by reference or by component name: a key that
  // maps to another schema would label the example wrongly.
  if (discriminator.mapping) {
    for (const auto& [key, target] : *discriminator.mapping) {
      if (target == ref || (componentName && target == *componentName)) return key;
    }
  }
  // Otherwise the name the alternative stands under: the last non-empty part of its reference.
  return componentName ? *componentName : SchemaWalkerDetail::lastPieceName(ref);
}

template <class Model>
auto SchemaWalker<Model>::discriminatedExample(const Discriminator& discriminator,
                                               const std::vector<SchemaRef>& alternatives, const Context& context,
                                               Drafts& drafts) const -> Index {
  const Index example = firstAlternative(alternatives, context, drafts);
  if (!drafts.isObject(example)) return example;
  std::vector<ExampleDrafts::Member> members = drafts.membersOf(example);
  auto pointer = std::make_shared<const std::string>(context.path() + "/" + discriminator.propertyName);
  // A value the alternative pins for the property wins; otherwise the mapping's key or the schema's
  // name, unless the property's enum leaves that out, when its first value stands.
  const DeclaredProperty declared = declaredProperty(alternatives.front(), discriminator.propertyName);
  const VoziZazIreCore::AnyValue* value = declared.pinned;
  std::string label;
  if (!value) {
    label = discriminatorValue(discriminator, alternatives.front());
    if (declared.allowed && std::find(declared.allowed->begin(), declared.allowed->end(),
                                      VoziZazIreCore::AnyValue(label)) == declared.allowed->end())
      value = &declared.allowed->front();
  }
  Index labelValue;
  if (value) {
    auto [nodes, bytes] = SchemaWalkerDetail::measure(*value);
    context.spend(nodes, bytes + static_cast<int64_t>(pointer->size()));
    labelValue = drafts.value(*value, std::move(pointer));
  } else {
    context.spend(1, static_cast<int64_t>(label.size() + pointer->size()));
    labelValue = drafts.string(std::move(label), std::move(pointer));
  }
  auto existing = std::find_if(members.begin(), members.end(),
                               [&](const ExampleDrafts::Member& m) { return m.first == discriminator.propertyName; });
  if (existing != members.end()) {
    existing->second = labelValue;
  } else {
    members.emplace_back(discriminator.propertyName, labelValue);
  }
  return object(std::move(members), context, drafts);
}

template <class Model>
auto SchemaWalker<Model>::objectExample(const Schema& schema, const Context& context, Drafts& drafts) const -> Index {
  if (!schema.properties) return object({}, context, drafts);
  std::vector<const std::pair<std::string, SchemaRef>*> properties;
  properties.reserve(schema.properties->size());
  for (const auto& entry : *schema.properties) properties.push_back(&entry);
  std::sort(properties.begin(), properties.end(), [](const auto* a, const auto* b) { return a->first < b->first; });
  const bool optional = context.options().includeOptionalProperties;
  const std::vector<std::string>* required = schema.required ? &*schema.required : nullptr;
  std::vector<ExampleDrafts::Member> members;
  for (const auto* property : properties) {
    const std::string& name = property->first;
    if (!optional && !(required && std::find(required->begin(), required->end(), name) != required->end())) continue;
    members.emplace_back(name, example(property->second, context.descend(name), drafts));
  }
  return object(std::move(members), context, drafts);
}

template <class Model>
auto SchemaWalker<Model>::arrayExample(const Schema& schema, const Context& context, Drafts& drafts) const -> Index {
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

  std::vector<Index> items;
  auto item = [&](const SchemaRef& itemSchema, int64_t index) {
    items.push_back(example(itemSchema, context.descend(std::to_string(index)), drafts));
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
  return drafts.array(std::move(items), context.sharedPath());
}

}  // namespace VoziZazIreExampleGeneration

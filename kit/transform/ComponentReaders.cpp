#include "kit/transform/ComponentReaders.h"

#include "kit/transform/ContentReaders.h"
#include "kit/transform/ObjectReading.h"
#include "kit/transform/PathReaders.h"
#include "kit/transform/SchemaReader.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::OrderedMap;
using VoziZazIreCore::ReferenceOr;

namespace {

// One section of the components: absent unless its member is an object; every entry, "x-" names included,
// is a reference or an object read by `read(entryNode, context)`.
template <class T, class Reader>
std::optional<OrderedMap<ReferenceOr<T>>> readSection(const GenericNode& node, std::string_view key,
                                                      TransformContext& context, Reader read) {
  return parseMapOf(node, key, context, [&read](const GenericNode& entry, TransformContext& ctx) {
    return parseReferenceOr<T>(entry, ctx, read);
  });
}

template <class T>
std::optional<OrderedMap<ReferenceOr<T>>> readSecuritySchemes(const GenericNode& node, TransformContext& context,
                                                              auto read) {
  const GenericNode* member = node["securitySchemes"];
  if (!member) return std::nullopt;
  auto entries = member->objectValue();
  if (!entries) return std::nullopt;
  OrderedMap<ReferenceOr<T>> out;
  out.reserve(entries->size());
  for (const auto& entry : *entries) {
    std::string_view name = entry.key;
    out.appendUnchecked(std::string(name),
                        parseReferenceOr<T>(*entry.value, context, [&](const GenericNode& inner, TransformContext& ctx) {
                          return read(inner, ctx, name);
                        }));
  }
  return out;
}

}  // namespace

template <class V>
Shared<typename V::Components> parseComponents(const GenericNode& node, TransformContext& context) {
  using Components = typename V::Components;
  auto schemas = readSection<typename V::Schema>(node, "schemas", context, parseSchema<V>);
  auto responses = readSection<typename V::Response>(node, "responses", context, parseResponse<V>);
  // Component parameters belong to no path: the empty set of template names turns the path check off.
  auto parameters = readSection<typename V::Parameter>(
      node, "parameters", context,
      [](const GenericNode& entry, TransformContext& ctx) { return parseParameter<V>(entry, ctx, PathTemplateNames()); });
  auto examples = readSection<typename V::Example>(node, "examples", context, parseExample<V>);
  auto requestBodies = readSection<typename V::RequestBody>(node, "requestBodies", context, parseRequestBody<V>);
  auto headers = readSection<typename V::Header>(node, "headers", context, parseHeader<V>);
  auto securitySchemes = readSecuritySchemes<typename V::SecurityScheme>(
      node, context, [](const GenericNode& entry, TransformContext& ctx, std::string_view name) {
        return parseSecurityScheme<V>(entry, ctx, name);
      });
  auto links = readSection<typename V::Link>(node, "links", context, parseLink<V>);
  auto callbacks = readSection<typename V::Callback>(node, "callbacks", context, parseCallback<V>);

  if constexpr (V::is31) {
    auto pathItems = readSection<typename V::PathItem>(
        node, "pathItems", context,
        [](const GenericNode& entry, TransformContext& ctx) { return parsePathItem<V>(entry, ctx, std::nullopt); });
    static const KeySet keys = allowedKeySet({"schemas", "responses", "parameters", "examples", "requestBodies",
                                              "headers", "securitySchemes", "links", "callbacks", "pathItems"});
    checkUnknownProperties(node, keys, "Components", context);
    return makeShared<Components>([&] { return Components{.location = locationOf(node),
                                             .schemas = std::move(schemas),
                                             .responses = std::move(responses),
                                             .parameters = std::move(parameters),
                                             .examples = std::move(examples),
                                             .requestBodies = std::move(requestBodies),
                                             .headers = std::move(headers),
                                             .securitySchemes = std::move(securitySchemes),
                                             .links = std::move(links),
                                             .callbacks = std::move(callbacks),
                                             .pathItems = std::move(pathItems),
                                             .vendorExtensions = collectVendorExtensions(node)}; });
  } else {
    static const KeySet keys = allowedKeySet({"schemas", "responses", "parameters", "examples", "requestBodies",
                                              "headers", "securitySchemes", "links", "callbacks"});
    checkUnknownProperties(node, keys, "Components", context);
    return makeShared<Components>([&] { return Components{.location = locationOf(node),
                                             .schemas = std::move(schemas),
                                             .responses = std::move(responses),
                                             .parameters = std::move(parameters),
                                             .examples = std::move(examples),
                                             .requestBodies = std::move(requestBodies),
                                             .headers = std::move(headers),
                                             .securitySchemes = std::move(securitySchemes),
                                             .links = std::move(links),
                                             .callbacks = std::move(callbacks),
                                             .vendorExtensions = collectVendorExtensions(node)}; });
  }
}

template Shared<Version30::Components> parseComponents<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Components> parseComponents<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform

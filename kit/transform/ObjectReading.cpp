#include "kit/transform/ObjectReading.h"

#include "kit/core/TransformError.h"
#include "kit/transform/PointerTextPool.h"

namespace VoziZazIreTransform {

using namespace VoziZazIreCore;

KeySet allowedKeySet(std::initializer_list<std::string_view> names) { return KeySet(names); }

void checkUnknownProperties(const GenericNode& node, const KeySet& allowed, std::string_view objectName,
                            TransformContext& context) {
  if (!context.recordsAtHigh()) return;
  auto members = node.objectValue();
  if (!members) return;
  for (const auto& member : *members) {
    if (member.key.starts_with("x-")) continue;
    if (allowed.contains(member.key)) continue;
    std::string text = "Unknown property '";
    text += member.key;
    text += "' in ";
    text += objectName;
    text += " object";
    context.record(DiagnosticSeverity::warning, DiagnosticCode::unknownProperty, text,
                   std::string(member.value->jsonPointer()), member.value->range());
  }
}

std::optional<bool> parseBooleanField(std::string_view key, const GenericNode& node, std::string_view objectName,
                                      TransformContext& context) {
  return parseBooleanMember(node[key], key, objectName, context);
}

std::optional<bool> parseBooleanMember(const GenericNode* member, std::string_view key, std::string_view objectName,
                                       TransformContext& context) {
  if (!member) return std::nullopt;
  if (auto value = member->boolValue()) return value;
  if (context.recordsAtHigh()) {
    std::string text = "Property '";
    text += key;
    text += "' in ";
    text += objectName;
    text += " object must be a boolean";
    context.record(DiagnosticSeverity::warning, DiagnosticCode::invalidBooleanValue, text,
                   std::string(member->jsonPointer()), member->range());
  }
  return std::nullopt;
}

std::optional<OrderedMap<AnyValue>> collectVendorExtensions(const GenericNode& node) {
  auto members = node.objectValue();
  if (!members) return std::nullopt;
  std::optional<OrderedMap<AnyValue>> extensions;
  for (const auto& member : *members) {
    if (!member.key.starts_with("x-")) continue;
    if (!extensions) extensions.emplace();
    extensions->appendUnchecked(std::string(member.key), anyValueFromNode(*member.value));
  }
  return extensions;
}

AnyValue anyValueFromNode(const GenericNode& node) {
  switch (node.kind()) {
    case GenericNodeKind::object: {
      AnyValue::Object object;
      auto members = *node.objectValue();
      object.reserve(members.size());
      for (const auto& member : members) object.appendUnchecked(std::string(member.key), anyValueFromNode(*member.value));
      return AnyValue(std::move(object));
    }
    case GenericNodeKind::array: {
      AnyValue::Array array;
      auto elements = *node.arrayValue();
      array.reserve(elements.size());
      for (const GenericNode* element : elements) array.push_back(anyValueFromNode(*element));
      return AnyValue(std::move(array));
    }
    case GenericNodeKind::string: return AnyValue(std::string(*node.stringValue()));
    case GenericNodeKind::number:
      if (auto i = node.intValue()) return AnyValue(static_cast<long long>(*i));
      return AnyValue(*node.numberValue());
    case GenericNodeKind::bool_: return AnyValue(*node.boolValue());
    case GenericNodeKind::null: return AnyValue();
  }
  return AnyValue();
}

LocationInfo locationOf(const GenericNode& node) {
  return LocationInfo(PointerTextPool::pointerOf(node), node.range());
}

void throwMissingField(std::string_view field, std::string_view objectWord, const GenericNode& node) {
  std::string message = "Missing required field '";
  message += field;
  message += "' in ";
  message += objectWord;
  throw TransformError(message, std::string(node.jsonPointer()), node.range());
}

void throwMissingField(std::string_view field, const GenericNode& node) {
  std::string message = "Missing required field '";
  message += field;
  message += "'";
  throw TransformError(message, std::string(node.jsonPointer()), node.range());
}

std::string requiredString(const GenericNode& node, std::string_view field, std::string_view objectWord) {
  if (const GenericNode* member = node[field])
    if (auto text = member->stringValue()) return std::string(*text);
  throwMissingField(field, objectWord, node);
}

std::optional<std::string> optionalString(const GenericNode& node, std::string_view field) {
  return stringOf(node[field]);
}

std::optional<double> optionalNumber(const GenericNode& node, std::string_view field) { return numberOf(node[field]); }

std::optional<AnyValue> optionalAnyValue(const GenericNode& node, std::string_view field) {
  return anyValueOf(node[field]);
}

std::optional<std::vector<std::string>> optionalStringArray(const GenericNode& node, std::string_view field) {
  return stringArrayOf(node[field]);
}

std::optional<std::string> stringOf(const GenericNode* member) {
  if (member)
    if (auto text = member->stringValue()) return std::string(*text);
  return std::nullopt;
}

std::optional<double> numberOf(const GenericNode* member) {
  if (member) return member->numberValue();
  return std::nullopt;
}

std::optional<int64_t> integerOf(const GenericNode* member) {
  if (member) return member->intValue();
  return std::nullopt;
}

std::optional<AnyValue> anyValueOf(const GenericNode* member) {
  if (member) return anyValueFromNode(*member);
  return std::nullopt;
}

std::optional<std::vector<std::string>> stringArrayOf(const GenericNode* member) {
  if (!member) return std::nullopt;
  auto elements = member->arrayValue();
  if (!elements) return std::nullopt;
  std::vector<std::string> out;
  out.reserve(elements->size());
  for (const GenericNode* element : *elements)
    if (auto text = element->stringValue()) out.emplace_back(*text);
  return out;
}

}  // namespace VoziZazIreTransform

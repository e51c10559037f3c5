#pragma once
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "kit/core/AnyValue.h"
#include "kit/core/GenericNode.h"
#include "kit/core/LocationInfo.h"
#include "kit/core/OrderedMap.h"
#include "kit/core/ReferenceOr.h"
#include "kit/transform/KeySet.h"
#include "kit/transform/TransformContext.h"

// The rules by which every reader looks at its object node: unknown members, booleans, "x-"
// extensions, free-form values, arrays and maps of child objects, and "$ref" objects.
namespace VoziZazIreTransform {

// The set of an object's allowed member names. Readers keep theirs in a function-local static.
KeySet allowedKeySet(std::initializer_list<std::string_view> names);

// GEN-001 for every member that is neither allowed nor an "x-" member (level high only).
void checkUnknownProperties(const VoziZazIreCore::GenericNode& node, const KeySet& allowed,
                            std::string_view objectName, TransformContext& context);

// The member's boolean; nothing when absent or not a boolean (then GEN-002 at level high).
std::optional<bool> parseBooleanField(std::string_view key, const VoziZazIreCore::GenericNode& node,
                                      std::string_view objectName, TransformContext& context);

// The "x-" members as values, or nothing when there are none (or the node is no object).
std::optional<VoziZazIreCore::OrderedMap<VoziZazIreCore::AnyValue>> collectVendorExtensions(
    const VoziZazIreCore::GenericNode& node);

// Integral finite numbers within 64 bits become int, other numbers double.
VoziZazIreCore::AnyValue anyValueFromNode(const VoziZazIreCore::GenericNode& node);

// The node's pointer and range.
VoziZazIreCore::LocationInfo locationOf(const VoziZazIreCore::GenericNode& node);

// Throws "Missing required field '<field>' in <objectWord>" at the object node.
[[noreturn]] void throwMissingField(std::string_view field, std::string_view objectWord,
                                    const VoziZazIreCore::GenericNode& node);
// Throws "Missing required field '<field>'" (the document's form, without an object word).
[[noreturn]] void throwMissingField(std::string_view field, const VoziZazIreCore::GenericNode& node);

// A required text member, or the missing-field throw.
std::string requiredString(const VoziZazIreCore::GenericNode& node, std::string_view field,
                           std::string_view objectWord);
// An optional text member; a member of another kind is absent.
std::optional<std::string> optionalString(const VoziZazIreCore::GenericNode& node, std::string_view field);
// An optional number member; a member of another kind is absent.
std::optional<double> optionalNumber(const VoziZazIreCore::GenericNode& node, std::string_view field);
// An optional member read with anyValueFromNode.
std::optional<VoziZazIreCore::AnyValue> optionalAnyValue(const VoziZazIreCore::GenericNode& node,
                                                         std::string_view field);
// An optional array of strings; non-string elements are skipped; a member that is no array is absent.
std::optional<std::vector<std::string>> optionalStringArray(const VoziZazIreCore::GenericNode& node,
                                                            std::string_view field);

// The same readings of a member already found (nullptr when absent).
std::optional<std::string> stringOf(const VoziZazIreCore::GenericNode* member);
std::optional<double> numberOf(const VoziZazIreCore::GenericNode* member);
std::optional<int64_t> integerOf(const VoziZazIreCore::GenericNode* member);
std::optional<VoziZazIreCore::AnyValue> anyValueOf(const VoziZazIreCore::GenericNode* member);
std::optional<std::vector<std::string>> stringArrayOf(const VoziZazIreCore::GenericNode* member);
// parseBooleanField for the member found under `key`.
std::optional<bool> parseBooleanMember(const VoziZazIreCore::GenericNode* member, std::string_view key,
                                       std::string_view objectName, TransformContext& context);

// "$ref" object -> reference; anything else is read inline by `readInline(node, context)`, which
// returns std::shared_ptr<const T>.
template <class T, class Reader>
VoziZazIreCore::ReferenceOr<T> parseReferenceOr(const VoziZazIreCore::GenericNode& node, TransformContext& context,
                                                Reader&& readInline) {
  if (const VoziZazIreCore::GenericNode* ref = node["$ref"]) {
    if (auto text = ref->stringValue()) {
      return VoziZazIreCore::ReferenceOr<T>(VoziZazIreCore::Reference(
          std::string(*text), optionalString(node, "summary"), optionalString(node, "description"), locationOf(*ref)));
    }
  }
  return VoziZazIreCore::ReferenceOr<T>(std::shared_ptr<const T>(readInline(node, context)));
}

// An array member read element by element; absent when the member is missing or not an array.
template <class Reader>
auto parseArrayOf(const VoziZazIreCore::GenericNode& node, std::string_view field, TransformContext& context,
                  Reader&& read) -> std::optional<std::vector<decltype(read(node, context))>> {
  using Element = decltype(read(node, context));
  const VoziZazIreCore::GenericNode* member = node[field];
  if (!member) return std::nullopt;
  auto elements = member->arrayValue();
  if (!elements) return std::nullopt;
  std::vector<Element> out;
  out.reserve(elements->size());
  for (const VoziZazIreCore::GenericNode* element : *elements) out.push_back(read(*element, context));
  return out;
}

// A map member read entry by entry in document order; absent when the member is missing or not an
// object. With `skipExtensions`, "x-" members are left out (they are the owner's extensions).
template <class Reader>
auto parseMapOf(const VoziZazIreCore::GenericNode& node, std::string_view field, TransformContext& context,
                Reader&& read, bool skipExtensions = false)
    -> std::optional<VoziZazIreCore::OrderedMap<decltype(read(node, context))>> {
  using Element = decltype(read(node, context));
  const VoziZazIreCore::GenericNode* member = node[field];
  if (!member) return std::nullopt;
  auto entries = member->objectValue();
  if (!entries) return std::nullopt;
  VoziZazIreCore::OrderedMap<Element> out;
  out.reserve(entries->size());
  for (const auto& entry : *entries) {
    if (skipExtensions && entry.key.starts_with("x-")) continue;
    // Keys of one node are already unique.
    out.appendUnchecked(std::string(entry.key), read(*entry.value, context));
  }
  return out;
}

}  // namespace VoziZazIreTransform

#include <array>
#include <charconv>
#include <cstdint>

#include "kit/transform/ContentReaders.h"
#include "kit/transform/ObjectReading.h"
#include "kit/transform/PathReaders.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::DiagnosticSeverity;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::OrderedMap;
using VoziZazIreCore::ReferenceOr;

namespace {

constexpr std::array<std::string_view, 5> kStatusCodeWildcards = {"1XX", "2XX", "3XX", "4XX", "5XX"};

// A decimal integer: one optional "+" or "-", then one or more digits 0-9 and nothing else, within the
// signed 64-bit range.
std::optional<int64_t> statusCodeNumber(std::string_view key) {
  std::string_view digits = key;
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) return std::nullopt;
  for (char c : digits)
    if (c < '0' || c > '9') return std::nullopt;
  // from_chars takes a leading "-" but no "+": hand it the minus sign together with the digits.
  std::string_view text = negative ? key : digits;
  int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// 3.1: the status-code check of one responses key; true when the key names a success response.
bool checkStatusCodeKey(std::string_view key, const GenericNode& responses, TransformContext& context) {
  if (key == "default") return false;
  for (std::string_view wildcard : kStatusCodeWildcards)
    if (key == wildcard) return key == "2XX";
  auto code = statusCodeNumber(key);
  if (!code) {
    if (context.recordsAtHigh()) {
      std::string text = "Invalid HTTP status code format: ";
      text += key;
      context.record(DiagnosticSeverity::error, DiagnosticCode::responseInvalidStatusCode, text,
                     std::string(responses.jsonPointer()), responses.range());
    }
    return false;
  }
  if (*code < 100 || *code > 599) {
    if (context.recordsAtHigh()) {
      std::string text = "Invalid HTTP status code: ";
      text += key;
      context.record(DiagnosticSeverity::error, DiagnosticCode::responseInvalidStatusCode, text,
                     std::string(responses.jsonPointer()), responses.range());
    }
    return false;
  }
  return *code >= 200 && *code <= 299;
}

}  // namespace

template <class V>
Shared<typename V::Responses> parseResponses(const GenericNode& node, TransformContext& context) {
  OrderedMap<ReferenceOr<typename V::Response>> items;
  [[maybe_unused]] bool hasSuccess = false;  // 3.1 only
  if (auto members = node.objectValue()) {
    items.reserve(members->size());
    for (const auto& member : *members) {
      if (member.key.starts_with("x-")) continue;
      if constexpr (V::is31) {
        if (checkStatusCodeKey(member.key, node, context)) hasSuccess = true;
      }
      items.appendUnchecked(std::string(member.key),
                            parseReferenceOr<typename V::Response>(*member.value, context, parseResponse<V>));
    }
  }
  if constexpr (V::is31) {
    if (!hasSuccess && !items.contains("default") && context.recordsAtHigh()) {
      context.record(DiagnosticSeverity::warning, DiagnosticCode::responseNoSuccessResponse,
                     "Operation should have at least one success response (2xx) or default",
                     std::string(node.jsonPointer()), node.range());
    }
  }
  return makeShared<typename V::Responses>([&] { return typename V::Responses{
      .location = locationOf(node), .items = std::move(items), .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::Response> parseResponse(const GenericNode& node, TransformContext& context) {
  static const KeySet allowed = allowedKeySet({"description", "headers", "content", "links"});
  std::string description = requiredString(node, "description", "response");
  auto headers = parseMapOf(node, "headers", context, [](const GenericNode& entry, TransformContext& ctx) {
    return parseReferenceOr<typename V::Header>(entry, ctx, parseHeader<V>);
  });
  auto content = parseMapOf(node, "content", context, parseMediaType<V>);
  auto links = parseMapOf(node, "links", context, [](const GenericNode& entry, TransformContext& ctx) {
    return parseReferenceOr<typename V::Link>(entry, ctx, parseLink<V>);
  });
  checkUnknownProperties(node, allowed, "Response", context);
  return makeShared<typename V::Response>([&] { return typename V::Response{.location = locationOf(node),
                                                               .description = std::move(description),
                                                               .headers = std::move(headers),
                                                               .content = std::move(content),
                                                               .links = std::move(links),
                                                               .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::RequestBody> parseRequestBody(const GenericNode& node, TransformContext& context) {
  static const KeySet allowed = allowedKeySet({"content", "description", "required"});
  auto content = parseMapOf(node, "content", context, parseMediaType<V>);
  if (!content) throwMissingField("content", "requestBody", node);
  checkUnknownProperties(node, allowed, "RequestBody", context);
  auto description = optionalString(node, "description");
  auto required = parseBooleanField("required", node, "RequestBody", context);
  return makeShared<typename V::RequestBody>([&] { return typename V::RequestBody{.location = locationOf(node),
                                                                     .description = std::move(description),
                                                                     .content = std::move(*content),
                                                                     .required = required,
                                                                     .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::Callback> parseCallback(const GenericNode& node, TransformContext& context) {
  OrderedMap<Shared<typename V::PathItem>> expressions;
  if (auto members = node.objectValue()) {
    expressions.reserve(members->size());
    for (const auto& member : *members) {
      if (member.key.starts_with("x-")) continue;
      expressions.appendUnchecked(std::string(member.key), parsePathItem<V>(*member.value, context));
    }
  }
  if constexpr (V::is31) {
    return makeShared<typename V::Callback>([&] { return typename V::Callback{
        .location = locationOf(node), .expression = std::move(expressions), .vendorExtensions = collectVendorExtensions(node)}; });
  } else {
    return makeShared<typename V::Callback>([&] { return typename V::Callback{
        .location = locationOf(node), .expressions = std::move(expressions), .vendorExtensions = collectVendorExtensions(node)}; });
  }
}

template Shared<Version30::Responses> parseResponses<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Responses> parseResponses<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Response> parseResponse<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Response> parseResponse<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::RequestBody> parseRequestBody<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::RequestBody> parseRequestBody<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Callback> parseCallback<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Callback> parseCallback<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform

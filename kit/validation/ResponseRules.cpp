#include "kit/validation/ResponseRules.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

namespace {

// A base-10 integer: an optional sign, one or more ASCII digits and nothing else, within 64 bits.
std::optional<int64_t> statusCodeValue(std::string_view key) {
  std::string_view digits = key;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  for (char c : digits)
    if (c < '0' || c > '9') return std::nullopt;
  // from_chars takes a leading "-" (so the lowest 64-bit value stays in range) but not a "+".
  std::string_view text = key.front() == '+' ? key.substr(1) : key;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool isWildcard(std::string_view key) {
  return key.size() == 3 && key[0] >= '1' && key[0] <= '5' && key[1] == 'X' && key[2] == 'X';
}

}  // namespace

template <class V>
void validateResponses(const typename V::Responses& responses, ValidationContext& context) {
  bool hasSuccess = false;
  for (const auto& entry : responses.items) {
    const std::string& key = entry.first;
    if (key == "default") continue;
    if (isWildcard(key)) {
      if (key == "2XX") hasSuccess = true;
      continue;
    }
    const std::optional<int64_t> code = statusCodeValue(key);
    if (!code) {
      context.addError("RSP-001", "Invalid HTTP status code format: " + key, responses.location);
    } else if (*code < 100 || *code > 599) {
      context.addError("RSP-001", "Invalid HTTP status code: " + key, responses.location);
    } else if (*code >= 200 && *code <= 299) {
      hasSuccess = true;
    }
  }
  if (!hasSuccess && responses.default_() == nullptr)
    context.addWarning("RSP-002", "Operation should have at least one success response (2xx) or default",
                       responses.location);
}

template void validateResponses<Version30>(const Version30::Responses&, ValidationContext&);
template void validateResponses<Version31>(const Version31::Responses&, ValidationContext&);

}  // namespace VoziZazIreValidation
